#pragma once
// A copy of the generated default game in a fresh game folder, with its
// data folder made from default\ as the first start makes it, and the
// author's data read by the start-up loaders.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/path.h"
#include "core/sjis_text.h"
#include "data/default_data.h"
#include "data/ed_palette.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/stage_fixtures.h"
#include "platform/message_box.h"
#include "support/generated_game.h"
#include "support/report_fixture.h"
#include "world/start_up_data.h"

namespace test {

class DefaultGame : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        ResetGlobals();
        copyGeneratedGame(dir_.path());
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return IDYES;
        });
        ASSERT_EQ(CreateDefaultData(0), 1);
    }
    void TearDown() override
    {
        plat::setMessageBoxResponder(nullptr);
        ResetGlobals();
        ReportFixture::TearDown();
    }

    static void ResetGlobals()
    {
        ResetStageGlobals();
        g_StripCR = 1;
        g_System = cEdSystem();
        g_WorldMap = cEdWorldMap();
    }

    // The start-up's reading of the author's data, in its order.
    void LoadAuthorsData()
    {
        ASSERT_EQ(LoadDatabaseAtStartUp(), 1);
        ASSERT_EQ(LoadSystemAtStartUp(), 1);
        ASSERT_EQ(LoadWorldMapAtStartUp(), 1);
        ASSERT_EQ(LoadCommonPaletteAtStartUp(), 1);
    }

    // The stage files the game plays: the world map's entries, then the
    // challenges with the later stages of their chains (data\stg4\c01-1.stg4,
    // c01-2.stg4 ...).
    std::vector<std::string> StageNames() const
    {
        std::vector<std::string> names;
        for (const cEdWorldEvent& event : g_WorldMap.m_Events)
            for (const cEdWorldEventItem& item : event.m_Items)
                names.push_back(item.m_StageFile);
        for (int n = 1; n <= g_System.nChallengeStages; ++n) {
            names.push_back(ChallengeName(n));
            std::string file;
            for (int part = 2; FindNewestNumbered(file, ChallengeName(n, part), "stg4"); ++part)
                names.push_back(ChallengeName(n, part));
        }
        return names;
    }

    // Stage `part` of challenge n's chain.
    static std::string ChallengeName(int n, int part = 1)
    {
        char name[64];
        std::snprintf(name, sizeof name, "data\\stg4\\c%02d-%d.stg4", n, part);
        return name;
    }

    std::vector<std::string> boxes; // the texts of the boxes shown
};

} // namespace test
