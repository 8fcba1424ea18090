#include "data/ed_stage.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/saturate.h"
#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/load_checks.h"
#include "data/palette_refs.h"

cEdStage g_Stage;
cEdStage g_StageAtStart;

namespace {

// The screen's size in blocks, which the view limits leave room for.
constexpr int kScreenBlocksX = 20;
constexpr int kScreenBlocksY = 15;

// Reads a placed list: uint32 n, then n entries of 4 ignored bytes and a
// body, each element starting from the list's default element.
template <class T>
void LoadPlaced(std::vector<T>& list, plat::ByteReader& f, const T& defaultElement)
{
    std::uint32_t n = 0;
    if (!f.readU32(n) || !f.checkCount(n, 4 + kMinRecordBytes)) return;
    list.clear();
    for (std::uint32_t i = 0; i < n; ++i) {
        list.push_back(defaultElement);
        f.skip(4);
        list.back().Load(f);
        if (f.failed()) return;
    }
}

template <class T> void SavePlaced(std::vector<T>& list, ByteWriter& f)
{
    f.writeU32(static_cast<std::uint32_t>(list.size()));
    for (T& element : list) {
        f.writeI32(0);
        element.Save(f);
    }
}

cEdLayer DefaultLayer()
{
    cEdLayer layer;
    layer.SetDefaults();
    return layer;
}

// The smaller of a limit and a bound computed without overflow.
std::int32_t LimitTo(std::int32_t limit, std::int64_t bound)
{
    return SaturateToInt32(std::min<std::int64_t>(limit, bound));
}

template <class T> void Release(std::vector<T>& list)
{
    std::vector<T>().swap(list);
}

} // namespace

cEdStage::cEdStage()
{
    SetDefaults();
}

