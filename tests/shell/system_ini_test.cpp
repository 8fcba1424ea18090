// System.ini: keys named by the system data's option entries, read line by
// line over the defaults; a file must end with "Exit".
#include "data/ed_system.h"
#include "shell/system_ini.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SystemIni : public ::testing::Test {
protected:
    SystemIni() : cwd(dir.path()) {}

    // The settings after the defaults and the file, and the read's result.
    std::pair<SYSTEMINI, int> read(const std::string& text)
    {
        dir.write("System.ini", text);
        SYSTEMINI s;
        DefaultSystemIni(s, system.vSysOption);
        const int result = LoadSystemIni("system.ini", s, system.vSysOption);
        return {s, result};
    }

    test::TempDir dir;
    test::ScopedCurrentDir cwd;
    cEdSystem system; // its own defaults: 2, 0, 0, 2, 1, ""
};

TEST_F(SystemIni, TheDefaultsComeFromTheSystemDataOptions)
{
    SYSTEMINI s;
    DefaultSystemIni(s, system.vSysOption);
    EXPECT_EQ(s.Direct3D, 2);
    EXPECT_EQ(s.WindowMode, 0);
    EXPECT_EQ(s.Bpp, 0);
    EXPECT_EQ(s.VSync, 2);
    EXPECT_EQ(s.ShowFps, 1);
    EXPECT_EQ(s.FreeStage, "");
}

TEST_F(SystemIni, EachLineSetsItsFieldAsTheGameReadsIt)
{
    struct Case {
        std::string text;
        int result;
        std::int32_t direct3d, windowMode, bpp, vsync;
        std::string freeStage;
    };
    const Case cases[] = {
        {"Direct3D=0\nWindowMode=1\nExit\n", 1, 0, 1, 0, 2, ""},
        {"Direct3D=0\nWindowMode=1\n", 0, 0, 1, 0, 2, ""}, // no Exit: a failed read
        {"Bpp = 16\nExit\n", 1, 2, 0, 0, 2, ""},           // the value ends at the blank
        {"Bpp=16 \nExit\n", 1, 2, 0, 16, 2, ""},
        {"VSync=1/ vertical sync\nExit\n", 1, 2, 0, 0, 1, ""},
        {"direct3d=0\nExit\n", 1, 2, 0, 0, 2, ""}, // keys match by case
        {"FreeStage=a\nExit\n", 1, 2, 0, 0, 2, ""},
        {"FreeStage=stage.stg4\r\nWindowMode=1\r\nExit\r\n", 1, 2, 1, 0, 2, "stage.stg4\r"},
        {"WindowMode\nExit\n", 1, 2, 0, 0, 2, ""}, // a line without '=' counts for nothing
        {std::string("Direct3D=1\n\0WindowMode=1\n", 25), 1, 1, 0, 0, 2, ""}, // a NUL ends it
        {"Bpp=" + std::string(3000, '1') + "\nExit\n", 0, 2, 0, 0, 2, ""},
        {"Exit", 0, 2, 0, 0, 2, ""}, // the file ends inside the line
    };
    for (const auto& c : cases) {
        const auto [s, result] = read(c.text);
        EXPECT_EQ(result, c.result) << c.text;
        EXPECT_EQ(s.Direct3D, c.direct3d) << c.text;
        EXPECT_EQ(s.WindowMode, c.windowMode) << c.text;
        EXPECT_EQ(s.Bpp, c.bpp) << c.text;
        EXPECT_EQ(s.VSync, c.vsync) << c.text;
        EXPECT_EQ(s.FreeStage, c.freeStage) << c.text;
    }
}

TEST_F(SystemIni, AMissingFileIsAFailedRead)
{
    SYSTEMINI s;
    EXPECT_EQ(LoadSystemIni("System.ini", s, system.vSysOption), 0);
}

TEST_F(SystemIni, TheKeyNamesAreTheSystemDataOwn)
{
    system.vSysOption[4].strName = "Fps";
    const auto [s, result] = read("Fps=0\nShowFps=5\nExit\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(s.ShowFps, 0);
}

} // namespace
