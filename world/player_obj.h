#pragma once
// The character the player controls (element 0 of the running stage's
// players). It adds to the character: the input record that drives it, the
// state of the jump command, a box against items, the view that follows
// it, its flying mode at run time, the items it touches (by number), the
// flow changes deferred while its own flows run, and the test-play display
// of its boxes.

#include <cstdint>
#include <vector>

#include "data/ed_command.h"
#include "world/chara_obj.h"

struct InputState;

// One entry of the test-play display of the player's boxes.
struct BoxDisplay {
    std::int32_t m_Kind = 0;   // 0 body, 1 contact, 2 item, 3 shot box
    std::int32_t m_Mode = 0;   // 0 none, 1 filled, 2 outline
    std::int32_t m_Colour = 0; // palette number
    std::int32_t m_X = 0;      // screen position, set when drawn
    std::int32_t m_Y = 0;
    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0;
    std::int32_t m_Blink = 0; // 0 to 31
};

class cPlayerObj : public cCharaObj {
public:
    cPlayerObj();
    ~cPlayerObj() override;

    int ScaleHitBox(int scale) override;
    void UpdateHitBoxX() override;
    void UpdateHitBoxY() override;
    int OnMovedX() override;
    int OnMovedY() override;
    int MoveX() override;
    int MoveY() override;
    int RunFlows(int deathOnly) override;
    int Jump(cCommandRun& run) override;

    // Set-up at a stage start from the hero's definition, at x, y.
    void SetupPlayer(int number, cEdChara& def, double x, double y);
    // The flying mode at run time; rescale applies the definition's scale.
    void SetPlayerFlyMode(int mode, int rescale);
    // The four box displays, largest first.
    void BuildBoxDisplay();
    void RememberFacing() { m_PrevFacing = m_Facing; }
    void RememberLastBlock() { m_PrevLastBlock = m_LastBlock; }
    // 1 when the item (by number) is not among the touched ones.
    int IsNewItemContact(int itemNo) const;
    void ForgetItemContact(int itemNo);
    // A pop-up of a graphic above the player (a taken item).
    void AddGraphicPopup(int graphicKind, int graphicNo, int frame);
    // The player's screen box: an auto-scrolling axis rounds the position
    // and the view separately.
    void UpdatePlayerScreenBox();
    // Its body (animated when advance is set), then its box displays, whose
    // blink steps on every drawn frame, frozen ones included.
    void Draw(DDSURFACEDATA* dest, int advance);
    void DrawSightMask(DDSURFACEDATA* dest);

    InputState* m_Input = nullptr;
    std::int32_t m_JumpHold = 0;   // sub-steps the jump key has been held
    std::int32_t m_JumpReady = 1;  // a new jump may start ("jump-release flag")
    std::int32_t m_JumpForbid = 0; // set by the block under the feet
    double m_AccelUnit = 0;        // 4 / sub-steps per frame
    std::int32_t m_Jumped = 0;     // Jump ran in this sub-step
    std::int32_t m_DirLock = 0;    // the next frame's directions are cleared
    std::int32_t m_ButtonLock = 0; // the next frame's buttons are cleared
    std::int32_t m_PrevFacing = 0;
    std::vector<std::int32_t> m_TouchedItems; // numbers of the items touched now
    std::int32_t m_BlockEffect = 0;           // effect of the block under the feet; 3 speed change
    double m_SpeedFactor = 0;                 // that effect's factor
    std::int32_t m_BlockEffectOn = 0;         // the effect lasts
    std::int32_t m_ItemBlockDelay = 0;
    HitBox m_ItemBox;
    std::vector<BoxDisplay> m_BoxDisplay;
    // Flow changes that arrived while its flows were walked.
    std::vector<cEdCommand> m_PendingFlowChanges;
};
