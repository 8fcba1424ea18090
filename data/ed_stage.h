#pragma once
// A stage: everything the author set for one stage of the game, kept in a
// file of data\stg4\ whose extension is "stg4_" and a three-digit number.
// The runtime reads stage files and never writes one; a replay file carries
// a snapshot of a stage in the same layout.
//
// Two stage records exist while a stage is played: g_Stage, the live stage
// (settings, palette and placed objects), and g_StageAtStart, its settings,
// layers, text items, areas and results-row flags as loaded, without palette
// or placed objects; every retry refills the live settings from it.
//
// File layout after the version:
//   the record body (the registered members of the file's version, one string)
//   uint32 n and n int32 results-row flags
//   five removal areas (cEdArea bodies)
//   the stage palette: blocks, characters, items, each a count and bodies
//   the placed blocks, characters, items, each a count and entries of
//     4 bytes (0, ignored) and a body
//   the layers and the text items, each a count and bodies
//   from version 173, the end code 123456789
//
// The speed level L (1 to 19) gives b sub-steps per frame: L for 1 to 10,
// L - 10 for 11 to 19; the speed limit is 6 x b pixels per frame for levels
// 1 to 10 and 60 for 11 to 19; gravity per sub-step is the gravity / b^2.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_block.h"
#include "data/ed_chara.h"
#include "data/ed_data.h"
#include "data/ed_item.h"
#include "data/ed_stage_parts.h"

// The last four bytes of every stage file from version 173 on.
inline constexpr std::int32_t STAGE_END_CODE = 123456789;
// The first version whose end code guards the file against truncation (173
// writes it but does not check it).
inline constexpr int kFirstCheckedStageVersion = 174;
// The removal areas: 0 characters, 1 solid characters, 2 items, 3 the
// player's shots, 4 other shots.
inline constexpr int kStageAreaCount = 5;

class cEdStage : public cEdData {
public:
    std::string strStageText; // kept for the authoring tool
    std::vector<cEdBlock> PlacedBlocks;
    std::vector<cEdChara> PlacedCharas; // the hero among them
    std::vector<cEdItem> PlacedItems;
    std::vector<cEdBlock> PaletteBlocks; // the stage's own palette; entry 0 none
    std::vector<cEdChara> PaletteCharas;
    std::vector<cEdItem> PaletteItems;
    std::vector<cEdLayer> Layers;
    std::vector<cEdTextItem> TextItems;
    // One flag per result value and ranking table: shown and ranked.
    std::vector<std::int32_t> ResultFlags;
    cEdArea Areas[kStageAreaCount];

    std::int32_t nWidth = 0; // blocks
    std::int32_t nSpare1 = 0;
    std::int32_t nSpare2 = 0;
    std::int32_t nHeight = 0;
    std::int32_t bLimitLeft = 0; // the view limits in force
    std::int32_t bLimitRight = 0;
    std::int32_t bLimitTop = 0;
    std::int32_t bLimitBottom = 0;
    std::int32_t nLimitLeft = 0; // the block columns and rows the view may show
    std::int32_t nLimitRight = 0;
    std::int32_t nLimitTop = 0;
    std::int32_t nLimitBottom = 0;
    std::int32_t nFrameRate = 60;
    std::int32_t bTimeLimit = 0;
    std::int32_t nTimeLimit = 200; // seconds
    std::int32_t nTimeWarning = 20;
    std::int32_t bAutoScrollX = 0;
    std::int32_t bAutoScrollY = 0;
    std::int32_t nAutoScrollX = 0; // tenths of a pixel per frame
    std::int32_t nAutoScrollY = 0;
    double dGravity = 0.4; // pixels per frame per frame
    std::int32_t nSpeedLevel = 10;
    std::int32_t nHitLevel = 0;
    std::int32_t nBgm = 0; // Bgm record; 0 none
    std::int32_t bBgmLoop = 0;
    std::int32_t bKeepBgm = 0;
    std::int32_t bZOrder = 1;
    std::int32_t bCarryStatus = 0;
    std::int32_t bStoreStatus = 0;
    std::int32_t bAutoAdvance = 0;
    std::int32_t bShowStatus = 1;
    std::int32_t bShowStageNo = 0;
    std::int32_t bShowStartSign = 1;
    std::int32_t bShowClear = 1;
    std::int32_t bShowGameOver = 1;
    // Boxes of the player, the other characters, the items and the shots.
    std::int32_t nPlayerBoxW = 16;
    std::int32_t nPlayerBoxH = 24;
    std::int32_t nPlayerFlyBoxW = 16;
    std::int32_t nPlayerFlyBoxH = 16;
    std::int32_t nPlayerHitW = 16;
    std::int32_t nPlayerHitH = 24;
    std::int32_t nPlayerFlyHitW = 16;
    std::int32_t nPlayerFlyHitH = 16;
    std::int32_t nPlayerShotHitW = 12;
    std::int32_t nPlayerShotHitH = 8;
    std::int32_t nPlayerPickW = 16;
    std::int32_t nPlayerPickH = 16;
    std::int32_t bPlayerBoxBottom = 1;
    std::int32_t bPlayerFlyBoxBottom = 0;
    std::int32_t bPlayerHitBottom = 1;
    std::int32_t bPlayerFlyHitBottom = 0;
    std::int32_t nShowBox = 0; // 0 not shown, 1 shown, 2 frame only
    std::int32_t nShowHit = 0;
    std::int32_t nShowShotHit = 0;
    std::int32_t nShowPick = 0;
    std::int32_t nColorBox = 0; // box colour 0 to 7
    std::int32_t nColorHit = 0;
    std::int32_t nColorShotHit = 0;
    std::int32_t nColorPick = 0;
    std::int32_t nCharaBoxW = 16;
    std::int32_t nCharaBoxH = 24;
    std::int32_t nCharaFlyBoxW = 16;
    std::int32_t nCharaFlyBoxH = 16;
    std::int32_t nCharaHitW = 12;
    std::int32_t nCharaHitH = 24;
    std::int32_t nCharaFlyHitW = 12;
    std::int32_t nCharaFlyHitH = 16;
    std::int32_t nCharaShotHitW = 30;
    std::int32_t nCharaShotHitH = 30;
    std::int32_t bCharaBoxBottom = 1;
    std::int32_t bCharaFlyBoxBottom = 0;
    std::int32_t bCharaHitBottom = 1;
    std::int32_t bCharaFlyHitBottom = 0;
    std::int32_t nItemBoxW = 28;
    std::int32_t nItemBoxH = 28;
    std::int32_t nPlayerShotW = 16;
    std::int32_t nPlayerShotH = 16;
    std::int32_t nPlayerShotBoxW = 16;
    std::int32_t nPlayerShotBoxH = 16;
    std::int32_t nCharaShotW = 16;
    std::int32_t nCharaShotH = 16;
    std::int32_t nCharaShotBoxW = 16;
    std::int32_t nCharaShotBoxH = 16;
    std::int32_t nSpare3 = 1;

