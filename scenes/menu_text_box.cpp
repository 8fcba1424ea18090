#include "scenes/menu_text_box.h"

#include <algorithm>

#include "core/checked_access.h"
#include "core/dbcs.h"
#include "data/ed_system.h"
#include "media/dd_surface.h"
#include "media/font.h"

namespace {

constexpr int kCell = 16;

// The widest of the texts in characters.
int WidestText(int first, int count)
{
    int widest = 0;
    for (int i = 0; i < count; ++i)
        widest = std::max(widest, CountChars(VecAt(g_System.SysText, first + i).c_str()));
    return widest;
}

int CursorCell(int cursorColumn)
{
    return cursorColumn ? 1 : 0;
}

} // namespace

int SysTextMenuX(int centreX, int first, int count, int cursorColumn)
{
    return centreX - (WidestText(first, count) + CursorCell(cursorColumn)) * kCell / 2;
}

std::string SysTextMenuText(int first, int count, int cursorColumn)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (cursorColumn) text += ' ';
        text += VecAt(g_System.SysText, first + i);
        text += '\n';
    }
    return text;
}

void SysTextMenuSize(int first, int count, int cursorColumn, int* width, int* height)
{
    *width = (WidestText(first, count) + CursorCell(cursorColumn)) * kCell;
    *height = std::max(count, 0) * kCell;
}

void DrawSysTextMenu(int x, int y, int first, int count, int cursorColumn)
{
    if (count <= 0) return;
    int width = 0;
    int height = 0;
    SysTextMenuSize(first, count, cursorColumn, &width, &height);
    const std::string text = SysTextMenuText(first, count, cursorColumn);
    g_Fonts[1].DrawTextBoxDefColor(&BackBuffer, x, y, width, height, text.c_str(), 0);
}
