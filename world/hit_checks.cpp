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
// move anything, so between such calls a look stays true but for the shots
// the passes remove, which are known by their numbers.

#include "world/hit_checks.h"

#include <algorithm>
#include <limits>
#include <list>
#include <utility>
#include <vector>

#include "data/ed_stage.h"
#include "world/hit_grid.h"
#include "world/items_blocks.h"
#include "world/running_stage.h"
#include "world/world_services.h"

namespace {

// An object as the lists held it when the pass last looked. The entries of
// a look are in group order and, within a group, in list order, so that an
// entry's index is its place in the visiting order.
template <class T> struct Entry {
    T* object = nullptr;
    std::int32_t number = 0;
    std::int32_t group = 0;
};

// A pair to visit: indices of the two entries, and its place in the
// visiting order (first group, second group, first entry, second entry).
struct Pair {
    std::uint64_t key = 0;
    int a = 0;
    int b = 0;
};

std::uint64_t PairKey(int groupA, int groupB, int a, int b)
{
    return std::uint64_t(groupA & 7) << 61 | std::uint64_t(groupB & 7) << 58 |
           std::uint64_t(a & 0x1FFFFFFF) << 29 | std::uint64_t(b & 0x1FFFFFFF);
}

// The last look at the shots and at the characters, with the boxes and
// the parts each object takes, and the pairs of the pass in visiting order.
struct Looks {
    std::vector<Entry<cShotObj>> shots;
    // The boxes against characters and against shots (kEmptyBox: takes no part).
    std::vector<DRect> shotHit;
    std::vector<DRect> shotBox;
    std::vector<std::uint8_t> shotCollides; // with shots
    std::vector<int> shotGroup;             // the group list each is in
    std::vector<int> colliders;             // the shots that collide with shots
    std::vector<DRect> colliderBox;         // and their boxes and groups
    std::vector<int> colliderGroup;
    bool shotsCurrent = false;

    std::vector<Entry<cCharaObj>> charas;
    std::vector<DRect> charaContact;      // box A
    std::vector<DRect> charaShotBox;      // box B
    std::vector<int> charaGroup;          // the group list each is in
    std::vector<std::uint8_t> charaMeets; // contacts
    std::vector<std::uint8_t> charaShot;  // shots
    bool charasCurrent = false;
    bool charasSame = false; // the same characters in the same places as the look before

