#pragma once
// The options (scene 5), opened from the title menu: the palette variant
// of the 8-bit colour mode and the sound-effect volume (both applied at
// once), music on or off, the ranking mode and the fixed ranking name
// (typed in the ranking-name dialog). Leaving writes user_data\Option.dat,
// sets the music player up again and returns to the title menu.

#include <cstdint>
#include <vector>

#include "scenes/menu_scene.h"

// The option items by id (their position in the system data's list).
enum OptionItem : std::int32_t {
    OPTION_PALETTE = 0,
    OPTION_MUSIC = 1,
    OPTION_SE_VOLUME = 2,
    OPTION_RANK_MODE = 3,
    OPTION_RANK_NAME = 4,
    OPTION_BACK = 5,
};
inline constexpr int kOptionItems = 6;

class cOptionScene : public cMenuScene {
public:
    // Phases: FadeIn, the menu, FadeOut.
    enum : std::int32_t { PHASE_MENU = 1, PHASE_LEAVE = 2 };
    // Sub-states of the menu.
    enum : std::int32_t { MENU_START = 0, MENU_CHOOSE = 1, MENU_EDIT = 2 };

    cOptionScene();

    void PhaseMenu();

    std::vector<std::int32_t> m_VisibleIds; // the ids of the rows, in list order
    std::int32_t m_EditId = 0;              // the item whose value is being changed
    std::int32_t m_SavedValue = 0;          // its value before the change
    std::int32_t* m_Edited = nullptr;       // that value in g_Option
    std::int32_t m_Min = 0;
    std::int32_t m_Max = 0;

protected:
    // The rows, then the 640 x 480 panel.
    void BuildSurfaces() override;
    void RedrawSurface() override;
    void DrawScreen() override;
    // The music player set up again and the options written.
    void OnLeave() override;

private:
    void Choose();
    void Edit();
    // Starts changing the value of an item with a range.
    void StartEdit(std::int32_t id);
    // Puts a changed value in force where it acts at once.
    void ApplyOption();
    void DrawOptionPanel();
    void DrawOptionScreen();
    void Leave();
};
