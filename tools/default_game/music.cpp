#include "tools/default_game/music.h"

#include "tools/default_game/midi_song.h"

namespace defgame {
namespace {

// General MIDI instruments and drum keys used below.
enum Instrument : int {
    kSquareLead = 80,
    kFlute = 73,
    kFingerBass = 33,
    kSynthBass = 38,
};
enum Drum : int { kKick = 36, kSnare = 38, kHiHat = 42 };

struct Tune {
    BgmRecord record;
    const char* name;
    const char* file;
    int tempo;
    int melodyInstrument;
    const char* melody;
    int bassInstrument;
    const char* bass;
    bool drums; // a plain rock beat under the whole tune
};

const std::vector<Tune>& tunes()
{
    static const std::vector<Tune> list = {
        {BGM_TITLE, "タイトル", "bgm\\Title.mid", 132, kSquareLead,
         "C5-2 E5-2 G5-2 C6-2 | B5-3 A5-1 G5-4 | A5-2 F5-2 A5-2 C6-2 | G5-6 R-2 | "
         "E5-2 G5-2 C6-2 E6-2 | D6-3 C6-1 B5-4 | C6-2 G5-2 E5-2 D5-2 | C5-6 R-2",
         kFingerBass,
         "C3-4 C3-4 | G2-4 G2-4 | F2-4 F2-4 | G2-4 G2-4 | "
         "C3-4 C3-4 | G2-4 G2-4 | F2-4 G2-4 | C3-8",
         true},
        {BGM_WORLD_MAP, "ワールドマップ", "bgm\\WorldMap.mid", 104, kFlute,
         "F5-3 G5-1 A5-2 C6-2 | A5-4 G5-4 | F5-2 A5-2 G5-2 F5-2 | E5-4 C5-4 | "
         "D5-3 E5-1 F5-2 A5-2 | G5-4 E5-4 | F5-2 E5-2 D5-2 E5-2 | F5-8",
         kFingerBass,
         "F2-4 C3-4 | C3-4 G2-4 | Bb2-4 F2-4 | C3-4 G2-4 | "
         "D3-4 A2-4 | C3-4 G2-4 | Bb2-4 C3-4 | F2-8",
         false},
        {BGM_STAGE, "ステージ", "bgm\\Stage.mid", 150, kSquareLead,
         "A4-1 C5-1 E5-1 A5-1 G5-2 E5-2 | F5-2 D5-2 E5-4 | A4-1 C5-1 E5-1 A5-1 B5-2 A5-2 | "
         "G5-2 E5-2 D5-4 | C5-2 E5-2 G5-2 C6-2 | B5-2 G5-2 E5-4 | F5-2 A5-2 G5-2 B5-2 | A5-6 R-2",
         kSynthBass,
         "A2-1 A3-1 A2-1 A3-1 A2-1 A3-1 A2-1 A3-1 | D2-1 D3-1 D2-1 D3-1 E2-1 E3-1 E2-1 E3-1 | "
         "A2-1 A3-1 A2-1 A3-1 A2-1 A3-1 A2-1 A3-1 | G2-1 G3-1 G2-1 G3-1 E2-1 E3-1 E2-1 E3-1 | "
         "C3-1 C4-1 C3-1 C4-1 C3-1 C4-1 C3-1 C4-1 | G2-1 G3-1 G2-1 G3-1 E2-1 E3-1 E2-1 E3-1 | "
         "F2-1 F3-1 F2-1 F3-1 G2-1 G3-1 G2-1 G3-1 | A2-1 A3-1 A2-1 A3-1 A2-4",
         true},
    };
    return list;
}

const Tune* findTune(BgmRecord record)
{
    for (const Tune& t : tunes())
        if (t.record == record) return &t;
    return nullptr;
}

// Kick on beats 1 and 3, snare on 2 and 4, hi-hat on every eighth.
void rockBeat(MidiSong& song, int ticks)
{
    for (int t = 0; t < ticks; t += kTicksPerEighth) {
        const int eighth = (t / kTicksPerEighth) % 8;
        song.note(kDrumChannel, kHiHat, t, kTicksPerEighth / 2, 60);
        if (eighth == 0 || eighth == 4) song.note(kDrumChannel, kKick, t, kTicksPerEighth, 100);
        if (eighth == 2 || eighth == 6) song.note(kDrumChannel, kSnare, t, kTicksPerEighth, 90);
    }
}

std::vector<std::uint8_t> render(const Tune& t)
{
    MidiSong song(t.tempo);
    song.program(0, t.melodyInstrument);
    song.program(1, t.bassInstrument);
    const int length = song.part(0, t.melody, 100);
    song.part(1, t.bass, 90);
    if (t.drums) rockBeat(song, length);
    return song.file();
}

} // namespace

const char* musicFile(BgmRecord record)
{
    const Tune* t = findTune(record);
    return t ? t->file : "";
}

const char* musicName(BgmRecord record)
{
    const Tune* t = findTune(record);
    return t ? t->name : "なし";
}

const std::vector<BgmRecord>& musicRecords()
{
    static const std::vector<BgmRecord> records = [] {
        std::vector<BgmRecord> r = {BGM_NONE};
        for (const Tune& t : tunes())
            r.push_back(t.record);
        return r;
    }();
    return records;
}

std::vector<GeneratedFile> musicFiles()
{
    std::vector<GeneratedFile> files;
    for (const Tune& t : tunes())
        files.push_back({t.file, render(t)});
    return files;
}

} // namespace defgame
