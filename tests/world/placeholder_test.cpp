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

// World 2: flows and movement (issue 12) has every operation built.
// World 3: contact (issue 13) has every operation built.

// World 4: commands and expressions (issue 14) has every operation built.

// World 5: what the player sees (issue 15).
const char* const kWorld5[] = {
    "BuildShotSheets",
    "CreateSightSurfaces",
    "CycleColors",
    "DrawBlockMap",
    "DrawCharaEffect",
    "DrawGraphicIcon",
    "DrawItems",
    "DrawLayers",
    "DrawPictures",
    "DrawShots",
    "DrawStatusBar",
    "DrawTestText",
    "DrawTime",
    "DrawTint",
    "LoadCharaBitmaps",
    "LoadEffectPictures",
    "LoadPlayPictures",
    "LoadSwordPictures",
    "ReleaseMessageSurfaces",
    "ReleasePlayPictures",
    "ResetPictures",
    "ResetScreenPalette",
    "ResolveGraphic",
    "SheetForFacing",
    "StartTint",
    "cCharaObj::CharaGraphicNumber",
    "cCharaObj::DrawCharaBody",
    "cCharaObj::DrawHpGauge",
    "cCharaObj::DrawSpGauge",
    "cCharaObj::StepCharaEffect",
    "cItemObj::DrawItem",
    "cNpcObj::DrawCarriedHint",
    "cPlayerObj::Draw",
    "cPlayerObj::DrawSightMask",
    "cShotObj::DrawShot",
    "g_CharaEffectDrawProc",
};

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
    EXPECT_EQ(marks["15"], Listed(kWorld5));
    EXPECT_EQ(marks["menus"], Listed(kMenuScenes));
    for (const char* issue : {"15", "menus"})
        marks.erase(issue);
    // No mark of another issue, and none of this one (the skeleton's own
    // operations are all built).
    EXPECT_TRUE(marks.empty()) << marks.begin()->first;
}

} // namespace
