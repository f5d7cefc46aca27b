// The file type installed for score files, seen through QMimeDatabase with
// XDG_DATA_DIRS naming only the staged, updated database (set by ctest).

#include <QtTest>

class TestMimeType : public QObject {
    Q_OBJECT
    const QString m_type = QStringLiteral("application/x-rkf-score");

  private slots:
    void typeByName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("scoreFile");
        const QString samples = QStringLiteral(SAMPLES_DIR);
        QTest::newRow("lower-case .rkf sample") << samples + "/sample.rkf" << true;
        QTest::newRow("upper-case .RKF sample") << samples + "/folder/hard/another.RKF" << true;
        QTest::newRow("name ending in rkf without a dot") << "/nonexistent/chartrkf" << false;
    }

    void typeByName()
    {
        QFETCH(QString, file);
        QFETCH(bool, scoreFile);
        const QMimeDatabase db;
        QCOMPARE(db.mimeTypeForFile(file, QMimeDatabase::MatchExtension).name() == m_type, scoreFile);
        if (QFile::exists(file)) // by name and content: the format has no signature, the name decides
            QCOMPARE(db.mimeTypeForFile(file).name(), m_type);
    }

    void typeDescription()
    {
        const QMimeType type = QMimeDatabase().mimeTypeForName(m_type);
        QVERIFY(type.isValid());
        // Its own icon, installed under the name the type gives.
        QVERIFY2(QFile::exists(STAGE_DIR "/usr/share/icons/hicolor/scalable/mimetypes/" + type.iconName() +
                               ".svg"),
                 qPrintable(type.iconName()));
        QLocale::setDefault(QLocale(QLocale::English));
        QCOMPARE(type.comment(), "BMS high-score file");
        QLocale::setDefault(QLocale(QLocale::Japanese));
        QCOMPARE(type.comment(), QString::fromUtf8("BMS ハイスコアファイル"));
    }
};

QTEST_GUILESS_MAIN(TestMimeType)
#include "test_mime_type.moc"
