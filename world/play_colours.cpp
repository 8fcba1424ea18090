// The colours of the whole play screen: the tint that a command starts
// (a blend of the frame under Direct3D, the screen palette in 8-bit
// DirectDraw, nothing in the other DirectDraw depths), the pulsing
// highlight colours, and the screen palette put back at a stage start.

#include "world/play_screen.h"

#include <algorithm>

#include "data/ed_command.h"
#include "data/ed_system.h"
#include "media/dd_fade.h"
#include "media/dd_init.h"
#include "media/dd_palette.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"
#include "world/commands.h"
#include "world/running_stage.h"
#include "world/trace.h"
#include "world/trunc.h"

std::array<CycleColour, 10> g_CycleColors;

namespace {

// The highlight pulse: one value and direction per entry 1 to 9, the hue
// phase of entry 9, and the 8-bit call counter. They live for the run.
int g_CycleValue[9] = {};
int g_CycleDirection[9] = {};
int g_CyclePhase = 0;
int g_CycleCount = 0;

bool PaletteDisplay()
{
    return !g_D3DState && g_DDBpp == 8;
}

void ApplyScreenPalette(const DDPALENTRY* palette)
{
    if (lpDDPalette) lpDDPalette->SetEntries(0, 256, palette);
}

// The strength's alpha at frame t of D: 255 at the start, 255 - S x 2.55
// at the end (or at once when D is 0).
int StrengthAlpha(int t, int duration, int strength)
{
    const double share = duration == 0 ? 1.0 : static_cast<double>(t) / duration;
    return TruncToInt(255 - share * strength * 2.55);
}

// The back-to-normal alpha at frame t of D: from the previous alpha up to 255.
int ReturnAlpha(const TintState& tint)
{
    if (tint.m_Duration == 0) return 255;
    return TruncToInt(static_cast<double>(tint.m_Counter) / tint.m_Duration *
                          (255 - tint.m_PrevAlpha) +
                      tint.m_PrevAlpha);
}

// The frame (Direct3D) or the screen palette (8-bit) blended toward a
// colour; alpha 255 leaves it as it is.
void Blend(int alpha, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    alpha = std::clamp(alpha, 0, 255);
    RunStage().m_Tint.m_Alpha = alpha;
    TraceDraw("tint", alpha);
    if (g_D3DState) {
        DDChangeColor(&BackBuffer, 0, 0, 640, 480, alpha, red, green, blue);
        return;
    }
    DDBlendPalette(g_ScreenPalette.data(), 0, 255, alpha, red, green, blue, g_Palette.data());
    ApplyScreenPalette(g_ScreenPalette.data());
}

// One step of a running tint; the alpha to draw and what follows differ
// only in the back-and-forth case between the back ends.
void StepTint(TintState& tint, int frozen)
{
    const int t = tint.m_Counter;
    const int d = tint.m_Duration;
    if (tint.m_BackAndForth) {
        Blend(t < d ? StrengthAlpha(t, d, tint.m_Strength) : 255, tint.m_Red, tint.m_Green,
              tint.m_Blue);
        if (frozen) return;
        if (t < d) {
            ++tint.m_Counter;
            return;
        }
        if (PaletteDisplay()) ApplyScreenPalette(g_Palette.data());
        tint.m_Counter = 0;
        if (++tint.m_RepeatCounter >= tint.m_RepeatCount) tint.m_Running = 0;
        return;
    }
    if (tint.m_BackToNormal) {
        Blend(ReturnAlpha(tint), tint.m_PrevRed, tint.m_PrevGreen, tint.m_PrevBlue);
    } else {
        if (tint.m_Strength == 0 && !PaletteDisplay()) {
            tint.m_Running = 0;
            return;
        }
        Blend(StrengthAlpha(t, d, tint.m_Strength), tint.m_Red, tint.m_Green, tint.m_Blue);
    }
    if (frozen) return;
    if (t < d)
        ++tint.m_Counter;
    else if (tint.m_BackToNormal || PaletteDisplay())
        tint.m_Running = 0;
}

} // namespace

