#include "scenes/hbt_palette.h"

#include "core/err_log.h"
#include "core/format.h"
#include "core/message_box.h"
#include "core/sjis_text.h"
#include "media/bitmap_table.h"
#include "media/dd_init.h"
#include "media/dd_palette.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

int LoadHbtPalette(int n)
{
    if (g_D3DState || !lpDD || g_DDBpp != 8) return 1;
    n = std::clamp(n, 0, 23);
    std::string path;
    FormatStr(path, "bmp\\hbt\\hbt%02d.dat", n);
    // Both files are read before either is put in force: a variant whose
    // palette does not load keeps the blend table of the colours in use.
    auto table = std::make_unique<std::array<std::uint8_t, 65536>>();
    if (!DDLoadBlendTable(table->data(), path.c_str())) {
        ErrBoxF(Sjis("%s の読み込みに失敗！"), path.c_str());
        return 0;
    }
    std::array<DDPALENTRY, 256> palette{};
    if (!DDLoadPaletteFromFile(palette.data(), g_BitmapTable[0].name.c_str())) {
        ErrLog(Sjis("DDLoadPaletteFromFile失敗"));
        return 0;
    }
    if (n < 12) {
        DDRotatePalette(palette.data(), 16, 207, n * 16, 1, palette.data());
    } else {
        const auto source = palette;
        const auto first = static_cast<std::size_t>((n - 11) * 16);
        for (std::size_t i = 16; i <= 207; ++i)
            palette[i] = source[first + (i - 16) % 16];
    }
    g_BlendTable = *table;
    g_Palette = palette;
    g_ScreenPalette = g_Palette;
    if (lpDDPalette) lpDDPalette->SetEntries(0, 255, g_ScreenPalette.data());
    return 1;
}
