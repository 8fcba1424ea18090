// The running stage: its containers, objects by number, the one removal
// routine of each kind, the block map's cells, and the fatal-hit outcome.

#include "world/running_stage.h"

#include <utility>

#include "core/checked_access.h"
#include "world/conditions.h"
#include "world/world_services.h"

cRunningStage* g_RunStage = nullptr;

cRunningStage& EmptyRunStage()
{
    static cRunningStage empty;
    return empty;
}

cRunningStage::cRunningStage()
    : m_CharaGroups(kGroupCount), m_ShotGroups(kGroupCount), m_StageVars(kStageVarCount, 0),
      m_FlowFlags(kAreaSwitchCount, 0)
{
}

cRunningStage::~cRunningStage()
{
    if (g_RunStage == this) g_RunStage = nullptr;
}

void cRunningStage::ScenePhase(int phase, int subState)
{
    m_AskedPhase = phase;
    m_AskedSubState = subState;
}

void cRunningStage::ScenePrepareResults()
{
}
void cRunningStage::SceneResetCounters()
{
}
void cRunningStage::SceneLoadRankings()
{
}
void cRunningStage::SceneResetMenuCursor()
{
}

void cRunningStage::SceneFrameRate(int rate)
{
    m_FrameRate = rate;
}

int cRunningStage::SceneInPauseMenu() const
{
    return 0;
}

int cRunningStage::SceneStopping() const
{
    return 0;
}

namespace {

template <class T> T* ByNumber(std::vector<T*>& index, int number)
{
    if (number < 0 || static_cast<std::size_t>(number) >= index.size()) return nullptr;
    return index[static_cast<std::size_t>(number)];
}

template <class T> void Register(std::vector<T*>& index, int number, T* object)
{
    if (number < 0) return;
    if (static_cast<std::size_t>(number) >= index.size())
        index.resize(static_cast<std::size_t>(number) + 1, nullptr);
    index[static_cast<std::size_t>(number)] = object;
}

template <class T> void Unregister(std::vector<T*>& index, int number, const T* object)
{
    if (ByNumber(index, number) == object) index[static_cast<std::size_t>(number)] = nullptr;
}

} // namespace

cCharaObj* cRunningStage::FindCharaByNumber(int number)
{
    return ByNumber(m_CharaByNo, number);
}

cShotObj* cRunningStage::FindShotByNumber(int number)
{
    return ByNumber(m_ShotByNo, number);
}

cItemObj* cRunningStage::FindItemByNumber(int number)
{
    return ByNumber(m_ItemByNo, number);
}

void cRunningStage::LinkChara(cCharaObj& chara)
{
    Register(m_CharaByNo, chara.m_ObjNo, &chara);
    VecAt(m_CharaGroups, chara.m_Group).Add(chara);
    chara.m_GroupList = chara.m_Group >= 0 && chara.m_Group < kGroupCount ? chara.m_Group : 0;
}

void cRunningStage::UnlinkChara(cCharaObj& chara)
{
    Unregister(m_CharaByNo, chara.m_ObjNo, &chara);
    if (chara.m_GroupList >= 0) {
        m_CharaGroups[static_cast<std::size_t>(chara.m_GroupList)].Remove(chara);
        chara.m_GroupList = -1;
    }
}

cNpcObj& cRunningStage::AddChara(const cNpcObj& chara)
{
    cNpcObj& stored = m_CharaList.emplace_back(chara);
    LinkChara(stored);
    return stored;
}

cItemObj& cRunningStage::AddItem(const cItemObj& item)
{
    cItemObj& stored = m_ItemList.emplace_back(item);
    Register(m_ItemByNo, stored.m_ObjNo, &stored);
    return stored;
}

cShotObj& cRunningStage::AddShot(cShotObj shot)
{
    cShotObj& stored = m_ShotList.emplace_back(std::move(shot));
    stored.m_ListNode = std::prev(m_ShotList.end());
    stored.m_BornSubStep = m_SubStepTotal;
    Register(m_ShotByNo, stored.m_ObjNo, &stored);
    VecAt(m_ShotGroups, stored.m_Group).Add(stored);
    stored.m_GroupList = stored.m_Group >= 0 && stored.m_Group < kGroupCount ? stored.m_Group : 0;
    return stored;
}

