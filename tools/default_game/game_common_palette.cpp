// The common palette: the blocks, characters and items every stage places.
// The characters' behaviour is their flows, written with the words of
// flow_vocabulary.h.
#include <stdexcept>

#include "core/sjis_text.h"
#include "tools/default_game/catalogue.h"
#include "tools/default_game/flow_vocabulary.h"
#include "tools/default_game/game_data.h"

namespace defgame {
namespace {

// Block hit modes and effects on the hero standing on the block.
enum BlockHit : int { HIT_SOLID = 1, HIT_KILLS_HERO = 2 };
enum BlockEffect : int { EFFECT_NONE_ON_BLOCK = 0, EFFECT_THROW_UP = 1 };

struct BlockSpec {
    PaletteBlock entry;
    const char* name;
    BlockGraphic graphic;
    BlockHit hit;
    BlockEffect effect;
    int effectValue; // the throw's height in half blocks
};

const BlockSpec kBlocks[] = {
    {PB_GRASS, "草地", BLOCK_GRASS, HIT_SOLID, EFFECT_NONE_ON_BLOCK, 0},
    {PB_DIRT, "土", BLOCK_DIRT, HIT_SOLID, EFFECT_NONE_ON_BLOCK, 0},
    {PB_BRICK, "レンガ", BLOCK_BRICK, HIT_SOLID, EFFECT_NONE_ON_BLOCK, 0},
    {PB_STONE, "石", BLOCK_STONE, HIT_SOLID, EFFECT_NONE_ON_BLOCK, 0},
    {PB_SPIKES, "トゲ", BLOCK_SPIKES, HIT_KILLS_HERO, EFFECT_NONE_ON_BLOCK, 0},
    {PB_SPRING, "バネ", BLOCK_SPRING, HIT_SOLID, EFFECT_THROW_UP, 8},
    {PB_PLANK, "木の橋", BLOCK_PLANK, HIT_SOLID, EFFECT_NONE_ON_BLOCK, 0},
};

cEdBlock block(const BlockSpec& spec)
{
    cEdBlock b = NoneBlock();
    b.strName = Sjis(spec.name);
    b.nGraphicKind = 0;
    b.nGraphicNo = static_cast<std::int16_t>(spec.graphic);
    b.nHitMode = static_cast<std::int8_t>(spec.hit);
    b.nEffect = static_cast<std::int8_t>(spec.effect);
    b.nEffectValue = spec.effectValue;
    return b;
}

// Groups: the hero's side and the foes' side; a group never hurts itself.
enum Group : int { GROUP_HERO = 0, GROUP_FOES = 1 };

// The hero: walks with the arrow keys, jumps with Z (higher the longer it is
// held), shoots with X.
std::vector<cEdFlow> heroFlows()
{
    return {
        flow(TRIGGER_ALWAYS, {stepWithKeys(250)},
             {keysPressed(
                 {KEY_LEFT, KEY_RIGHT, KEY_UP_LEFT, KEY_DOWN_LEFT, KEY_UP_RIGHT, KEY_DOWN_RIGHT},
                 true)},
             true),
        flow(TRIGGER_ALWAYS, {jump(5, true, SOUND_JUMP)}, {keysPressed({KEY_BUTTON_1}, false)}),
        flow(TRIGGER_ALWAYS,
             {shoot({SHOT_HERO, 80, 1, false, EFFECT_BURST}, SOUND_SHOT), waitFor(3)},
             {keysPressed({KEY_BUTTON_2}, false)}),
    };
}

// The walker creeps ahead, turns round at ledges and turns away from walls.
std::vector<cEdFlow> walkerFlows()
{
    return {
        flow(TRIGGER_ALWAYS, {walkForward(8, 10)}),
        flow(TRIGGER_BLOCK_AT_SIDE, {turn(Facing::AwayFromWall)}),
    };
}

// The hopper faces the hero, waits, hops toward it and shoots at it.
std::vector<cEdFlow> hopperFlows()
{
    cEdCommand hop = jump(3, false, SOUND_NONE);
    hop.m_Parallel = 1; // moves forward while in the air
    return {
        flow(TRIGGER_ALWAYS,
             {turn(Facing::TowardTarget), waitFor(12), hop, moveForward(15, 6),
              shoot({SHOT_ENEMY, 25, 1, true, EFFECT_NONE}, SOUND_NONE), waitFor(6)}),
    };
}

struct CharaSpec {
    PaletteChara entry;
    const char* name;
    CharaGraphic graphic;
    AnimeSetRecord animeSet;
    bool hero;
    int hitPoints;
    int bodyPower; // damage done by touching the other side
    int score;     // for defeating it
    std::vector<cEdFlow> (*flows)();
};

const CharaSpec kCharas[] = {
    {PC_HERO, "主人公", CHARA_HERO, ANIMESET_HERO, true, 3, 0, 0, heroFlows},
    {PC_WALKER, "スライム", CHARA_WALKER, ANIMESET_WALKER, false, 1, 1, 100, walkerFlows},
    {PC_HOPPER, "カエル", CHARA_HOPPER, ANIMESET_HOPPER, false, 2, 1, 200, hopperFlows},
};

cEdChara chara(const CharaSpec& spec)
{
    cEdChara c = NoneChara();
    c.strName = Sjis(spec.name);
    c.nGraphicKind = 1;
    c.nGraphicNo = static_cast<std::int16_t>(spec.graphic);
    c.nAnimeSet = static_cast<std::int16_t>(spec.animeSet);
    c.nMaxHP = spec.hitPoints;
    c.nBodyPower = spec.bodyPower;
    c.nScoreGain = spec.score;
    c.Flows = spec.flows();
    if (spec.hero) {
        c.nOperator = 0; // played with the keys
        c.nGroup = GROUP_HERO;
        c.nFacing = 1;
        c.bFixedFacing = 0; // faces the way it moves
        c.nZ = 4;
    } else {
        c.nOperator = 1;
        c.nGroup = GROUP_FOES;
        c.nFacing = 0;
        c.bFixedFacing = 1; // turns only by its flows and at ledges
        c.nHitEffect = EFFECT_BURST;
    }
    return c;
}

struct ItemSpec {
    PaletteItem entry;
    const char* name;
    ItemGraphic graphic;
    SoundRecord sound;
    cEdCommand (*effect)();
};

cEdCommand coinEffect()
{
    return addScore(100);
}
cEdCommand heartEffect()
{
    return healHero(1);
}

const ItemSpec kItems[] = {
    {PI_COIN, "コイン", ITEM_COIN, SOUND_COIN, coinEffect},
    {PI_HEART, "ハート", ITEM_HEART, SOUND_HEAL, heartEffect},
    {PI_GOAL, "ゴール", ITEM_GOAL, SOUND_GOAL, clearStage},
};

cEdItem item(const ItemSpec& spec)
{
    cEdItem i = NoneItem();
    i.strName = Sjis(spec.name);
    i.nGraphicKind = 2;
    i.nGraphicNo = static_cast<std::int16_t>(spec.graphic);
    i.nSound = static_cast<std::int16_t>(spec.sound);
    i.nTakeMode = 0; // taken once
    i.Commands = {spec.effect()};
    return i;
}

template <class Spec, class Record, class Make>
std::vector<Record> entries(const Spec& specs, Record none, Make make)
{
    std::vector<Record> list = {none};
    for (const auto& spec : specs) {
        if (static_cast<std::size_t>(spec.entry) != list.size())
            throw std::logic_error("palette entries out of order");
        list.push_back(make(spec));
    }
    return list;
}

} // namespace

cEdPalette gameCommonPalette()
{
    cEdPalette palette;
    palette.PaletteBlocks = entries(kBlocks, NoneBlock(), block);
    palette.PaletteCharas = entries(kCharas, NoneChara(), chara);
    palette.PaletteItems = entries(kItems, NoneItem(), item);
    return palette;
}

} // namespace defgame
