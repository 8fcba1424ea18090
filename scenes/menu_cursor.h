#pragma once
// The one menu cursor of the program: a stack of selections, so that a
// sub-menu can push its own and pop back to the parent's, and the two ways
// menus move it (a wrapping grid, a scrolling list). Every menu (title,
// world map, save menu, challenge list, options, and the play scene's
// pause and continue menus) moves the top of the stack. Game thread only.

#include <cstdint>
#include <vector>

// A selection: the chosen column and row, and the pixel position at which
// the scene draws its cursor (written by the moves).
struct MenuCursorState {
    std::int32_t column = 0;
    std::int32_t row = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class cMenuCursor {
public:
    // One zeroed state.
    cMenuCursor();
    cMenuCursor(const cMenuCursor&) = delete;
    cMenuCursor& operator=(const cMenuCursor&) = delete;

    // Appends a zeroed state, or with mode 1 a copy of the one below; the
    // new state becomes the top. Returns the state below it.
    MenuCursorState* Push(int mode);
    // With at least two states: removes the top; the state below becomes
    // the top and is zeroed (mode 0), overwritten by the removed one (2) or
    // kept (1). With one state nothing happens.
    void Pop(int mode);
    // Back to exactly one zeroed state.
    void Reset();

    MenuCursorState* top = nullptr;      // the state the current menu moves
    MenuCursorState* previous = nullptr; // the one below it; null with one state
    std::vector<MenuCursorState> states; // never empty

private:
    // Points top and previous at the last two states.
    void Relink();
};

extern cMenuCursor g_MenuCursor;

// Every menu starts on its first item: the stack becomes one zeroed state.
void ResetMenuCursor();

// Moves the top in a grid of columns x rows, wrapping at every edge, and
// sets its position to origin + pitch x (column, row). The input is the
// auto-repeated direction bits. Nothing for a negative size.
void MoveGridCursor(std::uint16_t input, int originX, int originY, int pitchX, int pitchY,
                    int columns, int rows);

// Moves the top in a list of count items of which `visible` show from the
// caller's scroll index on; useRow 1 moves the row along y, 0 the column
// along x (the other coordinate is `fixed`). Up/down step one item,
// scrolling at the edges; with pageJump, right/left page by visible - 1.
// The list does not wrap. Nothing happens when no row is visible.
void MoveListCursor(std::uint16_t input, int useRow, std::int32_t& scroll, int origin, int pitch,
                    int fixed, int visible, int count, int pageJump);

// Plays the sound slot directly (not through the main window) for a
// left/right move when axes has bit 1 and for an up/down move when axes has
// bit 2, so twice for a diagonal with both. Returns how often it played.
int PlayCursorSound(std::uint16_t input, int axes, int sound);
