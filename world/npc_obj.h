#pragma once
// A computer character: driven by its flows alone. The running stage keeps
// them by value in its character list; they come from placed characters at
// the stage start and from character summons.

#include <cstdint>
#include <vector>

#include "world/chara_obj.h"
#include "world/item_obj.h"

class cNpcObj : public cCharaObj {
public:
    cNpcObj();
    ~cNpcObj() override;

    int ScaleHitBox(int scale) override;
    void UpdateHitBoxX() override;
    void UpdateHitBoxY() override;
    cItemObj* GetCarriedItem() override;
    int OnMovedX() override;
    int OnMovedY() override;
    int MoveX() override;
    int MoveY() override;
    int RunFlows(int deathOnly) override;
    int Jump(cCommandRun& run) override;

    void SetupNpc(int number, cEdChara& def, const cItemObj* carried, double x, double y,
                  int copyNo);
    void PlaceAtCell(int column, int row);
    // In its activity range this sub-step (sets its area switch).
    int TestInRange(std::vector<std::uint8_t>& switches);
    // It acts this sub-step.
    int TestActivation(const std::vector<std::uint8_t>& switches);
    void DrawCarriedHint(DDSURFACEDATA* dest);

    // Members in the order the passes read them, for speed; the carried
    // item, which they seldom touch, last.
    std::int32_t m_InRange = 0;
    std::int32_t m_Acting = 0;
    std::int32_t m_HintCounter = 0;
    std::int32_t m_SkipX = 0; // the activity range skips the horizontal test
    std::int32_t m_SkipY = 0;
    std::int32_t m_HasActed = 0;
    cItemObj m_CarriedItem; // graphic number 0: none
};
