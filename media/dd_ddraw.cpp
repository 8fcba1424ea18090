#include "media/dd_ddraw.h"

#include <algorithm>
#include <cstring>

#include "media/dd_output.h"
#include "media/dd_row_kernel.h"
#include "media/dd_state.h"

bool g_DDVideoMemoryFull = false;

namespace {

bool rectInside(const DDRECT& r, const DDPixels& p)
{
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           r.right <= p.width && r.bottom <= p.height;
}

void showIfPrimary(const DDDrawSurface& s)
{
    if (!s.primary) return;
    DDSendFrame(s.pixels, s.palette ? s.palette->entries.data() : nullptr);
}

// One row of a colour-keyed copy, branch-free so that the compiler can
// vectorise it.
template <typename P>
DD_ROW_INLINE void copyRowKeyedLoop(P* __restrict out, const P* __restrict in, int count, P key)
{
    for (int x = 0; x < count; ++x) {
        const P keep = static_cast<P>(0u - static_cast<unsigned>(in[x] == key));
        out[x] = static_cast<P>((in[x] & ~keep) | (out[x] & keep));
    }
}

template <typename P> void copyRowKeyed(P* out, const P* in, int count, P key)
{
    DDRunRowKernel([=] { copyRowKeyedLoop(out, in, count, key); });
}

// Restored or lost memory holds nothing meaningful; make that visible.
void scramble(DDPixels& p)
{
    p.fill(0xCDCDCDCDu);
}

} // namespace

DDDrawPalette::DDDrawPalette() = default;

DDRESULT DDDrawPalette::SetEntries(int first, int count, const DDPALENTRY* colours)
{
    if (first < 0 || count < 0 || first + count > 256 || !colours) return DDERR_GENERIC;
    std::copy(colours, colours + count, entries.begin() + first);
    return DD_OK;
}

DDRESULT DDDrawSurface::Restore()
{
    if (lost) {
        lost = false;
        scramble(pixels);
    }
    return DD_OK;
}

DDRESULT DDDrawSurface::SetColorKey(std::uint32_t key)
{
    hasColorKey = true;
    colorKey = key;
    return DD_OK;
}

DDRESULT DDDrawObject::SetDisplayMode(int width, int height, int bpp, int)
{
    DDFormat format;
    switch (bpp) {
    case 8:
        format = DDFormat::P8;
        break;
    case 16:
        format = DDFormat::R5G6B5;
        break;
    case 32:
        format = DDFormat::X8R8G8B8;
        break;
    default:
        return DDERR_INVALIDMODE;
    }
    if (width <= 0 || height <= 0) return DDERR_INVALIDMODE;
    displayWidth = width;
    displayHeight = height;
    displayBpp = bpp;
    displayFormat = format;
    return DD_OK;
}

DDRESULT DDDrawObject::RestoreDisplayMode()
{
    return DD_OK;
}

DDRESULT DDDrawObject::CreateSurface(int width, int height, int memoryType,
                                     std::shared_ptr<DDDrawSurface>& out)
{
    out.reset();
    if (width <= 0 || height <= 0 || displayBpp == 0) return DDERR_GENERIC;
    if (memoryType == 0 && g_DDVideoMemoryFull) return DDERR_OUTOFVIDEOMEMORY;
    if (width > 16384 || height > 16384)
        return memoryType == 0 ? DDERR_OUTOFVIDEOMEMORY : DDERR_GENERIC;
    auto s = std::make_shared<DDDrawSurface>();
    try {
        s->pixels = DDPixels(displayFormat, width, height);
    } catch (const std::bad_alloc&) {
        return memoryType == 0 ? DDERR_OUTOFVIDEOMEMORY : DDERR_GENERIC;
    }
    s->memoryType = memoryType;
    surfaces_.push_back(s);
    out = std::move(s);
    return DD_OK;
}

DDRESULT DDDrawObject::CreatePrimary(int backBuffers, std::shared_ptr<DDDrawSurface>& out)
{
    out.reset();
    if (displayBpp == 0) return DDERR_GENERIC;
    auto front = std::make_shared<DDDrawSurface>();
    front->pixels = DDPixels(displayFormat, displayWidth, displayHeight);
    front->primary = true;
    surfaces_.push_back(front);
    attachedBack.reset();
    if (backBuffers > 0) {
        auto back = std::make_shared<DDDrawSurface>();
        back->pixels = DDPixels(displayFormat, displayWidth, displayHeight);
        surfaces_.push_back(back);
        attachedBack = back;
    }
    frontBuffer = front;
    out = std::move(front);
    return DD_OK;
}

