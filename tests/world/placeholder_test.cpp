// The operations still waiting for their bodies. Each is declared with its
// final signature and marked WORLD_PLACEHOLDER in its source; this test
// keeps the list of marks exact, so it shows at any time what is left. An
// issue that fills an operation removes its mark and its line here.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Every operation of the game world is built; what is left belongs to the
// menu scenes.

// The menu scenes: results and rankings of a cleared stage.
const char* const kMenuScenes[] = {
    "cGamePlay::DecideNextScene",
    "cGamePlay::DrawResults",
    "cGamePlay::RegisterRanking",
    "cGamePlay::SceneLoadRankings",
    "cGamePlay::ScenePrepareResults",
};

// Every mark in the world's and the play scene's sources, by the issue
// that fills it.
std::map<std::string, std::multiset<std::string>> MarksInSources()
{
    const char* root = std::getenv("RT_SOURCE_DIR");
    std::map<std::string, std::multiset<std::string>> marks;
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
                marks[(*it)[1]].insert((*it)[2]);
        }
    }
    return marks;
}

template <std::size_t N> std::multiset<std::string> Listed(const char* const (&names)[N])
{
    return std::multiset<std::string>(std::begin(names), std::end(names));
}

TEST(WorldPlaceholders, ListIsExact)
{
    ASSERT_NE(std::getenv("RT_SOURCE_DIR"), nullptr);
    auto marks = MarksInSources();
    EXPECT_EQ(marks["menus"], Listed(kMenuScenes));
    marks.erase("menus");
    // No mark of any other work: the world's own operations are all built.
    EXPECT_TRUE(marks.empty()) << marks.begin()->first;
}

} // namespace
