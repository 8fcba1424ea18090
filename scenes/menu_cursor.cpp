#include "scenes/menu_cursor.h"

#include <algorithm>

#include "core/checked_access.h"
#include "media/ds_sound.h"
#include "world/input_state.h"

cMenuCursor g_MenuCursor;

cMenuCursor::cMenuCursor() : states(1)
{
    Relink();
}

void cMenuCursor::Relink()
{
    top = &states.back();
    previous = states.size() >= 2 ? &states[states.size() - 2] : nullptr;
}

MenuCursorState* cMenuCursor::Push(int mode)
{
    states.emplace_back();
    if (mode == 1 && states.size() >= 2) states.back() = states[states.size() - 2];
    Relink();
    return previous;
}

void cMenuCursor::Pop(int mode)
{
    if (states.size() < 2) return;
    const MenuCursorState removed = states.back();
    states.pop_back();
    Relink();
    if (mode == 0) *top = MenuCursorState();
    if (mode == 2) *top = removed;
}

void cMenuCursor::Reset()
{
    states.assign(1, MenuCursorState());
    Relink();
}

void ResetMenuCursor()
{
    g_MenuCursor.Reset();
}

void MoveGridCursor(std::uint16_t input, int originX, int originY, int pitchX, int pitchY,
                    int columns, int rows)
{
    if (columns < 0 || rows < 0) return;
    MenuCursorState& c = *g_MenuCursor.top;
    if (input & kDirLeft)
        --c.column;
    else if (input & kDirRight)
        ++c.column;
    if (input & kDirUp)
        --c.row;
    else if (input & kDirDown)
        ++c.row;
    if (c.row < 0)
        c.row = rows - 1;
    else if (c.row >= rows)
        c.row = 0;
    if (c.column < 0)
        c.column = columns - 1;
    else if (c.column >= columns)
        c.column = 0;
    c.x = originX + pitchX * c.column;
    c.y = originY + pitchY * c.row;
}

void MoveListCursor(std::uint16_t input, int useRow, std::int32_t& scroll, int origin, int pitch,
                    int fixed, int visible, int count, int pageJump)
{
    // A list that shows no row has nowhere to put its cursor.
    if (visible < 1) return;
    MenuCursorState& c = *g_MenuCursor.top;
    std::int32_t& index = useRow ? c.row : c.column;
    if (input & kDirUp) {
        if (index - scroll <= 0) --scroll;
        --index;
    } else if (input & kDirDown) {
        if (index - scroll >= visible - 1) ++scroll;
        ++index;
    }
    if (pageJump) {
        if (input & kDirRight) {
            if (scroll == count - visible) {
                index = count - 1;
            } else {
                scroll += visible - 1;
                index += visible - 1;
            }
        } else if (input & kDirLeft) {
            if (scroll == 0) {
                index = 0;
            } else {
                scroll -= visible - 1;
                index -= visible - 1;
            }
        }
    }
    index = std::max(std::min(index, count - 1), 0);
    scroll = scroll < 0 ? 0 : std::min(scroll, std::max(count - visible, 0));
    const int moving = origin + pitch * (index - scroll);
    c.x = useRow ? fixed : moving;
    c.y = useRow ? moving : fixed;
}

int PlayCursorSound(std::uint16_t input, int axes, int sound)
{
    int played = 0;
    if ((axes & 1) && (input & (kDirLeft | kDirRight))) ++played;
    if ((axes & 2) && (input & (kDirUp | kDirDown))) ++played;
    for (int i = 0; i < played; ++i)
        DSPlay(VecAt(g_Sounds, sound), 0);
    return played;
}
