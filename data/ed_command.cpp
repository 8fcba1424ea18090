#include "data/ed_command.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>

#include "core/report.h"
#include "data/command_info.h"
#include "data/ed_block.h"
#include "data/ed_chara.h"
#include "data/ed_database.h"
#include "data/ed_flow.h"
#include "data/ed_item.h"
#include "data/load_checks.h"
#include "data/palette_refs.h"
#include "data/test_flows.h"

namespace {

using Params = std::vector<std::int32_t>;

// Character command kinds named in the checks and upgrades.
enum CharaKind {
    kShot = 11,
    kSword = 12,
    kBlockSummon = 13,
    kCharaSummon = 14,
    kItemSummon = 15,
    kFlowOp = 16,
    kStageClear = 17,
    kTarget = 21,
    kStatus = 22,
    kStatus2 = 23,
    kItemGet = 24,
    kGraphic = 25,
    kAnimeSet = 26,
    kAnime = 27,
    kEffect = 28,
    kCharaEffect = 29,
    kScrEffect = 30,
    kPicture = 31,
    kSound = 34,
    kBgm = 35,
};

// The character kind that a command stands for: its own kind in a character
// command list; in a flow/item list, kind k from 2 on is character kind
// k + 15, and the flow change (1) and none (0) stand for none (-1). The
// checks and upgrades of a kind are the same in either list.
int CharaKindOf(const cEdCommand& c)
{
    if (c.m_ListKind == 0) return c.m_Kind;
    return c.m_Kind >= 2 ? c.m_Kind + 15 : -1;
}

std::int32_t ParamAt(const Params& p, std::size_t i)
{
    return i < p.size() ? p[i] : 0;
}

// Adds to a parameter that is there, saturating instead of overflowing.
void AddToParam(Params& p, std::size_t i, std::int64_t add, std::int64_t most)
{
    if (i >= p.size()) return;
    p[i] = static_cast<std::int32_t>(std::min<std::int64_t>(p[i] + add, most));
}

constexpr std::int64_t kNoLimit = std::numeric_limits<std::int32_t>::max();

// Statuses were inserted into the status list (at 10, later at 5): both
// sides of a status operation move up past the insertion point, as the
// conditions do, unless they name a system status.
void ShiftStatusParams(Params& p, int threshold)
{
    if (ParamAt(p, 0) == 0 && ParamAt(p, 3) != 2 && ParamAt(p, 4) >= threshold) {
        AddToParam(p, 4, 1, kNoLimit);
    }
    if (ParamAt(p, 6) == 2 && ParamAt(p, 12) != 2 && ParamAt(p, 13) >= threshold) {
        AddToParam(p, 13, 1, kNoLimit);
    }
}

// A switch value was inserted at 6 into the second status operation.
void ShiftStatus2Params(Params& p)
{
    if (ParamAt(p, 0) != 2 && ParamAt(p, 1) >= 6) AddToParam(p, 1, 1, kNoLimit);
}

// The shot sheet gained a first cell: a graphic change to it moves up by one.
void ShiftGraphicParams(Params& p)
{
    if (ParamAt(p, 0) == 3) AddToParam(p, 1, 1, kLastShotCell);
}

// Brings the parameters (and the shot part) of a file of version v up to date.
void UpgradeParams(cEdCommand& c, int v)
{
    Params& p = c.m_Params;
    const int kind = CharaKindOf(c);
    if (v < 145 && kind == kStageClear) p.resize(5, 0);
    if (v < 166 && kind == kBgm) {
        p.resize(2, 0);
        p[1] = 1;
    }
    if (v < 168 && kind == kStatus) ShiftStatusParams(p, 10);
    if (v < 189 && kind == kTarget) InsertEntry(p, 10, 2, 0);
    if (v < 194 && kind == kPicture) InsertEntry(p, 11, 6, 1);
    if (v < 195 && (kind == kCharaEffect || kind == kScrEffect)) InsertEntry(p, 3, 1, 0);
    if (v < 203) {
        if (kind == kCharaSummon || kind == kItemSummon) p.clear();
        if (kind == kFlowOp) p.resize(3, 0);
        if (kind == kStatus) ShiftStatusParams(p, 5);
    }
    if (v < 210 && kind == kStatus2) ShiftStatus2Params(p);
    if (v < 219 && kind == kGraphic) ShiftGraphicParams(p);
    if (v < 220 && kind == kShot && c.m_Shot) {
        c.m_Shot->m_Graphic = MovedShotCell(c.m_Shot->m_Graphic);
    }
}

// What of a command no table holds: its kind, its fire pattern or its shot
// movement, which the executors would index their tables with.
struct UnknownPart {
    const char* what;
    int value;
};

std::optional<UnknownPart> FindUnknownPart(const cEdCommand& c)
{
    if (!FindCommandInfo(c.m_ListKind, c.m_Kind)) return UnknownPart{"command kind", c.m_Kind};
    if (!c.m_Shot) return std::nullopt;
    const int kind = CharaKindOf(c);
    const bool firesPattern = kind == kShot || (kind >= kBlockSummon && kind <= kItemSummon);
    if (firesPattern && c.m_Shot->m_Pattern >= kShotPatternCount) {
        return UnknownPart{"fire pattern", c.m_Shot->m_Pattern};
    }
    if (kind == kShot && c.m_Shot->m_MoveKind >= kShotMoveKindCount) {
        return UnknownPart{"shot movement", c.m_Shot->m_MoveKind};
    }
    return std::nullopt;
}

// A command that nothing can run stays in its list as a step of kind 0:
// no parameters, parts, flows, text, sound or animation; its timing stays,
// so the steps after it keep theirs.
void MakeInert(cEdCommand& c)
{
    c.m_Kind = 0;
    c.m_Params.clear();
    c.m_Text.clear();
    c.m_Move.reset();
    c.m_Shot.reset();
    c.m_Flows.clear();
    c.m_Sound = 0;
    c.m_Anime = 0;
}

// The duration of a swing: the times of the sword type's parts, the running
// sum capped at 9999 after each addition.
std::int16_t SwordTime(const cEdSwordType& type)
{
    std::int64_t sum = 0;
    for (const cEdSwordPart& part : type.m_Parts) {
        sum = std::min<std::int64_t>(sum + part.m_Setting[9], 9999);
    }
    return static_cast<std::int16_t>(std::max<std::int64_t>(sum, INT16_MIN));
}

// The kinds whose parameter 0 names a record of a database table, and what
// a reference outside the table becomes (ResetTarget).
struct FirstParamRef {
    int m_Kind;
    std::size_t (*m_TableSize)(const cEdDatabase&);
    std::int32_t m_Replacement;
};

constexpr FirstParamRef kFirstParamRefs[] = {
    {kAnimeSet, [](const cEdDatabase& db) { return db.AnimeSet.size(); }, 0},
    {kAnime, [](const cEdDatabase& db) { return db.Anime.size(); }, 1},
    {kEffect, [](const cEdDatabase& db) { return db.Effect.size(); }, 1},
    {kCharaEffect, [](const cEdDatabase& db) { return db.CharaEffect.size(); }, 1},
    {kScrEffect, [](const cEdDatabase& db) { return db.ScrEffect.size(); }, 1},
    {kPicture, [](const cEdDatabase& db) { return db.Picture.size(); }, 1},
    {kSound, [](const cEdDatabase& db) { return db.Sound.size(); }, 1},
    {kBgm, [](const cEdDatabase& db) { return db.Bgm.size(); }, 1},
};

// The item acquisition names an item of the common (p0 0) or stage (1)
// palette; an index outside it becomes 1 (0 while the palette has no entry 1).
void CheckItemGet(Params& p)
{
    if (p.size() < 2 || (p[0] != 0 && p[0] != 1)) return;
    const std::size_t count = PaletteCount<cEdItem>(p[0] + 1);
    if (OutsideTable(p[1], count)) p[1] = ResetTarget(1, count);
}

} // namespace

