#pragma once
// The running stage: everything of one stage being played that the world
// reads and writes. The objects (the player, the computer characters, the
// items, the shots), the block map, the view, the lists of messages,
// effects and pictures, the per-group lists, the stage variables and
// switches, the counters and the clear request live in one object. The
// game-play scene is one (it derives from it); a test builds its own.
// World code reaches the current one through g_RunStage.
//
// Objects refer to each other by object number, never by address; each
// kind of object leaves the stage through one routine that unlinks every
// reference to it (EraseChara, RemoveShot, RemoveItem).
//
// What the stage needs of the scene that owns it (phase changes, results,
// rankings, the menu cursor, the frame rate) goes through the virtual
// Scene... operations; a bare running stage records the phase asked for.

#include <cstdint>
#include <list>
#include <vector>

#include "world/block_cell.h"
#include "world/effect_obj.h"
#include "world/group_list.h"
#include "world/item_obj.h"
#include "world/message.h"
#include "world/npc_obj.h"
#include "world/player_obj.h"
#include "world/scroll_axis.h"
#include "world/shot_obj.h"

class cEdArea;

// Sizes of the stage's fixed vectors.
inline constexpr int kGroupCount = 8;
inline constexpr int kStageVarCount = 255;
inline constexpr int kAreaSwitchCount = 60;
inline constexpr int kMapMargin = 10;
// The player is element 0 of the players.
inline constexpr int P1 = 0;
// The life of an object without a limit.
inline constexpr std::int32_t kNoLife = 2147483647;

// The play mode of a replay being played back, and the play kind of story
// play (the scene manager's numbering).
inline constexpr int kPlayModeReplay = 4;
inline constexpr int kPlayKindStory = 0;

// Phases of the game-play scene that the world sends it to.
enum GamePhase : std::int32_t {
    PHASE_FADE_IN = 0,
    PHASE_START = 1,
    PHASE_PLAY = 2,
    PHASE_PAUSE = 3,
    PHASE_CLEAR = 4,
    PHASE_CONTINUE = 5,
    PHASE_GAME_OVER = 6,
    PHASE_FADE_OUT = 7,
};

// The screen tint.
struct TintState {
    std::int32_t m_Tinted = 0; // a tint toward a colour was started (8-bit path)
    std::uint8_t m_Red = 0;
    std::uint8_t m_Green = 0;
    std::uint8_t m_Blue = 0;
    std::int32_t m_Strength = 0; // percent
    std::int32_t m_BackToNormal = 0;
    std::int32_t m_Duration = 0; // frames
    std::int32_t m_BackAndForth = 0;
    std::int32_t m_RepeatCount = 0;
    std::int32_t m_Running = 0;
    std::int32_t m_Counter = 0;
    std::int32_t m_RepeatCounter = 0;
    std::int32_t m_Alpha = 255; // 255: no tint
    std::uint8_t m_PrevRed = 0;
    std::uint8_t m_PrevGreen = 0;
    std::uint8_t m_PrevBlue = 0;
    std::int32_t m_PrevStrength = 0;
    std::int32_t m_PrevAlpha = 255;

    // Every field 0, the previous alpha 255 (stage set-up).
    void Reset()
    {
        *this = TintState();
        m_Alpha = 0;
    }
};

// A walk over one of the stage's object lists that survives the removal of
// any object during it, the current one included: the removal routine moves
// the walk on to the next object before it erases a node. Objects appended
// during the walk are visited in the same walk.
template <class T> class cListWalk {
public:
    using Iterator = typename std::list<T>::iterator;

    cListWalk(std::list<T>& list, std::vector<cListWalk*>& registry)
        : m_List(list), m_Registry(registry), m_It(list.begin())
    {
        m_Registry.push_back(this);
    }
    ~cListWalk() { std::erase(m_Registry, this); }
    cListWalk(const cListWalk&) = delete;
    cListWalk& operator=(const cListWalk&) = delete;

    bool Done() const { return m_It == m_List.end(); }
    T& operator*() const { return *m_It; }
    T* operator->() const { return &*m_It; }
    Iterator Node() const { return m_It; }
    // On to the next object (already there when the current one was removed).
    void Next()
    {
        if (m_Moved)
            m_Moved = false;
        else
            ++m_It;
    }
    // The list was emptied under the walk (a stage set-up): it has ended.
    void Abandon()
    {
        m_It = m_List.end();
        m_Moved = true;
    }
    // Called by the removal routine before a node is erased.
    void Removing(Iterator node)
    {
        if (node != m_It) return;
        ++m_It;
        m_Moved = true;
    }

private:
    std::list<T>& m_List;
    std::vector<cListWalk*>& m_Registry;
    Iterator m_It;
    bool m_Moved = false;
};

