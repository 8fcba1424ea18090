#pragma once
// The world map (scene id 1), the map of the story. The map cursor stands
// in the middle of the screen on a map of 32 x 32 tiles that scrolls under
// it; placed events show stage entries and obstacles. Walking onto an
// entry (or button 1 on it) asks whether to take the stage on; confirming
// loads the stage and starts the game play. The screen also shows the
// lives, the stage's title and best score and a ranking panel; cancel
// leads to the save menu. After a stage the story slot is saved when
// auto-save is on. The cursor's place and facing live in the progress.
// Game thread only.

#include <cstdint>

#include "scenes/menu_cursor.h"
#include "scenes/menu_scene.h"

class cEdWorldEvent;
class cEdWorldEventItem;

// The map cursor's facing, which picks its picture.
enum MapFacing : std::int32_t {
    FACING_DOWN = 0,
    FACING_UP = 1,
    FACING_LEFT = 2,
    FACING_RIGHT = 3,
};

class cWorldMapScene : public cMenuScene {
public:
    // Phases after FadeIn.
    enum : std::int32_t { PHASE_MAP = 1, PHASE_QUESTION = 2, PHASE_FADE_OUT = 3 };

    cWorldMapScene();

    // The menu frame's set-up, then the map cursor from the progress, the
    // entry under it prepared, the auto-save after a stage, the map drawn.
    void Init() override;
    // The fade; at its end a play that was left for the map puts the cursor
    // back, and an uncleared entry under the cursor starts at once.
    void FadeIn() override;

    // Walking, the entry under the cursor, the ranking buttons, cancel.
    void PhaseMap();
    // "Take the stage on" or "give up": loads the stage when it opens.
    void PhaseQuestion();

    // The map into bitmap 67 at the current view.
    void DrawMap();
    // The map, the cursor and the lives; with panels, the ranking panel and
    // the title and best score of the entry under the cursor.
    void DrawMapScreen(bool panels);

    std::int32_t m_ViewX = 0; // map tile drawn at the screen's top left
    std::int32_t m_ViewY = 0;
    const cEdWorldEvent* m_Event = nullptr;    // the event under the map cursor
    const cEdWorldEventItem* m_Item = nullptr; // its selected entry
    std::int32_t m_Facing = FACING_DOWN;
    MenuCursorState m_SavedCursor;    // the map cursor before its last move
    MenuCursorState m_PreparedCursor; // where the entry under it was last prepared
    std::int32_t m_BestScore = 0;     // of the prepared stage

protected:
    void BuildSurfaces() override;
    void RedrawSurface() override;
    void DrawScreen() override;

private:
    // One step of the map cursor a frame; back where it was when the tile
    // blocks; the view follows it.
    void MoveMapCursor();
    // The event and entry under the map cursor.
    void LookUpCursorTile();
    void OpenQuestion();
    void LeaveQuestion();
    // Button 3 shows or hides the ranking, button 4 steps its kind.
    void RankingButtons(std::uint16_t buttons);
    // The map cursor came onto a stage entry: its name, best score and rankings.
    void PrepareEntry();
    // The chosen stage becomes the progress's running stage.
    void CommitEntry();
    void DrawMapCursor();
    void DrawLivesBox();
    void DrawEntryTitle();
    void DrawRankPanel();
    bool RankPanelShown() const;

    std::int32_t m_DrawnViewX = -1; // the view bitmap 67 holds
    std::int32_t m_DrawnViewY = -1;
    std::int32_t m_CursorFrame = 0; // the walker's animation counter
    bool m_StageLoaded = false;     // the stage asked about was loaded
    bool m_StartFailed = false;     // the stage that starts by itself could not be loaded
};
