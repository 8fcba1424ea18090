#pragma once
// Sound effects: WAV files loaded into sound slots, each with one or more
// copies that play in turn, so that a sound started again while it plays
// either restarts (one copy) or overlaps itself (several copies). Volumes
// are hundredths of a decibel, clamped to -10000..0.
//
// The functions work on the global mixer once DS_Init has run; before it,
// and after DSUninit, they do nothing and give their neutral result. They
// may be called from the main thread and the game thread at once: the slot
// tables' copies and round-robin indices are guarded by one lock.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_mixer.h"
#include "platform/message_loop.h"

inline constexpr int kDSVolumeMin = -10000;
inline constexpr int kDSVolumeMax = 0;
// The copies a slot may have; a count outside is taken as the nearest.
inline constexpr int kDSMaxCopies = 64;

// The description of a slot, filled by start-up.
struct DSSOUNDINFO {
    std::string strFile; // path of the WAV file
    int nCopies = 0;     // number of copies of the slot
    int nVolume = 0;     // hundredths of a decibel, 0 = full volume
    int nFlag = 0;       // set by start-up; not read here
};

// A loaded slot.
struct DSSOUNDDATA {
    std::string strName;                                       // the file it was loaded from
    std::vector<std::shared_ptr<plat::SoundBuffer>> lpBuffers; // empty: not loaded
    int nCount = 0;                                            // number of copies
    int nNext = 0;                                             // copy to play next
};

// The slots: 0..16 the system sounds, 16 + k the Sound table's record k.
extern std::vector<DSSOUNDDATA> g_Sounds;
extern std::vector<DSSOUNDINFO> g_SoundTable;

// Opens the audio device (a machine without one plays silently, which the
// run report says in one line) and makes the layer ready. The window and the
// format are those the game asks for; the mixer's own format is fixed.
bool DS_Init(plat::WindowId hWnd, int sampleRate, int bits, int channels);
// Releases every slot of the vector DSLoadSounds was given and closes the device.
void DSUninit();

// Loads every slot that is not loaded yet from its table entry, at the
// given volume (0: the entry's own). A slot that fails stays silent.
// Returns 1.
int DSLoadSounds(std::vector<DSSOUNDDATA>& sounds, std::vector<DSSOUNDINFO>& table, int volume);
bool DSCreateSound(DSSOUNDDATA& slot, const char* fileName, int copies, int volume);
void DSReleaseSound(DSSOUNDDATA& slot);
// A stopped buffer with the samples of a WAV file, converted for the mixer.
bool DSCreateBuffer(std::shared_ptr<plat::SoundBuffer>& out, const char* fileName);
// A copy sharing the original's samples.
bool DSDuplicate(std::shared_ptr<plat::SoundBuffer>& out,
                 const std::shared_ptr<plat::SoundBuffer>& original);

// Plays the slot's next copy from its start (flags: 0, play once).
void DSPlay(DSSOUNDDATA& slot, std::uint32_t flags);
// Sets a copy's volume (relative: added to its current one), clamped;
// returns the volume applied, 0 for a copy that does not exist.
int DSSetVolume(DSSOUNDDATA& slot, int copy, int volume, bool relative);
// A copy's current volume; 0 for a copy that does not exist.
int DSGetVolume(DSSOUNDDATA& slot, int copy);
