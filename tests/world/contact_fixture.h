#pragma once
// A small running stage for the contact tests: a 40 x 30 block stage at a
// chosen speed level, built by the stage set-up with a hero at block (5, 5),
// recording services, and helpers that put computer characters, shots,
// items and blocks into it directly with the boxes a test wants.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "world/database_tables.h"
#include "world/random.h"
#include "world/running_stage.h"
#include "world/trace.h"
#include "world/world_services.h"

namespace test {

// Box of a character: its left, top and size; hit boxes A and B the same
// rectangle unless set otherwise.
struct CharaBox {
    double x = 0;
    double y = 0;
    int w = 16;
    int h = 16;
};

class ContactStage : public ::testing::Test {
protected:
    void SetUp() override { Build(1); }
    void TearDown() override { ResetGlobals(); }

    static void ResetGlobals()
    {
        g_Database.SetDefaults();
        g_CommonPalette = cEdPalette();
        g_Stage = cEdStage();
        g_StageAtStart = cEdStage();
        g_System = cEdSystem();
        g_Progress = cSaveData();
        g_EffectSeqs.clear();
        g_CharaEffectStates.clear();
        g_CharaEffectStatesRev.clear();
        g_ScrEffectStates.clear();
        g_ScrEffectStatesRev.clear();
    }

    // A new stage at a speed level (1 to 10 gives that many sub-steps).
    void Build(int speedLevel)
    {
        ResetGlobals();
        g_System.bRecordReplay = 0;
        g_Stage.nWidth = 40;
        g_Stage.nHeight = 30;
        g_Stage.nOuterX = 40 * 32;
        g_Stage.nOuterY = 30 * 32;
        g_Stage.nSpeedLevel = speedLevel;
        g_Stage.dGravity = 0.4;
        g_Stage.bHitOnScreenOnly = 0;
        // Entry 0 of each palette list is the "none" entry.
        g_CommonPalette.PaletteBlocks.resize(1);
        g_CommonPalette.PaletteCharas.resize(1);
        g_CommonPalette.PaletteItems.resize(1);
        g_Stage.PaletteBlocks.resize(1);
        g_Stage.PaletteCharas.resize(1);
        g_Stage.PaletteItems.resize(1);
        cEdChara hero;
        hero.Clear();
        hero.nOperator = 0;
        hero.nGraphicNo = 1;
        hero.nGroup = 0;
        hero.nX = 5;
        hero.nY = 5;
        g_Stage.PlacedCharas = {hero};
        stage.SetStage(0, 0);
        stage.m_SubStepNo = 1;
    }

    cPlayerObj& Hero() { return stage.Player.front(); }

    // Puts the player's box (and its boxes A, B and the item box) at a place.
    void PlaceHero(double x, double y)
    {
        cPlayerObj& p = Hero();
        p.m_X = x;
        p.m_Y = y;
        p.UpdateEdgeX(-1);
        p.UpdateEdgeY(-1);
        p.m_HitA.m_Rect = {x, y, p.m_Right, p.m_Bottom};
        p.m_HitB.m_Rect = p.m_HitA.m_Rect;
        p.m_ItemBox.m_Rect = p.m_HitA.m_Rect;
        p.m_SavedBox = p.m_HitA.m_Rect;
    }

    // A present computer character of a group with its box, both hit boxes
    // on it, on screen, stored in the stage's lists.
    cNpcObj& AddChara(int group, CharaBox box, int hp = 10)
    {
        cNpcObj c;
        c.m_Def.Clear();
        c.m_Def.nOperator = 1;
        c.m_Def.nGroup = static_cast<std::uint8_t>(group);
        c.m_Def.nMaxHP = hp;
        c.m_ObjNo = stage.m_CharaSerial++;
        c.m_Operator = 1;
        c.m_Group = group;
        c.m_Hp = hp;
        c.m_Vars.assign(9, 0);
        c.m_Width = c.m_Width0 = box.w;
        c.m_Height = c.m_Height0 = box.h;
        c.m_PicWidth = c.m_PicWidth0 = box.w;
        c.m_PicHeight = c.m_PicHeight0 = box.h;
        c.m_Present = 1;
        c.m_OnScreen = 1;
        c.m_Acting = 1;
        c.m_Airborne = 0;
        cNpcObj& stored = stage.AddChara(c);
        MoveChara(stored, box.x, box.y);
        return stored;
    }

    // Moves a computer character's box and its hit boxes.
    static void MoveChara(cCharaObj& c, double x, double y)
    {
        c.m_X = x;
        c.m_Y = y;
        c.UpdateEdgeX(-1);
        c.UpdateEdgeY(-1);
        c.m_HitA.m_Rect = {x, y, c.m_Right, c.m_Bottom};
        c.m_HitB.m_Rect = c.m_HitA.m_Rect;
        c.m_SavedBox = c.m_HitA.m_Rect;
    }

    // A shot definition that fires one 16 x 16 element straight ahead.
    static cEdShot ShotDef()
    {
        cEdShot def;
        def.Clear();
        def.m_UserGroup = 1;
        def.m_AngleMirror = 1;
        def.m_MirrorX = 1;
        def.m_Size = 1;
        def.m_Count = 1;
        def.m_Speed = 40;
        return def;
    }

    // A shot of a group with its box and hit rectangle at (x, y), at rest.
    cShotObj& AddShot(int group, double x, double y, const cEdShot& def)
    {
        cShotObj shot;
        ShotFireRequest request;
        request.m_X = static_cast<int>(x);
        request.m_Y = static_cast<int>(y);
        cNpcObj shooter;
        shooter.m_Group = group;
        shooter.m_Operator = 1;
        shooter.m_ObjNo = -1;
        shot.SetupShot(shooter, 11, def, request);
        shot.m_Group = group;
        shot.m_Present = 1;
        shot.m_OnScreen = 1;
        cShotObj& stored = stage.AddShot(shot);
        ++stage.m_BlockSerial;
        return stored;
    }

    // The triggers fired so far on an object, in order.
    std::vector<int> Triggers(int number) const
    {
        std::vector<int> fired;
        const std::string prefix = "fire ";
        for (const std::string& line : trace.Lines()) {
            int step = 0, object = 0, trigger = 0;
            if (std::sscanf(line.c_str(), "fire %d %d %d", &step, &object, &trigger) == 3 &&
                object == number)
                fired.push_back(trigger);
        }
        return fired;
    }

    cRecordingServices services;
    cScopedServices scoped{services};
    cRunningStage stage;
    cCurrentStage current{stage};
    cTraceRecorder trace;
};

} // namespace test
