#include "tools/default_game/sounds.h"

#include "tools/default_game/wave_synth.h"

namespace defgame {
namespace {

struct SoundSpec {
    const char* file;
    std::vector<Tone> tones;
};

// Notes used below (Hz).
constexpr double C5 = 523.25, E5 = 659.26, G5 = 783.99, C6 = 1046.5, E6 = 1318.5, G6 = 1568.0;
constexpr double B5 = 987.77, A5 = 880.0, D6 = 1174.7;

// The system sounds by slot: what the runtime plays them for, and how each
// sounds.
const std::vector<SoundSpec>& systemSounds()
{
    static const std::vector<SoundSpec> sounds = {
        // 0 menu cursor: a short high blip
        {"wave\\Cursor.wav", {{0, 0.035, 1400, 1400, Wave::Square, 0.25}}},
        // 1 confirm: two rising notes
        {"wave\\Decide.wav",
         {{0, 0.06, E5 * 2, E5 * 2, Wave::Square, 0.3},
          {0.06, 0.1, C6 * 2, C6 * 2, Wave::Square, 0.3}}},
        // 2 cancel: two falling notes
        {"wave\\Cancel.wav",
         {{0, 0.06, G5, G5, Wave::Square, 0.3}, {0.06, 0.1, C5, C5, Wave::Square, 0.3}}},
        // 3 refused: a low buzz
        {"wave\\Buzzer.wav",
         {{0, 0.22, 110, 100, Wave::Square, 0.35}, {0, 0.22, 117, 105, Wave::Square, 0.2}}},
        // 4 pause and leaving the map: a soft double chime
        {"wave\\Pause.wav",
         {{0, 0.12, G5, G5, Wave::Sine, 0.5}, {0.1, 0.2, C6, C6, Wave::Sine, 0.5}}},
        // 5 saved: a little arpeggio
        {"wave\\Save.wav",
         {{0, 0.08, C5, C5, Wave::Triangle, 0.5},
          {0.07, 0.08, E5, E5, Wave::Triangle, 0.5},
          {0.14, 0.08, G5, G5, Wave::Triangle, 0.5},
          {0.21, 0.2, C6, C6, Wave::Triangle, 0.5}}},
        // 6 ranking switch: a click
        {"wave\\Switch.wav", {{0, 0.03, 900, 600, Wave::Square, 0.3}}},
        // 7 hit: a crunch falling in pitch
        {"wave\\Damage.wav",
         {{0, 0.15, 3000, 800, Wave::Noise, 0.5}, {0, 0.12, 400, 150, Wave::Square, 0.25}}},
        // 8 the hero is lost: a long falling slide
        {"wave\\Miss.wav",
         {{0, 0.12, 900, 700, Wave::Square, 0.3}, {0.12, 0.7, 700, 90, Wave::Square, 0.3}}},
        // 9 a foe defeated: a burst of noise
        {"wave\\Defeat.wav",
         {{0, 0.3, 4000, 300, Wave::Noise, 0.6}, {0, 0.1, 300, 60, Wave::Square, 0.3}}},
        // 10 spring: a quick rising slide
        {"wave\\Spring.wav", {{0, 0.25, 200, 1200, Wave::Triangle, 0.6}}},
        // 11 message: a gentle ping
        {"wave\\Message.wav", {{0, 0.15, B5, B5, Wave::Sine, 0.5}}},
        // 12
        {"wave\\Chime.wav", {{0, 0.2, C6, C6, Wave::Sine, 0.4}, {0, 0.2, G6, G6, Wave::Sine, 0.2}}},
        // 13 time running out: two short beeps
        {"wave\\Warning.wav",
         {{0, 0.07, A5, A5, Wave::Square, 0.3}, {0.12, 0.07, A5, A5, Wave::Square, 0.3}}},
        // 14
        {"wave\\Bell.wav",
         {{0, 0.3, E6, E6, Wave::Sine, 0.35}, {0, 0.3, E6 * 2.01, E6 * 2.01, Wave::Sine, 0.15}}},
        // 15 an extra life: a bright rising run
        {"wave\\ExtraLife.wav",
         {{0, 0.08, E5, E5, Wave::Square, 0.25},
          {0.08, 0.08, G5, G5, Wave::Square, 0.25},
          {0.16, 0.08, E6, E6, Wave::Square, 0.25},
          {0.24, 0.08, C6, C6, Wave::Square, 0.25},
          {0.32, 0.08, D6, D6, Wave::Square, 0.25},
          {0.40, 0.2, G6, G6, Wave::Square, 0.25}}},
        // 16 ranking entered: a short fanfare
        {"wave\\Ranking.wav",
         {{0, 0.1, C5, C5, Wave::Square, 0.25},
          {0.1, 0.1, C5, C5, Wave::Square, 0.25},
          {0.2, 0.1, C5, C5, Wave::Square, 0.25},
          {0.3, 0.35, G5, G5, Wave::Square, 0.25},
          {0.3, 0.35, E5, E5, Wave::Square, 0.15}}},
    };
    return sounds;
}

struct RecordSound {
    SoundRecord record;
    const char* name;
    SoundSpec sound;
};

// The sounds of the Sound table, played by commands and items.
const std::vector<RecordSound>& recordSounds()
{
    static const std::vector<RecordSound> sounds = {
        {SOUND_JUMP, "ジャンプ", {"wave\\Jump.wav", {{0, 0.18, 300, 900, Wave::Square, 0.25}}}},
        {SOUND_SHOT,
         "ショット",
         {"wave\\Shot.wav",
          {{0, 0.1, 1600, 500, Wave::Square, 0.25}, {0, 0.05, 6000, 2000, Wave::Noise, 0.2}}}},
        {SOUND_COIN,
         "コイン",
         {"wave\\Coin.wav",
          {{0, 0.06, B5, B5, Wave::Square, 0.25}, {0.06, 0.25, E6, E6, Wave::Square, 0.25}}}},
        {SOUND_HEAL,
         "回復",
         {"wave\\Heal.wav",
          {{0, 0.1, C5, C5, Wave::Sine, 0.5},
           {0.08, 0.1, E5, E5, Wave::Sine, 0.5},
           {0.16, 0.1, G5, G5, Wave::Sine, 0.5},
           {0.24, 0.25, C6, C6, Wave::Sine, 0.5}}}},
        {SOUND_GOAL,
         "ゴール",
         {"wave\\Goal.wav",
          {{0, 0.12, G5, G5, Wave::Square, 0.22},
           {0.12, 0.12, C6, C6, Wave::Square, 0.22},
           {0.24, 0.12, E6, E6, Wave::Square, 0.22},
           {0.36, 0.5, G6, G6, Wave::Square, 0.22},
           {0.36, 0.5, C6, C6, Wave::Triangle, 0.3}}}},
    };
    return sounds;
}

const RecordSound* findRecord(SoundRecord record)
{
    for (const RecordSound& s : recordSounds())
        if (s.record == record) return &s;
    return nullptr;
}

} // namespace

const std::array<const char*, 17>& systemSoundFiles()
{
    static const std::array<const char*, 17> files = [] {
        std::array<const char*, 17> f{};
        for (std::size_t i = 0; i < f.size(); ++i)
            f[i] = systemSounds()[i].file;
        return f;
    }();
    return files;
}

const char* soundRecordFile(SoundRecord record)
{
    const RecordSound* s = findRecord(record);
    return s ? s->sound.file : "";
}

const char* soundRecordName(SoundRecord record)
{
    const RecordSound* s = findRecord(record);
    return s ? s->name : "なし";
}

const std::vector<SoundRecord>& soundRecords()
{
    static const std::vector<SoundRecord> records = [] {
        std::vector<SoundRecord> r = {SOUND_NONE};
        for (const RecordSound& s : recordSounds())
            r.push_back(s.record);
        return r;
    }();
    return records;
}

std::vector<GeneratedFile> soundFiles()
{
    std::vector<GeneratedFile> files;
    for (const SoundSpec& s : systemSounds())
        files.push_back({s.file, encodeWav(synthesise(s.tones))});
    for (const RecordSound& s : recordSounds())
        files.push_back({s.sound.file, encodeWav(synthesise(s.sound.tones))});
    return files;
}

} // namespace defgame
