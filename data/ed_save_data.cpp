#include "data/ed_save_data.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <ctime>

#include "core/checked_access.h"
#include "core/saturate.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/palette_refs.h"
#include "data/path_table.h"
#include "data/story_slots.h"

cSaveData g_Progress;
cSaveData g_ProgressAtStart;
cSaveData g_ProgressAtStart2;

namespace {

// More challenge entries than any game has; a system data that asks for
// more is taken as asking for this many.
constexpr int kMaxChallengeStages = 9999;
// More players than a play ever has.
constexpr int kMaxPlayers = 8;

// The story's play kind and the challenge's, as the lives rule takes them.
constexpr int kKindStory = 0;
constexpr int kKindChallenge = 1;

// The number of challenge entries a record holds.
int challengeCount()
{
    return std::clamp(g_System.nChallengeStages, 0, kMaxChallengeStages);
}

// Whether the system data's switch for status group k is set.
bool groupSwitch(const std::vector<std::uint8_t>& switches, int k)
{
    return VecAt(switches, k) != 0;
}

// Whether status group k is carried over and was stored (entry k of carried).
bool groupStored(const std::vector<std::int32_t>& carried, int k)
{
    return groupSwitch(g_System.vCarryOver, k) && static_cast<std::size_t>(k) < carried.size() &&
           carried[static_cast<std::size_t>(k)] != 0;
}

// The status groups that are values of a character definition, each copied
// by its own function; the groups held elsewhere (11, 12, 22 to 24) have none.
using GroupCopier = void (*)(cEdChara& to, const cEdChara& from);

const std::array<GroupCopier, kStatusGroups> kGroupCopiers = {
    CopyGraphic<cEdChara>,                                                     // 0 graphic
    [](cEdChara& to, const cEdChara& from) { to.nAnimeSet = from.nAnimeSet; }, // 1
    [](cEdChara& to, const cEdChara& from) { to.nZ = from.nZ; },               // 2
    [](cEdChara& to, const cEdChara& from) { to.bTransparent = from.bTransparent; },
    [](cEdChara& to, const cEdChara& from) { // 4 character effect
        to.nCharaEffect = from.nCharaEffect;
        to.nCharaEffectParam1 = from.nCharaEffectParam1;
        to.nCharaEffectParam2 = from.nCharaEffectParam2;
    },
    [](cEdChara& to, const cEdChara& from) { to.bFixedFacing = from.bFixedFacing; }, // 5
    [](cEdChara& to, const cEdChara& from) { to.nFlying = from.nFlying; },           // 6
    [](cEdChara& to, const cEdChara& from) { to.nInvincible = from.nInvincible; },   // 7
    [](cEdChara& to, const cEdChara& from) { to.nSize = from.nSize; },               // 8
    [](cEdChara& to, const cEdChara& from) { to.bScrollSync = from.bScrollSync; },   // 9
    [](cEdChara& to, const cEdChara& from) {                                         // 10 sight
        to.nSightShape = from.nSightShape;
        to.nSight = from.nSight;
    },
    nullptr,                                                                       // 11 current HP
    nullptr,                                                                       // 12 current SP
    [](cEdChara& to, const cEdChara& from) { to.nMaxHP = from.nMaxHP; },           // 13
    [](cEdChara& to, const cEdChara& from) { to.nMaxSP = from.nMaxSP; },           // 14
    [](cEdChara& to, const cEdChara& from) { to.nBoxKind = from.nBoxKind; },       // 15
    [](cEdChara& to, const cEdChara& from) { to.nBodyPower = from.nBodyPower; },   // 16
    [](cEdChara& to, const cEdChara& from) { to.nBodyImpact = from.nBodyImpact; }, // 17
    [](cEdChara& to, const cEdChara& from) { to.nDefence = from.nDefence; },       // 18
    [](cEdChara& to, const cEdChara& from) { to.nImpactResist = from.nImpactResist; }, // 19
    [](cEdChara& to, const cEdChara& from) { to.nStopRate = from.nStopRate; },         // 20
    [](cEdChara& to, const cEdChara& from) { to.Flows = from.Flows; },                 // 21
    nullptr, // 22 remaining time
    nullptr, // 23 lives
    nullptr, // 24 stage music
};

constexpr int kGroupCharaEffect = 4;
constexpr int kGroupHp = 11;
constexpr int kGroupSp = 12;
constexpr int kGroupTime = 22;
constexpr int kGroupLives = 23;
constexpr int kGroupMusic = 24;

} // namespace

