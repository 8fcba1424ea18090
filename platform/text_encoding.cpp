#include "platform/text_encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>

#include <iconv.h>

namespace plat {
namespace {

// One iconv descriptor per direction and thread: a descriptor keeps state
// while it converts, so threads must not share one.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return cd_; }

private:
    iconv_t cd_;
};

Converter& fromSjis()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& toSjis()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD"; // U+FFFD

constexpr char32_t kReplacementCodePoint = 0xFFFD;

// The length of the UTF-8 sequence that a lead byte announces; 1 for an
// ASCII byte and for a byte that cannot start a sequence.
std::size_t announcedLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    return 1;
}

// Bytes taken by the UTF-8 character (or malformed sequence) at the start of
// text: a lead byte and the continuation bytes that follow it, as many as the
// lead byte announces; a stray byte stands alone.
std::size_t utf8CharLength(std::string_view text)
{
    const std::size_t expected = announcedLength(static_cast<unsigned char>(text[0]));
    std::size_t length = 1;
    while (length < expected && length < text.size() &&
           (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

enum class OnInvalid { Refuse, Replace };

// Converts with iconv. An input sequence that cannot be converted (invalid,
// cut off at the end, or without a form in the target) either ends the
// conversion with nothing, or is skipped and replaced: one byte at a time
// from Shift-JIS, one whole UTF-8 sequence at a time from UTF-8.
std::optional<std::string> convert(Converter& converter, std::string_view in, OnInvalid onInvalid,
                                   std::string_view replacement, bool inputIsUtf8)
{
    if (!converter.ok()) return std::nullopt;
    iconv(converter.handle(), nullptr, nullptr, nullptr, nullptr);

    std::string out;
    out.resize(in.size() * 3 + 16);
    std::size_t produced = 0;
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();

    while (srcLeft > 0) {
        char* dst = out.data() + produced;
        std::size_t dstLeft = out.size() - produced;
        const std::size_t result = iconv(converter.handle(), &src, &srcLeft, &dst, &dstLeft);
        produced = out.size() - dstLeft;
        if (result != static_cast<std::size_t>(-1)) break;

        if (errno == E2BIG) {
            out.resize(out.size() * 2 + 16);
            continue;
        }
        // EILSEQ or EINVAL: the sequence at src does not convert.
        if (onInvalid == OnInvalid::Refuse) return std::nullopt;
        const std::size_t skip = inputIsUtf8 ? utf8CharLength(std::string_view(src, srcLeft)) : 1;
        src += skip;
        srcLeft -= skip;
        if (out.size() - produced < replacement.size()) out.resize(out.size() * 2 + 16);
        out.replace(produced, replacement.size(), replacement);
        produced += replacement.size();
        iconv(converter.handle(), nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(produced);
    return out;
}

} // namespace

std::string sjisToUtf8(std::string_view sjis)
{
    if (auto converted = convert(fromSjis(), sjis, OnInvalid::Replace, kReplacementUtf8, false)) {
        return *converted;
    }
    // Without a CP932 converter only plain ASCII can be trusted.
    std::string out;
    for (const char c : sjis) {
        if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
        } else {
            out += kReplacementUtf8;
        }
    }
    return out;
}

std::optional<std::string> sjisToUtf8Exact(std::string_view sjis)
{
    return convert(fromSjis(), sjis, OnInvalid::Refuse, {}, false);
}

std::optional<std::string> utf8ToSjis(std::string_view utf8)
{
    return convert(toSjis(), utf8, OnInvalid::Refuse, {}, true);
}

std::string utf8ToSjisLossy(std::string_view utf8, char replacement)
{
    const std::string_view replacementText(&replacement, 1);
    if (auto converted = convert(toSjis(), utf8, OnInvalid::Replace, replacementText, true)) {
        return *converted;
    }
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = utf8CharLength(utf8.substr(i));
        out += length == 1 && static_cast<unsigned char>(utf8[i]) < 0x80 ? utf8[i] : replacement;
        i += length;
    }
    return out;
}

std::u32string utf8CodePoints(std::string_view utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = utf8CharLength(utf8.substr(i));
        const auto lead = static_cast<unsigned char>(utf8[i]);
        // The lead byte keeps 7, 5, 4 or 3 bits for sequences of 1 to 4 bytes.
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        // Cut short, stray, longer than needed, or no character at all.
        constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        const bool malformed = length != announcedLength(lead) || (length == 1 && lead >= 0x80) ||
                               code < kShortest[length] || (code >= 0xD800 && code <= 0xDFFF) ||
                               code > 0x10FFFF;
        out += malformed ? kReplacementCodePoint : code;
        i += length;
    }
    return out;
}

const std::u32string& sjisCharacters()
{
    static const std::u32string characters = [] {
        std::u32string all;
        auto add = [&](std::string_view sjis) {
            const auto utf8 = sjisToUtf8Exact(sjis);
            if (!utf8) return;
            const std::u32string code = utf8CodePoints(*utf8);
            if (code.size() == 1 && code[0] >= 0x20 && code[0] != 0x7F) all += code[0];
        };
        for (int b = 0x20; b <= 0xDF; ++b) {
            const char single = static_cast<char>(b);
            add(std::string_view(&single, 1));
        }
        // Lead bytes 0x81 to 0x9F and 0xE0 to 0xFC, trail bytes 0x40 to 0xFC but 0x7F.
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                add(std::string_view(pair, 2));
            }
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return characters;
}

} // namespace plat
