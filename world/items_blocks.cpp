// Items and the effects and items of blocks, given to the player.
//
// The block under the player's feet acts while the player stands on it:
// springs, no jumping, a speed factor, pushes to either side; an effect
// lasts one frame and is renewed from the block. A block that gives an item
// gives it again every 60 frames, or at once on stepping to another block.

#include "world/items_blocks.h"

#include "data/ed_stage.h"
#include "world/block_cell.h"
#include "world/command_lists.h"
#include "world/item_obj.h"
#include "world/player_obj.h"
#include "world/running_stage.h"
#include "world/world_services.h"

namespace {

// Block effect types of nEffect.
enum BlockEffect {
    kSpring = 1,
    kNoJump = 2,
    kSpeedFactor = 3,
    kPushLeft = 4,
    kPushRight = 5,
};

constexpr int kSpringSound = 10;
constexpr int kItemBlockFrames = 60;

// The block the player stands on, when it acts on the player's group.
BlockCell* ActiveBlockUnderFeet(cPlayerObj& player)
{
    BlockCell* cell = player.m_UnderFeet;
    if (!cell || RunStage().HitMode(*cell, player.m_Group) == 0) return nullptr;
    return cell;
}

void StartBlockEffect(cPlayerObj& player, const BlockCell& cell)
{
    switch (cell.nEffect) {
    case kSpring: {
        // The height in hbl is the low byte, signed; a spring that would
        // throw the player down throws nothing.
        const int hbl = static_cast<std::int8_t>(cell.nEffectValue & 0xFF);
        if (hbl < 0) break;
        WorldServices().PlaySe(kSpringSound);
        player.m_SpeedY = player.JumpSpeedHbl(hbl);
        player.m_JumpEnded = 1;
        player.m_Jumping = 1;
        player.m_JumpReady = 0;
        player.m_JumpHold = StepsToApex(player.m_SpeedY);
        break;
    }
    case kNoJump:
        player.m_JumpForbid = 1;
        break;
    case kSpeedFactor:
        player.m_BlockEffect = kSpeedFactor;
        player.m_SpeedFactor = cell.nEffectValue * 0.01;
        player.m_BlockEffectOn = g_Stage.nSubSteps;
        break;
    case kPushLeft:
    case kPushRight: {
        const double b = g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
        player.m_BlockEffect = cell.nEffect;
        player.m_SpeedFactor = cell.nEffectValue * 0.1 / b;
        player.m_BlockEffectOn = g_Stage.nSubSteps;
        break;
    }
    default:
        break;
    }
    if (cell.nEffect != kNoJump) player.m_JumpForbid = 0;
}

// A temporary, present item object of a definition, given to the player.
int GiveItemOf(cEdItem& def, cPlayerObj& player)
{
    cItemObj item;
    item.SetupItem(-1, def, 0);
    item.m_Present = 1;
    return GiveItem(item, player);
}

bool BoxesMeet(const HitBox& box, const cItemObj& item)
{
    return item.OverlapsRect(box.m_Rect.x1, box.m_Rect.y1, box.m_Rect.x2, box.m_Rect.y2) != 0;
}

} // namespace

int ApplyBlockEffect(cPlayerObj& player)
{
    if (player.m_Flying) return 0;
    if (BlockCell* cell = ActiveBlockUnderFeet(player); cell && player.m_BlockEffectOn == 0)
        StartBlockEffect(player, *cell);
    if (player.m_BlockEffectOn == 0) return 0;
    const double amount = player.m_SpeedFactor;
    switch (player.m_BlockEffect) {
    case kSpeedFactor:
        player.m_SpeedX *= amount;
        break;
    case kPushLeft:
        player.m_SpeedX -= amount;
        if (player.m_InertiaX > 0) player.m_InertiaX = 0;
        break;
    case kPushRight:
        player.m_SpeedX += amount;
        if (player.m_InertiaX < 0) player.m_InertiaX = 0;
        break;
    default:
        break;
    }
    if (--player.m_BlockEffectOn <= 0) {
        player.m_BlockEffectOn = 0;
        if (player.m_SpeedY >= 0) player.m_SpeedY += 1.0;
    }
    return 0;
}

int TakeBlockItem(cPlayerObj& player)
{
    if (player.m_Flying) return 0;
    bool taken = false;
    if (BlockCell* cell = ActiveBlockUnderFeet(player);
        cell && player.m_ItemBlockDelay == 0 && cell->nItemKind != 0) {
        if (cEdItem* def = GetItemDef(cell->nItemKind, cell->nItemIndex)) {
            if (const int r = GiveItemOf(*def, RunStage().Player.front())) return r;
            player.m_ItemBlockDelay = kItemBlockFrames * g_Stage.nSubSteps;
            taken = true;
        }
    }
    if (player.m_ItemBlockDelay == 0) return 0;
    if (player.m_Airborne) {
        player.m_ItemBlockDelay = 0;
        return 0;
    }
    if (player.m_ItemBlockDelay > 0) --player.m_ItemBlockDelay;
    if (player.m_UnderFeet && player.m_LastBlock != player.m_PrevLastBlock && !taken) {
        // Stepped onto another block: its item comes at once.
        player.m_ItemBlockDelay = 0;
        if (player.m_SpeedY >= 0) player.m_SpeedY += 1.0;
    }
    return 0;
}

int PickUpItems(cPlayerObj& player)
{
    cRunningStage& stage = RunStage();
    for (auto walk = stage.WalkItems(); !walk.Done(); walk.Next()) {
        cItemObj& item = *walk;
        const int rule = item.m_Def.nTakeMode;
        if (!item.m_Present || item.m_Carried || rule == 2) continue;
        const int number = item.m_ObjNo;
        if (!BoxesMeet(player.m_ItemBox, item)) {
            if (rule == 1) player.ForgetItemContact(number);
            continue;
        }
        player.FireFlows(8);
        if (rule == 1) {
            if (!player.IsNewItemContact(number)) continue;
            player.m_TouchedItems.push_back(number);
        }
        const int r = GiveItem(item, player);
        // A take-once item goes after its gift, whatever the gift did; the
        // gift's commands may have moved the walk on already.
        if (rule == 0 && !walk.Done() && &*walk == &item) stage.RemoveItem(walk.Node());
        if (r) return r;
    }
    return 0;
}

int GiveItem(cItemObj& item, cPlayerObj& player)
{
    const cEdItem& def = item.m_Def;
    if (item.m_GraphicNo == 0 || def.nTakeMode == 2 || !item.m_Present) return 0;
    if (def.bShowGraphic)
        player.AddGraphicPopup(def.nGraphicKind, def.nGraphicNo, def.nGraphicFrame);
    WorldDataSe(def.nSound);
    return RunCommandList(player, def.Commands);
}
