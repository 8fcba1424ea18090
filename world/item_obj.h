#pragma once
// An item lying in the running stage, a temporary item that a block gives,
// or the item a computer character carries. It holds a full copy of its
// definition, so that its picture, take rule, pop-up, sound and command
// list are at hand when the player takes it.

#include <cstdint>

#include "data/ed_item.h"
#include "world/game_obj.h"

struct DDSURFACEDATA;

class cItemObj : public cGameObj {
public:
    cItemObj();
    ~cItemObj() override;

    int ScaleHitBox(int scale) override;
    // The picture's bottom edge stays in place: y -= (new - old) x
    // (unscaled height + unscaled picture offset y), then UpdateEdgeY(2).
    void AdjustPosOnScale(int newScale, int oldScale) override;
    void UpdateHitBoxX() override;
    void UpdateHitBoxY() override;

    // Set-up from a definition; carried: present at once and never scaled.
    void SetupItem(int number, const cEdItem& def, int carried);
    // Places it on a cell of the author's stage.
    void PlaceAtCell(int column, int row);
    // Draws the item; the hidden flag when set (nothing drawn).
    int DrawItem(DDSURFACEDATA* dest, int hold);

    cEdItem m_Def;              // its own copy of its definition
    std::int32_t m_Carried = 0; // carried by a computer character
    std::uint8_t m_Latch = 0;   // its appearance conditions have held once
};
