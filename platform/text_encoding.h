#pragma once
// Shift-JIS (code page 932) to UTF-8 and back. The game's texts and paths are
// Shift-JIS; SDL, FreeType and the file system of this machine want UTF-8.
// CP932 is used rather than SHIFT_JIS so that 0x5C stays a backslash and the
// vendor extensions of the Windows code page convert. Every function is safe
// to call from any thread.

#include <optional>
#include <string>
#include <string_view>

namespace plat {

// Bytes that are not valid CP932 become U+FFFD; the rest converts.
std::string sjisToUtf8(std::string_view sjis);

// The same conversion, but nothing when some byte is not valid CP932 (for
// paths, where a guessed character would name another file).
std::optional<std::string> sjisToUtf8Exact(std::string_view sjis);

// Nothing when some character has no CP932 form or the UTF-8 is malformed.
std::optional<std::string> utf8ToSjis(std::string_view utf8);

// The same conversion, but a character without a CP932 form, or a malformed
// UTF-8 byte, becomes the given replacement byte.
std::string utf8ToSjisLossy(std::string_view utf8, char replacement = '?');

// The characters of UTF-8 text as code points; a malformed sequence (as a
// file name not written in UTF-8 may hold) becomes U+FFFD.
std::u32string utf8CodePoints(std::string_view utf8);

// Every printable character that CP932 can hold, single-byte and
// double-byte, as code points in ascending order: what a font must draw to
// show any of the game's texts.
const std::u32string& sjisCharacters();

} // namespace plat
