#include "data/ed_system.h"

#include "core/checked_access.h"
#include "core/sjis_text.h"
#include "data/ed_database.h"
#include "data/load_checks.h"

cEdSystem g_System;

namespace {

// Reads a counted list of records whose elements start as constructed.
template <class T> void loadList(std::vector<T>& v, plat::ByteReader& f)
{
    T defaultElement;
    defaultElement.RegisterMembers(kDataVersion);
    LoadVector(v, f, defaultElement);
}

void loadStringList(std::vector<std::string>& v, plat::ByteReader& f)
{
    std::uint32_t n = 0;
    if (!f.readU32(n) || !f.checkCount(n, 4)) return;
    v.clear();
    for (std::uint32_t i = 0; i < n; ++i) {
        v.emplace_back();
        LoadListString(v.back(), f);
        if (f.failed()) return;
    }
}

void saveStringList(std::vector<std::string>& v, ByteWriter& f)
{
    f.writeU32(static_cast<std::uint32_t>(v.size()));
    for (std::string& s : v)
        SaveListString(s, f);
}

// Appends the default list's entries beyond the end of a short list.
template <class T> void completeFrom(std::vector<T>& v, const std::vector<T>& defaults)
{
    for (std::size_t i = v.size(); i < defaults.size(); ++i)
        v.push_back(defaults[i]);
}

cEdMenuItem menuItem(const char* label)
{
    cEdMenuItem item;
    item.strLabel = label;
    return item;
}

} // namespace

cEdSystem::cEdSystem()
{
    SetDefaults();
}

void cEdSystem::RegisterMembers(int v)
{
    ClearMemberTables();
    if (v >= 185) AddField4(&bExtraLife, 1);
    AddField4(&nExtraLifeScore, 1);
    AddField4(&bPauseHidesObjects, 1);
    AddField4(&bFontSymbols, 1);
    if (v >= 205) AddField4(&nFontFace, 1);
    if (v >= 170) AddField4(&bFontCentred, 1);
    if (v >= 113) AddField4(&bKeepTestFlows, 1);
    if (v >= 184) AddField4(&bRecordReplay, 1);
    if (v >= 157) AddField4(&bTitleMenuPicture, 1);
    AddField4(&bCarryLives, 1);
    if (v >= 191) {
        AddField4(&bContinueMenu, 1);
        AddField4(&bMapShowLives, 1);
    }
    AddField4(&nChallengeStages, 1);
    AddField4(&bAllChallengesOpen, 1);
    if (v >= 167) {
        AddField4(&bMapShowScore, 1);
        AddField4(&bSaveMenuShowTotal, 1);
        if (v >= 188) AddField4(&bRestoreVarsStory, 1);
        if (v >= 224) AddField4(&bRetryStory, 1);
        AddField4(&bChallengeShowHigh, 1);
        AddField4(&bChallengeShowTotal, 1);
        if (v >= 188) {
            AddField4(&bRestoreVarsChallenge, 1);
            if (v >= 224) AddField4(&bRetryChallenge, 1);
            AddField4(&bRestoreVarsFree, 1);
        }
        if (v >= 192) AddField4(&bRestoreVarsDirect, 1);
    }
    if (v >= 187) {
        AddField4(&nColourMode, 1);
        AddField1(&byKeyR, 1);
        AddField1(&byKeyG, 1);
        AddField1(&byKeyB, 1);
    }
    if (v >= 214) AddField4(&bNoScrollCarry, 1);
    if (v >= 221 && v <= 259) AddField4(&m_Unused221, 1);
    if (v >= 261) AddField4(&bScaleByBox, 1);
    if (v >= 272) AddField4(&bKeepDefeated, 1);
    if (v >= 287) AddField4(&bTintUnderD3D, 1);
    if (v >= 289) AddField4(&bColourCycle, 1);
    AddString(&strTitle, 1);
}

void cEdSystem::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    const int v = g_FileVersion;
    LoadValues(vCarryOver, f);
    if (v >= 501) LoadValues(vDropOnDeath, f);
    loadList(vStatusItem, f);
    LoadValues(vInitialLives, f);
    if (v >= 191) LoadValues(vUnlimitedLives, f);
    if (v >= 186) loadList(vModeFlags, f);
    loadStringList(SysText, f);
    loadStringList(vSeName, f);
    LoadValues(vMusicNo, f);
    if (v >= 202) LoadValues(vMusicLoop, f);
    loadList(vTitleMenu, f);
    loadList(vSaveMenu, f);
    loadList(vOptionMenu, f);
    loadList(vSysOption, f);
    if (f.failed()) return;
    if (v < kDataVersion) Upgrade(v);
    CompleteFixedLists();
    Check();
}

