// What the challenge select draws: its panel (heading, total score, the
// rows of challenges with their cleared signs and best scores, the ranking)
// in the scene's own surface, and the panel on the screen each frame.

#include "scenes/challenge_scene.h"

#include <string>

#include "core/checked_access.h"
#include "core/dbcs.h"
#include "core/main_window_handle.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "scenes/rank_format.h"
#include "scenes/ranking_board.h"
#include "scenes/rankings.h"
#include "world/play_screen.h"

namespace {

constexpr int kBitmapAccessory = 49;
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kCell = 16;
constexpr int kBigCell = 32;
constexpr int kListY = 160;
constexpr int kRankingX = 292;
constexpr int kRankingY = 108;
constexpr int kTitleItemChallenge = 2;
constexpr int kSysTextWorld = 0;
constexpr int kSysTextHighScore = 3;
constexpr int kSysTextTotal = 4;

const std::string& SysText(int n)
{
    return VecAt(g_System.SysText, n);
}

// Challenge n's result; null when the progress keeps none for it.
const cEdIntPair* ChallengeResult(int n)
{
    if (n < 1 || static_cast<std::size_t>(n) > g_Progress.vChallenge.size()) return nullptr;
    return &g_Progress.vChallenge[static_cast<std::size_t>(n - 1)];
}

} // namespace

void cChallengeScene::BuildSurfaces()
{
    if (!DDCreateSurfaceVec(g_ScenePictures, g_ScenePictureDefs, kWidth, kHeight, 0, 1, 0, 0))
        CloseMainWindow();
}

void cChallengeScene::RedrawSurface()
{
    DrawChallengePanel();
}

void cChallengeScene::DrawScreen()
{
    if (g_ScenePictures.empty()) return;
    DDSURFACEDATA& panel = g_ScenePictures[0];
    if (panel.lpDT && panel.lpDT->redraw) {
        panel.lpDT->redraw = 0;
        DrawChallengePanel();
    }
    DDBlt(&BackBuffer, 0, 0, kWidth, kHeight, &panel, 0, 0, 0);
    CycleColors();
}

void cChallengeScene::DrawChallengePanel()
{
    if (g_ScenePictures.empty()) return;
    DDSURFACEDATA* panel = &g_ScenePictures[0];
    Font& big = g_Fonts[3];
    Font& small = g_Fonts[1];
    big.DrawBox(panel, 1, 1, kWidth - 2, kHeight - 2);
    const std::string& heading = VecAt(g_System.vTitleMenu, kTitleItemChallenge).strLabel;
    big.DrawText(panel, kWidth / 2 - CountChars(heading.c_str()) * kCell, 32, heading.c_str(), 0);
    if (g_System.bChallengeShowTotal && g_Progress.nTotalScore > 0) {
        const std::string& label = SysText(kSysTextTotal);
        const std::string text = label + std::to_string(g_Progress.nTotalScore);
        const int w = (CountChars(label.c_str()) + DigitCount(g_Progress.nTotalScore)) * kCell;
        small.DrawText(panel, kWidth / 2 - w / 2, 88, text.c_str(), 0);
    }
    if (!g_Progress.bShowRanking && g_System.bChallengeShowHigh) {
        const std::string text = "         " + SysText(kSysTextHighScore);
        big.DrawText(panel, 32, 128, text.c_str(), 0);
    }
    UpdateChallengeCount();
    const std::string& world = SysText(kSysTextWorld);
    const int signX = (CountChars(world.c_str()) + 4) * kBigCell;
    for (int i = 0; i < m_Visible; ++i) {
        const int n = m_Scroll + i + 1;
        const int y = kListY + kBigCell * i;
        const std::string label = world + std::to_string(n);
        big.DrawText(panel, 64, y, label.c_str(), 0);
        const cEdIntPair* result = ChallengeResult(n);
        if (!result) continue;
        if (result->bCleared)
            DDBlt(panel, signX, y, kBigCell, kBigCell, &g_BitmapSD[kBitmapAccessory], 96, 0, 1);
        if (g_System.bChallengeShowHigh)
            big.DrawText(panel, signX + 64, y, std::to_string(result->nBest).c_str(), 0);
    }
    if (VecAt(g_System.vModeFlags, PLAYKIND_CHALLENGE).bRanking && g_Progress.bShowRanking)
        DrawRankingOf(g_RankSet, panel, kRankingX, kRankingY, g_Progress.nRankKind, -1);
}
