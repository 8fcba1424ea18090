#pragma once
// The rankings of a stage: five tables of 20 places, one per ranking kind,
// kept per play kind in a file of the player's folder. Every stage name has
// its own set; a chain counts as one stage (its name has no "-1"), so the
// stage file name.stg4_NNN and the chain beginning with name-1.stg4_NNN
// both keep their rankings in name.rkg under user_data\story\,
// user_data\challenge\ or user_data\free\. Replays have none.
//
// File layout (int32 little-endian; the record base's bodies, data/ed_data.h):
//   int32 data version (511)
//   the set's body: 0 member blocks, 0 strings
//   int32 T tables, each: its body (1 member block: the order; 0 strings),
//     int32 E entries, each: its body (2 member blocks: valid, value;
//     1 string: the name)
//
// The counts of a file are bounded by its size, and whatever a file holds,
// a loaded set has exactly 5 tables of 20 places: more are cut, fewer are
// completed with empty ones, the stored orders are kept. A file that cannot
// be read whole leaves the set reset.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"

// The ranking kinds (index of a table, of a result and of a ranking position).
enum RankKind : int {
    RANK_SCORE = 0,
    RANK_REST_TIME = 1,
    RANK_CLEAR_TIME = 2, // hundredths of a second; lower ranks first
    RANK_REST_HP = 3,
    RANK_REST_SP = 4,
};
inline constexpr int kRankKinds = 5;
inline constexpr int kRankPlaces = 20;

// One place: a registered name and value.
class cEdRankEntry : public cEdData {
public:
    std::int32_t m_Valid = 0; // 1 when the place holds a result
    std::string m_Name;
    std::int32_t m_Value = 0;

    // m_Valid, m_Name, m_Value at every version.
    void RegisterMembers(int version) override;
};

// One ranking: its places in order and which way it ranks.
class cEdRankTable : public cEdData {
public:
    std::vector<cEdRankEntry> m_Entries; // kRankPlaces
    std::int32_t m_Order = 0;            // 1 higher values rank first, 0 lower

    // 20 empty places, order 0.
    cEdRankTable();
    // m_Order.
    void RegisterMembers(int version) override;
    // The body, then int32 E and E entries, of which the first 20 are kept;
    // fewer are completed with empty places.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
};

// The rankings of one stage name, one table per ranking kind.
class cEdRankSet : public cEdData {
public:
    std::vector<cEdRankTable> m_Tables; // by RankKind

    // As ResetRankSet leaves it.
    cEdRankSet();
    // The body, then int32 T and T tables, of which the first 5 are kept.
    // A file older than version 181 is completed with tables ranking lower
    // values first, and its tables 3 and 4 then rank higher values first;
    // a newer one missing tables is completed with empty tables of their
    // kinds' usual orders.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
};

// The rankings of the stage being played or shown.
extern cEdRankSet g_RankSet;

// The place a value would take in a table, or -1 when it ranks nowhere.
// Empty places rank any value; a value equal to a stored one ranks below it.
int FindRankPos(const cEdRankTable& table, std::int32_t value);
// Registers a value under a name at the place it ranks; the last place
// drops out, so the table keeps its length. A value that ranks nowhere
// changes nothing.
void InsertRank(cEdRankTable& table, const std::string& name, std::int32_t value);
// Order 0 and exactly 20 places (cut, or completed with empty ones).
void FitRankTable(cEdRankTable& table);
// Five tables of 20 empty places; only the clear time ranks lower values first.
void ResetRankSet(cEdRankSet& set);

// The rankings file of a play kind (0 story, 1 challenge, 2 free) and a
// stage name: the kind's folder, the name without its folders, and the
// extension "rkg" (the name ends with the point before its extension). 0,
// with out empty, for any other kind.
int MakeUserDataPath(std::string& out, int playKind, const std::string& stageName);
// Reads the rankings of a stage name: 1 when the file was read; 0 with the
// set reset when the kind has no folder or the file is missing or damaged
// (a damaged file is noted in the run report).
int LoadRankSet(cEdRankSet& set, int playKind, const std::string& stageName);
// Writes them through the atomic writer: 1 when written; 0 when the kind
// has no folder or the file cannot be written (noted in the run report; the
// old file stays).
int SaveRankSet(cEdRankSet& set, int playKind, const std::string& stageName);
