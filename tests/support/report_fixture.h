#pragma once
// A run report in a fresh folder, and a stand-in main window on the test's
// thread that records what is posted to it.

#include "core/report.h"
#include "platform/message_loop.h"
#include "shell/main_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace test {

class ReportFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        cwd_ = std::make_unique<ScopedCurrentDir>(dir_.path());
        ASSERT_EQ(ReportCreate("report.txt"), 1);
        g_hMainWnd = plat::createWindow([](plat::WindowId, std::uint32_t, std::uintptr_t,
                                           std::intptr_t) -> std::intptr_t { return 0; });
        drainPosted();
    }

    void TearDown() override
    {
        plat::destroyWindow(g_hMainWnd);
        g_hMainWnd = 0;
        drainPosted();
        cwd_.reset();
    }

    // The report's lines, without their line feeds.
    std::vector<std::string> reportLines() const
    {
        std::vector<std::string> lines;
        std::istringstream in(dir_.read("report.txt"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // The messages waiting in this thread's queue, taken out.
    std::vector<plat::Message> drainPosted()
    {
        std::vector<plat::Message> seen;
        plat::Message m;
        while (plat::peekMessage(m))
            seen.push_back(m);
        return seen;
    }

    TempDir dir_;
    std::unique_ptr<ScopedCurrentDir> cwd_;
};

} // namespace test
