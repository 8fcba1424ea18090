#pragma once
// The start-up dialog and user_data\Boot.dat: when System.ini leaves the
// graphics back end to the player, the last answer is read from Boot.dat
// and, unless it says not to ask again, the dialog asks: Direct3D or
// DirectDraw, "do not show this again", start or quit. Starting saves the
// answer.

#include "data/ed_data.h"

#include <cstdint>

struct SYSTEMINI;

// The Boot.dat record.
class cBootData : public cEdData {
public:
    std::int32_t nChoice = 1; // 1 Direct3D, 0 DirectDraw
    std::int32_t bSkip = 0;   // non-zero: do not show the dialog again

    // Choice 1, skip 0.
    cBootData();
    void RegisterMembers(int version) override;
};

extern cBootData g_BootData;

// The dialog's control ids.
enum BootDialogId : int {
    IDC_BOOT_START = 1000,
    IDC_BOOT_QUIT = 1001,
    IDC_BOOT_D3D = 1002,
    IDC_BOOT_DDRAW = 1003,
    IDC_BOOT_SKIP = 1004,
};

// Reads Boot.dat (its defaults when missing), shows the dialog unless the
// record says not to, and sets settings.Direct3D from the choice. False
// when the player chose to quit.
bool AskBackEnd(SYSTEMINI& settings);
