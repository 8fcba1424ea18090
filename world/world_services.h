#pragma once
// What the world and the play scene ask of the rest of the program while a
// stage runs: sounds and music (played by the main window), error boxes,
// the close request, the millisecond clock that seeds a stage, the keys
// read outside the input records (Space pauses; F1/F2 save a replay). They
// sit behind one small interface so that tests and benchmarks step the
// world without a window: a recording sink keeps what was asked instead
// and answers the keys from a script.
//
// Drawing needs no interface of its own: the media layer's renderer works
// on memory surfaces, with or without a window.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cWorldServices {
public:
    virtual ~cWorldServices() = default;
    // A sound slot: 0 to 16 the system sounds, 16 + k record k of the Sound table.
    virtual void PlaySe(std::uint32_t slot);
    // The stage music: a Bgm record, 0 stops the music. The main window
    // remembers the number as the music playing now.
    virtual void PlayMusic(std::int32_t number);
    // A box captioned "エラー" with the text as it stands.
    virtual void ErrorBox(const char* text);
    // Asks the main window to close (the game then ends in order).
    virtual void RequestClose();
    // The millisecond clock.
    virtual std::uint32_t NowMs();
    // Whether a key (a virtual-key code) is held now.
    virtual int KeyDown(int vk);
    // The replay-saving keys of a frame; non-zero when a save was asked for
    // (the frame then ends).
    virtual int CheckReplayKeys();
    // A blocking command (a game wait, a message, an effect or a picture that
    // waits) hands the frame loop to the pause thread until the running
    // stage's pause wait ends; the game thread waits here meanwhile.
    virtual void RunPauseWait();
};

// The services in use: the live ones unless a test or a benchmark set others.
cWorldServices& WorldServices();
// Sets the services in use; null goes back to the live ones.
void SetWorldServices(cWorldServices* services);

// What the live services reach above the world, registered by the shell;
// while one is not registered, its request does nothing (a key reads up).
struct LiveServiceHooks {
    std::function<void(std::int32_t)> playMusic;
    std::function<int(int)> keyDown;
    std::function<int()> checkReplayKeys;
    std::function<void()> runPauseWait;
    std::function<std::uint32_t()> nowMs; // unset: the system's millisecond clock
};
void SetLiveServiceHooks(LiveServiceHooks hooks);

// A sound of the Sound table: nothing for 0, else slot number + 16.
void WorldDataSe(std::int32_t number);

// Services that keep every request and answer the clock with a set value.
// The music number is also stored as the progress record's music playing
// now, as the main window does with a real request.
class cRecordingServices : public cWorldServices {
public:
    void PlaySe(std::uint32_t slot) override;
    void PlayMusic(std::int32_t number) override;
    void ErrorBox(const char* text) override;
    void RequestClose() override;
    std::uint32_t NowMs() override;
    int KeyDown(int vk) override;
    int CheckReplayKeys() override;
    void RunPauseWait() override;

    std::vector<std::uint32_t> m_Sounds;
    std::vector<std::int32_t> m_Music;
    std::vector<std::string> m_ErrorBoxes;
    int m_CloseRequests = 0;
    std::uint32_t m_Clock = 0;
    std::vector<int> m_KeysDown; // the virtual-key codes held now
    int m_PauseWaits = 0;        // how often the pause thread was asked for
};

// Makes a set of services current for the life of the object.
class cScopedServices {
public:
    explicit cScopedServices(cWorldServices& services) { SetWorldServices(&services); }
    ~cScopedServices() { SetWorldServices(nullptr); }
    cScopedServices(const cScopedServices&) = delete;
    cScopedServices& operator=(const cScopedServices&) = delete;
};
