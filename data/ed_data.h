#pragma once
// The record base of every data file.
//
// Every record kept in a data file derives from cEdData. A record class only
// says which members a file of a given data version holds (RegisterMembers);
// the base walks those two tables (plain members, then strings) to read,
// write, clear and copy the record. A class adds in its own Load and Save what
// the tables cannot describe: lists of sub-records, and the upgrades of files
// written by older versions, which compare g_FileVersion with fixed thresholds.
//
// Common layout of a data file (little-endian):
//   int32 data version of the writer (g_DataVersion, 511, for every file we write)
//   the top record's body, or for a database table an uint32 count and that many bodies
// Body of one record:
//   int32 N, then N member blocks: the raw image of each registered member
//     (element count x element size bytes, no separators)
//   int32 M, then M strings: uint32 L (length + 1), then unless L is 1 the
//     L bytes of the Shift-JIS text and its NUL
//   the class's own extras (typically lists: uint32 n and n bodies)
//
// Reading is bounded: every count and length is checked against the bytes
// left and against the registered tables. A file that announces more members
// or strings than its version registers, a string length of 0 or one past the
// end, or a count larger than the bytes left marks the reader failed; the
// caller sees the failure once, at the end, and throws the half-read record
// away. LoadFile reads into a copy of the record and keeps the copy only when
// the whole file read cleanly, so a missing or damaged file leaves the record
// as it was.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "data/byte_writer.h"
#include "platform/atomic_file.h"
#include "platform/byte_reader.h"

// The current data version (511): written first into every data file and
// used for every registration outside reading.
extern int g_DataVersion;
// The version of the file most recently opened for reading (set by OpenRead).
extern int g_FileVersion;
// While set, every string read by the record base loses its carriage returns.
// The start-up sets it, with g_DataVersion, before any file is read.
extern int g_StripCR;

// The version that this runtime writes.
inline constexpr int kDataVersion = 511;
// The smallest possible record body (the member and string counts): the
// least a counted list element can take, used to refuse impossible counts.
inline constexpr std::size_t kMinRecordBytes = 8;

class cEdData;

// One registered plain member (or array member) of a record.
struct FieldDesc {
    cEdData* m_Owner = nullptr;       // the record that holds the member
    std::uint8_t* m_Member = nullptr; // its first element
    std::int32_t m_Count = 0;         // element count
    std::uint8_t m_Size = 0;          // element size: 1, 2, 4 or 8 bytes
};

// One registered string member of a record.
struct StringDesc {
    cEdData* m_Owner = nullptr;
    std::string* m_String = nullptr;
};

class cEdData {
public:
    cEdData() = default;
    virtual ~cEdData() = default;
    // A copy starts with empty tables: every operation that walks the tables
    // registers first, so a copy never describes the record it came from.
    // (noexcept lets lists of records move their elements when they grow.)
    cEdData(const cEdData&) noexcept {}
    // The base part of every record's assignment: this record keeps its own
    // tables (they describe this record or are empty); the class copies its
    // members and lists.
    cEdData& operator=(const cEdData&) { return *this; }

    // Registers, in file order, exactly the members that a file of the given
    // version holds. Every override begins with ClearMemberTables().
    virtual void RegisterMembers(int version);
    // Reads a record body (version already read into g_FileVersion). A damaged
    // body marks the reader failed; the record is then half-read and is to be
    // thrown away. Afterwards the tables describe g_DataVersion.
    virtual void Load(plat::ByteReader& f);
    // Writes the record body at g_DataVersion.
    virtual void Save(ByteWriter& f);

    // The string part of Load and Save.
    void LoadStrings(plat::ByteReader& f);
    void SaveStrings(ByteWriter& f);

    // Registers at g_DataVersion, zeroes every registered member and empties
    // every registered string. Classes with defaults call it first.
    void Clear();
    // Copies the values of every registered member and string from a record
    // of the same class (lists are not copied).
    void Assign(cEdData& src);
    // Removes every carriage return from every registered string.
    void StripCR();
    // Writes the data version and the record to a data file, atomically.
    // 1 on success; 0 when the file cannot be written (the old file stays).
    int SaveFile(std::string_view path);

    // Entry i of the member or string table, through the checked access (an
    // index outside the table is reported and gives entry 0, or an entry
    // that describes nothing when the table is empty).
    FieldDesc& FieldAt(int i);
    StringDesc& StringAt(int i);
    int FieldCount() const { return static_cast<int>(m_Fields.size()); }
    int StringCount() const { return static_cast<int>(m_Strings.size()); }

protected:
    // Appends one member-table entry of the element size the name gives; an
    // array member is one entry with its element count.
    template <class T> void AddField1(T* member, int count = 1)
    {
        AddFieldSized<T, 1>(member, count);
    }
    template <class T> void AddField2(T* member, int count = 1)
    {
        AddFieldSized<T, 2>(member, count);
    }
    template <class T> void AddField4(T* member, int count = 1)
    {
        AddFieldSized<T, 4>(member, count);
    }
    template <class T> void AddField8(T* member, int count = 1)
    {
        AddFieldSized<T, 8>(member, count);
    }
    // Appends count string-table entries for one string member.
    void AddString(std::string* member, int count = 1);
    // Empties both tables.
    void ClearMemberTables();

private:
    template <class T, std::size_t Size> void AddFieldSized(T* member, int count)
    {
        static_assert(sizeof(T) == Size, "member size does not match the registration");
        static_assert(std::is_trivially_copyable_v<T>, "only plain values are registered");
        AddFieldBytes(member, count, Size);
    }
    void AddFieldBytes(void* member, int count, std::size_t size);
    void StripTableStrings();