class cRunningStage {
public:
    cRunningStage();
    virtual ~cRunningStage();
    cRunningStage(const cRunningStage&) = delete;
    cRunningStage& operator=(const cRunningStage&) = delete;

    // --- what the stage asks of its scene
    // Go to a phase of the game-play scene with a sub-state.
    virtual void ScenePhase(int phase, int subState);
    // The results of a cleared stage (clear phase).
    virtual void ScenePrepareResults();
    // The scene's own counters at the start of a play: sub-state, the
    // registered-ranking flag.
    virtual void SceneResetCounters();
    // The stage's rankings for the play kind (when the results are on).
    virtual void SceneLoadRankings();
    virtual void SceneResetMenuCursor();
    // The scene manager's frame rate becomes the stage's.
    virtual void SceneFrameRate(int rate);
    // 1 while the scene shows its pause menu.
    virtual int SceneInPauseMenu() const;
    // 1 once the program is closing (the scene's stop flag): a message
    // must not start another wait.
    virtual int SceneStopping() const;

    // --- set-up (world/stage_setup.cpp)
    // At the start of a play: lives, totals, view, message list, replay logs.
    // A replay's play keeps the lives and totals of the progress record read
    // with it: they are the recorded play's at its start.
    void ResetSessionTotals();
    // 1 when play may start (a life was used, or none is needed), 0 when no
    // life is left. A replay's play uses none.
    int UseLife();
    // Builds the running stage from the live stage. refill: from the stage
    // at start (a retry or a replay restart); newMusic: the music is
    // requested anew.
    void SetStage(int refill, int newMusic);
    // Stores the loop switch and asks for the stage music (0 stops it).
    void SendBgmRequest(int number, int loop);

    // --- objects by number and their removal
    cCharaObj* FindCharaByNumber(int number);
    cShotObj* FindShotByNumber(int number);
    cItemObj* FindItemByNumber(int number);
    // The player or computer character of that number ("FindObjectByNumber").
    cCharaObj* FindObjectByNumber(int number) { return FindCharaByNumber(number); }
    // Appends a copy of a computer character (or an item; a shot is moved
    // in) and registers it: its number, its group list. Returns the stored
    // object.
    cNpcObj& AddChara(const cNpcObj& chara);
    cItemObj& AddItem(const cItemObj& item);
    cShotObj& AddShot(cShotObj shot);
    // Removes a character from the stage with every link to it: the
    // characters targeting it and the shots aimed at it lose their target,
    // it leaves its target's list, its group list and the character list.
    // Returns the next node.
    std::list<cNpcObj>::iterator EraseChara(std::list<cNpcObj>::iterator it);
    std::list<cShotObj>::iterator RemoveShot(std::list<cShotObj>::iterator it);
    std::list<cItemObj>::iterator RemoveItem(std::list<cItemObj>::iterator it);
    // Walks over the characters, the items and the shots that survive
    // removals (see cListWalk).
    cListWalk<cNpcObj> WalkCharas() { return cListWalk<cNpcObj>(m_CharaList, m_CharaWalks); }
    cListWalk<cItemObj> WalkItems() { return cListWalk<cItemObj>(m_ItemList, m_ItemWalks); }
    cListWalk<cShotObj> WalkShots() { return cListWalk<cShotObj>(m_ShotList, m_ShotWalks); }
    // The node of a computer character, or the end.
    std::list<cNpcObj>::iterator CharaNode(const cCharaObj& chara);
    // Makes a character target another (or none, -1), keeping both lists right.
    void SetTarget(cCharaObj& chara, int targetNo);
    // The death of a character whose HP reached 0 ("KillObject"): 2 for the
    // player, else its death; 1 when that clears the stage.
    int KillObject(cCharaObj& chara);
    // KillObject with the scene's outcome: a clear goes to the clear phase;
    // the player's death kills the player. KillObject's result.
    int HandleFatalHit(cCharaObj& chara);