cEdCommand::cEdCommand() = default;
cEdCommand::~cEdCommand() = default;
cEdCommand::cEdCommand(cEdCommand&&) noexcept = default;
cEdCommand& cEdCommand::operator=(cEdCommand&&) noexcept = default;

cEdCommand::cEdCommand(const cEdCommand& src) : cEdData(src)
{
    *this = src;
}

cEdCommand& cEdCommand::operator=(const cEdCommand& src)
{
    if (this == &src) return *this;
    cEdData::operator=(src);
    m_ListKind = src.m_ListKind;
    m_Kind = src.m_Kind;
    m_Params = src.m_Params;
    m_Text = src.m_Text;
    if (src.m_Move) {
        MakeMovePart(m_Move);
        *m_Move = *src.m_Move;
    } else {
        m_Move.reset();
    }
    if (src.m_Shot) {
        MakeShotPart(m_Shot);
        *m_Shot = *src.m_Shot;
    } else {
        m_Shot.reset();
    }
    m_Time = src.m_Time;
    m_TimeStep = src.m_TimeStep;
    m_Parallel = src.m_Parallel;
    m_Sound = src.m_Sound;
    m_SoundOnScreen = src.m_SoundOnScreen;
    m_Anime = src.m_Anime;
    AssignFlowList(m_Flows, src.m_Flows);
    return *this;
}

