#include "core/sjis_text.h"

#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>

#include "platform/text_encoding.h"

namespace {

// Converted literals by their UTF-8 text. Entries are never changed or
// removed, and the nodes of an unordered_map stay where they are when it
// grows, so a returned pointer stays valid for the rest of the run.
struct SjisTable {
    std::shared_mutex lock;
    std::unordered_map<std::string, std::string> texts;
};

SjisTable& table()
{
    static SjisTable instance;
    return instance;
}

} // namespace

const char* Sjis(const char* utf8Literal)
{
    if (!utf8Literal) return "";
    SjisTable& t = table();
    const std::string key(utf8Literal);
    {
        std::shared_lock reading(t.lock);
        if (const auto found = t.texts.find(key); found != t.texts.end()) {
            return found->second.c_str();
        }
    }
    // A literal is the program's own text; a character without a Shift-JIS
    // form would be a slip in the source, shown as '?' rather than lost.
    std::string converted = plat::utf8ToSjisLossy(key);
    std::unique_lock writing(t.lock);
    const auto [entry, inserted] = t.texts.emplace(key, std::move(converted));
    return entry->second.c_str();
}
