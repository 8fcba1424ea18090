#include "platform/audio_synth.h"

#include <fluidsynth.h>

#include "platform/audio_pcm.h"
#include "platform/folders.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <system_error>

namespace plat {

namespace {

bool hasSf2Extension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".sf2";
}

bool isRegularFile(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// The .sf2 files of a folder, sorted by name.
std::vector<std::filesystem::path> soundFontsIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (hasSf2Extension(it->path()) && isRegularFile(it->path())) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

class FluidSynth final : public MidiSynth {
public:
    FluidSynth(const std::optional<std::filesystem::path>& soundFont, std::string& loaded)
    {
        loaded.clear();
        // FluidSynth's own messages would only clutter the console.
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, nullptr, nullptr);
        }
        if (!soundFont) {
            return;
        }
        settings_ = new_fluid_settings();
        if (!settings_) {
            return;
        }
        fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
        synth_ = new_fluid_synth(settings_);
        if (!synth_) {
            return;
        }
        if (fluid_synth_sfload(synth_, soundFont->string().c_str(), 1) == FLUID_FAILED) {
            delete_fluid_synth(synth_);
            synth_ = nullptr;
            return;
        }
        loaded = soundFont->string();
    }

    ~FluidSynth() override
    {
        if (synth_) {
            delete_fluid_synth(synth_);
        }
        if (settings_) {
            delete_fluid_settings(settings_);
        }
    }

    void shortMessage(std::uint32_t message) override
    {
        const int status = static_cast<int>(message & 0xFF);
        const int data1 = static_cast<int>((message >> 8) & 0x7F);
        const int data2 = static_cast<int>((message >> 16) & 0x7F);
        if (!synth_ || status < 0x80 || status >= 0xF0) {
            return;
        }
        const int channel = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth_, channel, data1);
            break;
        case 0x90:
            fluid_synth_noteon(synth_, channel, data1, data2);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth_, channel, data1, data2);
            break;
        case 0xB0:
            fluid_synth_cc(synth_, channel, data1, data2);
            break;
        case 0xC0:
            fluid_synth_program_change(synth_, channel, data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth_, channel, data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7));
            break;
        default:
            break;
        }
    }

    void systemExclusive(std::span<const std::uint8_t> message) override
    {
        // FluidSynth takes the bytes between F0 and the closing F7.
        if (!synth_ || message.size() < 2 || message[0] != 0xF0) {
            return;
        }
        auto body = message.subspan(1);
        if (!body.empty() && body.back() == 0xF7) {
            body = body.first(body.size() - 1);
        }
        if (body.empty()) {
            return;
        }
        fluid_synth_sysex(synth_, reinterpret_cast<const char*>(body.data()),
                          static_cast<int>(body.size()), nullptr, nullptr, nullptr, 0);
    }

    void allSoundOff() override
    {
        if (synth_) {
            fluid_synth_all_sounds_off(synth_, -1);
        }
    }

    void render(float* out, std::size_t frames) override
    {
        if (!synth_) {
            return;
        }
        constexpr std::size_t kBlock = 1024;
        while (frames > 0) {
            const std::size_t n = std::min(frames, kBlock);
            fluid_synth_write_float(synth_, static_cast<int>(n), scratch_, 0, 2, scratch_, 1, 2);
            for (std::size_t i = 0; i < n * 2; ++i) {
                out[i] += scratch_[i];
            }
            out += n * 2;
            frames -= n;
        }
    }

private:
    static constexpr double kRate = kMixRate;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    float scratch_[2 * 1024] = {};
};

std::mutex g_sharedMutex;
std::shared_ptr<MidiSynth> g_shared;
std::string g_sharedSoundFont;
bool g_silentNoticeTaken = false;

void makeSharedLocked()
{
    if (g_shared) {
        return;
    }
    const auto folders = systemSoundFontFolders();
    g_shared = makeFluidMidiSynth(
        findSoundFont(currentFolder().value_or(std::filesystem::path(".")), folders),
        g_sharedSoundFont);
    g_silentNoticeTaken = false;
}

} // namespace

std::vector<std::filesystem::path> systemSoundFontFolders()
{
    return {"/usr/share/sounds/sf2", "/usr/share/soundfonts", "/usr/local/share/soundfonts",
            "/usr/share/sounds/sf3"};
}

std::optional<std::filesystem::path>
findSoundFont(const std::filesystem::path& gameFolder,
              std::span<const std::filesystem::path> systemFolders)
{
    if (auto own = soundFontsIn(gameFolder); !own.empty()) {
        return own.front();
    }
    // The General MIDI defaults that distributions install, best first.
    static const char* const kDefaults[] = {"default-GM.sf2", "default.sf2", "FluidR3_GM.sf2",
                                            "TimGM6mb.sf2"};
    for (const auto& folder : systemFolders) {
        for (const char* name : kDefaults) {
            if (isRegularFile(folder / name)) {
                return folder / name;
            }
        }
    }
    for (const auto& folder : systemFolders) {
        if (auto any = soundFontsIn(folder); !any.empty()) {
            return any.front();
        }
    }
    return std::nullopt;
}

std::shared_ptr<MidiSynth> makeFluidMidiSynth(const std::optional<std::filesystem::path>& soundFont,
                                              std::string& loadedSoundFont)
{
    return std::make_shared<FluidSynth>(soundFont, loadedSoundFont);
}

std::shared_ptr<MidiSynth> sharedMidiSynth()
{
    std::lock_guard lock(g_sharedMutex);
    makeSharedLocked();
    return g_shared;
}

std::string sharedMidiSoundFont()
{
    std::lock_guard lock(g_sharedMutex);
    makeSharedLocked();
    return g_sharedSoundFont;
}

bool takeSilentMidiSynthNotice()
{
    std::lock_guard lock(g_sharedMutex);
    makeSharedLocked();
    if (!g_sharedSoundFont.empty() || g_silentNoticeTaken) {
        return false;
    }
    g_silentNoticeTaken = true;
    return true;
}

void setSharedMidiSynth(std::shared_ptr<MidiSynth> synth, std::string soundFont)
{
    std::lock_guard lock(g_sharedMutex);
    g_shared = std::move(synth);
    g_sharedSoundFont = g_shared ? std::move(soundFont) : std::string();
    g_silentNoticeTaken = false;
}

} // namespace plat
