#pragma once
// The game-play scene (scene id 4): a stage being played. It is the
// running stage of the world (world/running_stage.h) and adds what belongs
// to the scene: its phases (fade in, stage-start display, play, pause
// menu, stage clear, continue menu, game over, fade out), the pause key,
// the stop flag the main window sets, and the ranking state of a cleared
// stage. Game thread; the pause and ranking threads take the frame loop
// over while the game thread waits for them.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scenes/rankings.h"
#include "scenes/replay_check.h"
#include "scenes/scene.h"
#include "world/running_stage.h"

class cGamePlay : public cScene, public cRunningStage {
public:
    cGamePlay();
    ~cGamePlay() override;

    // The scene's frame: the play settings of the scene manager, then Init
    // when due and the current phase.
    void Run() override;
    // The play's pictures (a new play) or the background pictures (the next
    // stage of a chain), the session totals and a life on a new play, then
    // the stage.
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    // Phases 1 to 6.
    void PhaseStart();
    void PhasePlay();
    void PhasePause();
    void PhaseClear();
    void PhaseContinue();
    void PhaseGameOver();

    // Space held now: the pause sound, the phase and sub-state kept for
    // the pause menu's return; 1. Else 0.
    int CheckPauseKey();

    // --- the play step's own operations
    // One frame of play without its drawing: the input, the play time and
    // the sub-steps, then the replay's state noted or checked; false when
    // the frame ended early (nothing to draw).
    bool StepPlayFrame();
    // The play time in 1/100 s of a nominal 60 frames per second.
    void TickPlayTime();
    // The time limit: change every 60th call; 1 when the time is up.
    int TickTimeLimit(int change);
    // The player's HP at 0 kills it; other characters with their vanish
    // flag or HP at 0 go. 1 when the frame must end.
    int CheckPlayerLife();
    // The player's death: its log line when the death has one, the death
    // sound and KillChara; a death that clears the stage goes to the clear
    // phase. The frame ends after it. `what` names the death in the trace.
    void PlayerDeath(const char* logLine, const char* what);
    // The stage is cleared: the results, then the clear phase.
    void StageCleared();
    // The pictures of the stage-start and game-over displays: 0 the replay
    // sign, 1 the stage number, 2 the start sign, 3 game over.
    void DrawPlayPiece(int which);

    // --- the results of a cleared stage
    // At the clear: the stage's totals added (with the extra lives), then,
    // at the end of a chain or for a stage outside one, the results and
    // the places they would take in the rankings the play shows.
    void PrepareResults();
    // Adds the stage's score, remaining time, clear time, HP and SP to the
    // play's totals (saturating) and gives a life for each multiple of the
    // system data's points per life that the score crossed, each with its
    // sound and a 30-frame notice during which the game waits.
    void AddStageTotals();
    // The scene that follows the cleared stage: the next stage of a chain
    // (loaded, the same scene), or by the play mode the world map, the
    // challenge list, the title or the stage again. Records the clear in
    // the progress (and writes Challenge.dat after a challenge).
    int DecideNextScene();
    // Registers the results in the rankings once per clear: the name (the
    // fixed one, or asked for), the sound, each ranked result inserted, the
    // file written, then the ranking board until a button.
    void RegisterRanking();
    // The results panel, its top-left at (x, y), with a marker for each
    // kind that ranks.
    void DrawResults(int x, int y);
    // The ranking board of the ranking thread: the shown kind's table with
    // the cursor on this clear's place.
    void DrawRankingBoard();
    // The file of stage n of the running chain (the newest numbered one)
    // into out: 1 when one exists; 0 with out empty when none does, when
    // the stage is not part of a chain, or when no next stage was set.
    int NextStageFileName(std::string& out, int n);
    // 1 when the chain has no stage n.
    int IsLastStage(int n);

    // --- what the running stage asks of the scene
    void ScenePhase(int phase, int subState) override;
    void ScenePrepareResults() override;
    void SceneResetCounters() override;
    void SceneLoadRankings() override;
    void SceneResetMenuCursor() override;
    void SceneFrameRate(int rate) override;
    int SceneInPauseMenu() const override;
    int SceneStopping() const override { return m_StopFlag; }

    std::int32_t m_SavedPhase = 0; // where the pause menu returns to
    std::int32_t m_SavedSubState = 0;
    std::atomic<std::int32_t> m_StopFlag{0}; // set by the main window on WM_CLOSE
    std::int32_t m_Fps = 0;                  // the frame step's frame rate
    std::int32_t m_RankEligible = 0;
    std::vector<std::int32_t> m_RankPos; // by ranking kind; -1 no position
    std::vector<std::int32_t> m_Results; // by ranking kind
    std::string m_RankName;
    std::int32_t m_Registered = 0;
    // The replay being played back, checked against its recorded states.
    cReplayCheck m_ReplayCheck;

private:
    // Whether result row k is on: the play kind shows kind k and the stage
    // shows its row; the panel of a stage started directly follows the stage.
    bool ResultShown(int kind, bool panel) const;
    // Loads the chain's next stage when there is one. True when the play
    // stays in the chain: the stage was loaded, or a quit cancelled the load
    // (the stage number is then put back to `saved`).
    bool ContinueChain(std::int32_t saved);

    // The input of the frame: live, or from the replay (false when the
    // replay ended and the stage starts over).
    bool ReadFrameInput();
    // The frame's play time, time limit and sub-steps; false when an
    // outcome ended the frame.
    bool StepWorld();
    // The sub-steps of one frame of play; false when an outcome ended the frame.
    bool RunSubSteps();
    bool StepSolidCharas();
    bool StepPlayer();
    bool StepOtherCharas();
    void StepShots();
    void ApplyRemovalAreas();
    // A computer character whose flows ended its life; false when the frame ends.
    bool FlowsEndedChara(cListWalk<cNpcObj>& walk);
    // A computer character killed by its moves; false when the frame ends.
    bool KilledChara(cListWalk<cNpcObj>& walk);
};

// Restarts free play when the play scene leaves it (the stage file given at
// start-up or chosen last); 0 when it cannot. Registered by the shell.
extern std::function<int()> g_RestartFreePlay;

// Asks the player for the name of a ranking registration in the name
// dialog, which edits the name in place; the caller waits until it is
// closed. Registered by the shell (unset: the name stays as it is).
extern std::function<void(std::string&)> g_AskRankingName;

// The pause and ranking threads' bodies.
int PauseThreadMain(cGamePlay* scene);
int RankingThreadMain(cGamePlay* scene);
