#include "data/ed_option.h"

#include <algorithm>
#include <array>

#include "core/sjis_text.h"

cEdOption g_Option;

namespace {

constexpr std::array<std::int32_t, kSeVolumeSteps> kSeAttenuation = {
    -10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0};

} // namespace

cEdOption::cEdOption()
{
    Clear();
    bBgm = 1;
    nSeVolume = 7;
    strRegName = "aaa";
}

void cEdOption::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&nPalette, 1);
    AddField4(&bBgm, 1);
    AddField4(&nSeVolume, 1);
    AddField4(&nRankMode, 1);
    AddString(&strRegName, 1);
}

void cEdOption::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    nPalette = std::clamp(nPalette, 0, kPaletteVariants - 1);
    nSeVolume = std::clamp(nSeVolume, 0, kSeVolumeSteps - 1);
    nRankMode = std::clamp(nRankMode, 0, kRankModes - 1);
}

std::int32_t SeVolumeAttenuation(int step)
{
    step = std::clamp(step, 0, kSeVolumeSteps - 1);
    return kSeAttenuation[static_cast<std::size_t>(step)];
}

const char* RankModeLabel(int mode)
{
    static const char* const kLabels[] = {
        "手動登録（登録名入力）",
        "手動登録（登録名固定）",
        "自動登録（登録名入力）",
        "自動登録（登録名固定）",
    };
    if (mode < 0 || mode >= static_cast<int>(std::size(kLabels))) return "";
    return Sjis(kLabels[mode]);
}
