#pragma once
// The progress of one play: lives, scores and results, the cleared stages,
// the common variables, the place on the world map, the status carried from
// stage to stage, the best score of every stage, the challenge progress and
// the story slot. g_Progress is the current play's; the same record is a
// story slot file, user_data\challenge\Challenge.dat, and the progress at an
// attempt's start at the end of a replay file.
//
// File layout after the data version (Load reads files of older versions and
// brings them up to date):
//   the record body: 28 int32 member blocks (RegisterMembers) and 2 strings
//   16 bytes stSaved
//   uint32 n, n int32 of vCarried (files of 501 and later)
//   uint32 n, n player records (each its 5 ints and a whole character definition)
//   uint32 n, n best scores;  uint32 n, n challenge entries
//   uint32 n, n int32 stage flags;  uint32 n, n int32 common variables

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/ed_chara.h"
#include "data/ed_data.h"

class cEdWorldEventItem;

// A moment of local time, as stored in a save: eight 16-bit fields.
struct SaveTime {
    std::uint16_t nYear = 0;
    std::uint16_t nMonth = 0;
    std::uint16_t nDayOfWeek = 0; // 0 Sunday
    std::uint16_t nDay = 0;
    std::uint16_t nHour = 0;
    std::uint16_t nMinute = 0;
    std::uint16_t nSecond = 0;
    std::uint16_t nMilliseconds = 0;
};
static_assert(sizeof(SaveTime) == 16);

// The local time now.
SaveTime LocalSaveTime();

// The number of status groups that can be carried from stage to stage.
inline constexpr int kStatusGroups = 25;
// The sizes of a new play's stage flags and common variables.
inline constexpr int kStageFlags = 1000;
inline constexpr int kCommonVars = 256;
// Lives that never run out.
inline constexpr std::int32_t kUnlimitedLives = 999999;

// One player's carried status: the character definition with the carried
// values, and the carried current values.
class cEdPlayerSave : public cEdData {
public:
    cEdChara Chara;
    std::int32_t nHp = 0;
    std::int32_t nSp = 0;
    std::int32_t nTime = 0; // remaining time of the cleared stage, in seconds
    std::int32_t nLives = 0;
    std::int32_t nMusic = 0; // the stage music that was playing

    void RegisterMembers(int version) override;
    // Its own body (five ints), then the definition's whole body.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
};

// The best score of one stage, by the stage's base name.
class cEdNameValue : public cEdData {
public:
    std::string strName;
    std::int32_t nValue = 0;

    void RegisterMembers(int version) override;
};

// One challenge stage: cleared, and its best score.
class cEdIntPair : public cEdData {
public:
    std::int32_t bCleared = 0;
    std::int32_t nBest = 0;

    void RegisterMembers(int version) override;
};

class cSaveData : public cEdData {
public:
    std::int32_t bCarryValid = 0; // the carried status of vPlayer is valid
    // Entry k not 0: status group k was stored and may be given back.
    std::vector<std::int32_t> vCarried;
    std::vector<cEdPlayerSave> vPlayer; // one per player
    std::int32_t nMapX = 0;             // the player's cell on the world map
    std::int32_t nMapY = 0;
    // Stored as the file holds it and written back unchanged; it means
    // nothing after loading. The world-map entry of the running stage is
    // m_pMapEvent, which is never stored.
    std::int32_t nMapEventRef = 0;
    std::vector<std::int32_t> vStageFlags; // cleared flag by stage index; entry 0 is 1
    std::int32_t nRound = 0;
    std::vector<std::int32_t> vCommonVar; // the game's common variables
    std::string strStage;                 // base name of the running stage (SetStageName)
    std::int32_t nStageIndex = 0;
    std::int32_t nChainNo = 0;      // the running stage's number within its chain, from 1
    std::int32_t nInitialLives = 0; // lives at the start of a play
    std::int32_t nLives = 0;        // kUnlimitedLives: unlimited
    std::int32_t nStageScore = 0;
    std::int32_t nScore = 0;
    std::int32_t nTotalScore = 0; // the sum of the best scores
    std::int32_t nRestTime = 0;   // results of the last stage
    std::int32_t nClearTime = 0;
    std::int32_t nRestHp = 0;
    std::int32_t nRestSp = 0;
    std::int32_t bChainStage = 0; // the running stage starts a numbered chain
    std::int32_t nStageMusic = 0; // the stage music playing now, 0 none
    std::int32_t bStageMusicLoop = 0;
    std::int32_t nMapEventNo = 0; // the map cursor's facing on the world map
    std::int32_t bBackToMap = 0;  // the last play went back to the map from the continue menu
    std::int32_t nMapCursor0 = 0; // the map cursor's tile before its last move, given
                                  // back when an attempt is left for the map
    std::int32_t nMapCursor1 = 0;
    std::vector<cEdNameValue> vBestScore;
    std::int32_t nChallengeOpen = 0;             // challenge stages opened
    std::vector<cEdIntPair> vChallenge;          // one per challenge stage
    std::vector<std::int32_t> vCommonVarAtStart; // at the running stage's start (not stored)
    std::int32_t nLivesAtStart = 0;              // (not stored)
    std::int32_t nScoreAtStart = 0;              // (not stored)
    std::int32_t nSlot = -1; // story slot saved or loaded last, 0 to 98; -1 none
    std::int32_t bAutoSave = 0;
    SaveTime stSaved;        // local time of the last story save
    std::string strRankName; // the name entered last for a ranking
    std::int32_t bShowRanking = 0;
    std::int32_t nRankKind = 0; // the ranking kind (0 to 4) the ranking views show
    // The world-map entry that started the running stage; null when none.
    // Never stored: the world map is fixed for the run, so the entry stays.
    const cEdWorldEventItem* m_pMapEvent = nullptr;

