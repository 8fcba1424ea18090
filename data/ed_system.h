#pragma once
// The system data: the author's game-wide configuration (title, the texts of
// the runtime's own screens, the status bar, lives and rankings per play
// kind, carry-over of the player's status, system sounds, menu music, colour
// mode, font, behaviour switches and the defaults of the System.ini keys).
// One record in data\System.dat, read once at start-up into g_System.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_system_items.h"

// The sizes of the lists whose entries have fixed roles.
inline constexpr int kCarryGroups = 25;
inline constexpr int kStatusItems = 5;
inline constexpr int kPlayKinds = 4;
inline constexpr int kSysTexts = 28;
inline constexpr int kSystemSounds = 17;
inline constexpr int kMusicSlots = 4;
inline constexpr int kSysOptions = 6;

class cEdSystem : public cEdData {
public:
    std::string strTitle;
    std::vector<std::uint8_t> vCarryOver;   // status group k carried to the next stage
    std::vector<std::uint8_t> vDropOnDeath; // a carried group dropped when a life is lost
    std::int32_t bExtraLife = 0;
    std::int32_t nExtraLifeScore = 100;
    std::int32_t bPauseHidesObjects = 1;
    std::int32_t bFontSymbols = 0;
    std::int32_t nFontFace = 60; // index into the font face names
    std::int32_t bFontCentred = 0;
    std::int32_t bRecordReplay = 1;
    std::int32_t bKeepTestFlows = 0;
    std::vector<cEdStatusItem> vStatusItem;
    std::int32_t bTitleMenuPicture = 1;
    std::vector<cEdMenuItem> vTitleMenu;
    std::vector<cEdMenuItem> vSaveMenu;
    std::vector<cEdMenuItem> vOptionMenu;
    std::int32_t bCarryLives = 1;
    std::int32_t bContinueMenu = 1;
    std::int32_t bMapShowLives = 1;
    std::int32_t nChallengeStages = 40;
    std::int32_t bAllChallengesOpen = 1;
    std::vector<std::int32_t> vInitialLives;   // per play kind
    std::vector<std::int32_t> vUnlimitedLives; // per play kind
    std::vector<cEdModeFlags> vModeFlags;      // per play kind
    std::int32_t bMapShowScore = 1;
    std::int32_t bSaveMenuShowTotal = 1;
    std::int32_t bRestoreVarsStory = 1;
    std::int32_t bRetryStory = 1;
    std::int32_t bChallengeShowHigh = 1;
    std::int32_t bChallengeShowTotal = 1;
    std::int32_t bRestoreVarsChallenge = 1;
    std::int32_t bRetryChallenge = 1;
    std::int32_t bRestoreVarsFree = 1;
    std::int32_t bRestoreVarsDirect = 0;
    std::int32_t nColourMode = 0; // 0 256 colours with the palette, 1 full colour
    std::uint8_t byKeyR = 0;      // transparent colour in full-colour mode
    std::uint8_t byKeyG = 0;
    std::uint8_t byKeyB = 0;
    std::vector<std::string> vSeName;     // sound slots 0 to 16
    std::vector<std::int32_t> vMusicNo;   // Bgm record of each music slot, 0 none
    std::vector<std::uint8_t> vMusicLoop; // loop switch of each music slot
    std::vector<std::string> SysText;     // the texts of the runtime's screens
    std::vector<cEdSysOption> vSysOption; // System.ini defaults
    std::int32_t bNoScrollCarry = 0;
    std::int32_t bScaleByBox = 0;
    std::int32_t bKeepDefeated = 0;
    std::int32_t bTintUnderD3D = 0;
    std::int32_t bColourCycle = 0;

    // The default contents (SetDefaults).
    cEdSystem();
    void RegisterMembers(int version) override;
    // The body of the file's version, its lists, the upgrades of older files,
    // then Check. A list with a fixed role that the file holds too short is
    // completed from the default contents, so every fixed index is valid.
    void Load(plat::ByteReader& f) override;
    // Check, then the current layout with every list.
    void Save(ByteWriter& f) override;

    // The default contents; meant for a record just constructed (a resize
    // keeps existing elements).
    void SetDefaults();
    // A music number that is not a record of the Bgm table becomes 0 (none).
    void Check();
    // The number of ranking kinds used by a play kind (through the checked
    // access): 0 while its rankings are off.
    int CountModeFlags(int kind) const;

private:
    // A 4-byte member that only files of versions 221 to 259 hold.
    std::int32_t m_Unused221 = 0;

    void Upgrade(int version);
    void CompleteFixedLists();
};

extern cEdSystem g_System;
