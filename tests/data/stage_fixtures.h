#pragma once
// Shared set-up of the stage-record tests: the globals the records read
// (database, common palette, live stage, test-flow switches) put back to a
// new run's state, and files of older versions written by the records' own
// save code.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/test_flows.h"

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
