#include "window/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace {

QString FirstSelected(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString ChooseFolderDialog(QWidget *owner)
{
    QString start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (start.isEmpty() || !QDir(start).exists())
        start = QDir::homePath();
    return QFileDialog::getExistingDirectory(owner, QString(), start, QFileDialog::ShowDirsOnly);
}

QString ChooseScoreFileDialog(QWidget *owner)
{
    // No initial folder: the dialog opens where the toolkit chooses.
    QFileDialog dialog(owner, QStringLiteral("ファイルを開く"), QString(),
                       QStringLiteral("rkf ﾌｧｲﾙ (*.rkf)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.selectFile(QStringLiteral("*.rkf"));
    return FirstSelected(dialog);
}

QString ChooseSaveFileDialog(QWidget *owner, const SaveDialogState &state)
{
    QFileDialog dialog(owner, QStringLiteral("名前を付けて保存"), state.InitDir);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString text = QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ (*.txt)");
    dialog.setNameFilters({text, QStringLiteral("CSV (カンマ区切り) (*.csv)")});
    dialog.selectNameFilter(text);
    dialog.setDefaultSuffix(QString()); // the name is written as typed
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !state.OverwritePrompt);
    if (!state.FileName.isEmpty())
        dialog.selectFile(state.FileName);
    return FirstSelected(dialog);
}