void cEdSystem::Upgrade(int v)
{
    if (v < 113) bKeepTestFlows = 0;
    if (v < 157) bTitleMenuPicture = 0;
    if (v < 167) {
        bMapShowScore = 1;
        bSaveMenuShowTotal = 1;
        bChallengeShowHigh = 1;
        bChallengeShowTotal = 1;
    }
    if (v < 168) InsertEntry(vCarryOver, kCarryGroups, 16, 1);
    if (v < 169) {
        InsertEntry(vSaveMenu, 4, 1, menuItem(Sjis("オートセーブ")));
        for (const char* text : {"保存先が不明です！一度は「セーブ」して下さい！",
                                 "オートセーブＯＦＦ", "オートセーブＯＮ"}) {
            InsertEntry(SysText, kSysTexts, 12, Sjis(text));
        }
    }
    if (v < 170) bFontCentred = 0;
    if (v < 181) {
        for (std::size_t i = 0; i < vModeFlags.size() && i < kPlayKinds; ++i) {
            vModeFlags[i].vRankKinds.resize(5, 0);
            vModeFlags[i].vRankKinds[3] = 0;
            vModeFlags[i].vRankKinds[4] = 0;
        }
        InsertEntry(SysText, kSysTexts, 8, Sjis("残りHP"));
        InsertEntry(SysText, kSysTexts, 9, Sjis("残りSP"));
    }
    if (v < 184) bRecordReplay = 1;
    if (v < 185) bExtraLife = 1;
    if (v < 187) {
        nColourMode = 0;
        byKeyR = 0;
        byKeyG = 177;
        byKeyB = 0;
    }
    if (v < 188) {
        bRestoreVarsStory = 1;
        bRestoreVarsChallenge = 1;
        bRestoreVarsFree = 1;
    }
    if (v < 191) {
        vUnlimitedLives = {0, 0, 0, 1};
        bContinueMenu = 0;
        bMapShowLives = 0;
    }
    if (v < 192) bRestoreVarsDirect = 1;
    if (v < 193) {
        InsertEntry(SysText, kSysTexts, 22, Sjis("リトライ"));
        InsertEntry(SysText, kSysTexts, 23, Sjis("マップへ戻る"));
    }
    if (v < 201) InsertEntry(vCarryOver, kCarryGroups, 14, 0);
    if (v < 202) vMusicLoop.assign(kMusicSlots, 1);
    if (v < 205) nFontFace = 60;
    if (v < 210) InsertEntry(vCarryOver, kCarryGroups, 9, 0);
    if (v < 214) bNoScrollCarry = 1;
    if (v < 224) {
        bRetryStory = 0;
        bRetryChallenge = 0;
    }
    if (v < 261) bScaleByBox = 1;
    if (v < 272) bKeepDefeated = 0;
    if (v < 286) {
        vSysOption.resize(kSysOptions, cEdSysOption{});
        ShiftUp(vSysOption, 0);
        vSysOption[0].SetInt("Direct3D", 1);
        if (vSysOption[3].nValue >= 3) vSysOption[3].nValue = 2;
    }
    if (v < 287) bTintUnderD3D = 1;
    if (v < 289) bColourCycle = nColourMode == 0 ? 1 : 0;
    if (v < 501) vDropOnDeath.assign(kCarryGroups, 0);
}

void cEdSystem::CompleteFixedLists()
{
    static const cEdSystem defaults;
    completeFrom(vCarryOver, defaults.vCarryOver);
    completeFrom(vDropOnDeath, defaults.vDropOnDeath);
    completeFrom(vStatusItem, defaults.vStatusItem);
    completeFrom(vInitialLives, defaults.vInitialLives);
    completeFrom(vUnlimitedLives, defaults.vUnlimitedLives);
    completeFrom(vModeFlags, defaults.vModeFlags);
    for (cEdModeFlags& flags : vModeFlags) {
        if (flags.vRankKinds.size() < 5) flags.vRankKinds.resize(5, 0);
    }
    completeFrom(SysText, defaults.SysText);
    completeFrom(vSeName, defaults.vSeName);
    completeFrom(vMusicNo, defaults.vMusicNo);
    completeFrom(vMusicLoop, defaults.vMusicLoop);
    completeFrom(vTitleMenu, defaults.vTitleMenu);
    completeFrom(vSaveMenu, defaults.vSaveMenu);
    completeFrom(vOptionMenu, defaults.vOptionMenu);
    completeFrom(vSysOption, defaults.vSysOption);
}

void cEdSystem::Save(ByteWriter& f)
{
    Check();
    cEdData::Save(f);
    SaveValues(vCarryOver, f);
    SaveValues(vDropOnDeath, f);
    SaveVector(vStatusItem, f);
    SaveValues(vInitialLives, f);
    SaveValues(vUnlimitedLives, f);
    SaveVector(vModeFlags, f);
    saveStringList(SysText, f);
    saveStringList(vSeName, f);
    SaveValues(vMusicNo, f);
    SaveValues(vMusicLoop, f);
    SaveVector(vTitleMenu, f);
    SaveVector(vSaveMenu, f);
    SaveVector(vOptionMenu, f);
    SaveVector(vSysOption, f);
}