    std::vector<FieldDesc> m_Fields;
    std::vector<StringDesc> m_Strings;
};

// The largest data file that is read (far beyond any the authoring tool
// makes): a larger one is refused as it stands rather than loaded.
inline constexpr std::size_t kMaxDataFileBytes = std::size_t{256} << 20;

// A data file opened for reading: its bytes and a bounded reader over them,
// positioned after the version.
struct ReadStream {
    std::vector<std::uint8_t> bytes;
    plat::ByteReader in{std::span<const std::uint8_t>{}};
};

// A data file opened for writing: the bytes are collected in memory and
// written to the atomic file by CloseFile.
struct WriteStream {
    plat::AtomicFile file;
    ByteWriter out;
};

// Opens a data file (a game path) and reads its version into g_FileVersion.
// Null when it cannot be opened or is larger than kMaxDataFileBytes; an
// empty path opens the name "err". A file too short for its version gives a
// stream whose reader has failed.
std::shared_ptr<ReadStream> OpenRead(std::string_view path);
// The same over bytes already in memory (tests, fuzzing, replays); the name
// stands for the file in the lines that report what was found in it.
std::shared_ptr<ReadStream> OpenReadBytes(std::vector<std::uint8_t> bytes,
                                          std::string_view name = "(memory)");
// Starts writing a data file and puts g_DataVersion first. Null when the file
// cannot be created.
std::shared_ptr<WriteStream> OpenWrite(std::string_view path);
// Writes the collected bytes and commits them; 1 when the file was written.
// The stream is released either way.
int CloseFile(std::shared_ptr<WriteStream>& stream);
// Releases a read stream.
void CloseFile(std::shared_ptr<ReadStream>& stream);

// The whole file image of a record: g_DataVersion and the record's body.
std::vector<std::uint8_t> SaveToBytes(cEdData& record);

// Reads a record body from f into a copy of the record, and replaces the
// record by the copy only when the reader has not failed. The copy starts
// from the record's values, so members that an older file lacks keep them.
template <class T> bool LoadRecord(T& record, plat::ByteReader& f)
{
    static_assert(std::is_base_of_v<cEdData, T>);
    T fresh(record);
    fresh.Load(f);
    if (f.failed()) return false;
    record = std::move(fresh);
    return true;
}

// Reads a whole data file into a record: 1 when it was read; 0 when it is
// missing or damaged, and the record is then unchanged.
template <class T> int LoadFile(T& record, std::string_view path)
{
    auto file = OpenRead(path);
    if (!file) return 0;
    return LoadRecord(record, file->in) ? 1 : 0;
}

// The same over a file image in memory.
template <class T> int LoadFileBytes(T& record, std::span<const std::uint8_t> bytes)
{
    auto file = OpenReadBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return LoadRecord(record, file->in) ? 1 : 0;
}

// Reads a list of records: uint32 n, then n bodies. The list becomes n copies
// of the default element, each read over. A count that cannot fit in the
// bytes left fails the reader before anything is allocated, and elements are
// made one at a time as they are read, so what a damaged file can make the
// reader allocate stays in proportion to the bytes it really holds.
template <class T> void LoadVector(std::vector<T>& v, plat::ByteReader& f, const T& defaultElement)
{
    std::uint32_t n = 0;
    if (!f.readU32(n) || !f.checkCount(n, kMinRecordBytes)) return;
    v.clear();
    for (std::uint32_t i = 0; i < n; ++i) {
        v.push_back(defaultElement);
        v.back().Load(f);
        if (f.failed()) return;
    }
}

// The same with the usual default element: constructed, registered at the
// current version and cleared.
template <class T> void LoadVector(std::vector<T>& v, plat::ByteReader& f)
{
    T defaultElement;
    defaultElement.RegisterMembers(kDataVersion);
    defaultElement.Clear();
    LoadVector(v, f, defaultElement);
}

// Writes a list of records: uint32 n, then each body.
template <class T> void SaveVector(std::vector<T>& v, ByteWriter& f)
{
    f.writeU32(static_cast<std::uint32_t>(v.size()));
    for (auto& element : v)
        element.Save(f);
}

// Reads a counted list of plain values (uint32 n, then n values of their
// natural size) into v, resized to n. Fails the reader on an impossible count.
template <class T> void LoadValues(std::vector<T>& v, plat::ByteReader& f)
{
    static_assert(std::is_trivially_copyable_v<T>);
    std::uint32_t n = 0;
    if (!f.readU32(n) || !f.checkCount(n, sizeof(T))) return;
    v.assign(n, T{});
    if (n != 0) f.readBytes(v.data(), n * sizeof(T));
}

// Writes a counted list of plain values.
template <class T> void SaveValues(const std::vector<T>& v, ByteWriter& f)
{
    static_assert(std::is_trivially_copyable_v<T>);
    f.writeU32(static_cast<std::uint32_t>(v.size()));
    f.writeBytes(v.data(), v.size() * sizeof(T));
}

// One string of a string list, stored as a record string is (uint32 L, then
// unless L is 1 the L bytes with their NUL). List strings keep their
// carriage returns. Reading fails the reader on a length of 0 or past the end.
void LoadListString(std::string& s, plat::ByteReader& f);
// Cuts the string at its first NUL (the string itself changes) and writes it.
void SaveListString(std::string& s, ByteWriter& f);
