// Dialogs played by a responder in the player's place: typing reaches the
// program, which may refuse a text; clicks and the close box reach it;
// without a screen the default button is pressed. File dialogs: the choice
// comes back as a game path, a save gets the default extension and asks
// before it replaces a file.
#include "platform/dialog.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/text_encoding.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using plat::CtlKind;

const plat::DialogTemplate kTemplate = {
    "caption",
    300,
    200,
    {
        {10, CtlKind::Edit, "", false, true},
        {20, CtlKind::Radio, "A", false, true},
        {21, CtlKind::Radio, "B", false, false},
        {30, CtlKind::Check, "C", false, true},
        {1, CtlKind::PushButton, "OK", true, true},
    },
};

// Keeps an edit at two bytes at most; OK ends with 7.
struct Sink : plat::DialogSink {
    std::vector<std::string> seen;
    void onInit(plat::DialogRef& d) override
    {
        d.setText(10, "ab");
        d.setCheck(20, 1);
    }
    void onCommand(plat::DialogRef& d, int id, int code) override
    {
        seen.push_back(std::to_string(id) + ":" + std::to_string(code));
        if (id == 10 && code == plat::kEditUpdate) {
            if (d.text(10).size() > 2) d.setText(10, last);
            last = d.text(10);
        }
        if (id == 1) d.end(7);
    }
    std::string last = "ab";
};

class Dialogs : public ::testing::Test {
protected:
    void TearDown() override
    {
        plat::setDialogResponder(nullptr);
        plat::setFileDialogResponder(nullptr);
        plat::setMessageBoxResponder(nullptr);
    }
};

TEST_F(Dialogs, TheResponderTypesClicksAndEndsTheDialogAsThePlayerWould)
{
    Sink sink;
    std::vector<std::string> texts;
    plat::setDialogResponder([&](plat::DialogPlayer& p) {
        texts.push_back(p.text(10));
        p.type(10, "xyz"); // refused by the program: three bytes
        texts.push_back(p.text(10));
        p.type(10, "ゲ"); // two bytes in Shift-JIS
        texts.push_back(p.text(10));
        p.type(10, "😀"); // no Shift-JIS for it: refused before the program sees it
        texts.push_back(p.text(10));
        p.click(21);
        EXPECT_EQ(p.check(20), 0) << "a radio button clears the others";
        EXPECT_EQ(p.check(21), 1);
        p.click(30);
        p.click(30);
        EXPECT_EQ(p.check(30), 0);
        p.click(1);
    });
    EXPECT_EQ(plat::runModalDialog(kTemplate, sink), 7);
    EXPECT_EQ(texts, (std::vector<std::string>{"ab", "ab", plat::utf8ToSjisLossy("ゲ"),
                                               plat::utf8ToSjisLossy("ゲ")}));
    EXPECT_EQ(sink.seen,
              (std::vector<std::string>{"10:1024", "10:1024", "21:0", "30:0", "30:0", "1:0"}));
}

TEST_F(Dialogs, ClosingOrLeavingTheDialogOpenEndsItWithZero)
{
    Sink sink;
    plat::setDialogResponder([](plat::DialogPlayer& p) { p.close(); });
    EXPECT_EQ(plat::runModalDialog(kTemplate, sink), 0);
    plat::setDialogResponder([](plat::DialogPlayer&) {});
    EXPECT_EQ(plat::runModalDialog(kTemplate, sink), 0);
}

TEST_F(Dialogs, WithoutAScreenAndAResponderTheDefaultButtonIsPressed)
{
    Sink sink;
    EXPECT_EQ(plat::runModalDialog(kTemplate, sink), 7);
}

TEST_F(Dialogs, AFileChoiceComesBackAsAGamePathAndASaveAsksBeforeReplacing)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    dir.write("user_data/rpl4/Old.rpl4_511", "x");
    std::vector<std::string> asked;
    int answer = IDNO;
    plat::setMessageBoxResponder([&](const plat::BoxRequest& r) {
        asked.push_back(r.textUtf8());
        return answer;
    });
    std::string choice;
    plat::setFileDialogResponder([&](const plat::FileDialogDesc&) { return choice; });
    plat::FileDialogDesc save;
    save.save = true;
    save.defExt = "rpl4_511";
    save.initialDirSjis = "user_data\\rpl4\\";

    choice = "user_data\\rpl4\\New";
    EXPECT_EQ(plat::runFileDialog(save), "user_data\\rpl4\\New.rpl4_511");
    EXPECT_TRUE(asked.empty());

    choice = "user_data\\rpl4\\old.RPL4_511";
    EXPECT_EQ(plat::runFileDialog(save), std::nullopt) << "the player said no";
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("old.RPL4_511"), std::string::npos);
    answer = IDYES;
    EXPECT_EQ(plat::runFileDialog(save), choice);

    plat::FileDialogDesc open;
    choice = "user_data\\rpl4\\Missing.rpl4_511";
    EXPECT_EQ(plat::runFileDialog(open), std::nullopt) << "only an existing file opens";
    choice = "user_data\\rpl4\\Old.rpl4_511";
    EXPECT_EQ(plat::runFileDialog(open), choice);
    plat::setFileDialogResponder([](const plat::FileDialogDesc&) { return std::nullopt; });
    EXPECT_EQ(plat::runFileDialog(open), std::nullopt);
}

TEST_F(Dialogs, WithoutAScreenAndAResponderAFileDialogIsCancelled)
{
    EXPECT_EQ(plat::runFileDialog(plat::FileDialogDesc{}), std::nullopt);
}

TEST(FilePatterns, StarsAndQuestionMarksMatchWhateverTheCase)
{
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        {"a.rpl4_511", "*.rpl4_*", true},   {"A.RPL4_511", "*.rpl4_*", true},
        {"a.stg4_001", "*.rpl4_*", false},  {"a.rpl4", "*.rpl4_*", false},
        {"stage.stg4_1", "*.stg4_?", true}, {"", "*", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::matchesPattern(c.name, c.pattern), c.match) << c.name << " " << c.pattern;
}

} // namespace