DDRESULT DDDrawObject::Flip()
{
    if (!frontBuffer || !attachedBack) return DDERR_GENERIC;
    if (frontBuffer->lost || attachedBack->lost) return DDERR_SURFACELOST;
    std::swap(frontBuffer->pixels, attachedBack->pixels);
    showIfPrimary(*frontBuffer);
    return DD_OK;
}

int DDDrawObject::LiveSurfaces() const
{
    return static_cast<int>(std::count_if(surfaces_.begin(), surfaces_.end(),
                                          [](const auto& w) { return !w.expired(); }));
}

void DDDrawObject::LoseVideoMemory()
{
    for (auto& weak : surfaces_) {
        if (auto s = weak.lock()) {
            if (s->memoryType == 0 && !s->lost) {
                s->lost = true;
                scramble(s->pixels);
            }
        }
    }
}

DDRESULT DDDrawBlt(DDDrawSurface& dst, const DDRECT& d, DDDrawSurface& src, const DDRECT& s,
                   bool keySrc)
{
    if (dst.lost || src.lost) return DDERR_SURFACELOST;
    if (!rectInside(d, dst.pixels) || !rectInside(s, src.pixels)) return DDERR_INVALIDRECT;
    if (dst.pixels.format != src.pixels.format) return DDERR_GENERIC;
    const bool keyed = keySrc && src.hasColorKey;
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    const int bpp = dst.pixels.bytesPerPixel();
    // A copy within one surface must read what was there before it.
    DDPixels copy;
    const DDPixels* from = &src.pixels;
    if (&src == &dst) {
        copy = src.pixels;
        from = &copy;
    }
    if (dw == sw && dh == sh && !keyed) {
        for (int y = 0; y < dh; ++y)
            std::memcpy(dst.pixels.row(d.top + y) + static_cast<std::size_t>(d.left) * bpp,
                        from->row(s.top + y) + static_cast<std::size_t>(s.left) * bpp,
                        static_cast<std::size_t>(dw) * bpp);
    } else if (dw == sw && dh == sh) {
        // Rows without the key are plain copies and rows of nothing but the
        // key are left alone; the picture says which once after it changes.
        auto rows = [&](auto pixel) {
            using P = decltype(pixel);
            for (int y = 0; y < dh; ++y) {
                P* out = reinterpret_cast<P*>(dst.pixels.row(d.top + y)) + d.left;
                const P* in = reinterpret_cast<const P*>(from->row(s.top + y)) + s.left;
                switch (from->rowKind(s.top + y, src.colorKey)) {
                case DDRowKind::Opaque:
                    std::memcpy(out, in, static_cast<std::size_t>(dw) * sizeof(P));
                    break;
                case DDRowKind::Empty:
                    break;
                default:
                    copyRowKeyed(out, in, dw, static_cast<P>(src.colorKey));
                    break;
                }
            }
        };
        if (bpp == 4)
            rows(std::uint32_t{});
        else if (bpp == 2)
            rows(std::uint16_t{});
        else
            rows(std::uint8_t{});
    } else {
        for (int y = 0; y < dh; ++y) {
            int sy = s.top + static_cast<int>(static_cast<long long>(y) * sh / dh);
            for (int x = 0; x < dw; ++x) {
                int sx = s.left + static_cast<int>(static_cast<long long>(x) * sw / dw);
                std::uint32_t p = from->get(sx, sy);
                if (keyed && p == src.colorKey) continue;
                dst.pixels.set(d.left + x, d.top + y, p);
            }
        }
    }
    showIfPrimary(dst);
    return DD_OK;
}

DDRESULT DDDrawBltFast(DDDrawSurface& dst, int x, int y, DDDrawSurface& src, const DDRECT& s,
                       bool keySrc)
{
    DDRECT d{x, y, x + (s.right - s.left), y + (s.bottom - s.top)};
    return DDDrawBlt(dst, d, src, s, keySrc);
}

DDRESULT DDDrawColorFill(DDDrawSurface& dst, const DDRECT& r, std::uint32_t value)
{
    if (dst.lost) return DDERR_SURFACELOST;
    if (!rectInside(r, dst.pixels)) return DDERR_INVALIDRECT;
    dst.pixels.fillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, value);
    showIfPrimary(dst);
    return DD_OK;
}