    // A new play (ResetStoryData).
    cSaveData();

    void RegisterMembers(int version) override;
    // Reads the layout above, upgrades an older file, then Check.
    void Load(plat::ByteReader& f) override;
    // Check, then the layout above.
    void Save(ByteWriter& f) override;

    // A world-map cell outside the map becomes the map's start; the challenge
    // entries are made as many as the system data's challenge stages, and
    // the opened count at least 1 and at most that.
    void Check();
    // The state of a new play.
    void ResetStoryData();

    // Stamps the time, writes the record to the story slot (0 to 98) and
    // marks the slot used in g_StorySlots. 1 when written; 0 when it could
    // not be (the slot's old file stays, and its summary is left as it was).
    int SaveStorySlot(int slot);
    // Reads a story slot, then applies the lives rule of story play. 1 when
    // read; 0 when the file is missing or damaged (the record is unchanged).
    int LoadStorySlot(int slot);
    // The same with user_data\challenge\Challenge.dat and challenge play.
    int LoadChallengeData();
    // Unlimited lives of the play kind give both life counts 999999; limited
    // lives turn an unlimited count into the kind's initial lives.
    void ApplyLivesRule(int kind);

    // Takes the running stage's name from its file path (strStage, bChainStage).
    void SetStageName(const char* path);
    // Records a score for a stage, keeping the best and their total.
    void UpdateBestScore(const std::string& name, std::int32_t score);
    // The best score recorded for a stage; 0 when none.
    std::int32_t GetBestScore(const std::string& name) const;

    // Keeps the values a retry puts back (variables, lives, score).
    void SnapshotStageStart();
    // Puts back the stage-start values: with lives, the variables, the score
    // and the lives; without, the score, and the variables when the play
    // kind's switch of the system data says so (always in replays).
    void RestoreStageStart(int withLives, int playKind, int directStart);

    // At a stage clear: stores the carried status groups in player record
    // `player`, from the definition and the given current values.
    void StoreCarriedStatus(int player, const cEdChara& def, std::int32_t hp, std::int32_t sp,
                            std::int32_t charaEffect, std::int32_t charaEffectParam1,
                            std::int32_t charaEffectParam2, std::int32_t restTime,
                            std::int32_t lives, std::int32_t music);
    // At a stage start: gives the stored groups back to the hero's
    // definition, the running stage (time limit, music) and the lives.
    void RestoreCarriedStatus(int player, cEdChara& def);
    // The carried current HP and SP, when stored.
    void RestoreCarriedValues(int player, std::int32_t* hp, std::int32_t* sp);
    // At a lost life: forgets the groups that the system data drops on death.
    void DropCarriedStatus();

    // The next round of the story: round + 1, every stage flag cleared, the
    // map position back at the map's start.
    void StartNextRound();
    // Moves nRankKind n steps among the ranking kinds the play kind shows;
    // n = 0 only moves it off a kind that is not shown.
    void StepRankKind(int kind, int n);
};

// The progress of the current play, and at the start of the current and of
// the previous attempt (written with replays).
extern cSaveData g_Progress;
extern cSaveData g_ProgressAtStart;
extern cSaveData g_ProgressAtStart2;
