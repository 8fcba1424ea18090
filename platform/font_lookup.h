#pragma once
// Finding the font file for a face name through fontconfig. The game names
// Windows faces ("ＭＳ ゴシック", "MS PGothic", "ＭＳ 明朝"...); each is mapped to an
// installed Japanese face of the same kind, IPA Gothic first, and any other
// name is looked up as it is with a Japanese face as the fallback.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// The families tried, in order, for a face name (UTF-8).
std::vector<std::string> fontFamiliesFor(std::string_view faceUtf8);

// The file of the first installed face that can show Japanese text, or
// nothing when no such face is installed.
std::optional<std::string> findJapaneseFontFile(std::string_view faceUtf8);

} // namespace plat
