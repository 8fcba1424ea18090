#pragma once
// The ranking-name dialog: the player types a name of up to three
// characters (double-byte ones count one each). It edits the options' fixed
// name when the options asked, else the name that the game-play scene
// published; with neither it edits nothing.

#include <string>

// The name the game-play scene asks for, set by the scene before it sends
// UM_NAMEDLG; null when none.
extern std::string* g_RankingNameTarget;

enum NameDialogId : int {
    IDC_NAME_OK = 1000,
    IDC_NAME_EDIT = 1003,
};

// Runs the dialog (main thread): 1 after OK (the name is stored), 0 after a
// close (the name is unchanged).
int RunNameDialog();