void cRunningStage::SetTarget(cCharaObj& chara, int targetNo)
{
    if (cCharaObj* old = FindCharaByNumber(chara.m_TargetNo))
        std::erase(old->m_TargetedBy, chara.m_ObjNo);
    chara.m_TargetNo = -1;
    if (cCharaObj* target = FindCharaByNumber(targetNo)) {
        chara.m_TargetNo = targetNo;
        if (!HoldsChara(target->m_TargetedBy, chara.m_ObjNo))
            target->m_TargetedBy.push_back(chara.m_ObjNo);
    }
}

std::list<cNpcObj>::iterator cRunningStage::EraseChara(std::list<cNpcObj>::iterator it)
{
    cNpcObj& chara = *it;
    for (std::int32_t number : chara.m_TargetedBy)
        if (cCharaObj* other = FindCharaByNumber(number))
            if (other->m_TargetNo == chara.m_ObjNo) other->m_TargetNo = -1;
    for (std::int32_t number : chara.m_AimedShots)
        if (cShotObj* shot = FindShotByNumber(number))
            if (shot->m_TargetNo == chara.m_ObjNo) shot->m_TargetNo = -1;
    if (cCharaObj* target = FindCharaByNumber(chara.m_TargetNo))
        std::erase(target->m_TargetedBy, chara.m_ObjNo);
    UnlinkChara(chara);
    if (m_CurChara == &chara) m_CurChara = nullptr;
    for (cListWalk<cNpcObj>* walk : m_CharaWalks)
        walk->Removing(it);
    return m_CharaList.erase(it);
}

std::list<cShotObj>::iterator cRunningStage::RemoveShot(std::list<cShotObj>::iterator it)
{
    cShotObj& shot = *it;
    if (shot.m_GroupList >= 0) {
        m_ShotGroups[static_cast<std::size_t>(shot.m_GroupList)].Remove(shot);
        shot.m_GroupList = -1;
    }
    if (cCharaObj* target = FindCharaByNumber(shot.m_TargetNo))
        std::erase(target->m_AimedShots, shot.m_ObjNo);
    Unregister(m_ShotByNo, shot.m_ObjNo, &shot);
    for (cListWalk<cShotObj>* walk : m_ShotWalks)
        walk->Removing(it);
    return m_ShotList.erase(it);
}

std::list<cItemObj>::iterator cRunningStage::RemoveItem(std::list<cItemObj>::iterator it)
{
    Unregister(m_ItemByNo, it->m_ObjNo, &*it);
    for (cListWalk<cItemObj>* walk : m_ItemWalks)
        walk->Removing(it);
    return m_ItemList.erase(it);
}

std::list<cNpcObj>::iterator cRunningStage::CharaNode(const cCharaObj& chara)
{
    for (auto it = m_CharaList.begin(); it != m_CharaList.end(); ++it)
        if (&*it == &chara) return it;
    return m_CharaList.end();
}

int cRunningStage::KillObject(cCharaObj& chara)
{
    if (chara.m_Operator == 0) return 2;
    if (chara.m_Dying) return 0;
    return chara.KillChara();
}

int cRunningStage::HandleFatalHit(cCharaObj& chara)
{
    const int result = KillObject(chara);
    if (result == 1) {
        ScenePrepareResults();
        ScenePhase(PHASE_CLEAR, 0);
    } else if (result == 2 && !Player.empty()) {
        WorldServices().PlaySe(8);
        if (Player.front().KillChara() == 1) {
            ScenePrepareResults();
            ScenePhase(PHASE_CLEAR, 0);
        }
    }
    return result;
}

BlockCell& cRunningStage::OutsideCell()
{
    m_OutsideCell.Reset();
    return m_OutsideCell;
}

int cRunningStage::CellIndex(const BlockCell* cell) const
{
    if (!cell || m_BlockMap.empty()) return -1;
    const BlockCell* first = m_BlockMap.data();
    if (cell < first || cell >= first + m_BlockMap.size()) return -1;
    return static_cast<int>(cell - first);
}

bool cRunningStage::BlockCondsHold(BlockCell& cell)
{
    return TestBlockConds(cell) != 0;
}
