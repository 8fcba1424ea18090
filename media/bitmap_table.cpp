#include "media/bitmap_table.h"

#include "core/sjis_text.h"

std::array<DDBMPDATA, BITMAP_COUNT> g_BitmapTable;
std::array<DDSURFACEDATA, BITMAP_COUNT> g_BitmapSD;
std::array<DDBMPDATA, 4> g_DigitBmp;

DDBMPDATA& DDBMPDATA::Set(const std::string& name_, int colourKey_, int ddMemory_,
                          int d3dSystemTexture_, int noTexture_, int indexMap_, int mayBeMissing_,
                          int cellWidth_, int cellHeight_, int width_, int height_)
{
    name = name_;
    colourKey = colourKey_;
    ddMemory = ddMemory_;
    d3dSystemTexture = d3dSystemTexture_;
    noTexture = noTexture_;
    indexMap = indexMap_;
    mayBeMissing = mayBeMissing_;
    cellWidth = cellWidth_;
    cellHeight = cellHeight_;
    width = width_;
    height = height_;
    return *this;
}

namespace {

// One row of the table: name, key, DirectDraw memory, system texture, no
// texture, may be missing, mirror cell width, plain size.
void entry(int n, const std::string& name, int key, int mem, int sys, int notex, int miss, int cell,
           int width = 0, int height = 0)
{
    g_BitmapTable[n].Set(name, key, mem, sys, notex, 0, miss, cell, 0, width, height);
}

std::string characterSheet(int k)
{
    return "bmp\\Character" + std::to_string(k) + ".bmp";
}

// The character sheets 1 to 8 and the shot sheet, each plain and then with
// its mirror cells, as the 18 entries from n on. Sheets 2 to 8 may be missing.
void sheetEntries(int n, int mem, int notex)
{
    for (int k = 1; k <= 8; ++k, n += 2) {
        const int miss = k == 1 ? 0 : 1;
        entry(n, characterSheet(k), 1, mem, 0, notex, miss, 0);
        entry(n + 1, characterSheet(k), 1, mem, 0, notex, miss, 32);
    }
    entry(n, "bmp\\Shot.bmp", 1, mem, 0, notex, 0, 0);
    entry(n + 1, "bmp\\Shot.bmp", 1, mem, 0, notex, 0, 16);
}

} // namespace

void InitBitmapTable()
{
    entry(0, "bmp\\plt\\Palette.bmp", 0, 1, 0, 0, 0, 0);
    entry(1, "bmp\\Debug.bmp", 1, 0, 0, 0, 0, 0);
    entry(2, "bmp\\Block.bmp", 1, 0, 0, 0, 0, 0);
    entry(3, "bmp\\Block.bmp", 1, 1, 0, 1, 0, 0);
    sheetEntries(4, 0, 0);
    // The same sheets again, kept in DirectDraw memory without a texture.
    sheetEntries(22, 1, 1);
    entry(40, "bmp\\Item.bmp", 1, 0, 0, 0, 0, 0);
    entry(41, "bmp\\Item.bmp", 1, 1, 0, 1, 0, 0);
    entry(42, "bmp\\Item_Mini.bmp", 1, 0, 0, 0, 0, 0);
    entry(43, "bmp\\Mark.bmp", 1, 0, 0, 0, 0, 0);
    entry(44, "bmp\\Mark.bmp", 1, 1, 0, 1, 0, 0);
    entry(45, "bmp\\Window.bmp", 0, 0, 0, 0, 0, 0);
    entry(46, "bmp\\StatusWindow.bmp", 0, 0, 0, 0, 0, 0);
    entry(47, "bmp\\Title.bmp", 0, 0, 0, 0, 0, 0);
    entry(48, "bmp\\GameMode.bmp", 1, 0, 0, 0, 1, 0);
    entry(49, "bmp\\Accessory.bmp", 1, 0, 0, 0, 0, 0);
    entry(50, "bmp\\Symbol.bmp", 1, 0, 0, 0, 0, 0);
    entry(51, "bmp\\Word.bmp", 1, 0, 0, 0, 0, 0);
    entry(52, "bmp\\WorldMapChip.bmp", 1, 0, 0, 0, 0, 0);
    entry(53, "bmp\\WorldEvent.bmp", 1, 1, 0, 0, 0, 0);
    entry(54, "bmp\\WorldBack.bmp", 0, 1, 0, 0, 1, 0);
    // The stage's layer pictures replace these names before each load.
    static const char* const backgrounds[8] = {"背景その1.bmp", "背景その2.bmp", "背景その3.bmp",
                                               "背景その4.bmp", "背景その5.bmp", "背景その6.bmp",
                                               "背景その7.bmp", "背景その8.bmp"};
    for (int k = 0; k < 8; ++k)
        entry(55 + k, Sjis(backgrounds[k]), k == 0 ? 0 : 1, 0, 0, 0, 1, 0);
    entry(63, "E", 1, 1, 0, 0, 0, 0, 256, 960);
    entry(64, "E", 1, 1, 0, 0, 0, 0, 256, 960);
    entry(65, "E", 1, 1, 0, 0, 0, 0, 640, 480);
    entry(66, "E", 0, 1, 0, 0, 0, 0, 640, 480);
    entry(67, "E", 1, 0, 0, 0, 0, 0, 640, 480);
    entry(68, "E", 1, 1, 0, 1, 0, 0, 640, 480);
}

void InitDigitBmp()
{
    for (auto& d : g_DigitBmp)
        d.Set("", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}
