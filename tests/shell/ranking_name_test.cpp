// The game-play scene asks for the name of a ranking registration through
// the main window: the name dialog shows the name the scene asks with, edits
// it in place while the game thread waits, and is bound to nothing again
// afterwards.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/text_encoding.h"
#include "scenes/game_play.h"
#include "shell/name_dialog.h"
#include "shell/running_game.h"
#include "support/played_game.h"

namespace {

std::atomic<int> g_Asked{0};
std::string g_AskedName;

// Stands in for the game-play scene at a registration: it asks once.
class NamingScene : public cScene {
public:
    void Run() override
    {
        if (g_Asked) return;
        std::string name = "OLD";
        if (g_AskRankingName) g_AskRankingName(name);
        g_AskedName = name;
        g_Asked = 1;
    }
};

TEST(RankingName, TheNameDialogEditsTheNameTheSceneAsksWith)
{
    g_Asked = 0;
    test::PlayedGame game{[] { return std::unique_ptr<cScene>(new NamingScene); }};
    plat::setMessageBoxResponder([](const plat::BoxRequest&) { return IDOK; });
    std::vector<std::string> shown;
    plat::setDialogResponder([&shown](plat::DialogPlayer& p) {
        shown.push_back(plat::sjisToUtf8(p.text(IDC_NAME_EDIT)));
        p.type(IDC_NAME_EDIT, "XYZ");
        p.click(IDC_NAME_OK);
    });
    const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"},
                                   [] { EXPECT_TRUE(test::WaitFor([] { return g_Asked == 1; })); });
    plat::setDialogResponder(nullptr);
    plat::setMessageBoxResponder(nullptr);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(shown, std::vector<std::string>{"OLD"});
    EXPECT_EQ(g_AskedName, "XYZ");
    EXPECT_EQ(g_RankingNameTarget, nullptr);
}

} // namespace
