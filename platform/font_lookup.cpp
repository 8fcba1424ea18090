#include "platform/font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <mutex>


namespace plat {
namespace {

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// A face that has the character あ can show Japanese text.
bool showsJapanese(FcPattern* font)
{
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch || !charset)
        return false;
    return FcCharSetHasChar(charset, 0x3042) != 0;
}

std::optional<std::string> matchFamily(const std::string& family, bool requireFamily)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return std::nullopt;
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!font) return std::nullopt;
    std::optional<std::string> path;
    FcChar8* file = nullptr;
    FcChar8* matched = nullptr;
    bool familyOk =
        !requireFamily ||
        (FcPatternGetString(font, FC_FAMILY, 0, &matched) == FcResultMatch &&
         FcStrCmpIgnoreCase(matched, reinterpret_cast<const FcChar8*>(family.c_str())) == 0);
    if (familyOk && showsJapanese(font) &&
        FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file)
        path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(font);
    return path;
}

} // namespace

std::vector<std::string> fontFamiliesFor(std::string_view face)
{
    const bool mincho =
        contains(face, "明朝") || contains(face, "Mincho") || contains(face, "mincho");
    const bool proportional = contains(face, "Ｐ") || contains(face, "PGothic") ||
                              contains(face, "PMincho") || contains(face, "UI Gothic");
    const bool windowsFace = contains(face, "ＭＳ") || contains(face, "MS ") ||
                             contains(face, "メイリオ") || contains(face, "Meiryo") ||
                             contains(face, "ゴシック") || contains(face, "Gothic") || mincho;
    std::vector<std::string> families;
    if (!windowsFace && !face.empty()) families.emplace_back(face);
    if (mincho) families.emplace_back(proportional ? "IPAPMincho" : "IPAMincho");
    families.emplace_back(proportional ? "IPAPGothic" : "IPAGothic");
    families.emplace_back(proportional ? "IPAGothic" : "IPAPGothic");
    for (const char* other : {"Noto Sans CJK JP", "Noto Sans JP", "TakaoGothic", "VL Gothic"})
        families.emplace_back(other);
    return families;
}

std::optional<std::string> findJapaneseFontFile(std::string_view face)
{
    static std::mutex lock;
    std::lock_guard guard(lock);
    if (!FcInit()) return std::nullopt;
    for (const std::string& family : fontFamiliesFor(face)) {
        if (auto path = matchFamily(family, true)) return path;
    }
    // Whatever Japanese face fontconfig offers.
    return matchFamily("", false);
}

} // namespace plat
