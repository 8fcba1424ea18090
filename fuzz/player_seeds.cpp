// Writes the seed corpus of the player's files' fuzz target into the folder
// given as the argument, with the records' own save code: for each kind the
// choice byte, then a file as the runtime writes it.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "data/ed_option.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/replay_log.h"
#include "data/replay_sync.h"
#include "seed_file.h"

namespace {

cReplayLog sampleLog(const std::string& stageFile)
{
    cReplayLog log;
    log.Start(987654, stageFile);
    for (int frame = 0; frame < 300; ++frame) {
        log.Record(static_cast<std::uint16_t>(frame / 17 % 16),
                   static_cast<std::uint16_t>(frame / 5 % 256));
    }
    return log;
}

cSaveData sampleProgress()
{
    cSaveData p;
    p.nLives = 3;
    p.nScore = 4321;
    p.strStage = "data\\stg4\\c01.";
    p.UpdateBestScore(p.strStage, 4321);
    p.vCarried[5] = 1;
    p.vPlayer[0].Chara.nMaxHP = 50;
    p.vPlayer[0].Chara.Flows.resize(2);
    p.vStageFlags[3] = 1;
    p.vCommonVar[10] = -8;
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;

    cEdOption options;
    ok &= WriteSeed(folder, "options-default", 0, SaveToBytes(options));
    options.nSeVolume = 10;
    options.nRankMode = 3;
    options.strRegName = "";
    ok &= WriteSeed(folder, "options-empty-name", 0, SaveToBytes(options));

    cSaveData fresh;
    ok &= WriteSeed(folder, "progress-new", 1, SaveToBytes(fresh));
    cSaveData progress = sampleProgress();
    ok &= WriteSeed(folder, "progress-played", 1, SaveToBytes(progress));

    const std::string stageFile = "data\\stg4\\c01-1.stg4_001";
    cReplayLog log = sampleLog(stageFile);
    ok &= WriteSeed(folder, "log", 2, SaveToBytes(log));

    cEdStage stage;
    stage.nWidth = 30;
    stage.nHeight = 15;
    stage.PlacedCharas.resize(2);
    stage.PlacedCharas[0].nOperator = 0;
    stage.PlacedCharas[0].nGraphicNo = 1;
    stage.strFileName = stageFile;
    cEdStage atStart;
    atStart.CopySettingsFrom(stage);
    ByteWriter replay;
    replay.writeI32(g_DataVersion);
    stage.SaveForReplay(replay, atStart);
    log.Save(replay);
    progress.Save(replay);
    ok &= WriteSeed(folder, "replay", 3, replay.take());

    cReplaySync sync;
    for (std::uint64_t frame = 1; frame <= 150; ++frame)
        sync.NoteFrame(frame * 0x9E3779B97F4A7C15ull);
    const std::string text = sync.ToText(log.nSeed);
    ok &= WriteSeed(folder, "summary", 4, std::vector<std::uint8_t>(text.begin(), text.end()));

    return ok ? 0 : 1;
}
