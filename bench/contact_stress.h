#pragma once
// The stress stage of the contact code: 300 computer characters in seven
// groups on a stage of 100 x 30 blocks, each walking or flying to and fro
// and firing a volley of two shots every 0.6 seconds that lives a second,
// so that about a thousand shots are in flight; most shots pierce, some
// collide with shots, every volley draws a random spread. The hero floats
// out of the way, untouchable. Used by the world-step benchmark and by the
// test that two runs of it stay equal.

#include <cstdint>
#include <vector>

#include "data/ed_command.h"
#include "data/ed_flow.h"
#include "data/ed_move.h"
#include "data/ed_palette.h"
#include "data/ed_shot.h"
#include "data/ed_stage.h"

namespace stress {

inline constexpr int kCharas = 300;
inline constexpr int kWidth = 100;
inline constexpr int kHeight = 30;

inline cEdCommand StraightMove(int dir, int tenths)
{
    cEdCommand command;
    command.Clear();
    command.m_Kind = 2;
    command.m_Time = static_cast<std::int16_t>(tenths);
    MakeMovePart(command.m_Move);
    command.m_Move->m_Dir = static_cast<std::uint8_t>(dir);
    command.m_Move->m_Speed = 10;
    return command;
}

inline cEdCommand Volley(int i)
{
    cEdCommand command;
    command.Clear();
    command.m_Kind = 11;
    command.m_Time = 1;
    MakeShotPart(command.m_Shot);
    cEdShot& shot = *command.m_Shot;
    shot.m_Pattern = 4;
    shot.m_Count = 2;
    shot.m_Angle = static_cast<std::int16_t>(i * 37 % 360);
    shot.m_AngleRandom = 30;
    shot.m_Speed = 20;
    shot.m_LifeTimeOn = 1;
    shot.m_LifeTime = 10;
    shot.m_PassBlocks = 1;
    shot.m_Power = 1;
    shot.m_Pierce = i % 3 != 0 ? 1 : 0;
    shot.m_HitShots = i % 10 == 0 ? 1 : 0;
    shot.m_Strength = static_cast<std::int8_t>(i % 5);
    return command;
}

// Fills the live stage at a speed level (1 to 10 give that many sub-steps).
inline void MakeStage(int speedLevel)
{
    cEdStage stage;
    stage.nWidth = kWidth;
    stage.nHeight = kHeight;
    stage.nOuterX = kWidth * 32;
    stage.nOuterY = kHeight * 32;
    stage.nSpeedLevel = speedLevel;
    stage.dGravity = 0.5;
    stage.bShowStartSign = 0;
    stage.bTimeLimit = 0;
    stage.bHitOnScreenOnly = 0;
    stage.nCharaGuard = 5;
    stage.nCharaAttackerGuard = 10;
    // Nothing leaves by a removal area: the whole stage plays.
    for (cEdArea& area : stage.Areas)
        area.bLeft = area.bRight = area.bTop = area.bBottom = 0;
    for (int y = kHeight - 2; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            cEdBlock block = NoneBlock();
            block.nX = static_cast<std::int16_t>(x);
            block.nY = static_cast<std::int16_t>(y);
            block.nGraphicNo = 1;
            block.nHitMode = 1;
            stage.PlacedBlocks.push_back(block);
        }
    cEdChara hero = NoneChara();
    hero.nOperator = 0;
    hero.nGraphicNo = 1;
    hero.nGroup = 0;
    hero.nX = 1;
    hero.nY = 1;
    hero.nFlying = 1;
    hero.nInvincible = 2;
    hero.nMaxHP = 999999;
    stage.PlacedCharas.push_back(hero);
    for (int i = 0; i < kCharas; ++i) {
        cEdChara chara = NoneChara();
        chara.nOperator = 1;
        chara.nGraphicNo = 2;
        chara.nX = static_cast<std::int16_t>(5 + i * 37 % 90);
        chara.nY = static_cast<std::int16_t>(2 + i * 13 % 24);
        chara.nGroup = static_cast<std::uint8_t>(1 + i % 7);
        chara.nFacing = static_cast<std::uint8_t>(i % 2);
        chara.nFlying = static_cast<std::uint8_t>(i % 2);
        chara.nCharaOption8 = 3; // always active
        chara.nMaxHP = 1000000;
        chara.nCarriedItem = -1;
        cEdFlow flow;
        flow.Clear();
        flow.m_Trigger = 0;
        flow.m_Commands = {StraightMove(2, 5), Volley(i), StraightMove(3, 5), Volley(i + 1)};
        chara.Flows = {flow};
        stage.PlacedCharas.push_back(chara);
    }
    g_Stage = stage;
    g_StageAtStart.CopySettingsFrom(g_Stage);
}

} // namespace stress
