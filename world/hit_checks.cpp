// The hit checks of a sub-step.
//
// Three passes in this order: shots against characters (on the sub-steps
// the hit-step mask selects), characters against characters, shots against
// shots. Each pass visits its pairs exactly as nested loops over the group
// lists would (group, group, first object, second object, each list in its
// order); a grid finds the pairs whose boxes overlap, so that the passes
// cost what the contacts cost and not the product of the list lengths.
//
// Objects are visited by number, never held across a call that can run
// flows: a death runs the character's death flows and a gift runs the
// item's commands, and either may fire shots, summon characters or move
// them. After such a call the pass takes a new look at the lists and goes
// on after the pair it was at, so that objects appended meanwhile are
// visited later in the same pass. Hit triggers only start flows and never
// move anything.

#include "world/hit_checks.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "data/ed_stage.h"
#include "world/hit_grid.h"
#include "world/items_blocks.h"
#include "world/running_stage.h"
#include "world/world_services.h"

namespace {

// An object of a pass as its lists held it when the pass last looked.
template <class T> struct Entry {
    T* object = nullptr;
    std::int32_t number = 0;
    std::int32_t group = 0;
    std::int32_t order = 0; // position in its group list
};

// A pair to visit: indices of the two entries.
struct Pair {
    int a = 0;
    int b = 0;
};

// The lists of one pass: the entries of each kind, their boxes, which of
// them take part, and the pairs in visiting order.
struct PassLists {
    std::vector<Entry<cShotObj>> shots;
    std::vector<Entry<cCharaObj>> charas;
    std::vector<DRect> shotBoxes;
    std::vector<DRect> charaBoxes;
    std::vector<std::uint8_t> shotUse;
    std::vector<std::uint8_t> charaUse;
    std::vector<Pair> pairs;
    std::vector<int> found;
    cHitGrid grid;
};

PassLists& Lists()
{
    static PassLists lists;
    return lists;
}

DRect ShotHitRect(const cShotObj& s)
{
    return {s.m_HitLeft, s.m_HitTop, s.m_HitRight, s.m_HitBottom};
}

DRect MainBox(const cGameObj& o)
{
    return {o.m_X, o.m_Y, o.m_Right, o.m_Bottom};
}

bool OnScreenOnly()
{
    return g_Stage.bHitOnScreenOnly != 0;
}

// The shot-against-character pass runs on the sub-steps of the hit-step
// mask (entry m_SubStepNo - 1; the sub-steps count from 1), or on every
// sub-step at hit level 0.
bool ShotPassRuns(const cRunningStage& stage)
{
    if (g_Stage.nHitLevel == 0) return true;
    const int index = stage.m_SubStepNo - 1;
    return index >= 0 && index < static_cast<int>(stage.m_HitStepMask.size()) &&
           stage.m_HitStepMask[static_cast<std::size_t>(index)] != 0;
}

bool ShotTakesPart(const cShotObj& s)
{
    return !OnScreenOnly() || s.m_OnScreen;
}

bool ShotHittable(const cCharaObj& c)
{
    return (!OnScreenOnly() || c.m_OnScreen) && c.m_Present && !c.m_Dying &&
           c.m_Def.nInvincible != 2;
}

bool ContactHittable(const cCharaObj& c)
{
    return (!OnScreenOnly() || c.m_OnScreen) && !c.m_Def.bSolid && c.m_Present && !c.m_Dying;
}

template <class T> bool Alive(const Entry<T>& e);

template <> bool Alive(const Entry<cShotObj>& e)
{
    return RunStage().FindShotByNumber(e.number) == e.object;
}

template <> bool Alive(const Entry<cCharaObj>& e)
{
    return RunStage().FindCharaByNumber(e.number) == e.object;
}

template <class T, class Box, class Use>
void Snapshot(const std::vector<std::list<T*>>& groups, std::vector<Entry<T>>& entries,
              std::vector<DRect>& boxes, std::vector<std::uint8_t>& use, Box box, Use takesPart)
{
    entries.clear();
    boxes.clear();
    use.clear();
    for (int g = 0; g < static_cast<int>(groups.size()); ++g) {
        int order = 0;
        for (T* object : groups[static_cast<std::size_t>(g)]) {
            entries.push_back({object, object->m_ObjNo, g, order++});
            boxes.push_back(box(*object));
            use.push_back(takesPart(*object) ? 1 : 0);
        }
    }
}

// Pairs of an entry of list A with the entries of list B that overlap it,
// for which keep(a, b) holds; searched from the shorter list.
template <class Keep>
void FindPairs(PassLists& l, const std::vector<DRect>& boxesA,
               const std::vector<std::uint8_t>& useA, const std::vector<DRect>& boxesB,
               const std::vector<std::uint8_t>& useB, Keep keep)
{
    l.pairs.clear();
    const bool fromA = boxesA.size() <= boxesB.size();
    const std::vector<DRect>& queried = fromA ? boxesA : boxesB;
    const std::vector<std::uint8_t>& queriedUse = fromA ? useA : useB;
    l.grid.Build(fromA ? boxesB : boxesA, fromA ? &useB : &useA);
    for (int i = 0; i < static_cast<int>(queried.size()); ++i) {
        if (!queriedUse[static_cast<std::size_t>(i)]) continue;
        l.found.clear();
        l.grid.Query(queried[static_cast<std::size_t>(i)], l.found);
        for (int j : l.found) {
            const Pair p = fromA ? Pair{i, j} : Pair{j, i};
            if (keep(p)) l.pairs.push_back(p);
        }
    }
}

// --- pass 1: shots against characters

// The visiting order: shot group, character group, shot, character.
auto ShotCharaKey(const PassLists& l, const Pair& p)
{
    const auto& s = l.shots[static_cast<std::size_t>(p.a)];
    const auto& c = l.charas[static_cast<std::size_t>(p.b)];
    return std::make_tuple(s.group, c.group, s.order, c.order);
}

void FindShotCharaPairs(cRunningStage& stage, PassLists& l)
{
    Snapshot(stage.m_ShotGroups, l.shots, l.shotBoxes, l.shotUse, ShotHitRect, ShotTakesPart);
    Snapshot(
        stage.m_CharaGroups, l.charas, l.charaBoxes, l.charaUse,
        [](const cCharaObj& c) { return c.m_HitB.m_Rect; }, ShotHittable);
    FindPairs(l, l.shotBoxes, l.shotUse, l.charaBoxes, l.charaUse, [&l](const Pair& p) {
        return l.shots[static_cast<std::size_t>(p.a)].group !=
               l.charas[static_cast<std::size_t>(p.b)].group;
    });
    std::sort(l.pairs.begin(), l.pairs.end(), [&l](const Pair& x, const Pair& y) {
        return ShotCharaKey(l, x) < ShotCharaKey(l, y);
    });
}

// One shot against one character. `scheduled` is set when the shot must go
// once it has met every character of this group; `ranFlows` when a death
// or a gift ran flows or commands.
int ShotHitsChara(cRunningStage& stage, cShotObj& s, cCharaObj& c, bool& scheduled, bool& ranFlows)
{
    if (!ShotHittable(c) || !c.m_HitB.m_Rect.Intersects(ShotHitRect(s)) ||
        HoldsChara(s.m_HitList, c.m_ObjNo))
        return 0;
    c.FireFlows(7);
    const cEdShot& d = s.m_Def;
    if (d.m_Power == 0 && d.m_Impact == 0 && d.m_ItemPalette == 0) return 0;
    if (c.IsHitProtected()) return 0;
    if (c.DamageFromShot(s)) {
        if (c.m_Operator == 1) WorldServices().PlaySe(9);
        ranFlows = true;
        if (const int r = stage.KillObject(c)) return r;
    } else {
        WorldServices().PlaySe(7);
        c.StartHitProtection();
    }
    // A sword swing and a piercing shot hit each character once and go on.
    if (!s.m_IsShot || d.m_Pierce == 1)
        s.m_HitList.push_back(c.m_ObjNo);
    else
        scheduled = true;
    if (d.m_ItemPalette != 0 && !stage.Player.empty()) {
        if (cEdItem* def = GetItemDef(d.m_ItemPalette, d.m_ItemIndex)) {
            ranFlows = true;
            cItemObj item;
            item.SetupItem(-1, *def, 0);
            item.m_Present = 1;
            if (const int r = GiveItem(item, stage.Player.front())) return r;
        }
    }
    return 0;
}

// The index of an entry's object in a new look at the lists.
template <class T> int FindEntry(const std::vector<Entry<T>>& entries, const T* object)
{
    for (int i = 0; i < static_cast<int>(entries.size()); ++i)
        if (entries[static_cast<std::size_t>(i)].object == object) return i;
    return -1;
}

// The first pair that comes after the given position (a position whose
// objects are gone has no successor to find: the pass ends).
template <class Key>
std::size_t PairAfter(const PassLists& l, const std::tuple<int, int, int, int>& at, Key key)
{
    const auto it =
        std::upper_bound(l.pairs.begin(), l.pairs.end(), at,
                         [&](const auto& pos, const Pair& p) { return pos < key(l, p); });
    return static_cast<std::size_t>(it - l.pairs.begin());
}

void RemoveIfAlive(cRunningStage& stage, cShotObj* shot, int number)
{
    if (shot && stage.FindShotByNumber(number) == shot) stage.RemoveShot(shot->m_ListNode);
}

int ShotsAgainstCharas(cRunningStage& stage)
{
    PassLists& l = Lists();
    FindShotCharaPairs(stage, l);
    // The shot of the current (character group, shot) run, due for removal.
    cShotObj* due = nullptr;
    int dueNumber = -1;
    int runGroup = -1, runShot = -1;
    std::size_t i = 0;
    while (i < l.pairs.size()) {
        const Entry<cShotObj> s = l.shots[static_cast<std::size_t>(l.pairs[i].a)];
        const Entry<cCharaObj> c = l.charas[static_cast<std::size_t>(l.pairs[i].b)];
        if (c.group != runGroup || s.number != runShot) {
            RemoveIfAlive(stage, due, dueNumber);
            due = nullptr;
            runGroup = c.group;
            runShot = s.number;
        }
        if (!Alive(s) || !Alive(c)) {
            ++i;
            continue;
        }
        bool scheduled = false;
        bool ranFlows = false;
        if (const int r = ShotHitsChara(stage, *s.object, *c.object, scheduled, ranFlows)) return r;
        if (scheduled) {
            due = s.object;
            dueNumber = s.number;
        }
        if (!ranFlows) {
            ++i;
            continue;
        }
        FindShotCharaPairs(stage, l);
        const int si = FindEntry(l.shots, s.object);
        const int ci = FindEntry(l.charas, c.object);
        if (si < 0 || ci < 0) break;
        const auto& ns = l.shots[static_cast<std::size_t>(si)];
        const auto& nc = l.charas[static_cast<std::size_t>(ci)];
        i = PairAfter(l, std::make_tuple(ns.group, nc.group, ns.order, nc.order), ShotCharaKey);
    }
    RemoveIfAlive(stage, due, dueNumber);
    return 0;
}

// --- pass 2: characters against characters

auto CharaCharaKey(const PassLists& l, const Pair& p)
{
    const auto& a = l.charas[static_cast<std::size_t>(p.a)];
    const auto& b = l.charas[static_cast<std::size_t>(p.b)];
    return std::make_tuple(a.group, b.group, a.order, b.order);
}

void FindCharaCharaPairs(cRunningStage& stage, PassLists& l)
{
    Snapshot(
        stage.m_CharaGroups, l.charas, l.charaBoxes, l.charaUse,
        [](const cCharaObj& c) { return c.m_HitA.m_Rect; }, ContactHittable);
    FindPairs(l, l.charaBoxes, l.charaUse, l.charaBoxes, l.charaUse, [&l](const Pair& p) {
        return l.charas[static_cast<std::size_t>(p.a)].group <
               l.charas[static_cast<std::size_t>(p.b)].group;
    });
    std::sort(l.pairs.begin(), l.pairs.end(), [&l](const Pair& x, const Pair& y) {
        return CharaCharaKey(l, x) < CharaCharaKey(l, y);
    });
}

// The outcome for one side of a contact that hit it.
int ContactOutcome(cRunningStage& stage, cCharaObj& victim, int killed, const cCharaObj& other,
                   bool& ranFlows)
{
    if (!killed) {
        victim.StartHitProtectionFrom(other.m_ObjNo);
        return 0;
    }
    if (victim.m_Operator == 1) WorldServices().PlaySe(9);
    ranFlows = true;
    return stage.KillObject(victim);
}

int CharaMeetsChara(cRunningStage& stage, cCharaObj& a, cCharaObj& b, bool& ranFlows)
{
    if (!ContactHittable(a) || !ContactHittable(b) || !a.m_HitA.m_Rect.Intersects(b.m_HitA.m_Rect))
        return 0;
    a.FireFlows(4);
    b.FireFlows(4);
    auto hits = [](const cCharaObj& attacker, const cCharaObj& victim) {
        return (attacker.m_Def.nBodyPower != 0 || attacker.m_Def.nBodyImpact != 0) &&
               !victim.IsHitProtectedFrom(attacker.m_ObjNo);
    };
    const bool aHit = hits(b, a);
    const int aKilled = aHit ? a.DamageFromChara(b) : 0;
    const bool bHit = hits(a, b);
    const int bKilled = bHit ? b.DamageFromChara(a) : 0;
    if (aHit || bHit) WorldServices().PlaySe(7);
    if (aHit)
        if (const int r = ContactOutcome(stage, a, aKilled, b, ranFlows)) return r;
    if (bHit)
        if (const int r = ContactOutcome(stage, b, bKilled, a, ranFlows)) return r;
    return 0;
}

int CharasAgainstCharas(cRunningStage& stage)
{
    PassLists& l = Lists();
    FindCharaCharaPairs(stage, l);
    std::size_t i = 0;
    while (i < l.pairs.size()) {
        const Entry<cCharaObj> a = l.charas[static_cast<std::size_t>(l.pairs[i].a)];
        const Entry<cCharaObj> b = l.charas[static_cast<std::size_t>(l.pairs[i].b)];
        bool ranFlows = false;
        if (Alive(a) && Alive(b))
            if (const int r = CharaMeetsChara(stage, *a.object, *b.object, ranFlows)) return r;
        if (!ranFlows) {
            ++i;
            continue;
        }
        FindCharaCharaPairs(stage, l);
        const int ai = FindEntry(l.charas, a.object);
        const int bi = FindEntry(l.charas, b.object);
        if (ai < 0 || bi < 0) break;
        const auto& na = l.charas[static_cast<std::size_t>(ai)];
        const auto& nb = l.charas[static_cast<std::size_t>(bi)];
        i = PairAfter(l, std::make_tuple(na.group, nb.group, na.order, nb.order), CharaCharaKey);
    }
    return 0;
}

// --- pass 3: shots against shots

auto ShotShotKey(const PassLists& l, const Pair& p)
{
    const auto& a = l.shots[static_cast<std::size_t>(p.a)];
    const auto& b = l.shots[static_cast<std::size_t>(p.b)];
    return std::make_tuple(a.group, b.group, a.order, b.order);
}

void ShotsAgainstShots(cRunningStage& stage)
{
    PassLists& l = Lists();
    Snapshot(stage.m_ShotGroups, l.shots, l.shotBoxes, l.shotUse, MainBox,
             [](const cShotObj&) { return true; });
    // Only pairs with a shot that collides with shots count: search from those.
    l.charaUse.assign(l.shots.size(), 0);
    bool any = false;
    for (std::size_t k = 0; k < l.shots.size(); ++k)
        if (l.shots[k].object->m_Def.m_HitShots) l.charaUse[k] = 1, any = true;
    if (!any) return;
    l.grid.Build(l.shotBoxes, nullptr);
    l.pairs.clear();
    for (int k = 0; k < static_cast<int>(l.shots.size()); ++k) {
        if (!l.charaUse[static_cast<std::size_t>(k)]) continue;
        l.found.clear();
        l.grid.Query(l.shotBoxes[static_cast<std::size_t>(k)], l.found);
        for (int m : l.found) {
            const int gk = l.shots[static_cast<std::size_t>(k)].group;
            const int gm = l.shots[static_cast<std::size_t>(m)].group;
            // Both flagged: the pair is found from each side; keep it once.
            if (gk == gm || (l.charaUse[static_cast<std::size_t>(m)] && m < k)) continue;
            l.pairs.push_back(gk < gm ? Pair{k, m} : Pair{m, k});
        }
    }
    std::sort(l.pairs.begin(), l.pairs.end(),
              [&l](const Pair& x, const Pair& y) { return ShotShotKey(l, x) < ShotShotKey(l, y); });
    cShotObj* due = nullptr;
    int dueNumber = -1;
    int runGroup = -1, runShot = -1;
    for (const Pair& pair : l.pairs) {
        const Entry<cShotObj> p = l.shots[static_cast<std::size_t>(pair.a)];
        const Entry<cShotObj> q = l.shots[static_cast<std::size_t>(pair.b)];
        if (q.group != runGroup || p.number != runShot) {
            RemoveIfAlive(stage, due, dueNumber);
            due = nullptr;
            runGroup = q.group;
            runShot = p.number;
        }
        if (!Alive(p) || !Alive(q)) continue;
        const cEdShot& dp = p.object->m_Def;
        const cEdShot& dq = q.object->m_Def;
        bool removeQ = false;
        bool scheduleP = false;
        if (dp.m_HitShots && dq.m_HitShots) {
            removeQ = dq.m_Strength <= dp.m_Strength;
            scheduleP = dq.m_Strength >= dp.m_Strength;
        } else if (dp.m_HitShots) {
            scheduleP = true;
        } else {
            removeQ = true;
        }
        if (removeQ) stage.RemoveShot(q.object->m_ListNode);
        if (scheduleP) {
            due = p.object;
            dueNumber = p.number;
        }
    }
    RemoveIfAlive(stage, due, dueNumber);
}

} // namespace

int CheckHits()
{
    cRunningStage& stage = RunStage();
    const std::int32_t setUps = stage.m_SetStageCount;
    if (ShotPassRuns(stage) && !stage.m_ShotList.empty())
        if (const int r = ShotsAgainstCharas(stage)) return r;
    if (stage.m_SetStageCount != setUps) return 0;
    if (const int r = CharasAgainstCharas(stage)) return r;
    if (stage.m_SetStageCount != setUps) return 0;
    ShotsAgainstShots(stage);
    return 0;
}
