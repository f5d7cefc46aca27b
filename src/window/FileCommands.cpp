#include "window/frmMain.h"

// The open and save commands and the found-file click; they come with the
// folder search and the save dialog.

void frmMain::BrowseFolder() {}

void frmMain::menuOpenFile_Click() {}

void frmMain::menuFileSave_Click() {}

void frmMain::lstBMS_Click() {}
