// The rankings records, their file and the ranking rules.

#include "scenes/rankings.h"

#include "core/path.h"
#include "core/report.h"
#include "data/path_table.h"

cEdRankSet g_RankSet;

namespace {

// Files older than this hold rankings whose HP and SP tables ranked lower
// values first (or hold fewer tables).
constexpr int kFirstRankOrderVersion = 181;
// The usual order of each kind's table: only the clear time ranks lower first.
constexpr std::int32_t kUsualOrders[kRankKinds] = {1, 1, 0, 1, 1};
// The least a stored table takes: its body's two counts and its entry count.
constexpr std::size_t kMinTableBytes = kMinRecordBytes + 4;

cEdRankEntry EmptyEntry()
{
    cEdRankEntry entry;
    entry.Clear();
    return entry;
}

cEdRankTable TableOfOrder(std::int32_t order)
{
    cEdRankTable table;
    table.m_Order = order;
    return table;
}

// A count read from the file: not negative, and that many elements of at
// least minBytes each must fit in the bytes left. Fails the reader otherwise.
bool ReadCount(plat::ByteReader& f, std::size_t minBytes, std::int32_t& count)
{
    if (!f.readI32(count)) return false;
    if (count < 0) {
        f.fail();
        return false;
    }
    return f.checkCount(static_cast<std::uint64_t>(count), minBytes);
}

} // namespace

void cEdRankEntry::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&m_Valid);
    AddString(&m_Name);
    AddField4(&m_Value);
}

cEdRankTable::cEdRankTable() : m_Entries(kRankPlaces, EmptyEntry())
{
}

void cEdRankTable::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&m_Order);
}

void cEdRankTable::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    std::int32_t count = 0;
    if (!ReadCount(f, kMinRecordBytes, count)) return;
    // Only the places a table has are kept: the rest of a longer list is
    // read past, so a huge count costs no memory.
    m_Entries.clear();
    cEdRankEntry extra;
    for (std::int32_t i = 0; i < count; ++i) {
        const bool kept = i < kRankPlaces;
        if (kept) m_Entries.push_back(EmptyEntry());
        cEdRankEntry& entry = kept ? m_Entries.back() : extra;
        entry.Load(f);
        if (f.failed()) return;
    }
    m_Entries.resize(kRankPlaces, EmptyEntry());
}

void cEdRankTable::Save(ByteWriter& f)
{
    cEdData::Save(f);
    f.writeI32(static_cast<std::int32_t>(m_Entries.size()));
    for (cEdRankEntry& entry : m_Entries)
        entry.Save(f);
}

cEdRankSet::cEdRankSet()
{
    ResetRankSet(*this);
}

void cEdRankSet::Load(plat::ByteReader& f)
{
    const int version = g_FileVersion;
    cEdData::Load(f);
    std::int32_t count = 0;
    if (!ReadCount(f, kMinTableBytes, count)) return;
    m_Tables.clear();
    cEdRankTable extra;
    for (std::int32_t i = 0; i < count; ++i) {
        const bool kept = i < kRankKinds;
        if (kept) m_Tables.emplace_back();
        cEdRankTable& table = kept ? m_Tables.back() : extra;
        table.Load(f);
        if (f.failed()) return;
    }
    if (version < kFirstRankOrderVersion) {
        while (m_Tables.size() < static_cast<std::size_t>(kRankKinds)) {
            m_Tables.emplace_back();
            FitRankTable(m_Tables.back());
        }
        m_Tables[RANK_REST_HP].m_Order = 1;
        m_Tables[RANK_REST_SP].m_Order = 1;
        return;
    }
    for (std::size_t k = m_Tables.size(); k < static_cast<std::size_t>(kRankKinds); ++k)
        m_Tables.push_back(TableOfOrder(kUsualOrders[k]));
}

void cEdRankSet::Save(ByteWriter& f)
{
    cEdData::Save(f);
    f.writeI32(static_cast<std::int32_t>(m_Tables.size()));
    for (cEdRankTable& table : m_Tables)
        table.Save(f);
}

int FindRankPos(const cEdRankTable& table, std::int32_t value)
{
    const int count = static_cast<int>(table.m_Entries.size());
    for (int i = 0; i < count; ++i) {
        const cEdRankEntry& entry = table.m_Entries[static_cast<std::size_t>(i)];
        if (!entry.m_Valid) return i;
        if (table.m_Order == 1 && value > entry.m_Value) return i;
        if (table.m_Order == 0 && value < entry.m_Value) return i;
    }
    return -1;
}

void InsertRank(cEdRankTable& table, const std::string& name, std::int32_t value)
{
    if (table.m_Entries.empty()) return;
    const int pos = FindRankPos(table, value);
    cEdRankEntry entry = EmptyEntry();
    entry.m_Valid = 1;
    entry.m_Name = name;
    entry.m_Value = value;
    std::vector<cEdRankEntry>& entries = table.m_Entries;
    if (pos < 0 || pos >= static_cast<int>(entries.size()))
        entries.push_back(std::move(entry));
    else
        entries.insert(entries.begin() + pos, std::move(entry));
    entries.pop_back();
}

void FitRankTable(cEdRankTable& table)
{
    table.m_Order = 0;
    table.m_Entries.resize(kRankPlaces, EmptyEntry());
}

void ResetRankSet(cEdRankSet& set)
{
    set.m_Tables.clear();
    for (std::int32_t order : kUsualOrders)
        set.m_Tables.push_back(TableOfOrder(order));
}

int MakeUserDataPath(std::string& out, int playKind, const std::string& stageName)
{
    out.clear();
    if (playKind < 0 || playKind > 2) return 0;
    std::string name = stageName;
    PathStripDir(name);
    out = g_PathTable[PATH_RANKING_STORY + static_cast<std::size_t>(playKind)] + name +
          g_ExtTable[EXT_RANKING];
    return 1;
}

int LoadRankSet(cEdRankSet& set, int playKind, const std::string& stageName)
{
    std::string path;
    auto file = MakeUserDataPath(path, playKind, stageName) ? OpenRead(path) : nullptr;
    if (file && LoadRecord(set, file->in)) return 1;
    if (file) Report("%s is damaged: its rankings start empty", path.c_str());
    ResetRankSet(set);
    return 0;
}

int SaveRankSet(cEdRankSet& set, int playKind, const std::string& stageName)
{
    std::string path;
    if (!MakeUserDataPath(path, playKind, stageName)) return 0;
    if (set.SaveFile(path)) return 1;
    Report("%s could not be written", path.c_str());
    return 0;
}
