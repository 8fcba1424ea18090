#pragma once
// The Ogg Vorbis players of the music manager. IVoxPlayer is the interface
// the manager expects of an Ogg library's player; CreateVox makes one over
// the platform's Ogg decoder, which plays into the mixer. cVox keeps one
// player per channel and knows which one plays.

#include <memory>
#include <vector>

inline constexpr int kVoxLoopForever = 0x7FFFFFFF;

class IVoxPlayer {
public:
    virtual ~IVoxPlayer() = default;
    // Opens an Ogg file of a game path; false when it cannot be played.
    virtual bool Load(const char* path) = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    // Unloads; called before every Load.
    virtual void Close() = 0;
    // Times to play again after the end: 0 once, kVoxLoopForever for ever.
    virtual void SetLoop(int count) = 0;
};

// The library's entry: a new player, null when none can be made.
using VoxEntry = std::shared_ptr<IVoxPlayer> (*)();
std::shared_ptr<IVoxPlayer> CreateVox();

// Test hook: the entry that cVox::Init finds from now on; null stands for a
// missing library. CreateVox is the entry otherwise.
void SetVoxEntry(VoxEntry entry);

class cVox {
public:
    // Finds the library's entry; 0 (after an error box) when it is missing.
    int Init();
    // Replaces the players by n new ones; 0 when one cannot be made.
    int Create(int n);
    // Stops what plays, then loads and plays the file on player index.
    // 0 when the path is empty, the player does not exist or the file does
    // not load.
    int Play(int index, const char* path, int loop);
    void Stop();
    void Release();

    int Current() const { return m_Current; }
    int Count() const { return m_Count; }

private:
    std::vector<std::shared_ptr<IVoxPlayer>> m_Players;
    int m_Count = 0;
    int m_Current = -1;
    VoxEntry m_CreateVox = nullptr;
};
