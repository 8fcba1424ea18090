#pragma once
// Items the player touches, the items blocks give, and the effects of the
// block under the player's feet. Results: 0 nothing, 1 the stage is
// cleared, 2 the player's hit points fell below 1.

class cItemObj;
class cPlayerObj;

int ApplyBlockEffect(cPlayerObj& player);
int TakeBlockItem(cPlayerObj& player);
int PickUpItems(cPlayerObj& player);
// Gives an item to the player: pop-up, sound and its command list.
int GiveItem(cItemObj& item, cPlayerObj& player);