void cEdStage::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField4(&nWidth, 1);
    AddField4(&nSpare1, 1);
    AddField4(&nSpare2, 1);
    AddField4(&nHeight, 1);
    AddField4(&bLimitLeft, 1);
    AddField4(&bLimitRight, 1);
    AddField4(&bLimitTop, 1);
    AddField4(&bLimitBottom, 1);
    AddField4(&nLimitLeft, 1);
    AddField4(&nLimitRight, 1);
    AddField4(&nLimitTop, 1);
    AddField4(&nLimitBottom, 1);
    AddField4(&nFrameRate, 1);
    AddField4(&bTimeLimit, 1);
    AddField4(&nTimeLimit, 1);
    AddField4(&nTimeWarning, 1);
    AddField4(&bAutoScrollX, 1);
    AddField4(&bAutoScrollY, 1);
    AddField4(&nAutoScrollX, 1);
    AddField4(&nAutoScrollY, 1);
    AddField8(&dGravity, 1);
    AddField4(&nSpeedLevel, 1);
    AddField4(&nHitLevel, 1);
    AddField4(&nBgm, 1);
    if (version >= 166) AddField4(&bBgmLoop, 1);
    if (version >= 199) AddField4(&bKeepBgm, 1);
    AddField4(&bZOrder, 1);
    AddField4(&bCarryStatus, 1);
    AddField4(&bStoreStatus, 1);
    if (version >= 183) AddField4(&bShowStatus, 1);
    if (version >= 184) AddField4(&bAutoAdvance, 1);
    AddField4(&bShowStageNo, 1);
    if (version >= 225) AddField4(&bShowStartSign, 1);
    AddField4(&bShowClear, 1);
    AddField4(&bShowGameOver, 1);
    if (version >= 200) {
        AddField4(&nPlayerBoxW, 1);
        AddField4(&nPlayerBoxH, 1);
        AddField4(&nPlayerFlyBoxW, 1);
        AddField4(&nPlayerFlyBoxH, 1);
    }
    AddField4(&nPlayerHitW, 1);
    AddField4(&nPlayerHitH, 1);
    if (version >= 155) {
        AddField4(&nPlayerFlyHitW, 1);
        AddField4(&nPlayerFlyHitH, 1);
    }
    AddField4(&nPlayerShotHitW, 1);
    AddField4(&nPlayerShotHitH, 1);
    AddField4(&nPlayerPickW, 1);
    AddField4(&nPlayerPickH, 1);
    if (version >= 200) {
        AddField4(&bPlayerBoxBottom, 1);
        AddField4(&bPlayerFlyBoxBottom, 1);
    }
    if (version >= 155) {
        AddField4(&bPlayerHitBottom, 1);
        AddField4(&bPlayerFlyHitBottom, 1);
    }
    if (version >= 200) AddField4(&nShowBox, 1);
    AddField4(&nShowHit, 1);
    AddField4(&nShowShotHit, 1);
    AddField4(&nShowPick, 1);
    if (version >= 200) AddField4(&nColorBox, 1);
    AddField4(&nColorHit, 1);
    AddField4(&nColorShotHit, 1);
    AddField4(&nColorPick, 1);
    if (version >= 200) {
        AddField4(&nCharaBoxW, 1);
        AddField4(&nCharaBoxH, 1);
        AddField4(&nCharaFlyBoxW, 1);
        AddField4(&nCharaFlyBoxH, 1);
    }
    AddField4(&nCharaHitW, 1);
    AddField4(&nCharaHitH, 1);
    if (version >= 155) {
        AddField4(&nCharaFlyHitW, 1);
        AddField4(&nCharaFlyHitH, 1);
    }
    AddField4(&nCharaShotHitW, 1);
    AddField4(&nCharaShotHitH, 1);
    if (version >= 200) {
        AddField4(&bCharaBoxBottom, 1);
        AddField4(&bCharaFlyBoxBottom, 1);
    }
    if (version >= 155) {
        AddField4(&bCharaHitBottom, 1);
        AddField4(&bCharaFlyHitBottom, 1);
    }
    AddField4(&nItemBoxW, 1);
    AddField4(&nItemBoxH, 1);
    AddField4(&nPlayerShotW, 1);
    AddField4(&nPlayerShotH, 1);
    AddField4(&nPlayerShotBoxW, 1);
    AddField4(&nPlayerShotBoxH, 1);
    AddField4(&nCharaShotW, 1);
    AddField4(&nCharaShotH, 1);
    AddField4(&nCharaShotBoxW, 1);
    AddField4(&nCharaShotBoxH, 1);
    AddField4(&nSpare3, 1);
    AddField4(&nOuterX, 1);
    AddField4(&nOuterY, 1);
    AddField4(&nSubSteps, 1);
    AddField8(&dSubSteps, 1);
    AddField8(&dSubSteps2, 1);
    AddField8(&dSpeedLimit, 1);
    AddField8(&dGravityStep, 1);
    AddField8(&dMaxStep, 1);
    AddField4(&nAirSteps, 1);
    AddField4(&bHitOnScreenOnly, 1);
    AddField4(&nPlayerAttackerGuard, 1);
    AddField4(&nPlayerGuard, 1);
    AddField4(&nCharaAttackerGuard, 1);
    AddField4(&nCharaGuard, 1);
    AddString(&strStageText, 1);
}

