#pragma once
// Shared set-up of the stage-record tests: the globals the records read
// (database, common palette, live stage, test-flow switches) put back to a
// new run's state, files of older versions written by the records' own
// save code, and the loads that report their failures in boxes.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/test_flows.h"
#include "platform/message_box.h"
#include "support/report_fixture.h"

namespace test {

inline void ResetStageGlobals()
{
    g_DataVersion = kDataVersion;
    g_Database.SetDefaults();
    g_CommonPalette = cEdPalette();
    g_Stage = cEdStage();
    g_StageAtStart = cEdStage();
    g_StartedByTool = 0;
    g_System.bKeepTestFlows = 0;
}

class StageRecordsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetStageGlobals(); }
    void TearDown() override { ResetStageGlobals(); }
};

// The stage globals of a new run, a run report and a stand-in main window,
// and every message box answered with OK, its text kept in boxes.
class StageReportTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        ResetStageGlobals();
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        plat::setMessageBoxResponder(nullptr);
        ResetStageGlobals();
        ReportFixture::TearDown();
    }

    std::vector<std::string> boxes;
};

// A character that the stage takes for its hero: player-operated, with a graphic.
inline cEdChara Hero()
{
    cEdChara hero;
    hero.Clear();
    hero.nOperator = 0;
    hero.nGraphicNo = 1;
    return hero;
}

// The file image of a record as a writer of the given data version wrote it:
// the records register only the members that version holds.
inline std::vector<std::uint8_t> SaveAtVersion(cEdData& record, int version)
{
    g_DataVersion = version;
    auto bytes = SaveToBytes(record);
    g_DataVersion = kDataVersion;
    return bytes;
}

// A stage file of an older version: versions before 173 end without the
// end code.
inline std::vector<std::uint8_t> StageAtVersion(cEdStage& stage, int version)
{
    auto bytes = SaveAtVersion(stage, version);
    if (version < 173) bytes.resize(bytes.size() - 4);
    return bytes;
}

// Reads a file image into a record with the given loader; 1 on success.
template <class T> int LoadStageBytes(T& stage, const std::vector<std::uint8_t>& bytes)
{
    auto file = OpenReadBytes(bytes);
    return LoadStageRecord(stage, file->in);
}

} // namespace test
