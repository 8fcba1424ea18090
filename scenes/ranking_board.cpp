#include "scenes/ranking_board.h"

#include <algorithm>
#include <string>

#include "core/checked_access.h"
#include "core/dbcs.h"
#include "core/sjis_text.h"
#include "data/ed_system.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/font.h"
#include "scenes/rank_format.h"
#include "scenes/rankings.h"
#include "scenes/scene_mgr.h"

namespace {

constexpr int kCell = 16;
constexpr int kBoxWidth = 270;
constexpr int kBoxHeight = 350;
// The kinds' labels are system texts 5 to 9; 24 tells how to switch kinds.
constexpr int kSysTextKindLabel = 5;
constexpr int kSysTextSwitchHint = 24;
// Where each row's parts begin, from the board's left.
constexpr int kNameX = 64;
constexpr int kTimeX = 144;
// Values stand right-aligned on this cell column, plus the first place's width.
constexpr int kValueCells = 8;
// The hint is centred on this column of the board.
constexpr int kHintCentreX = 136;
constexpr int kBitmapAccessory = 49;

} // namespace

void DrawRanking(const cEdRankTable& table, DDSURFACEDATA* dest, int x, int y, int kind, int cursor)
{
    Font& font = g_Fonts[1];
    font.DrawBox(dest, x + 1, y + 1, kBoxWidth, kBoxHeight);
    font.DrawTextF(dest, x, y, Sjis("ランキング    %s"),
                   VecAt(g_System.SysText, kSysTextKindLabel + kind).c_str());
    const std::vector<cEdRankEntry>& entries = table.m_Entries;
    // The value column widens with the first place's digits.
    const int width = entries.empty() ? 1 : DigitCount(entries.front().m_Value);
    const int rows = static_cast<int>(entries.size());
    for (int i = 0; i < rows; ++i) {
        const cEdRankEntry& entry = entries[static_cast<std::size_t>(i)];
        if (!entry.m_Valid) continue;
        const int rowY = y + kCell * (i + 1);
        font.DrawTextF(dest, x + kCell, rowY, "%d", i + 1);
        font.DrawTextF(dest, x + kNameX, rowY, "%s", entry.m_Name.c_str());
        if (kind == RANK_CLEAR_TIME) {
            std::string time;
            FormatTime(time, entry.m_Value);
            font.DrawTextF(dest, x + kTimeX, rowY, "%s", time.c_str());
        } else {
            const int valueX = x + kCell * (kValueCells + width - DigitCount(entry.m_Value));
            font.DrawTextF(dest, valueX, rowY, "%d", entry.m_Value);
        }
    }
    if (g_System.CountModeFlags(g_SceneMgr.m_PlayKind) >= 2) {
        const char* hint = VecAt(g_System.SysText, kSysTextSwitchHint).c_str();
        font.DrawText(dest, x + kHintCentreX - CountChars(hint) * kCell / 2, y + kCell * (rows + 1),
                      hint, 0);
    }
    if (cursor != -1)
        DDBlt(dest, x, y + kCell * (cursor + 1), kCell, kCell, &g_BitmapSD[kBitmapAccessory], 16,
              48, 1);
}

void DrawRankingOf(const cEdRankSet& set, DDSURFACEDATA* dest, int x, int y, int kind, int cursor)
{
    if (set.m_Tables.empty()) return;
    const int last = static_cast<int>(set.m_Tables.size()) - 1;
    const int table = std::clamp(kind, 0, last);
    DrawRanking(set.m_Tables[static_cast<std::size_t>(table)], dest, x, y, table, cursor);
}