void cEdStage::SetDefaults()
{
    Clear();
    Release(PlacedBlocks);
    Release(PlacedCharas);
    Release(PlacedItems);
    PaletteBlocks.assign(1, NoneBlock());
    PaletteCharas.assign(1, NoneChara());
    PaletteItems.assign(1, NoneItem());

    nFrameRate = 60;
    nTimeLimit = 200;
    nTimeWarning = 20;
    dGravity = 0.4;
    nSpeedLevel = 10;
    bZOrder = 1;
    bShowStatus = 1;
    bShowStartSign = 1;
    bShowClear = 1;
    bShowGameOver = 1;
    nPlayerBoxW = 16;
    nPlayerBoxH = 24;
    nPlayerFlyBoxW = 16;
    nPlayerFlyBoxH = 16;
    nPlayerHitW = 16;
    nPlayerHitH = 24;
    nPlayerFlyHitW = 16;
    nPlayerFlyHitH = 16;
    nPlayerShotHitW = 12;
    nPlayerShotHitH = 8;
    nPlayerPickW = 16;
    nPlayerPickH = 16;
    bPlayerBoxBottom = 1;
    bPlayerHitBottom = 1;
    nCharaBoxW = 16;
    nCharaBoxH = 24;
    nCharaFlyBoxW = 16;
    nCharaFlyBoxH = 16;
    nCharaHitW = 12;
    nCharaHitH = 24;
    nCharaFlyHitW = 12;
    nCharaFlyHitH = 16;
    nCharaShotHitW = 30;
    nCharaShotHitH = 30;
    bCharaBoxBottom = 1;
    bCharaHitBottom = 1;
    nItemBoxW = 28;
    nItemBoxH = 28;
    nPlayerShotW = 16;
    nPlayerShotH = 16;
    nPlayerShotBoxW = 16;
    nPlayerShotBoxH = 16;
    nCharaShotW = 16;
    nCharaShotH = 16;
    nCharaShotBoxW = 16;
    nCharaShotBoxH = 16;
    bHitOnScreenOnly = 1;
    nPlayerAttackerGuard = 30;
    nCharaAttackerGuard = 30;

    Layers.assign(1, DefaultLayer());
    Layers[0].bFill = 1;
    TextItems.clear();
    ResultFlags.assign(5, 1);
    for (int i = 0; i < 3; ++i)
        Areas[i].Set(0, 0, 0, 0, 0, 0, 0, 0);
    Areas[3].Set(1, 1, 1, 1, 0, 0, 0, 0);
    Areas[4].Set(1, 1, 1, 1, 10, 10, 10, 10);
    nSpare3 = 1;
}

void cEdStage::Load(plat::ByteReader& f)
{
    StageScope scope(*this);
    LoadBody(f);
    const int v = g_FileVersion;
    if (v < kDataVersion) {
        if (v < 155) {
            nPlayerFlyHitW = nPlayerHitW;
            nPlayerFlyHitH = nPlayerHitH;
            nCharaFlyHitW = nCharaHitW;
            nCharaFlyHitH = nCharaHitH;
            bPlayerHitBottom = 0;
            bPlayerFlyHitBottom = 0;
            bCharaHitBottom = 0;
            bCharaFlyHitBottom = 0;
        }
        if (v < 166) bBgmLoop = 1;
        if (v < 181) {
            // Two results rows were added; a longer list keeps its length.
            if (ResultFlags.size() < 5) ResultFlags.resize(5, 0);
            ResultFlags[3] = 0;
            ResultFlags[4] = 0;
        }
        if (v < 183) bShowStatus = 1;
        if (v < 184) bAutoAdvance = 0;
        if (v < 199) bKeepBgm = 0;
        if (v < 200) {
            nPlayerBoxW = 16;
            nPlayerBoxH = 24;
            nPlayerFlyBoxW = 16;
            nPlayerFlyBoxH = 16;
            bPlayerBoxBottom = 1;
            bPlayerFlyBoxBottom = 0;
            nShowBox = 0;
            nColorBox = 5;
            nCharaBoxW = 16;
            nCharaBoxH = 30;
            nCharaFlyBoxW = 16;
            nCharaFlyBoxH = 30;
            bCharaBoxBottom = 1;
            bCharaFlyBoxBottom = 1;
        }
        if (v < 225) bShowStartSign = 0;
    }
    Check();
}

void cEdStage::LoadBody(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadValues(ResultFlags, f);
    for (cEdArea& area : Areas)
        area.Load(f);
    LoadPaletteLists(PaletteBlocks, PaletteCharas, PaletteItems, f);
    ResetNoneEntries(PaletteBlocks, PaletteCharas, PaletteItems);
    LoadPlaced(PlacedBlocks, f, NoneBlock());
    LoadPlaced(PlacedCharas, f, NoneChara());
    LoadPlaced(PlacedItems, f, NoneItem());
    LoadVector(Layers, f, DefaultLayer());
    LoadVector(TextItems, f);
    if (g_FileVersion > 172) {
        std::int32_t endCode = 0;
        ReadKept(f, endCode);
    }
}

void cEdStage::Save(ByteWriter& f)
{
    SaveForReplay(f, *this);
}

