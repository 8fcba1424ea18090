#pragma once
// The input of a whole session, recorded or played back, so that a session
// of the game can be played again exactly (an author's check of the whole
// game, or a test): everything of the outside that play depends on goes
// through here. Each poll of the input (one a frame in which the game reads
// it, whichever thread holds the frame loop) is one entry, so frames spent
// loading or waiting do not shift it; the clock read at a stage start seeds
// the stage; a ranking's name is typed by the player. The file's layout is
// data/input_session_log.h's.
//
// Recording keeps what the devices gave and writes the file when the
// session ends. Playing back takes everything from the file instead of the
// devices; once the file has run out the game gets no keys, the clock reads
// 0 and a ranking's name stays as proposed.
// Whichever thread holds the frame loop calls these, one at a time.

#include <cstdint>
#include <functional>
#include <string>

struct InputState;

// Starts recording the session into the file (a path of this machine),
// written when the session ends; false, with the reason in `error`, when
// the file cannot be written there (nothing is recorded then).
bool StartSessionRecording(const std::string& path, std::string& error);
// Starts playing the session of the file back; false, with the reason in
// `error`, when it cannot be read or is damaged (nothing is played then).
bool StartSessionPlayback(const std::string& path, std::string& error);
// Ends the session: a recording is written (a file that cannot be written
// is said in `error`, and false). True when nothing had to be written.
bool EndInputSession(std::string& error);

bool SessionPlaying();

// The poll of a frame: false when the devices are to be read (not playing
// back); true when the record got the session's next input instead.
bool TakeSessionInput(InputState& state);
// After the devices were read into the record: a recording keeps the poll.
void NoteSessionInput(const InputState& state);

// A key read outside the input record (the virtual-key code), `live` being
// the device's answer: the recorded keys answer as at the last poll while
// a session is recorded or played back; other keys read up in playback.
int SessionKeyDown(int vk, int live);
// The clock read at a stage start, `live` being the device's.
std::uint32_t SessionClock(std::uint32_t live);
// The ranking's name, proposed in `name`: asked of the player with `ask`
// (and kept, while recording), or the recorded one in playback.
void SessionRankingName(std::string& name, const std::function<void(std::string&)>& ask);

// How far a playback has come: entries taken and in the file.
std::int64_t SessionPollsTaken();
std::int64_t SessionPollCount();
