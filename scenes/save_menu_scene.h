#pragma once
// The save menu (scene 2), opened from the world map with the cancel
// button: save the story into one of the 99 story slots, switch auto-save
// on or off, go back to the map, or return to the title menu. It draws on
// a plain screen and keeps the world map's music.

#include <cstdint>
#include <vector>

#include "scenes/menu_cursor.h"
#include "scenes/menu_scene.h"

// The save menu's items by id (their position in the system data's list).
enum SaveMenuItem : std::int32_t {
    SAVEMENU_SAVE = 0,
    SAVEMENU_AUTO_SAVE = 1,
    SAVEMENU_BACK = 2,
    SAVEMENU_TO_TITLE = 3,
};
inline constexpr int kSaveMenuItems = 4;

class cSaveMenuScene : public cMenuScene {
public:
    // Phases: FadeIn, the menu, then one per item (id + 2), FadeOut.
    enum : std::int32_t {
        PHASE_MENU = 1,
        PHASE_SLOTS = 2,
        PHASE_AUTO_SAVE = 3,
        PHASE_BACK = 4,
        PHASE_TO_TITLE = 5,
        PHASE_LEAVE = 6,
    };

    cSaveMenuScene();

    void PhaseMenu();
    void PhaseSlots();
    void PhaseAutoSave();
    void PhaseBack();
    void PhaseToTitle();

    std::vector<std::int32_t> m_VisibleIds; // the ids of the rows, in list order
    std::int32_t m_SlotScroll = 0;          // the first slot the list shows
    std::int32_t m_SlotRows = 0;            // the rows the list shows

protected:
    void BuildSurfaces() override;
    // The menu with its cursor on the first row.
    void DrawScreen() override;

private:
    void DrawMenuScreen();
    void DrawTotalScore();
    void DrawSlotList();
    void DrawCursor(const MenuCursorState& at, int cellX);
    // Back to the menu from a question: the menu's selection again.
    void BackToMenu();
};