SaveTime LocalSaveTime()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    SaveTime t;
    t.nYear = static_cast<std::uint16_t>(local.tm_year + 1900);
    t.nMonth = static_cast<std::uint16_t>(local.tm_mon + 1);
    t.nDayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
    t.nDay = static_cast<std::uint16_t>(local.tm_mday);
    t.nHour = static_cast<std::uint16_t>(local.tm_hour);
    t.nMinute = static_cast<std::uint16_t>(local.tm_min);
    t.nSecond = static_cast<std::uint16_t>(std::min(local.tm_sec, 59));
    t.nMilliseconds = static_cast<std::uint16_t>(millis.count());
    return t;
}

void cEdPlayerSave::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&nHp, 1);
    AddField4(&nSp, 1);
    AddField4(&nTime, 1);
    AddField4(&nLives, 1);
    AddField4(&nMusic, 1);
}

void cEdPlayerSave::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    if (!f.failed()) Chara.Load(f);
}

void cEdPlayerSave::Save(ByteWriter& f)
{
    cEdData::Save(f);
    Chara.Save(f);
}

void cEdNameValue::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&nValue, 1);
    AddString(&strName, 1);
}

void cEdIntPair::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&bCleared, 1);
    AddField4(&nBest, 1);
}

cSaveData::cSaveData()
{
    ResetStoryData();
}

void cSaveData::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField4(&bCarryValid, 1);
    AddField4(&nMapX, 1);
    AddField4(&nMapY, 1);
    AddField4(&nMapEventRef, 1);
    AddField4(&nRound, 1);
    AddField4(&nStageIndex, 1);
    AddField4(&nChainNo, 1);
    AddField4(&nInitialLives, 1);
    AddField4(&nLives, 1);
    AddField4(&nStageScore, 1);
    AddField4(&nScore, 1);
    AddField4(&nTotalScore, 1);
    AddField4(&nRestTime, 1);
    AddField4(&nClearTime, 1);
    if (version >= 182) {
        AddField4(&nRestHp, 1);
        AddField4(&nRestSp, 1);
    }
    AddField4(&bChainStage, 1);
    AddField4(&nStageMusic, 1);
    if (version >= 166) AddField4(&bStageMusicLoop, 1);
    if (version >= 190) {
        if (version >= 194) AddField4(&nMapEventNo, 1);
        AddField4(&bBackToMap, 1);
        if (version >= 191) {
            AddField4(&nMapCursor0, 1);
            AddField4(&nMapCursor1, 1);
        }
    }
    AddField4(&nChallengeOpen, 1);
    AddField4(&nSlot, 1);
    if (version >= 169) AddField4(&bAutoSave, 1);
    AddField4(&bShowRanking, 1);
    AddField4(&nRankKind, 1);
    AddString(&strStage, 1);
    AddString(&strRankName, 1);
}

void cSaveData::Load(plat::ByteReader& f)
{
    const int version = g_FileVersion;
    cEdData::Load(f);
    f.readBytes(&stSaved, sizeof(stSaved));
    if (version >= 501) LoadValues(vCarried, f);
    LoadVector(vPlayer, f);
    LoadVector(vBestScore, f);
    LoadVector(vChallenge, f);
    LoadValues(vStageFlags, f);
    LoadValues(vCommonVar, f);
    if (f.failed()) return;
    m_pMapEvent = nullptr;

    if (version < 166) bStageMusicLoop = 1;
    if (version < 169) bAutoSave = 0;
    if (version < 182) nRestHp = nRestSp = 0;
    if (version < 190) bBackToMap = 0;
    if (version < 191) nMapCursor0 = nMapCursor1 = 0;
    if (version < 194) nMapEventNo = 0;
    if (version < 501) vCarried.assign(kStatusGroups, 1);
    Check();
}

void cSaveData::Save(ByteWriter& f)
{
    Check();
    cEdData::Save(f);
    f.writeBytes(&stSaved, sizeof(stSaved));
    SaveValues(vCarried, f);
    SaveVector(vPlayer, f);
    SaveVector(vBestScore, f);
    SaveVector(vChallenge, f);
    SaveValues(vStageFlags, f);
    SaveValues(vCommonVar, f);
}

void cSaveData::Check()
{
    // A position off the map (also a negative one, which no map has) is
    // taken back to the map's start.
    if (nMapX < 0 || nMapX >= g_WorldMap.m_Width) nMapX = g_WorldMap.m_StartX;
    if (nMapY < 0 || nMapY >= g_WorldMap.m_Height) nMapY = g_WorldMap.m_StartY;
    const int challenges = challengeCount();
    if (static_cast<int>(vChallenge.size()) != challenges) {
        cEdIntPair entry;
        entry.Clear();
        vChallenge.resize(static_cast<std::size_t>(challenges), entry);
    }
    // The first challenge is always open, also after a damaged file (unless
    // the game has none).
    if (nChallengeOpen < 1) nChallengeOpen = 1;
    if (nChallengeOpen > challenges) nChallengeOpen = challenges;
}