void StartTint(const cEdCommand& command)
{
    TintState& tint = RunStage().m_Tint;
    const int backToNormal = CommandParam(command, 4);
    const int underWay = PaletteDisplay() ? tint.m_Tinted : tint.m_Running;
    if (backToNormal != 0 && !underWay) return;
    tint.m_PrevRed = tint.m_Red;
    tint.m_PrevGreen = tint.m_Green;
    tint.m_PrevBlue = tint.m_Blue;
    tint.m_PrevStrength = tint.m_Strength;
    tint.m_PrevAlpha = tint.m_Alpha;
    tint.m_Red = static_cast<std::uint8_t>(CommandParam(command, 0));
    tint.m_Green = static_cast<std::uint8_t>(CommandParam(command, 1));
    tint.m_Blue = static_cast<std::uint8_t>(CommandParam(command, 2));
    tint.m_Strength = CommandParam(command, 3);
    tint.m_BackToNormal = backToNormal;
    tint.m_Duration = std::max(0, CommandParam(command, 5)) * 6;
    tint.m_BackAndForth = CommandParam(command, 6);
    tint.m_RepeatCount = CommandParam(command, 7);
    tint.m_Running = 1;
    tint.m_Counter = 0;
    tint.m_RepeatCounter = 0;
    if (backToNormal == 0) {
        tint.m_Alpha = 0;
        tint.m_Tinted = 1;
        return;
    }
    tint.m_Red = tint.m_PrevRed;
    tint.m_Green = tint.m_PrevGreen;
    tint.m_Blue = tint.m_PrevBlue;
    tint.m_Strength = tint.m_PrevStrength;
    tint.m_Alpha = tint.m_PrevAlpha;
}

void DrawTint(int frozen)
{
    TintState& tint = RunStage().m_Tint;
    if (!tint.m_Running) return;
    if (!g_D3DState) {
        if (frozen) return;
        if (g_DDBpp != 8) {
            tint.m_Running = 0;
            return;
        }
    }
    StepTint(tint, frozen);
}

int PingPong(int& value, int& direction, int step, int low, int high)
{
    if (direction == 0) {
        value += step;
        if (value >= high) {
            value -= step;
            direction = 1;
        }
        return 0;
    }
    value -= step;
    if (value > low) return 0;
    value += step;
    direction = 0;
    return 1;
}

void CycleColors()
{
    if (g_D3DState) {
        for (int k = 1; k <= 9; ++k) {
            const auto v = static_cast<std::uint32_t>(g_CycleValue[k - 1]);
            std::uint32_t r = 0, g = 0, b = 0;
            switch (k) {
            case 1:
            case 2:
                r = g = b = v;
                break;
            case 3:
                r = v;
                break;
            case 4:
                g = v;
                break;
            case 5:
                b = v;
                break;
            case 6:
                r = g = v;
                break;
            case 7:
                r = v;
                b = v / 4;
                break;
            case 8:
                r = v / 4;
                b = v;
                break;
            default:
                r = g_CyclePhase == 0 || g_CyclePhase == 3 ? v : 0;
                g = g_CyclePhase == 1 || g_CyclePhase == 3 ? v : 0;
                b = g_CyclePhase == 2 ? v : 0;
                break;
            }
            g_CycleColors[k] = {0xFF000000u | r << 16 | g << 8 | b, k == 2 ? 10 : 7};
            if (PingPong(g_CycleValue[k - 1], g_CycleDirection[k - 1], 16, 0, 255) && k == 9)
                g_CyclePhase = (g_CyclePhase + 1) % 4;
        }
        return;
    }
    if (g_DDBpp != 8 || !g_System.bColourCycle) return;
    if (++g_CycleCount < 6) return;
    for (int g = 0; g < 8; ++g)
        DDRotatePalette(g_ScreenPalette.data(), 208 + 4 * g, 211 + 4 * g, 1, 1,
                        g_ScreenPalette.data());
    if (lpDDPalette) lpDDPalette->SetEntries(208, 32, g_ScreenPalette.data() + 208);
    g_CycleCount = 0;
}

void ResetScreenPalette()
{
    if (!PaletteDisplay()) return;
    g_ScreenPalette = g_Palette;
    ApplyScreenPalette(g_ScreenPalette.data());
}
