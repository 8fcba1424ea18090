#pragma once
// The words the default game's characters and items are scripted with:
// flows (a trigger, the keys that fire them and their commands) and the
// commands they run, each made as the runtime's own records.

#include <initializer_list>
#include <vector>

#include "data/ed_command.h"
#include "data/ed_flow.h"
#include "data/ed_key_cond.h"
#include "tools/default_game/catalogue.h"

namespace defgame {

// Flow triggers (the stored numbers).
enum FlowTrigger : int {
    TRIGGER_ALWAYS = 0,
    TRIGGER_BLOCK_AT_SIDE = 10, // a block on the left or the right
};

// Key slots of a key condition: the direction histories 1 to 8, then the
// buttons (slot 10 + button number; button 1 is Z, button 2 is X).
enum KeySlot : int {
    KEY_LEFT = 1,
    KEY_RIGHT = 2,
    KEY_UP_LEFT = 5,
    KEY_DOWN_LEFT = 6,
    KEY_UP_RIGHT = 7,
    KEY_DOWN_RIGHT = 8,
    KEY_BUTTON_1 = 11,
    KEY_BUTTON_2 = 12,
};

// Which way a turn faces.
enum class Facing : int {
    Left = 0,
    Right = 1,
    TowardTarget = 2,
    AwayFromWall = 5,
};

// A key condition: the keys pressed, however long; all of them, or any one.
cEdKeyCond keysPressed(std::initializer_list<KeySlot> keys, bool anyOne);

// A flow. keyRepeat: it fires again whenever it is idle and the keys still
// hold (otherwise only when they are newly pressed).
cEdFlow flow(FlowTrigger trigger, std::vector<cEdCommand> commands,
             std::vector<cEdKeyCond> keys = {}, bool keyRepeat = false);

// Character commands. Times are in tenths of a second; speeds in tenths of
// a pixel per frame; heights in half blocks (16 pixels).
cEdCommand waitFor(int tenths);
// A step in the direction of the keys that fired the flow.
cEdCommand stepWithKeys(int speed);
// Walks forward for a while, turning round at the edge of a ledge.
cEdCommand walkForward(int speed, int tenths);
// Moves forward for a while (also in the air).
cEdCommand moveForward(int speed, int tenths);
cEdCommand turn(Facing facing);
// A jump; keyHeight: held keys make it higher, up to the height.
cEdCommand jump(int height, bool keyHeight, SoundRecord sound);
// One shot forward, or aimed at the hero.
struct ShotSpec {
    ShotGraphic graphic;
    int speed;
    int power;
    bool aimAtHero;
    EffectRecord hitEffect;
};
cEdCommand shoot(const ShotSpec& shot, SoundRecord sound);

// Item commands, run at once on the hero who takes the item.
cEdCommand addScore(int points);
cEdCommand healHero(int hitPoints);
cEdCommand clearStage();

} // namespace defgame