    std::vector<Pair> pairs;
    std::vector<Pair> sorted;
    std::vector<int> chainHead; // per character, its first contact (none: -1)
    std::vector<int> chainNext; // per contact, the next of the same character
    std::vector<GridPair> found;
    // The shots whose boxes meet those of colliders in other groups (indices
    // into colliders), found along with the first pass's pairs and kept
    // while the look at the shots stays.
    std::vector<GridPair> shotShot;
    bool shotShotCurrent = false;
    // The characters by the left edges of their boxes A, each with the box,
    // index and group (those that take no part at an infinite left edge and
    // in group -1), so that the sweep reads one run of memory; kept from one
    // look to the next, when it is nearly in order already.
    struct SweepBox {
        DRect box;
        int index = 0;
        int group = 0;
    };
    std::vector<SweepBox> sweep;
    cHitGrid grid;
};

Looks& TheLooks()
{
    static Looks looks;
    return looks;
}

bool HoldsPoints(const DRect& b)
{
    return b.x1 <= b.x2 && b.y1 <= b.y2;
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

bool ShotTakesPart(const cShotObj& s, bool onScreenOnly)
{
    return !onScreenOnly || s.m_OnScreen;
}

// Present, not dying, and on the screen when hits count only there.
bool Hittable(const cCharaObj& c, bool onScreenOnly)
{
    return (!onScreenOnly || c.m_OnScreen) && c.m_Present && !c.m_Dying;
}

bool ShotHittable(const cCharaObj& c)
{
    return Hittable(c, OnScreenOnly()) && c.m_Def.nInvincible != 2;
}

bool ContactHittable(const cCharaObj& c)
{
    return Hittable(c, OnScreenOnly()) && !c.m_Def.bSolid;
}

void LookAtShots(cRunningStage& stage, Looks& l)
{
    std::size_t n = 0;
    for (const cGroupList<cShotObj>& group : stage.m_ShotGroups)
        n += group.size();
    l.shots.resize(n);
    l.shotHit.resize(n);
    l.shotBox.resize(n);
    l.shotCollides.resize(n);
    l.shotGroup.resize(n);
    l.colliders.clear();
    l.colliderBox.clear();
    l.colliderGroup.clear();
    // Written through copies of the pointers, which the stores cannot change.
    Entry<cShotObj>* const shots = l.shots.data();
    DRect* const hit = l.shotHit.data();
    DRect* const box = l.shotBox.data();
    std::uint8_t* const collides = l.shotCollides.data();
    int* const group = l.shotGroup.data();
    const bool onScreenOnly = OnScreenOnly();
    std::size_t i = 0;
    for (int g = 0; g < static_cast<int>(stage.m_ShotGroups.size()); ++g)
        for (cShotObj* s : stage.m_ShotGroups[static_cast<std::size_t>(g)]) {
            shots[i] = {s, s->m_ObjNo, g};
            group[i] = g;
            hit[i] = {s->m_HitLeft, s->m_HitTop, s->m_HitRight, s->m_HitBottom};
            if (!ShotTakesPart(*s, onScreenOnly) || !HoldsPoints(hit[i])) hit[i] = kEmptyBox;
            box[i] = {s->m_X, s->m_Y, s->m_Right, s->m_Bottom};
            if (!HoldsPoints(box[i])) box[i] = kEmptyBox;
            collides[i] = s->m_Def.m_HitShots != 0 ? 1 : 0;
            if (collides[i]) {
                l.colliders.push_back(static_cast<int>(i));
                l.colliderBox.push_back(box[i]);
                l.colliderGroup.push_back(g);
            }
            ++i;
        }
    l.shotsCurrent = true;
    l.shotShotCurrent = false;
}

void LookAtCharas(cRunningStage& stage, Looks& l)
{
    std::size_t n = 0;
    for (const cGroupList<cCharaObj>& group : stage.m_CharaGroups)
        n += group.size();
    bool same = l.charas.size() == n;
    l.charas.resize(n);
    l.charaContact.resize(n);
    l.charaShotBox.resize(n);
    l.charaGroup.resize(n);
    l.charaMeets.resize(n);
    l.charaShot.resize(n);
    // Written through copies of the pointers, which the stores cannot change.
    Entry<cCharaObj>* const charas = l.charas.data();
    int* const group = l.charaGroup.data();
    DRect* const contact = l.charaContact.data();
    DRect* const shotBox = l.charaShotBox.data();
    std::uint8_t* const meets = l.charaMeets.data();
    std::uint8_t* const shot = l.charaShot.data();
    const bool onScreenOnly = OnScreenOnly();
    std::size_t i = 0;
    for (int g = 0; g < static_cast<int>(stage.m_CharaGroups.size()); ++g)
        for (cCharaObj* c : stage.m_CharaGroups[static_cast<std::size_t>(g)]) {
            same = same && charas[i].object == c && charas[i].number == c->m_ObjNo;
            charas[i] = {c, c->m_ObjNo, g};
            group[i] = g;
            contact[i] = c->m_HitA.m_Rect;
            shotBox[i] = c->m_HitB.m_Rect;
            const bool hittable = Hittable(*c, onScreenOnly);
            meets[i] = hittable && !c->m_Def.bSolid ? 1 : 0;
            shot[i] = hittable && c->m_Def.nInvincible != 2 ? 1 : 0;
            ++i;
        }
    l.charasCurrent = true;
    l.charasSame = same;
}

// Flows ran: what the lists hold may have changed.
void LookAgain(cRunningStage& stage, Looks& l)
{
    LookAtShots(stage, l);
    LookAtCharas(stage, l);
}

bool Alive(const Entry<cShotObj>& e)
{
    return RunStage().FindShotByNumber(e.number) == e.object;
}

bool Alive(const Entry<cCharaObj>& e)
{
    return RunStage().FindCharaByNumber(e.number) == e.object;
}

// The index of an object in the last look.
template <class T> int FindEntry(const std::vector<Entry<T>>& entries, const T* object)
{
    for (int i = 0; i < static_cast<int>(entries.size()); ++i)
        if (entries[static_cast<std::size_t>(i)].object == object) return i;
    return -1;
}

// Makes the pairs of the first pass, in the visiting order, from those the
// grid found. The grid gives them ascending by shot, then by character;
// entries are in group order, so only the group pair (the key's top six
// bits) is out of order: a stable count sort by it.
void PairsByGroups(Looks& l)
{
    constexpr int kBuckets = 64;
    int start[kBuckets + 1] = {};
    const int* const shotGroup = l.shotGroup.data();
    const int* const charaGroup = l.charaGroup.data();
    auto bucket = [shotGroup, charaGroup](const GridPair& f) {
        return (shotGroup[f.query] & 7) << 3 | (charaGroup[f.entered] & 7);
    };
    for (const GridPair& f : l.found)
        ++start[bucket(f) + 1];
    for (int b = 0; b < kBuckets; ++b)
        start[b + 1] += start[b];
    l.pairs.resize(l.found.size());
    Pair* const pairs = l.pairs.data();
    for (const GridPair& f : l.found)
        pairs[start[bucket(f)]++] = {
            PairKey(shotGroup[f.query], charaGroup[f.entered], f.query, f.entered), f.query,
            f.entered};
}

void SortByKey(std::vector<Pair>& pairs)
{
    std::sort(pairs.begin(), pairs.end(),
              [](const Pair& x, const Pair& y) { return x.key < y.key; });
}

// The first pair after a place in the visiting order.
std::size_t PairAfter(const Looks& l, std::uint64_t key)
{
    const auto it = std::upper_bound(l.pairs.begin(), l.pairs.end(), key,
                                     [](std::uint64_t k, const Pair& p) { return k < p.key; });
    return static_cast<std::size_t>(it - l.pairs.begin());
}

void RemoveIfAlive(cRunningStage& stage, cShotObj* shot, int number)
{
    if (shot && stage.FindShotByNumber(number) == shot) stage.RemoveShot(shot->m_ListNode);
}

// --- pass 1: shots against characters

// The visiting order: shot group, character group, shot, character.
std::uint64_t ShotCharaKey(const Looks& l, int s, int c)
{
    return PairKey(l.shots[static_cast<std::size_t>(s)].group,
                   l.charas[static_cast<std::size_t>(c)].group, s, c);
}

// The shots look up, in one grid, the boxes B of characters in other groups
// with their hit boxes, and (for the third pass) the boxes of colliders in
// other groups with their own.
void FindShotCharaPairs(Looks& l)
{
    l.found.clear();
    l.shotShot.clear();
    const GridLayer layers[] = {{&l.charaShotBox, &l.charaGroup, &l.charaShot},
                                {&l.colliderBox, &l.colliderGroup, nullptr}};
    l.grid.Build(layers);
    const GridAsk asks[] = {{&l.shotHit, &l.found}, {&l.shotBox, &l.shotShot}};
    l.grid.Pairs(l.shotGroup, asks);
    l.shotShotCurrent = true;
    PairsByGroups(l);
}

// Whether a shot meets a character it has not hit yet: most pairs stop
// here, so it is checked before the call of ShotHitsChara.
bool ShotMeetsChara(const cShotObj& s, const cCharaObj& c)
{
    return ShotHittable(c) &&
           c.m_HitB.m_Rect.Intersects({s.m_HitLeft, s.m_HitTop, s.m_HitRight, s.m_HitBottom}) &&
           !HoldsChara(s.m_HitList, c.m_ObjNo);
}

// The rest of ShotHitsChara, for a shot that does something to a
// character not protected: out of line, as most hits stop before it.
[[gnu::noinline]] int ShotDamagesChara(cRunningStage& stage, cShotObj& s, cCharaObj& c,
                                       bool& scheduled, bool& ranFlows)
{
    const cEdShot& d = s.m_Def;
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

// A shot that meets a character hits it. `scheduled` is set when the shot
// must go once it has met every character of this group; `ranFlows` when a
// death or a gift ran flows or commands.
int ShotHitsChara(cRunningStage& stage, cShotObj& s, cCharaObj& c, bool& scheduled, bool& ranFlows)
{
    c.FireFlows(7);
    const cEdShot& d = s.m_Def;
    if (d.m_Power == 0 && d.m_Impact == 0 && d.m_ItemPalette == 0) return 0;
    if (c.IsHitProtected()) return 0;
    return ShotDamagesChara(stage, s, c, scheduled, ranFlows);
}

// The fields of a pair's shot and character that the pass reads first:
// those of the pair a few places on are asked for meanwhile, as the pairs
// join objects from all over memory.
void PrefetchPair(const Looks& l, std::size_t i)
{
    if (i >= l.pairs.size()) return;
    const cShotObj& s = *l.shots[static_cast<std::size_t>(l.pairs[i].a)].object;
    const cCharaObj& c = *l.charas[static_cast<std::size_t>(l.pairs[i].b)].object;
    __builtin_prefetch(&s.m_HitLeft);
    __builtin_prefetch(&s.m_HitList);
    __builtin_prefetch(&c.m_Present);
    __builtin_prefetch(&c.m_HitB);
    __builtin_prefetch(&c.m_Def.nInvincible);
}

int ShotsAgainstCharas(cRunningStage& stage, Looks& l)
{
    LookAgain(stage, l);
    FindShotCharaPairs(l);
    // The shot of the current (character group, shot) run, due for removal.
    cShotObj* due = nullptr;
    int dueNumber = -1;
    int runGroup = -1, runShot = -1;
    std::size_t i = 0;
    while (i < l.pairs.size()) {
        PrefetchPair(l, i + 4);
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
        if (!ShotMeetsChara(*s.object, *c.object)) {
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
        // A new look at the lists; on after the pair just visited.
        LookAgain(stage, l);
        FindShotCharaPairs(l);
        const int si = FindEntry(l.shots, s.object);
        const int ci = FindEntry(l.charas, c.object);
        if (si < 0 || ci < 0) break;
        i = PairAfter(l, ShotCharaKey(l, si, ci));
    }
    RemoveIfAlive(stage, due, dueNumber);
    return 0;
}

// --- pass 2: characters against characters

// The visiting order: first group, second group, first, second.
std::uint64_t CharaCharaKey(const Looks& l, int a, int b)
{
    return PairKey(l.charas[static_cast<std::size_t>(a)].group,
                   l.charas[static_cast<std::size_t>(b)].group, a, b);
}

// Puts the characters in the order of their left edges: from the order of
// the look before when it holds the same characters (they moved a little, so
// an insertion sort has little to do), else anew. Which of two equal left
// edges comes first does not matter.
void OrderByLeft(Looks& l)
{
    const std::size_t n = l.charas.size();
    auto place = [&l](Looks::SweepBox& e) {
        const std::size_t k = static_cast<std::size_t>(e.index);
        e.box = l.charaContact[k];
        e.group = l.charaGroup[k];
        if (!l.charaMeets[k] || !HoldsPoints(e.box)) {
            e.box.x1 = std::numeric_limits<double>::infinity();
            e.group = -1;
        }
    };
    auto before = [](const Looks::SweepBox& x, const Looks::SweepBox& y) {
        return x.box.x1 < y.box.x1;
    };
    if (!l.charasSame || l.sweep.size() != n) {
        l.sweep.resize(n);
        for (std::size_t k = 0; k < n; ++k) {
            l.sweep[k].index = static_cast<int>(k);
            place(l.sweep[k]);
        }
        std::sort(l.sweep.begin(), l.sweep.end(), before);
        return;
    }
    for (Looks::SweepBox& e : l.sweep)
        place(e);
    for (std::size_t k = 1; k < n; ++k)
        for (std::size_t j = k; j > 0 && before(l.sweep[j], l.sweep[j - 1]); --j)
            std::swap(l.sweep[j], l.sweep[j - 1]);
}

// Sorts the contacts into the visiting order without comparing keys: each
// is threaded, ascending by its second character, onto a chain of its first
// (a handful each); the chains in the order of the characters give the
// contacts ascending by both, and a stable count sort by the group pair
// (the key's top six bits) then gives the visiting order.
void SortContacts(Looks& l)
{
    constexpr int kBuckets = 64;
    int start[kBuckets + 1] = {};
    const Pair* const found = l.pairs.data();
    const int count = static_cast<int>(l.pairs.size());
    l.chainHead.assign(l.charas.size(), -1);
    l.chainNext.resize(l.pairs.size());
    int* const head = l.chainHead.data();
    int* const next = l.chainNext.data();
    for (int p = 0; p < count; ++p) {
        ++start[(found[p].key >> 58) + 1];
        int* link = &head[found[p].a];
        while (*link >= 0 && found[*link].b < found[p].b)
            link = &next[*link];
        next[p] = *link;
        *link = p;
    }
    for (int b = 0; b < kBuckets; ++b)
        start[b + 1] += start[b];
    l.sorted.resize(l.pairs.size());
    Pair* const sorted = l.sorted.data();
    for (std::size_t a = 0; a < l.charas.size(); ++a)
        for (int p = head[a]; p >= 0; p = next[p])
            sorted[start[found[p].key >> 58]++] = found[p];
    l.pairs.swap(l.sorted);
}

// The characters that meet, swept in the order of their left edges: each
// looks only at those whose left edge lies within its own width.
void FindCharaCharaPairs(Looks& l)
{
    OrderByLeft(l);
    const Looks::SweepBox* const boxes = l.sweep.data();
    const std::size_t n = l.sweep.size();
    l.pairs.clear();
    for (std::size_t u = 0; u < n; ++u) {
        const DRect a = boxes[u].box;
        const int gi = boxes[u].group;
        if (gi < 0) continue;
        for (std::size_t v = u + 1; v < n; ++v) {
            const DRect& b = boxes[v].box;
            if (b.x1 > a.x2) break;
            if (b.y1 > a.y2 || b.y2 < a.y1) continue;
            const int gj = boxes[v].group;
            if (gi == gj || gj < 0) continue;
            const int i = boxes[u].index;
            const int j = boxes[v].index;
            const int first = gi < gj ? i : j;
            const int second = gi < gj ? j : i;
            l.pairs.push_back(
                {PairKey(std::min(gi, gj), std::max(gi, gj), first, second), first, second});
        }
    }
    SortContacts(l);
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

int CharasAgainstCharas(cRunningStage& stage, Looks& l)
{
    if (!l.charasCurrent) LookAtCharas(stage, l);
    FindCharaCharaPairs(l);
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
        l.shotsCurrent = false;
        LookAtCharas(stage, l);
        FindCharaCharaPairs(l);
        const int ai = FindEntry(l.charas, a.object);
        const int bi = FindEntry(l.charas, b.object);
        if (ai < 0 || bi < 0) break;
        i = PairAfter(l, CharaCharaKey(l, ai, bi));
    }
    return 0;
}

// --- pass 3: shots against shots

void ShotsAgainstShots(cRunningStage& stage, Looks& l)
{
    if (!l.shotsCurrent) LookAtShots(stage, l);
    // Only pairs of shots in different groups, one of which collides with
    // shots, count: every shot looks for them in a grid of the colliders.
    if (l.colliders.empty()) return;
    if (!l.shotShotCurrent) {
        l.shotShot.clear();
        const GridLayer layers[] = {{&l.colliderBox, &l.colliderGroup, nullptr}};
        l.grid.Build(layers);
        const GridAsk asks[] = {{&l.shotBox, &l.shotShot}};
        l.grid.Pairs(l.shotGroup, asks);
    }
    l.pairs.clear();
    for (const GridPair& f : l.shotShot) {
        const int k = f.query;
        const int m = l.colliders[static_cast<std::size_t>(f.entered)];
        const int gk = l.shots[static_cast<std::size_t>(k)].group;
        const int gm = l.shots[static_cast<std::size_t>(m)].group;
        // A pair of two colliding shots is found from each side: kept once.
        if (l.shotCollides[static_cast<std::size_t>(k)] && m < k) continue;
        const int p = gk < gm ? k : m;
        const int q = gk < gm ? m : k;
        l.pairs.push_back({PairKey(std::min(gk, gm), std::max(gk, gm), p, q), p, q});
    }
    SortByKey(l.pairs);
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
    Looks& l = TheLooks();
    l.shotsCurrent = l.charasCurrent = false;
    const std::int32_t setUps = stage.m_SetStageCount;
    if (ShotPassRuns(stage) && !stage.m_ShotList.empty())
        if (const int r = ShotsAgainstCharas(stage, l)) return r;
    if (stage.m_SetStageCount != setUps) return 0;
    if (const int r = CharasAgainstCharas(stage, l)) return r;
    if (stage.m_SetStageCount != setUps) return 0;
    ShotsAgainstShots(stage, l);
    return 0;
}