    // --- the block map
    // The cell of a column and row; outside the map an empty cell.
    BlockCell& CellAt(int column, int row)
    {
        const cScrollAxis& ax = m_ScrollX;
        // Each axis has its own bounds: a column past the map's width does
        // not reach into the next row, and nothing lies before the map or
        // below it.
        if (column < 0 || row < 0 || column >= ax.m_MapSize || column >= ax.m_Pitch ||
            row >= m_ScrollY.m_MapSize)
            return OutsideCell();
        const std::size_t index =
            static_cast<std::size_t>(column) +
            (static_cast<std::size_t>(row) << static_cast<unsigned>(ax.m_Shift));
        return index < m_BlockMap.size() ? m_BlockMap[index] : OutsideCell();
    }
    // The cell of a map pixel (shifts are arithmetic).
    BlockCell& CellAtPixel(int x, int y) { return CellAt(x >> 5, y >> 5); }
    // The index of a cell in the map; -1 for the outside cell.
    int CellIndex(const BlockCell* cell) const;
    // What a cell does to an object of a group: 0 nothing, 1 solid, 2 deadly.
    int HitMode(BlockCell& cell, int group)
    {
        if (cell.nGraphicNo == 0) return 0;
        if (cell.HasConds() && !BlockCondsHold(cell)) return 0;
        if (cell.nPassGroup == group) return 0;
        return cell.nHitMode;
    }

    // --- the containers
    std::vector<cPlayerObj> Player;    // element P1 is the player
    std::list<cNpcObj> m_CharaList;    // the other characters (g_CharaList)
    std::list<cItemObj> m_ItemList;    // the free items (g_ItemList)
    std::vector<BlockCell> m_BlockMap; // pitch x (H + 20) cells (g_BlockMap)
    BlockCell m_OutsideCell;           // what CellAt gives outside the map

    // --- the world members of the game-play scene
    std::int32_t m_ClearRequest = 0; // 0 none, 1 clear, 2 player death ("m_ClearFlag")
    cScrollAxis m_ScrollX;
    cScrollAxis m_ScrollY;
    std::list<cShotObj> m_ShotList;
    std::vector<cGroupList<cCharaObj>> m_CharaGroups; // 8 lists, by group
    std::vector<cGroupList<cShotObj>> m_ShotGroups;
    std::list<cMessage> m_MessageList;
    std::list<cEffectObj> m_EffectList;
    std::list<cPictureObj> m_PictureList;
    cScrEffectPlayer m_ScrEffect;           // "m_ScrEffectState"
    std::int32_t m_ScrEffectParams[9] = {}; // of the running screen effect
    TintState m_Tint;                       // "m_TintState"
    PauseWait m_PauseWait;                  // "PauseRequest"
    cCharaObj* m_CurChara = nullptr;        // being stepped now
    cFlowRun* m_CurFlowRun = nullptr;
    cCommandRun* m_CurCommandRun = nullptr;
    std::int32_t m_ListMsgShown = 0;         // a message ran in the command list being run
    std::int32_t m_SubStepNo = 0;            // the sub-step being run, from 1 ("m_SubStep")
    std::int32_t m_SubStepTotal = 0;         // since the stage started ("m_SubStepCount")
    std::vector<std::int32_t> m_HitStepMask; // per sub-step: hit checks run
    std::int32_t m_TimeLeft = 0;             // seconds ("m_RestTime")
    std::int32_t m_NoTimeLimit = 0;
    std::int32_t m_PlayFrames = 0;
    std::int32_t m_PlayTime = 0;           // 1/100 s
    std::int32_t m_ShowCounter = 0;        // stage-start display
    std::int32_t m_ShowCounter2 = 0;       // clear display
    std::int32_t m_RandomSeed = 0;         // "m_RandSeed"
    std::int32_t m_HoldButtons = 0;        // ignore the buttons until all are released
    std::int32_t m_LifeCheck = 0;          // "removal-pending flag"
    std::vector<std::int32_t> m_StageVars; // S0 to S254
    std::vector<std::uint8_t> m_FlowFlags; // the area switches ("m_AreaSwitches")
    // The shots' part of the sub-step's activity update, left to the shot
    // step (see UpdateActivity): due, and the view it was taken with.
    bool m_ShotActivityDue = false;
    cScreenView m_ActivityView{0, 0};
    std::int32_t m_CharaSerial = 0;      // numbers of characters ("m_ObjCounters")
    std::int32_t m_ItemSerial = 0;       // of items
    std::int32_t m_BlockSerial = 0;      // of shots and sword swings
    std::int32_t m_RemoveAreaOn[3] = {}; // characters, solid characters, items
    std::int32_t m_NextStage = 0;
    std::vector<std::int32_t> m_ToggledCells; // cells a toggle summon changed
    std::int32_t m_PlayerCount = 0;
    // The solid characters in list order, listed again whenever the
    // character list may have changed (the solid-character collision's).
    std::vector<cNpcObj*> m_Solids;
    std::int32_t m_SolidsKey[4] = {-1, -1, -1, -1};

