#pragma once

#include <QString>
#include <functional>

class QWidget;

// What the save command takes from the shown ranking: the folder its dialog
// opens in, the name it proposes, and the two checks it makes.
struct SaveDialogState {
    QString InitDir;
    QString FileName;
    bool OverwritePrompt = false;  // ask before replacing an existing file
    bool NoReadOnlyReturn = false; // refuse a file that cannot be written
};

// The toolkit's dialogs, modal to owner. Each returns the chosen path, or an
// empty string when the user cancelled.
QString ChooseFolderDialog(QWidget *owner);
QString ChooseScoreFileDialog(QWidget *owner);
QString ChooseSaveFileDialog(QWidget *owner, const SaveDialogState &state);

// The dialogs the open and save commands show. Tests put their own functions
// in place of the toolkit's, which would wait for a user.
struct FileDialogs {
    // The folder browser, starting at the desktop folder.
    std::function<QString(QWidget *owner)> chooseFolder = ChooseFolderDialog;
    // "ファイルを開く": one score file.
    std::function<QString(QWidget *owner)> chooseScoreFile = ChooseScoreFileDialog;
    // "名前を付けて保存", set up from the save state.
    std::function<QString(QWidget *owner, const SaveDialogState &state)> chooseSaveFile =
        ChooseSaveFileDialog;
};
