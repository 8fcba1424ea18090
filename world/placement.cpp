// The characters and items the author placed on the stage, created at the
// stage set-up, and the flows that run before the stage starts.

#include "world/placement.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/checked_access.h"
#include "data/ed_stage.h"
#include "world/running_stage.h"

namespace {

constexpr int kTriggerBeforeStart = 18;
constexpr int kOperatorComputer = 1;

// The centre of the placed cell, in map pixels.
double CellCentre(int block)
{
    return (block + kMapMargin) * 32.0 + 16;
}

void MoveBox(cGameObj& object, double dx, double dy)
{
    object.m_X += dx;
    object.m_Right += dx;
    object.m_Y += dy;
    object.m_Bottom += dy;
}

} // namespace

void PlaceChara(std::list<cNpcObj>& list, int blockX, int blockY, int& serial, cEdChara& def,
                const cItemObj* carried)
{
    cRunningStage& stage = RunStage();
    cEdChara copy = def;
    const int copies = static_cast<std::int8_t>(def.nCopies);
    for (int i = 0; i <= copies; ++i) {
        cNpcObj chara;
        chara.SetupNpc(serial, copy, carried, CellCentre(blockX), CellCentre(blockY), i);
        chara.PlaceAtCell(blockX, blockY);
        MoveBox(chara, copy.CopyOffsetX(i, copy.nFacing), copy.CopyOffsetY(i, copy.nFacing));
        if (!chara.IsInsideStage(1)) {
            // A copy off the map is not made; its number goes to the next one.
            if (!stage.Player.empty()) std::erase(stage.Player.front().m_TargetedBy, serial);
            continue;
        }
        chara.UpdateHitBoxX();
        chara.UpdateHitBoxY();
        cNpcObj& stored =
            &list == &stage.m_CharaList ? stage.AddChara(chara) : list.emplace_back(chara);
        stored.UpdateScreenBox();
        ++serial;
    }
}

void PlaceItem(std::list<cItemObj>& list, int blockX, int blockY, int& serial, cEdItem& def)
{
    cRunningStage& stage = RunStage();
    cItemObj item;
    item.SetupItem(serial, def, 0);
    item.PlaceAtCell(blockX, blockY);
    MoveBox(item, def.nItemOption1, def.nItemOption2);
    if (!item.IsInsideStage(1)) return;
    item.UpdateHitBoxX();
    item.UpdateHitBoxY();
    cItemObj& stored = &list == &stage.m_ItemList ? stage.AddItem(item) : list.emplace_back(item);
    stored.UpdateScreenBox();
    ++serial;
}

void PlaceStageObjects()
{
    cRunningStage& stage = RunStage();
    // The items that placed characters carry are not free items.
    std::vector<std::uint8_t> carriedItems(g_Stage.PlacedItems.size(), 0);
    for (cEdChara& def : g_Stage.PlacedCharas) {
        if (def.nOperator != kOperatorComputer) continue;
        cItemObj item;
        const cItemObj* carried = nullptr;
        if (def.nCarriedItem != -1) {
            item.SetupItem(stage.m_ItemSerial++, VecAt(g_Stage.PlacedItems, def.nCarriedItem), 1);
            VecAt(carriedItems, def.nCarriedItem) = 1;
            carried = &item;
        }
        PlaceChara(stage.m_CharaList, def.nX, def.nY, stage.m_CharaSerial, def, carried);
    }
    for (std::size_t i = 0; i < g_Stage.PlacedItems.size(); ++i) {
        cEdItem& def = g_Stage.PlacedItems[i];
        if (!carriedItems[i]) PlaceItem(stage.m_ItemList, def.nX, def.nY, stage.m_ItemSerial, def);
    }
}

void FireStageStartFlows()
{
    cRunningStage& stage = RunStage();
    if (!stage.Player.empty()) stage.Player.front().FireFlows(kTriggerBeforeStart);
    for (auto walk = stage.WalkCharas(); !walk.Done(); walk.Next()) {
        cNpcObj& chara = *walk;
        chara.FireFlows(kTriggerBeforeStart);
        // A character its flows removed or killed leaves before the first frame.
        if (chara.m_Vanish) {
            stage.EraseChara(walk.Node());
            continue;
        }
        if (chara.m_Hp <= 0) {
            stage.HandleFatalHit(chara);
            stage.EraseChara(walk.Node());
        }
    }
}