void cSaveData::ResetStoryData()
{
    cEdData::Clear();
    vCarried.assign(kStatusGroups, 0);
    cEdPlayerSave player;
    player.Clear();
    vPlayer.assign(1, player);
    vStageFlags.assign(kStageFlags, 0);
    vStageFlags[0] = 1;
    vCommonVar.assign(kCommonVars, 0);
    vBestScore.clear();
    vChallenge.clear();
    nChallengeOpen = 1;
    nSlot = -1;
    strRankName = "aaa";
    m_pMapEvent = nullptr;
}

int cSaveData::SaveStorySlot(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(g_StorySlots.size())) {
        ReportBadIndex("err V[%d] ( %d , %d )", slot, g_StorySlots.size(), sizeof(cEdSlotInfo));
        return 0;
    }
    stSaved = LocalSaveTime();
    if (!SaveFile(StoryPath(slot))) return 0;
    cEdSlotInfo& info = g_StorySlots[static_cast<std::size_t>(slot)];
    info.bUsed = 1;
    info.bDamaged = 0;
    info.stSaved = stSaved;
    return 1;
}

int cSaveData::LoadStorySlot(int slot)
{
    if (!LoadFile(*this, StoryPath(slot))) return 0;
    ApplyLivesRule(kKindStory);
    return 1;
}

int cSaveData::LoadChallengeData()
{
    if (!LoadFile(*this, g_PathTable[PATH_CHALLENGE_DATA])) return 0;
    ApplyLivesRule(kKindChallenge);
    return 1;
}

void cSaveData::ApplyLivesRule(int kind)
{
    if (VecAt(g_System.vUnlimitedLives, kind) != 0) {
        nInitialLives = nLives = kUnlimitedLives;
    } else if (nLives == kUnlimitedLives) {
        nLives = VecAt(g_System.vInitialLives, kind);
    }
}

void cSaveData::SetStageName(const char* path)
{
    const std::string text = path ? path : "";
    strStage = text;
    bChainStage = 0;
    // The last "-1" of the text marks a chain: the name ends before it.
    for (std::size_t i = text.size(); i-- > 0;) {
        if (text[i] == '-' && i + 1 < text.size() && text[i + 1] == '1') {
            bChainStage = 1;
            strStage = text.substr(0, i) + ".";
            return;
        }
    }
    const std::size_t dot = text.rfind('.');
    strStage = dot == std::string::npos ? std::string() : text.substr(0, dot + 1);
}

void cSaveData::UpdateBestScore(const std::string& name, std::int32_t score)
{
    for (cEdNameValue& entry : vBestScore) {
        if (entry.strName != name) continue;
        if (entry.nValue < score) {
            nTotalScore = SaturateToInt32(std::int64_t{nTotalScore} + score - entry.nValue);
            entry.nValue = score;
        }
        return;
    }
    cEdNameValue entry;
    entry.Clear();
    entry.strName = name;
    entry.nValue = score;
    vBestScore.push_back(entry);
    nTotalScore = SaturateToInt32(std::int64_t{nTotalScore} + score);
}

std::int32_t cSaveData::GetBestScore(const std::string& name) const
{
    for (const cEdNameValue& entry : vBestScore) {
        if (entry.strName == name) return entry.nValue;
    }
    return 0;
}

void cSaveData::SnapshotStageStart()
{
    vCommonVarAtStart = vCommonVar;
    nLivesAtStart = nLives;
    nScoreAtStart = nScore;
}

void cSaveData::RestoreStageStart(int withLives, int playKind, int directStart)
{
    if (withLives) {
        vCommonVar = vCommonVarAtStart;
        nScore = nScoreAtStart;
        nLives = nLivesAtStart;
        return;
    }
    int restore = 1;
    if (directStart) {
        restore = g_System.bRestoreVarsDirect;
    } else if (playKind == kKindStory) {
        restore = g_System.bRestoreVarsStory;
    } else if (playKind == kKindChallenge) {
        restore = g_System.bRestoreVarsChallenge;
    } else if (playKind == 2) {
        restore = g_System.bRestoreVarsFree;
    }
    if (restore) vCommonVar = vCommonVarAtStart;
    nScore = nScoreAtStart;
}

