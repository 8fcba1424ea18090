#include "data/ed_data.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "core/checked_access.h"
#include "core/string_helpers.h"
#include "data/load_checks.h"

// Member blocks are the raw memory image of the members, which is the file's
// little-endian image only on a little-endian machine.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(double) == 8);

int g_DataVersion = kDataVersion;
int g_FileVersion = 0;
int g_StripCR = 0;

namespace {

// Reads one stored string: uint32 L (length with its NUL), then unless L is 1
// the L bytes, of which the text up to the first NUL is kept.
bool readStoredString(std::string& s, plat::ByteReader& f)
{
    std::uint32_t length = 0;
    if (!f.readU32(length)) return false;
    if (length == 0) {
        // Every stored length counts the NUL: 0 is never written.
        f.fail();
        return false;
    }
    if (length == 1) {
        s.clear();
        return true;
    }
    if (!f.checkCount(length, 1)) return false;
    std::string text(length, '\0');
    if (!f.readBytes(text.data(), length)) return false;
    SyncStrLen(text);
    s = std::move(text);
    return true;
}

// Cuts the string at its first NUL and writes it as a stored string.
void writeStoredString(std::string& s, ByteWriter& f)
{
    SyncStrLen(s);
    f.writeU32(static_cast<std::uint32_t>(s.size() + 1));
    if (!s.empty()) f.writeBytes(s.c_str(), s.size() + 1);
}

void stripCarriageReturns(std::string& s)
{
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
}

} // namespace

void cEdData::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
}

void cEdData::AddFieldBytes(void* member, int count, std::size_t size)
{
    m_Fields.push_back(FieldDesc{this, static_cast<std::uint8_t*>(member), count,
                                 static_cast<std::uint8_t>(size)});
}

void cEdData::AddString(std::string* member, int count)
{
    for (int i = 0; i < count; ++i)
        m_Strings.push_back(StringDesc{this, member});
}

void cEdData::ClearMemberTables()
{
    m_Fields.clear();
    m_Strings.clear();
}

FieldDesc& cEdData::FieldAt(int i)
{
    return VecAt(m_Fields, i);
}

StringDesc& cEdData::StringAt(int i)
{
    StringDesc& d = VecAt(m_Strings, i);
    // An empty table hands out a shared entry that names no string; give it
    // a scratch string so that callers never follow a null pointer.
    static std::string scratch;
    if (!d.m_String) d.m_String = &scratch;
    return d;
}

void cEdData::Load(plat::ByteReader& f)
{
    RegisterMembers(g_FileVersion);
    std::int32_t n = 0;
    if (f.readI32(n)) {
        // A file of this version holds exactly the registered members; more
        // blocks than that cannot be placed anywhere.
        if (n < 0 || n > FieldCount()) f.fail();
        for (int i = 0; i < n && !f.failed(); ++i) {
            const FieldDesc& d = m_Fields[static_cast<std::size_t>(i)];
            f.readBytes(d.m_Member, static_cast<std::size_t>(d.m_Count) * d.m_Size);
        }
    }
    LoadStrings(f);
    if (g_StripCR && !f.failed()) StripTableStrings();
    RegisterMembers(g_DataVersion);
}

void cEdData::LoadStrings(plat::ByteReader& f)
{
    std::int32_t m = 0;
    if (!f.readI32(m)) return;
    if (m < 0 || m > StringCount()) {
        f.fail();
        return;
    }
    for (int i = 0; i < m; ++i) {
        if (!readStoredString(*m_Strings[static_cast<std::size_t>(i)].m_String, f)) return;
    }
}

void cEdData::Save(ByteWriter& f)
{
    RegisterMembers(g_DataVersion);
    f.writeI32(FieldCount());
    for (const FieldDesc& d : m_Fields) {
        f.writeBytes(d.m_Member, static_cast<std::size_t>(d.m_Count) * d.m_Size);
    }
    SaveStrings(f);
}

void cEdData::SaveStrings(ByteWriter& f)
{
    f.writeI32(StringCount());
    for (const StringDesc& d : m_Strings)
        writeStoredString(*d.m_String, f);
}

void cEdData::Clear()
{
    RegisterMembers(g_DataVersion);
    for (const FieldDesc& d : m_Fields) {
        std::memset(d.m_Member, 0, static_cast<std::size_t>(d.m_Count) * d.m_Size);
    }
    for (const StringDesc& d : m_Strings)
        d.m_String->clear();
}

void cEdData::Assign(cEdData& src)
{
    if (&src == this) return;
    RegisterMembers(g_DataVersion);
    src.RegisterMembers(g_DataVersion);
    // Both are of the same class, so the tables match entry by entry; the
    // bounds only keep a mismatched pair from touching memory outside either.
    const std::size_t fields = std::min(m_Fields.size(), src.m_Fields.size());
    for (std::size_t i = 0; i < fields; ++i) {
        const FieldDesc& to = m_Fields[i];
        const FieldDesc& from = src.m_Fields[i];
        const std::size_t bytes = std::min(static_cast<std::size_t>(to.m_Count) * to.m_Size,
                                           static_cast<std::size_t>(from.m_Count) * from.m_Size);
        std::memmove(to.m_Member, from.m_Member, bytes);
    }
    const std::size_t strings = std::min(m_Strings.size(), src.m_Strings.size());
    for (std::size_t i = 0; i < strings; ++i) {
        *m_Strings[i].m_String = *src.m_Strings[i].m_String;
    }
}

void cEdData::StripCR()
{
    RegisterMembers(g_DataVersion);
    StripTableStrings();
}

void cEdData::StripTableStrings()
{
    for (const StringDesc& d : m_Strings)
        stripCarriageReturns(*d.m_String);
}

int cEdData::SaveFile(std::string_view path)
{
    auto file = OpenWrite(path);
    if (!file) return 0;
    Save(file->out);
    return CloseFile(file);
}

std::shared_ptr<ReadStream> OpenReadBytes(std::vector<std::uint8_t> bytes, std::string_view name)
{
    SetReadingFileName(name);
    auto stream = std::make_shared<ReadStream>();
    stream->bytes = std::move(bytes);
    stream->in = plat::ByteReader(stream->bytes);
    std::int32_t version = 0;
    if (stream->in.readI32(version)) g_FileVersion = version;
    return stream;
}

std::shared_ptr<ReadStream> OpenRead(std::string_view path)
{
    if (path.empty()) path = "err";
    plat::FileBytes file = plat::readGameFile(path, kMaxDataFileBytes);
    if (!file) return nullptr;
    return OpenReadBytes(std::move(file.bytes), path);
}

std::shared_ptr<WriteStream> OpenWrite(std::string_view path)
{
    if (path.empty()) path = "err";
    auto stream = std::make_shared<WriteStream>();
    if (!stream->file.open(path)) return nullptr;
    stream->out.writeI32(g_DataVersion);
    return stream;
}

int CloseFile(std::shared_ptr<WriteStream>& stream)
{
    if (!stream) return 0;
    const auto bytes = stream->out.bytes();
    const bool written = stream->file.write(bytes.data(), bytes.size()) && stream->file.commit();
    stream.reset();
    return written ? 1 : 0;
}

void CloseFile(std::shared_ptr<ReadStream>& stream)
{
    stream.reset();
}

std::vector<std::uint8_t> SaveToBytes(cEdData& record)
{
    ByteWriter out;
    out.writeI32(g_DataVersion);
    record.Save(out);
    return out.take();
}

void LoadListString(std::string& s, plat::ByteReader& f)
{
    readStoredString(s, f);
}

void SaveListString(std::string& s, ByteWriter& f)
{
    writeStoredString(s, f);
}
