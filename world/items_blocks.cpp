// Items and the effects and items of blocks, given to the player.

#include "world/items_blocks.h"

#include "world/item_obj.h"
#include "world/placeholder.h"
#include "world/player_obj.h"

int ApplyBlockEffect(cPlayerObj&)
{
    WORLD_PLACEHOLDER(13, "ApplyBlockEffect");
    return 0;
}

int TakeBlockItem(cPlayerObj&)
{
    WORLD_PLACEHOLDER(13, "TakeBlockItem");
    return 0;
}

int PickUpItems(cPlayerObj&)
{
    WORLD_PLACEHOLDER(13, "PickUpItems");
    return 0;
}

int GiveItem(cItemObj&, cPlayerObj&)
{
    WORLD_PLACEHOLDER(13, "GiveItem");
    return 0;
}
