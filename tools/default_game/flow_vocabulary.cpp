#include "tools/default_game/flow_vocabulary.h"

namespace defgame {
namespace {

// Character command kinds and flow/item command kinds (the stored numbers).
enum CharaCommand : int {
    CMD_WAIT = 1,
    CMD_STRAIGHT = 2,
    CMD_GROUND_TURN_BACK = 3,
    CMD_TURN = 9,
    CMD_JUMP = 10,
    CMD_SHOT = 11,
};
enum ItemCommand : int {
    ITEM_CMD_STAGE_CLEAR = 2,
    ITEM_CMD_STATUS = 7,
};

// Direction codes of the movement and shot parts.
enum Direction : int {
    DIR_FRONT = 0,
    DIR_INPUT = 12,
};

// Shot movement kinds.
enum ShotMove : int {
    SHOT_STRAIGHT = 0,
    SHOT_AT_HERO = 1,
};

cEdCommand command(int listKind, int kind)
{
    cEdCommand c;
    c.Clear();
    c.m_ListKind = static_cast<std::uint8_t>(listKind);
    c.m_Kind = static_cast<std::int8_t>(kind);
    c.CheckParams(); // the kind's parameter count
    return c;
}

cEdCommand movement(int kind, int dir, int speed, int tenths)
{
    cEdCommand c = command(0, kind);
    c.m_Time = static_cast<std::int16_t>(tenths);
    MakeMovePart(c.m_Move);
    c.m_Move->m_TargetMode = 0;
    c.m_Move->m_Dir = static_cast<std::uint8_t>(dir);
    c.m_Move->m_Speed = static_cast<std::int16_t>(speed);
    return c;
}

// The parameters of the status operation: target kind, variable scope and
// index, object, status, operation, value source, constant, random bounds,
// source scope, index, object and status, percent flag, HP mode, gauge
// shown, not on the invincible.
enum StatusParam : int {
    SP_OBJECT = 3,
    SP_STATUS = 4,
    SP_OPERATION = 5,
    SP_CONSTANT = 7,
    SP_SHOW_GAUGE = 16,
};
enum StatusObject : int { OBJECT_SELF = 0, OBJECT_SYSTEM = 2 };
enum StatusNumber : int { STATUS_HP = 1, SYSTEM_SCORE = 3 };
enum StatusOperation : int { OP_ADD = 1 };

cEdCommand statusAdd(int object, int status, int amount, bool showGauge)
{
    cEdCommand c = command(1, ITEM_CMD_STATUS);
    c.m_Params.at(SP_OBJECT) = object;
    c.m_Params.at(SP_STATUS) = status;
    c.m_Params.at(SP_OPERATION) = OP_ADD;
    c.m_Params.at(SP_CONSTANT) = amount;
    c.m_Params.at(SP_SHOW_GAUGE) = showGauge ? 1 : 0;
    return c;
}

} // namespace

cEdKeyCond keysPressed(std::initializer_list<KeySlot> keys, bool anyOne)
{
    cEdKeyCond k;
    k.Reset();
    for (KeySlot key : keys)
        k.m_KeyStates.at(static_cast<std::size_t>(key)) = 1;
    k.m_HoldAny = 1;
    k.m_Mode = anyOne ? 1 : 0;
    return k;
}

cEdFlow flow(FlowTrigger trigger, std::vector<cEdCommand> commands, std::vector<cEdKeyCond> keys,
             bool keyRepeat)
{
    cEdFlow f;
    f.Clear();
    f.m_Trigger = static_cast<std::int8_t>(trigger);
    f.m_KeyRepeat = keyRepeat ? 1 : 0;
    f.m_KeyConds = std::move(keys);
    f.m_Commands = std::move(commands);
    return f;
}

cEdCommand waitFor(int tenths)
{
    cEdCommand c = command(0, CMD_WAIT);
    c.m_Time = static_cast<std::int16_t>(tenths);
    return c;
}

cEdCommand stepWithKeys(int speed)
{
    return movement(CMD_STRAIGHT, DIR_INPUT, speed, 0);
}

cEdCommand walkForward(int speed, int tenths)
{
    return movement(CMD_GROUND_TURN_BACK, DIR_FRONT, speed, tenths);
}

cEdCommand moveForward(int speed, int tenths)
{
    return movement(CMD_STRAIGHT, DIR_FRONT, speed, tenths);
}

cEdCommand turn(Facing facing)
{
    cEdCommand c = command(0, CMD_TURN);
    c.m_Params.at(0) = static_cast<int>(facing);
    return c;
}

cEdCommand jump(int height, bool keyHeight, SoundRecord sound)
{
    // p0 how the height is set (0 fixed, 1 by the held keys), p2 the height.
    cEdCommand c = command(0, CMD_JUMP);
    c.m_Params.at(0) = keyHeight ? 1 : 0;
    c.m_Params.at(2) = height;
    c.m_Sound = static_cast<std::int16_t>(sound);
    c.m_Anime = ANIME_JUMP;
    return c;
}

cEdCommand shoot(const ShotSpec& shot, SoundRecord sound)
{
    cEdCommand c = command(0, CMD_SHOT);
    c.m_Sound = static_cast<std::int16_t>(sound);
    MakeShotPart(c.m_Shot);
    cEdShot& s = *c.m_Shot;
    s.m_Count = 1;
    s.m_Pattern = 0;
    s.m_Dir = DIR_FRONT;
    s.m_MoveKind = shot.aimAtHero ? SHOT_AT_HERO : SHOT_STRAIGHT;
    s.m_Speed = static_cast<std::int16_t>(shot.speed);
    s.m_Graphic = static_cast<std::int16_t>(shot.graphic);
    s.m_Power = shot.power;
    s.m_Effect = static_cast<std::int16_t>(shot.hitEffect);
    s.m_Size = 1;
    return c;
}

cEdCommand addScore(int points)
{
    return statusAdd(OBJECT_SYSTEM, SYSTEM_SCORE, points, false);
}

cEdCommand healHero(int hitPoints)
{
    return statusAdd(OBJECT_SELF, STATUS_HP, hitPoints, true);
}

cEdCommand clearStage()
{
    // p0 0: on to the next stage of a chain; at the end of one, the scene
    // decides (back to the world map or the challenge list).
    return command(1, ITEM_CMD_STAGE_CLEAR);
}

} // namespace defgame
