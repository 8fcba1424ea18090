#pragma once
// The effect and picture instances of a running stage, and the players of
// character and screen effects.
//
// cEffectObj plays an Effect record's frames at a place (a hit, a command);
// cPictureObj shows a picture of the picture command. A player of a
// character or screen effect carries a copy of the prepared run state of
// its record (world/effect_state.h) and advances it frame by frame.

#include <cstdint>

#include "world/effect_state.h"
#include "world/frame_seq.h"
#include "world/geometry.h"

struct DDSURFACEDATA;

class cEffectObj {
public:
    // An effect at a place and size; stopsGame: it runs with the pause thread.
    cEffectObj(int effect, double x, double y, int width, int height, int stopsGame);
    // An effect at the overlap of two boxes, at the attacker's scale.
    cEffectObj(int effect, const DRect& boxA, const DRect& boxB, int scale);
    // Builds the animation from the Effect record's frames.
    void SetAnimation(int effect);
    // Draws one frame; 1 when the effect has ended (the list removes it).
    int Draw(DDSURFACEDATA* dest, int paused);

    std::int32_t m_Effect = 0; // Effect record
    double m_X = 0;            // top-left in stage pixels
    double m_Y = 0;
    std::int32_t m_Width = 0; // drawn size
    std::int32_t m_Height = 0;
    std::int32_t m_Scaled = 0; // the drawn size differs from the record's cell
    cFrameSeq m_Anime;
    std::int32_t m_StopsGame = 0;
};

class cPictureObj {
public:
    cPictureObj(int picture, double x, double y, int width, int height, int layer, int sizePercent,
                int durationMode, int frames, int stopsGame);
    // Draws one frame from its surface; 1 when it has ended.
    int Draw(DDSURFACEDATA* dest, DDSURFACEDATA* picture, int paused);

    std::int32_t m_Picture = 0;
    double m_X = 0;
    double m_Y = 0;
    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0;
    std::int32_t m_Scaled = 0;       // the size percent was not 100
    std::int32_t m_Layer = 0;        // 0 behind the objects, 1 in front
    std::int32_t m_DurationMode = 0; // 2 for a time; else no limit
    std::int32_t m_FramesLeft = 0;
    std::int32_t m_StopsGame = 0;
    // Tells this picture apart from every other one shown in the run, so
    // that the command waiting on it removes this one and no other.
    std::uint32_t m_Serial = 0;
};

// The character effect running on a character.
class cCharaEffectPlayer : public CharaEffectState {
public:
    // Copies the prepared state of record index (the reversed one for mode
    // 1) and starts it: mode 0 forward, 1 reversed, 2 forward then back.
    void Start(int index, int mode, int loop);
    // Copies the prepared state again (a loop or the way back).
    void Restart();
    // One frame; 1 when the effect has ended.
    int Step();
};

// The screen effect running on the play field ("m_ScrEffectState").
class cScrEffectPlayer : public ScrEffectState {
public:
    void Start(int index, int mode, int loop);
    void Restart();
    // One frame from `from` toward `to`; 1 when the effect has ended.
    int Step(double from, double to, double step);
    // No screen effect runs (stage set-up).
    void Reset() { *this = cScrEffectPlayer(); }
};
