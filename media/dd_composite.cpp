#include "media/dd_composite.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "media/dd_blit.h"
#include "media/dd_fill.h"

void DDFrameRect(DDSURFACEDATA* dest, int x, int y, int w, int h, int thickness, int paletteNumber)
{
    DDBoxFillPal(dest, x, y, w, thickness, paletteNumber);
    DDBoxFillPal(dest, x, y + h - thickness, w, thickness, paletteNumber);
    DDBoxFillPal(dest, x, y, thickness, h, paletteNumber);
    DDBoxFillPal(dest, x + w - thickness, y, thickness, h, paletteNumber);
}

void DDBltFrame(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int thickness,
                int paletteNumber)
{
    DDBlt(dest, x, y, w, h, src, 0, 0, 0);
    DDFrameRect(dest, x - thickness, y - thickness, w + 2 * thickness, h + 2 * thickness, thickness,
                paletteNumber);
}

void DDDrawNumber(DDSURFACEDATA* dest, int x, int y, int cellWidth, int cellHeight,
                  DDSURFACEDATA* strip, int sx, int sy, int transparent, int value, int digits,
                  int centre)
{
    // The numbers shown are never negative.
    value = std::max(value, 0);
    int figures[10];
    int count = 0;
    int rest = value;
    do {
        figures[count++] = rest % 10;
        rest /= 10;
    } while (rest > 0 && count < 10);
    int padding = 0;
    if (count < digits) {
        padding = (digits - count) * cellWidth;
        if (centre) padding /= 2;
    }
    for (int k = 0; k < count; ++k) {
        int d = figures[count - 1 - k];
        DDBlt(dest, x + padding + k * cellWidth, y, cellWidth, cellHeight, strip,
              sx + d * cellWidth, sy, transparent);
    }
}

void DDBltWave(DDSURFACEDATA* dest, int x, int y, int w, int h, int frequency, double amplitude,
               int phase, int band, DDSURFACEDATA* src, int sx, int sy, int transparent,
               int vertical)
{
    if (band <= 0) return;
    const int extent = vertical ? w : h;
    if (extent <= 0) return;
    const double factor = frequency * std::numbers::pi / 180.0;
    // Each slice's share of a full turn, in real degrees: a whole-screen wave
    // must not round its step to a whole number (to zero, for the screen).
    const double share = 360.0 / extent * band;
    double a = 0.0;
    for (int r = 0; r < extent; r += band) {
        const int size = std::min(band, extent - r);
        a += share;
        const int shift = static_cast<int>(std::trunc(amplitude * std::sin(factor * (phase + a))));
        if (vertical)
            DDBlt(dest, x + r, y + shift, size, h, src, sx + r, sy, transparent);
        else
            DDBlt(dest, x + shift, y + r, w, size, src, sx, sy + r, transparent);
    }
}

void DDBltShift(DDSURFACEDATA* dest, int x, int y, int w, int h, int stripSize, int offset,
                DDSURFACEDATA* src, int sx, int sy, int transparent, int vertical)
{
    if (stripSize == 0) {
        DDBlt(dest, x, y, w, h, src, sx, sy, transparent);
        return;
    }
    const int n = (vertical ? w : h) / stripSize;
    for (int parity = 1; parity >= 0; --parity) {
        const int move = parity == 1 ? -offset : offset;
        for (int k = parity; k < n; k += 2) {
            const int at = k * stripSize;
            if (vertical)
                DDBlt(dest, x + at, y + move, stripSize, h, src, sx + at, sy, transparent);
            else
                DDBlt(dest, x + move, y + at, w, stripSize, src, sx, sy + at, transparent);
        }
    }
}

void DDBltFlip(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* srcA, int ax, int ay,
               DDSURFACEDATA* srcB, int bx, int by, int sw, int sh, int transparent, int counter,
               int mode)
{
    if (mode != 0 && mode != 1) return;
    const int extent = mode == 0 ? w : h;
    // Too narrow to turn: the card shows its front.
    if (extent < 2) {
        DDBltEx(dest, x, y, w, h, srcA, ax, ay, sw, sh, transparent);
        return;
    }
    const int u = extent / 2;
    counter = std::max(counter, 0);
    const int step = counter % u;
    const int v = (counter / u) % 2 == 0 ? step : u - step - 1;
    const bool backSide = ((static_cast<long long>(counter) + u) / extent) % 2 == 1;
    DDSURFACEDATA* side = backSide ? srcB : srcA;
    const int sideX = backSide ? bx : ax, sideY = backSide ? by : ay;
    if (mode == 0)
        DDBltEx(dest, x + v, y, w - 2 * v, h, side, sideX, sideY, sw, sh, transparent);
    else
        DDBltEx(dest, x, y + v, w, h - 2 * v, side, sideX, sideY, sw, sh, transparent);
}

void DDBltSplit(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                int gap, int transparent)
{
    const int hw = w / 2, hh = h / 2;
    DDBlt(dest, x - gap, y - gap, hw, hh, src, sx, sy, transparent);
    DDBlt(dest, x + hw + gap, y - gap, hw, hh, src, sx + hw, sy, transparent);
    DDBlt(dest, x - gap, y + hh + gap, hw, hh, src, sx, sy + hh, transparent);
    DDBlt(dest, x + hw + gap, y + hh + gap, hw, hh, src, sx + hw, sy + hh, transparent);
}
