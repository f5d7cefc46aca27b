#include "window/frmMain.h"

#include "export/SaveFile.h"
#include "export/SaveText.h"
#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "platform/gui/MessageBox.h"
#include "support/AppGlobals.h"
#include "window/RankingTable.h"

#include <QDir>

void frmMain::menuFileSave_Click()
{
    const QString name = Dialogs.chooseSaveFile(this, cdlgSave);
    if (name.isEmpty())
        return;               // cancelled: nothing to say
    cdlgSave.FileName = name; // the dialog keeps the name chosen last

    // The whole file is written at once, so a failed save leaves an existing
    // file as it was; the user learns which file and why.
    Failure failure;
    const QString text = SaveText(FormatForName(name), SummaryText(), RankRowsOf(lstScore), &failure);
    if (!failure.failed())
        failure = WriteSaveFile(name, platform::EncodeAnsi(text));
    if (failure.failed()) {
        platform::ShowStopMessage(AppTitle, QStringLiteral("保存できませんでした。\r") +
                                                platform::DisplayPathText(QDir::toNativeSeparators(name)) +
                                                QLatin1Char('\r') + failure.Description);
    }
}
