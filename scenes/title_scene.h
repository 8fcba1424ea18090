#pragma once
// The title menu (scene 0): the author's title-menu items over the title
// picture, as their labels in a framed box or as rows of bmp\GameMode.bmp.
// It starts everything else: a new story, a saved story through the list
// of the 99 story slots, the challenges, free play of a stage file, the
// playback of a replay file, the options, or the end of the program.

#include <cstdint>
#include <vector>

#include "scenes/menu_scene.h"

// The title menu's items by id (their position in the system data's list).
enum TitleItem : std::int32_t {
    TITLE_NEW_GAME = 0,
    TITLE_CONTINUE = 1,
    TITLE_CHALLENGE = 2,
    TITLE_FREE = 3,
    TITLE_REPLAY = 4,
    TITLE_OPTIONS = 5,
    TITLE_QUIT = 6,
};
inline constexpr int kTitleItems = 7;

class cTitleScene : public cMenuScene {
public:
    // Phases: FadeIn, the menu, the slot list, FadeOut.
    enum : std::int32_t { PHASE_MENU = 1, PHASE_SLOTS = 2, PHASE_LEAVE = 3 };

    cTitleScene();

    void PhaseMenu();
    void PhaseSlots();

    std::vector<std::int32_t> m_VisibleIds; // the ids of the rows, in list order
    std::int32_t m_SlotScroll = 0;          // the first slot the list shows
    std::int32_t m_SlotRows = 0;            // the rows the list shows
    std::int32_t m_MenuX = 192;             // the menu box's top-left
    std::int32_t m_MenuY = 240;

protected:
    // The rows, the cursor on the item confirmed last, then the menu box.
    void BuildSurfaces() override;
    void RedrawSurface() override;
    void DrawScreen() override;

private:
    // Confirms the item under the cursor.
    void Confirm(std::int32_t id);
    // The menu box's pictures or framed labels, drawn into its surface.
    void DrawMenuBox();
    void DrawTitleScreen(bool withCursor);
    bool PictureMode() const;
};

// The progress of a new story: a new play at the world map's start, with
// the lives of story play.
void NewGameProgress();

// Asks the main window for a stage file and starts free play of it there.
// 1 when a stage was chosen and loaded; 0 when cancelled or it could not be.
int RequestOpenStage();