void cEdSystem::SetDefaults()
{
    Clear();
    bExtraLife = 0;
    nExtraLifeScore = 100;
    bPauseHidesObjects = 1;
    bFontSymbols = 0;
    nFontFace = 60;
    bFontCentred = 0;
    bRecordReplay = 1;
    bKeepTestFlows = 0;
    bTitleMenuPicture = 1;
    bCarryLives = 1;
    bContinueMenu = 1;
    bMapShowLives = 1;
    nChallengeStages = 40;
    bAllChallengesOpen = 1;
    bMapShowScore = 1;
    bSaveMenuShowTotal = 1;
    bRestoreVarsStory = 1;
    bRetryStory = 1;
    bChallengeShowHigh = 1;
    bChallengeShowTotal = 1;
    bRestoreVarsChallenge = 1;
    bRetryChallenge = 1;
    bRestoreVarsFree = 1;
    bRestoreVarsDirect = 0;
    nColourMode = 0;
    byKeyR = byKeyG = byKeyB = 0;
    bNoScrollCarry = 0;
    bScaleByBox = 0;
    bKeepDefeated = 0;
    bTintUnderD3D = 0;
    bColourCycle = 0;

    vCarryOver.assign(kCarryGroups, 0);
    for (int i : {0, 1, 13, 14, 16, 17, 19, 20, 21})
        vCarryOver[static_cast<std::size_t>(i)] = 1;
    vDropOnDeath.assign(kCarryGroups, 0);
    vDropOnDeath[11] = 1;
    vDropOnDeath[12] = 1;

    struct StatusDefault {
        const char* label;
        int digits;
    };
    const StatusDefault statuses[kStatusItems] = {
        {"スコア", 4}, {"スコア", 3}, {"HP", 0}, {"SP", 0}, {"人", 2}};
    vStatusItem.resize(kStatusItems);
    for (int i = 0; i < kStatusItems; ++i) {
        cEdStatusItem& item = vStatusItem[static_cast<std::size_t>(i)];
        item.bShow = 1;
        item.bIcon = 1;
        item.strLabel = Sjis(statuses[i].label);
        item.nDigits = statuses[i].digits;
    }

    vModeFlags.resize(kPlayKinds);
    for (int k = 0; k < kPlayKinds; ++k) {
        cEdModeFlags& flags = vModeFlags[static_cast<std::size_t>(k)];
        const std::uint8_t on = k < 3 ? 1 : 0;
        flags.bRanking = on;
        flags.vRankKinds.assign(5, on);
    }

    auto labelMenu = [](std::vector<cEdMenuItem>& menu, std::initializer_list<const char*> labels) {
        menu.resize(labels.size());
        std::size_t i = 0;
        for (const char* label : labels) {
            menu[i] = menuItem(Sjis(label));
            ++i;
        }
    };
    labelMenu(vTitleMenu, {"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ",
                           "オプション", "しゅうりょう"});
    labelMenu(vSaveMenu, {"セーブ", "オートセーブ", "もどる", "タイトルへ"});
    labelMenu(vOptionMenu, {"BGM", "SE", "ランキング登録", "ランキング登録名", "もどる", ""});

    vInitialLives = {5, 5, 5, 99};
    vUnlimitedLives = {1, 1, 1, 1};

    static const char* const texts[kSysTexts] = {"ワールド",
                                                 "ステージ",
                                                 "スコア",
                                                 "ハイスコア",
                                                 "トータルスコア",
                                                 "スコア",
                                                 "残り時間",
                                                 "クリア時間",
                                                 "残りHP",
                                                 "残りSP",
                                                 "ステージに挑む",
                                                 "やっぱりやめる",
                                                 "セーブする",
                                                 "やっぱりやめる",
                                                 "オートセーブＯＮ",
                                                 "オートセーブＯＦＦ",
                                                 "保存先が不明です！一度は「セーブ」して下さい！",
                                                 "タイトルへ戻る",
                                                 "やっぱりやめる",
                                                 "しゅうりょう",
                                                 "つづける",
                                                 "リトライ",
                                                 "リトライ",
                                                 "マップへ戻る",
                                                 "Vキーでジャンルの切り替え",
                                                 "スペースキーでタイトルへ戻る",
                                                 "スペースキーで終了",
                                                 "F3キーでランキングへ登録"};
    SysText.resize(kSysTexts);
    for (int i = 0; i < kSysTexts; ++i)
        SysText[static_cast<std::size_t>(i)] = Sjis(texts[i]);

    vSeName.resize(kSystemSounds);
    vMusicNo.assign(kMusicSlots, 0);
    vMusicLoop.assign(kMusicSlots, 1);

    vSysOption.resize(kSysOptions);
    vSysOption[0].SetInt("Direct3D", 2);
    vSysOption[1].SetInt("WindowMode", 0);
    vSysOption[2].SetInt("Bpp", 0);
    vSysOption[3].SetInt("VSync", 2);
    vSysOption[4].SetInt("ShowFps", 1);
    vSysOption[5].SetText("FreeStage", "");
}

void cEdSystem::Check()
{
    for (std::int32_t& music : vMusicNo) {
        if (OutsideTable(music, g_Database.Bgm.size())) music = 0;
    }
}

int cEdSystem::CountModeFlags(int kind) const
{
    const cEdModeFlags& flags = VecAt(vModeFlags, kind);
    if (flags.bRanking == 0) return 0;
    int count = 0;
    for (std::uint8_t used : flags.vRankKinds)
        count += used != 0 ? 1 : 0;
    return count;
}