void cEdStage::SaveForReplay(ByteWriter& f, cEdStage& stageAtStart)
{
    Check();
    stageAtStart.SaveSettingsHead(f);
    SaveObjects(f);
    SaveVector(stageAtStart.Layers, f);
    SaveVector(stageAtStart.TextItems, f);
    f.writeI32(STAGE_END_CODE);
}

void cEdStage::SaveSettingsHead(ByteWriter& f)
{
    cEdData::Save(f);
    SaveValues(ResultFlags, f);
    for (cEdArea& area : Areas)
        area.Save(f);
}

void cEdStage::SaveObjects(ByteWriter& f)
{
    StageScope scope(*this);
    SaveVector(PaletteBlocks, f);
    SaveVector(PaletteCharas, f);
    SaveVector(PaletteItems, f);
    SavePlaced(PlacedBlocks, f);
    SavePlaced(PlacedCharas, f);
    SavePlaced(PlacedItems, f);
}

void cEdStage::Check()
{
    StageScope scope(*this);
    nLimitLeft = LimitTo(nLimitLeft, std::int64_t{nWidth} - kScreenBlocksX);
    nLimitRight = LimitTo(nLimitRight, std::int64_t{nWidth} - 1);
    nLimitTop = LimitTo(nLimitTop, std::int64_t{nHeight} - kScreenBlocksY);
    nLimitBottom = LimitTo(nLimitBottom, std::int64_t{nHeight} - 1);
    SetSpeedLevel(nSpeedLevel);
    if (OutsideTable(nBgm, g_Database.Bgm.size())) nBgm = 0;
    FillPaletteLists(PaletteBlocks, PaletteCharas, PaletteItems);
    ValidatePaletteLists(PaletteBlocks, PaletteCharas, PaletteItems);
    ValidatePaletteLists(PlacedBlocks, PlacedCharas, PlacedItems);
}

void cEdStage::SetSpeedLevel(int level)
{
    nSpeedLevel = level;
    // Levels outside 1 to 19 would give no sub-steps (a division by zero) or
    // more than the game can step: they derive the nearest level's values.
    const int inRange = std::clamp(level, 1, 19);
    const bool fixedLimit = inRange >= 11;
    const int b = fixedLimit ? inRange - 10 : inRange;
    nSubSteps = b;
    dSubSteps = b;
    nTenthSteps = 6 * b;
    dSubSteps2 = static_cast<double>(b) * b;
    nAirSteps = 8 * b;
    dSpeedLimit = fixedLimit ? 60.0 : 6.0 * b;
    dMaxStep = dSpeedLimit / b;
    dGravityStep = std::isfinite(dGravity) ? dGravity / (static_cast<double>(b) * b) : 0.0;
}

int cEdStage::FindHero() const
{
    for (std::size_t i = 0; i < PlacedCharas.size(); ++i) {
        const cEdChara& chara = PlacedCharas[i];
        if (chara.nGraphicNo != 0 && chara.nOperator == 0) return static_cast<int>(i);
    }
    return -1;
}

int cEdStage::HasHero() const
{
    return FindHero() >= 0 ? 1 : 0;
}

void cEdStage::CopySettingsFrom(cEdStage& src)
{
    if (&src == this) return;
    Assign(src);
    Layers = src.Layers;
    TextItems = src.TextItems;
    for (int i = 0; i < kStageAreaCount; ++i)
        Areas[i] = src.Areas[i];
    ResultFlags = src.ResultFlags;
    Release(PlacedBlocks);
    Release(PlacedCharas);
    Release(PlacedItems);
    Release(PaletteBlocks);
    Release(PaletteCharas);
    Release(PaletteItems);
}

int LoadStageRecord(cEdStage& stage, plat::ByteReader& f)
{
    const int version = g_FileVersion;
    TakeBadContent();
    auto fresh = std::make_shared<cEdStage>();
    fresh->Load(f);
    const bool badContent = TakeBadContent();
    // Files without the guarding end code are read as far as they go.
    if (badContent || (f.failed() && version >= kFirstCheckedStageVersion)) return 0;
    fresh->strFileName = stage.strFileName;
    fresh->bVersioned = stage.bVersioned;
    fresh->bLoaded = stage.bLoaded;
    stage = std::move(*fresh);
    return 1;
}
