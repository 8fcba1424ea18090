// The operations still waiting for their bodies. Each was declared with its
// final signature and marked WORLD_PLACEHOLDER in its source until an issue
// filled it; this test keeps the list of marks exact, so it shows at any
// time what is left. Every operation of the world and of the play scene is
// built now: no mark may be left.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

// Every mark in the world's and the play scene's sources.
std::multiset<std::string> MarksInSources()
{
    const char* root = std::getenv("RT_SOURCE_DIR");
    std::multiset<std::string> marks;
    if (!root) return marks;
    const std::regex mark(R"re(WORLD_PLACEHOLDER\(([a-z0-9]+), "([^"]+)"\))re");
    for (const char* folder : {"world", "scenes"}) {
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(root) / folder)) {
            if (entry.path().extension() != ".cpp") continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            const std::string source = text.str();
            for (std::sregex_iterator it(source.begin(), source.end(), mark), end; it != end; ++it)
                marks.insert((*it)[2]);
        }
    }
    return marks;
}

TEST(WorldPlaceholders, NoneIsLeft)
{
    ASSERT_NE(std::getenv("RT_SOURCE_DIR"), nullptr);
    const std::multiset<std::string> marks = MarksInSources();
    EXPECT_TRUE(marks.empty()) << *marks.begin();
}

} // namespace
