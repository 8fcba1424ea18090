// Game paths and texts as they come from data files: arbitrary bytes taken
// as Shift-JIS, through the conversion, the resolver and the path and
// string helpers. Nothing may crash or read past its input, and the helpers
// keep their promises about what they return.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/dbcs.h"
#include "core/path.h"
#include "core/string_helpers.h"
#include "platform/path_resolver.h"
#include "platform/text_encoding.h"

namespace {

void check(bool condition)
{
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = plat::sjisToUtf8(bytes);
    if (const auto exact = plat::sjisToUtf8Exact(bytes)) check(*exact == utf8);
    plat::utf8ToSjis(utf8);
    plat::utf8ToSjisLossy(bytes);

    // Only looks: neither call creates anything.
    plat::resolveExisting(bytes);
    plat::resolveForCreate(bytes);

    std::string stripped = bytes;
    PathStripDir(stripped);
    check(bytes.size() >= stripped.size() &&
          bytes.compare(bytes.size() - stripped.size(), std::string::npos, stripped) == 0);

    std::string out;
    PathReplaceExt(out, bytes, "stg4");
    check(out.size() <= kMaxPathBytes || out == bytes);
    PathReplaceExt(out, bytes, nullptr);
    check(out.size() <= bytes.size());
    if (PathGetExt(out, bytes)) check(out.size() < bytes.size());
    PathAddSuffix(out, bytes, 0, 1);

    const std::string text = bytes.c_str(); // up to the first NUL, as C texts end
    check(CountChars(text.c_str()) <= static_cast<int>(text.size()));
    if (size >= 2) {
        const auto start = static_cast<std::int8_t>(data[0]);
        const auto count = static_cast<std::int8_t>(data[1]);
        check(SubStrClamp(bytes, start, count).size() <= text.size());
    }
    return 0;
}