void cSaveData::StoreCarriedStatus(int player, const cEdChara& def, std::int32_t hp,
                                   std::int32_t sp, std::int32_t charaEffect,
                                   std::int32_t charaEffectParam1, std::int32_t charaEffectParam2,
                                   std::int32_t restTime, std::int32_t lives, std::int32_t music)
{
    // A record from a file may hold fewer players or group flags than a new
    // one; the missing ones are made here.
    if (player >= 0 && player < kMaxPlayers && static_cast<std::size_t>(player) >= vPlayer.size()) {
        cEdPlayerSave blank;
        blank.Clear();
        vPlayer.resize(static_cast<std::size_t>(player) + 1, blank);
    }
    if (vCarried.size() < static_cast<std::size_t>(kStatusGroups)) {
        vCarried.resize(kStatusGroups, 0);
    }
    cEdPlayerSave& saved = VecAt(vPlayer, player);
    bCarryValid = 1;
    for (int k = 0; k < kStatusGroups; ++k) {
        if (!groupSwitch(g_System.vCarryOver, k)) continue;
        switch (k) {
        case kGroupCharaEffect:
            saved.Chara.nCharaEffect = static_cast<std::int16_t>(charaEffect);
            saved.Chara.nCharaEffectParam1 = static_cast<std::int8_t>(charaEffectParam1);
            saved.Chara.nCharaEffectParam2 = static_cast<std::uint8_t>(charaEffectParam2);
            break;
        case kGroupHp:
            saved.nHp = hp;
            break;
        case kGroupSp:
            saved.nSp = sp;
            break;
        case kGroupTime:
            saved.nTime = restTime;
            break;
        case kGroupLives:
            saved.nLives = lives;
            break;
        case kGroupMusic:
            saved.nMusic = music;
            break;
        default:
            kGroupCopiers[static_cast<std::size_t>(k)](saved.Chara, def);
            break;
        }
        vCarried[static_cast<std::size_t>(k)] = 1;
    }
}

void cSaveData::RestoreCarriedStatus(int player, cEdChara& def)
{
    if (!bCarryValid) return;
    if (player >= 0 && static_cast<std::size_t>(player) >= vPlayer.size()) return;
    const cEdPlayerSave& saved = VecAt(vPlayer, player);
    for (int k = 0; k < kStatusGroups; ++k) {
        if (k == kGroupHp || k == kGroupSp || !groupStored(vCarried, k)) continue;
        switch (k) {
        case kGroupTime:
            g_Stage.nTimeLimit = saved.nTime;
            break;
        case kGroupLives:
            nLives = saved.nLives;
            break;
        case kGroupMusic:
            g_Stage.nBgm = saved.nMusic;
            break;
        default:
            kGroupCopiers[static_cast<std::size_t>(k)](def, saved.Chara);
            // A stored graphic of nothing would make an invisible hero.
            if (k == 0 && def.nGraphicNo == 0) def.nGraphicNo = 1;
            break;
        }
    }
}

void cSaveData::RestoreCarriedValues(int player, std::int32_t* hp, std::int32_t* sp)
{
    if (!bCarryValid) return;
    if (player >= 0 && static_cast<std::size_t>(player) >= vPlayer.size()) return;
    const cEdPlayerSave& saved = VecAt(vPlayer, player);
    if (hp && groupStored(vCarried, kGroupHp)) *hp = saved.nHp;
    if (sp && groupStored(vCarried, kGroupSp)) *sp = saved.nSp;
}

void cSaveData::DropCarriedStatus()
{
    const std::size_t groups = std::min(vCarried.size(), static_cast<std::size_t>(kStatusGroups));
    for (std::size_t k = 0; k < groups; ++k) {
        if (groupSwitch(g_System.vDropOnDeath, static_cast<int>(k))) vCarried[k] = 0;
    }
}

void cSaveData::StartNextRound()
{
    ++nRound;
    std::fill(vStageFlags.begin(), vStageFlags.end(), 0);
    nMapX = g_WorldMap.m_StartX;
    nMapY = g_WorldMap.m_StartY;
}

void cSaveData::StepRankKind(int kind, int n)
{
    constexpr int kRankKinds = 5;
    const std::vector<std::uint8_t>& flags = VecAt(g_System.vModeFlags, kind).vRankKinds;
    auto shown = [&flags](int k) {
        return k >= 0 && static_cast<std::size_t>(k) < flags.size() &&
               flags[static_cast<std::size_t>(k)] != 0;
    };
    bool any = false;
    for (int k = 0; k < kRankKinds; ++k)
        any = any || shown(k);
    if (!any) return;
    // Past the last kind comes the first and before the first the last; a
    // kind out of range (from a file) steps as if from beyond either end.
    auto forward = [this] {
        nRankKind = nRankKind < 0 || nRankKind >= kRankKinds - 1 ? 0 : nRankKind + 1;
    };
    auto backward = [this] {
        nRankKind = nRankKind <= 0 || nRankKind > kRankKinds - 1 ? kRankKinds - 1 : nRankKind - 1;
    };
    if (n > 0) {
        for (int i = 0; i < n; ++i) {
            do
                forward();
            while (!shown(nRankKind));
        }
    } else if (n < 0) {
        for (std::int64_t i = 0; i < -std::int64_t{n}; ++i) {
            do
                backward();
            while (!shown(nRankKind));
        }
    } else {
        while (!shown(nRankKind))
            forward();
    }
}