    // --- the play the stage belongs to (copied from the scene manager)
    std::int32_t m_PlayMode = 0;
    std::int32_t m_PlayKind = 0;
    std::int32_t m_ResultsOn = 0;
    std::int32_t m_DirectStart = 0; // the stage was started directly at start-up
    std::int32_t m_FrameRate = 60;  // frames per second of the running stage

    // Counts the set-ups, so that a pass over the objects knows when a set-up
    // in its middle rebuilt them.
    std::int32_t m_SetStageCount = 0;

    // What the block map's drawing found in the last play frame: the first
    // column and row it visited, the set-up it belongs to, and per visited
    // cell (21 x 16, row by row) 2 when its conditions held, 1 when not, 0
    // when not tested. Frozen frames answer from it.
    std::int32_t m_HeldColumn = 0;
    std::int32_t m_HeldRow = 0;
    std::int32_t m_HeldSetUp = -1;
    std::vector<std::uint8_t> m_CellsHeld;

    // --- a bare stage's record of what it asked of its scene
    std::int32_t m_AskedPhase = -1;
    std::int32_t m_AskedSubState = 0;

private:
    // The outside cell, emptied again (a caller may have changed it).
    BlockCell& OutsideCell();
    // The cell's appearance conditions hold.
    bool BlockCondsHold(BlockCell& cell);
    // Enters a character in its number index and its group list; the reverse.
    void LinkChara(cCharaObj& chara);
    void UnlinkChara(cCharaObj& chara);
    // Objects by number: the index of each kind (numbers are handed out in
    // order and never reused within a stage).
    std::vector<cCharaObj*> m_CharaByNo;
    std::vector<cShotObj*> m_ShotByNo;
    std::vector<cItemObj*> m_ItemByNo;
    // The walks going on now.
    std::vector<cListWalk<cNpcObj>*> m_CharaWalks;
    std::vector<cListWalk<cItemObj>*> m_ItemWalks;
    std::vector<cListWalk<cShotObj>*> m_ShotWalks;
};

// The sub-steps on which the hit checks run: with L = the hit-check level
// (0 to 5; other values the nearest), L evenly spread sub-steps of b, the
// first always among them; level 0 every sub-step.
std::vector<std::int32_t> BuildHitStepMask(int subSteps, int hitLevel);

// The running stage the world works on.
extern cRunningStage* g_RunStage;
// The stage of no size that RunStage gives while none is set.
cRunningStage& EmptyRunStage();
// The current running stage; an empty one while none is set, so that an
// object used outside a stage reads a stage of no size instead of nothing.
inline cRunningStage& RunStage()
{
    return g_RunStage ? *g_RunStage : EmptyRunStage();
}

// Makes a running stage current for the life of the object.
class cCurrentStage {
public:
    explicit cCurrentStage(cRunningStage& stage) : m_Previous(g_RunStage) { g_RunStage = &stage; }
    ~cCurrentStage() { g_RunStage = m_Previous; }
    cCurrentStage(const cCurrentStage&) = delete;
    cCurrentStage& operator=(const cCurrentStage&) = delete;

private:
    cRunningStage* m_Previous;
};
