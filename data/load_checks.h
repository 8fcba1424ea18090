#pragma once
// Checks shared by the records of the data files while they are read: plain
// values read only when they are there, references outside their tables,
// the name of the file being read, faults of content that refuse a file
// outright, the limit on flows nested
// within commands, and the list insertions and cell moves that bring files
// of older versions up to date.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/byte_reader.h"

// Reads one little-endian value into v; when the bytes are not there (or the
// reader has failed) v keeps its value and the reader is failed.
template <class T> bool ReadKept(plat::ByteReader& f, T& v)
{
    static_assert(std::is_trivially_copyable_v<T>);
    T value{};
    if (!f.readBytes(&value, sizeof value)) return false;
    v = value;
    return true;
}

// A table index that names no record: negative, or not below the count (the
// game compares indices unsigned, so both count as out of range).
inline bool OutsideTable(long long index, std::size_t count)
{
    return index < 0 || static_cast<unsigned long long>(index) >= count;
}

// What an out-of-range reference is reset to: the record the game names for
// the purpose (usually 1, the first real record) while the table holds it,
// otherwise 0, the none record, so that a table of a single record never
// gets a reference past its end.
inline std::int32_t ResetTarget(std::int32_t replacement, std::size_t count)
{
    return OutsideTable(replacement, count) ? 0 : replacement;
}

// Moves elements i to size - 2 up one place (the last is lost; element i
// keeps its value for the caller to set). Nothing when i is beyond the list.
template <class T> void ShiftUp(std::vector<T>& v, int i)
{
    if (i < 0) return;
    for (int j = static_cast<int>(v.size()) - 1; j > i; --j) {
        v[static_cast<std::size_t>(j)] = v[static_cast<std::size_t>(j - 1)];
    }
}

// An entry that a later version inserted at i into a list of fixed length:
// the list of an older file takes that length (new entries value-initialised),
// the entries from i on move up one place (the last drops out) and entry i
// becomes value.
template <class T>
void InsertEntry(std::vector<T>& v, std::size_t length, std::size_t i,
                 std::type_identity_t<T> value)
{
    v.resize(length);
    if (i >= length) return;
    ShiftUp(v, static_cast<int>(i));
    v[i] = std::move(value);
}

// The last cell of the shot sheet.
inline constexpr int kLastShotCell = 119;

// The shot sheet gained a first cell (files before version 219, shot parts
// before 220): a cell number of an older file moves up by one, at most to
// the last cell.
inline std::int16_t MovedShotCell(std::int16_t cell)
{
    return static_cast<std::int16_t>(std::min(cell + 1, kLastShotCell));
}

// The name of the data file being read on this thread, for the lines that
// report what was found in it; set when the file is opened.
void SetReadingFileName(std::string_view name);
const std::string& ReadingFileName();

// A fault of content (flows nested too deep): fails the reader and notes the
// fault on this thread, so that a file is refused even where a short file
// would be read as far as it goes.
void MarkBadContent(plat::ByteReader& f);
// Whether a fault of content was noted on this thread since the last call;
// clears the note.
bool TakeBadContent();

// How deep flows may lie within commands within flows (a character's own
// flows are level 1). Authors' data goes to level 2 at most (an item's
// flow-change command installs flows whose commands hold no flows); anything
// deeper is a damaged file, which would otherwise recurse until the stack
// runs out.
inline constexpr int kMaxFlowNesting = 16;

// Counts one level of flows while a flow is read, on this thread. ok() is
// false past kMaxFlowNesting levels.
class FlowNesting {
public:
    FlowNesting();
    ~FlowNesting();
    FlowNesting(const FlowNesting&) = delete;
    FlowNesting& operator=(const FlowNesting&) = delete;
    bool ok() const;
};