void cEdCommand::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField1(&m_ListKind, 1);
    AddField1(&m_Kind, 1);
    AddString(&m_Text, 1);
    AddField2(&m_Time, 1);
    AddField2(&m_TimeStep, 1);
    AddField1(&m_Parallel, 1);
    AddField2(&m_Sound, 1);
    AddField1(&m_SoundOnScreen, 1);
    AddField2(&m_Anime, 1);
}

void cEdCommand::Load(plat::ByteReader& f)
{
    const std::size_t start = f.position();
    cEdData::Load(f);
    std::int32_t hasPart = 0;
    ReadKept(f, hasPart);
    if (hasPart != 0) {
        MakeMovePart(m_Move);
        m_Move->Load(f);
    } else {
        m_Move.reset();
    }
    hasPart = 0;
    ReadKept(f, hasPart);
    if (hasPart != 0) {
        MakeShotPart(m_Shot);
        m_Shot->Load(f);
    } else {
        m_Shot.reset();
    }
    LoadFlowList(m_Flows, f);
    LoadValues(m_Params, f);
    if (const auto unknown = FindUnknownPart(*this)) {
        ReportLog("%s: the command at byte %zu has %s %d, which no table holds; it is read as a "
                  "command without effect",
                  ReadingFileName().c_str(), start, unknown->what, unknown->value);
        MakeInert(*this);
    }

    if (g_FileVersion < kDataVersion) UpgradeParams(*this, g_FileVersion);
    if (!KeepTestFlows()) PurgeTestFlows(m_Flows);
    CheckParams();
}

void cEdCommand::Save(ByteWriter& f)
{
    CheckParams();
    cEdData::Save(f);
    f.writeI32(m_Move ? 1 : 0);
    if (m_Move) m_Move->Save(f);
    f.writeI32(m_Shot ? 1 : 0);
    if (m_Shot) m_Shot->Save(f);
    SaveVector(m_Flows, f);
    SaveValues(m_Params, f);
}

void cEdCommand::Clear()
{
    cEdData::Clear();
    m_Move.reset();
    m_Shot.reset();
    m_SoundOnScreen = 1;
}

void cEdCommand::CheckParams()
{
    const cEdDatabase& db = g_Database;
    if (OutsideTable(m_Anime, db.Anime.size())) m_Anime = 0;
    if (OutsideTable(m_Sound, db.Sound.size())) m_Sound = 0;
    const CommandInfo* info = FindCommandInfo(m_ListKind, m_Kind);
    m_Params.resize(info ? static_cast<std::size_t>(info->m_ParamCount) : 0, 0);

    const int kind = CharaKindOf(*this);
    if (kind == kSword && m_Shot) {
        if (OutsideTable(m_Shot->m_MoveKind, db.SwordType.size())) m_Shot->m_MoveKind = 0;
        if (m_Shot->m_MoveKind < db.SwordType.size()) {
            m_Time = SwordTime(db.SwordType[m_Shot->m_MoveKind]);
        }
    }
    for (const FirstParamRef& ref : kFirstParamRefs) {
        if (ref.m_Kind != kind || m_Params.empty()) continue;
        const std::size_t size = ref.m_TableSize(db);
        if (OutsideTable(m_Params[0], size)) m_Params[0] = ResetTarget(ref.m_Replacement, size);
    }
    for (cEdFlow& flow : m_Flows)
        flow.Check();
}

void cEdCommand::CheckRefs()
{
    const int kind = CharaKindOf(*this);
    if ((kind == kShot || kind == kSword) && m_Shot) {
        CheckPaletteRef<cEdItem>(m_Shot->m_ItemPalette, m_Shot->m_ItemIndex);
    }
    if (kind >= kBlockSummon && kind <= kItemSummon && m_Shot &&
        (m_Shot->m_SummonPalette == 0 || m_Shot->m_SummonPalette == 1)) {
        const int palette = m_Shot->m_SummonPalette + 1;
        const std::size_t count = kind == kBlockSummon   ? PaletteCount<cEdBlock>(palette)
                                  : kind == kCharaSummon ? PaletteCount<cEdChara>(palette)
                                                         : PaletteCount<cEdItem>(palette);
        if (OutsideTable(m_Shot->m_SummonIndex, count)) {
            m_Shot->m_SummonIndex =
                static_cast<decltype(m_Shot->m_SummonIndex)>(ResetTarget(1, count));
        }
    }
    if (kind == kItemGet) CheckItemGet(m_Params);
    for (cEdFlow& flow : m_Flows)
        flow.CheckRefs();
}

void LoadCommandList(std::vector<cEdCommand>& list, plat::ByteReader& f)
{
    LoadVector(list, f, cEdCommand{});
}

void AssignCommandList(std::vector<cEdCommand>& dst, const std::vector<cEdCommand>& src)
{
    dst = src;
}
