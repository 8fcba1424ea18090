#pragma once
// The challenge select (scene id 3): the list of challenge stages, each
// with its cleared sign and best score, the total score and optionally a
// ranking table. Confirming loads the challenge's first stage and starts
// the game play in the challenge play kind; the scene manager keeps the
// list's cursor and scroll for the way back. The progress is the
// challenge progress the title menu loaded. Game thread only.

#include <cstdint>
#include <string>

#include "scenes/menu_scene.h"

// The first stage of challenge n (from 1): data\stg4\cNN-1.stg4, whose
// newest numbered file is the one played.
std::string ChallengeStageFile(int n);

class cChallengeScene : public cMenuScene {
public:
    enum : std::int32_t { PHASE_LIST = 1, PHASE_FADE_OUT = 2 };

    // Rows shown at most.
    static constexpr int kRows = 10;

    cChallengeScene();

    // The menu frame's set-up, then the list where it was left.
    void Init() override;
    // Moving, starting a challenge, back to the title, the ranking buttons.
    void PhaseList();

    // The number of challenges listed (all, or those opened) and the rows shown.
    void UpdateChallengeCount();
    // Challenge n becomes the progress's stage; its rankings are read.
    void SelectChallenge(int n);
    // The list drawn into the scene's own surface.
    void DrawChallengePanel();

    std::int32_t m_Scroll = 0; // the first row shown
    std::int32_t m_Count = 0;  // challenges listed
    std::int32_t m_Visible = 0;

protected:
    void BuildSurfaces() override;
    void RedrawSurface() override;
    void DrawScreen() override;

private:
    // The challenge under the cursor is loaded and started; an unreadable
    // one is said and the list stays.
    void StartChallenge();
    void RankingButtons(std::uint16_t buttons);
};
