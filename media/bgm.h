#pragma once
// The music manager: a music number is registered with a file, whose
// extension says how it plays ("mid"/"MID" through the MIDI player,
// "ogg"/"OGG" through the Ogg players, anything else tried with the Ogg
// players first, then the MIDI player), and is later played or stopped by
// number. One player per channel; callers use channel 0.
//
// The name tables are the caller's, one row per music number, and live as
// long as the manager uses them. Registration never writes outside them:
// a number outside the tables or a path longer than a row is refused. After
// a failed Init (no Ogg library) every request is refused harmlessly.

#include <mutex>
#include <vector>

#include "media/midi_player.h"
#include "media/vox.h"

inline constexpr int kBgmOggNameBytes = 260;
inline constexpr int kBgmMidiNameBytes = 264;

class cBgm {
public:
    using OggNames = char (*)[kBgmOggNameBytes];
    using MidiNames = char (*)[kBgmMidiNameBytes];

    // Sets the manager up with n music numbers over the caller's tables.
    // 0 when the Ogg library is missing (the manager then refuses every
    // request until it is released).
    int Init(int channels, OggNames oggNames, MidiNames midiNames, int n);
    int SetChannels(int channels);
    // 1 for a known extension ("mid", "MID", "ogg", "OGG"), 0 otherwise.
    int Register(int number, const char* path);
    // 1 when the music plays (or already played and force is 0), 0 when it
    // could not be played; then both back ends are silent.
    int Play(int channel, int number, int loop, int pauseOther, int force);
    void Stop();
    void Release();

    // The music number playing now, -1 for none.
    int Current() const;
    // The kind registered for a number: 0 unknown, 1 Ogg, 2 MIDI.
    int Type(int number) const;

private:
    bool TablesReady() const;

    mutable std::recursive_mutex m_Lock;
    int m_Initialised = 0;
    cVox m_Vox;
    OggNames m_OggNames = nullptr;
    cMidiSet m_MidiSet;
    MidiNames m_MidiNames = nullptr;
    int m_Current = -1;
    std::vector<int> m_Types;
    std::vector<int> m_BackEnds;
};

extern cBgm g_Bgm;
