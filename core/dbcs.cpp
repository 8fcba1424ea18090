#include "core/dbcs.h"

namespace {

bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsTrailByte(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

} // namespace

int IsDBCSPair(const char* p)
{
    if (!p || !IsLeadByte(static_cast<unsigned char>(p[0]))) return 0;
    return IsTrailByte(static_cast<unsigned char>(p[1])) ? 1 : 0;
}

int CountChars(const char* text)
{
    if (!text) return 0;
    int count = 0;
    for (const char* p = text; *p;) {
        if (IsDBCSPair(p)) {
            ++count;
            p += 2;
            continue;
        }
        if (*p != '\n') ++count;
        ++p;
    }
    return count;
}

std::size_t DbcsSafeLength(const char* text, std::size_t length)
{
    std::size_t i = 0;
    while (i < length) {
        const bool pair = i + 1 < length && IsLeadByte(static_cast<unsigned char>(text[i])) &&
                          IsTrailByte(static_cast<unsigned char>(text[i + 1]));
        if (!pair && i + 1 == length && IsLeadByte(static_cast<unsigned char>(text[i]))) break;
        i += pair ? 2 : 1;
    }
    return i;
}