    std::string strFileName;     // the file loaded (not saved)
    std::int32_t bVersioned = 0; // the last load asked for the newest numbered file
    std::int32_t bLoaded = 0;    // the loader read the file

    std::int32_t nOuterX = 0; // outer sizes handed to the scroll axes
    std::int32_t nOuterY = 0;
    std::int32_t nTenthSteps = 0; // sub-steps in a tenth of a second (not saved)
    // Derived from the speed level by SetSpeedLevel.
    std::int32_t nSubSteps = 0;
    double dSubSteps = 0.0;
    double dSubSteps2 = 0.0;
    double dSpeedLimit = 0.0;
    double dGravityStep = 0.0;
    double dMaxStep = 0.0;
    std::int32_t nAirSteps = 0;
    std::int32_t bHitOnScreenOnly = 1;
    std::int32_t nPlayerAttackerGuard = 30; // frames
    std::int32_t nPlayerGuard = 0;
    std::int32_t nCharaAttackerGuard = 30;
    std::int32_t nCharaGuard = 0;

    // A new stage (SetDefaults).
    cEdStage();

    void RegisterMembers(int version) override;
    // The stage body after the version; its references find this stage's
    // own palette. Ends with the upgrades of older files and Check.
    void Load(plat::ByteReader& f) override;
    // Check, then the stage body with the end code.
    void Save(ByteWriter& f) override;
    // The same layout, with the members, strings, results-row flags, areas,
    // layers and text items of stageAtStart and the palette and placed
    // objects of this stage.
    void SaveForReplay(ByteWriter& f, cEdStage& stageAtStart);

    // A new stage: no placed objects, one none entry per palette list, one
    // filled layer, five results-row flags set, the default areas.
    void SetDefaults();
    // Repairs a stage: the view limits inside the stage, the derived speed
    // values of the live stage, the music, at least 2 entries per palette
    // list, then every palette entry and placed object validated.
    void Check();
    // Stores the level and the values derived from it. A level outside 1 to
    // 19 derives the values of the nearest level in range.
    void SetSpeedLevel(int level);
    // The index in PlacedCharas of the first player-operated character with
    // a graphic, or -1.
    int FindHero() const;
    // 1 when FindHero finds one, else 0.
    int HasHero() const;
    // Copies into this stage what g_StageAtStart keeps of a stage: the
    // registered members and strings, layers, text items, areas and
    // results-row flags; empties the palette and placed lists.
    void CopySettingsFrom(cEdStage& src);

private:
    void LoadBody(plat::ByteReader& f);
    void SaveSettingsHead(ByteWriter& f);
    void SaveObjects(ByteWriter& f);
};

// Reads a stage body (version already read into g_FileVersion) into a new
// stage and, when it read cleanly, moves it into stage: 1, or 0 with stage
// unchanged. A file older than version 174 carries no guarding end code and
// is read as far as it goes: running out of bytes is no failure there. A
// fault of content (a kind outside its table) always refuses the file.
int LoadStageRecord(cEdStage& stage, plat::ByteReader& f);

extern cEdStage g_Stage;        // the stage being played
extern cEdStage g_StageAtStart; // its settings as loaded
