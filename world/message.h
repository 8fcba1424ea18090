#pragma once
// The objects of the play scene's message list: game waits, text windows,
// picture pop-ups and icons; and the wait record that tells the pause
// thread what a blocking command waits for.
//
// A text message renders its framed text once, into a surface of its own
// in g_MessageSurfaces; the surface is at most the screen's size, so an
// overlong text is cut at the frame instead of asking for a surface that
// cannot be made. The drawing places a message each frame (on the screen,
// over an object, or on the map), counts its time down and says when it is
// to go, having given its surface back; a command that waited for its
// message takes it off the list with RemoveMessage.

#include <cstdint>
#include <string>

struct DDSURFACEDATA;
struct DDBMPDATA;

class cMessage {
public:
    // The kinds (m_Kind) and how long a message stays (m_DurationMode).
    enum Kind : int { TIMER = 0, TEXT = 1, GRAPHIC = 2, ICON = 3 };
    enum Duration : int { UNTIL_BUTTON = 0, UNTIL_STAGE_END = 1, TIMED = 2 };

    // Builds a message; a text message is rendered at once. A text
    // surface that cannot be made asks the program to close; the message
    // then stays without one.
    cMessage(int kind, const std::string& text, int graphicKind, int graphicNo, int frame,
             int placement, int blockX, int blockY, int offsetX, int offsetY, int keepOnScreen,
             int durationMode, int frames, int stopsGame, int objectNo, int chained,
             int expandCodes);
    // Draws the text into the message surface.
    void Render(DDSURFACEDATA* surface);
    // Draws one frame; 1 when the message is to be removed (its surface is
    // then released). paused: drawn by the pause thread, where a timed
    // message that does not stop the game keeps its time.
    int Draw(DDSURFACEDATA* dest, int paused);
    // Gives the text surface back to g_MessageSurfaces (nothing without one).
    void ReleaseSurface();

    DDSURFACEDATA* m_Surface = nullptr; // text kind: its rendered box, else none
    DDBMPDATA* m_SurfaceDef = nullptr;  // the creation record of that surface
    std::int32_t m_Kind = 0;            // 0 timer, 1 text, 2 graphic, 3 icon
    std::string m_Text;                 // after code expansion
    std::int32_t m_GraphicKind = 0;
    std::int32_t m_GraphicNo = 0;
    std::int32_t m_Frame = 0;
    std::int32_t m_Placement = 0; // 0 to 8
    std::int32_t m_BlockX = 0;    // placements 7 and 8
    std::int32_t m_BlockY = 0;
    std::int32_t m_OffsetX = 0;
    std::int32_t m_OffsetY = 0;
    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0;
    std::int32_t m_KeepOnScreen = 0;
    std::int32_t m_DurationMode = 0; // 0 until a button, 1 until the stage ends, 2 a time
    std::int32_t m_ObjectNo = 0;     // the object placements 1 to 6 follow
    std::int32_t m_TimeLeft = 0;     // frames left in duration mode 2
    std::int32_t m_StopsGame = 0;
    std::int32_t m_Zoom = 0;
    double m_ZoomCounter = 0;

private:
    // The text kind at (x, y): the growing frame while it opens, then the
    // rendered window.
    void DrawTextWindow(DDSURFACEDATA* dest, int x, int y);
};

// Takes a message off the running stage's list with its surface, when it
// is still there: the drawing may already have removed it.
void RemoveMessage(const cMessage* message);

// Replaces the variable codes of a message text: "#C5" or "#S5" (common or
// stage variable 5), options after "_": a minimum width digit, "P" a plus
// sign, "Z" leading zeros (else blanks); a "." ends a code and goes with it.
// A code naming no variable that exists stays as it is.
std::string ExpandMessageCodes(const std::string& text);

// What the pause thread waits for ("PauseRequest").
struct PauseWait {
    // What the game waits for (m_Kind).
    enum Kind : int { GAME = 0, MESSAGE = 1, EFFECT = 2, PICTURE = 3, EXTRA_LIFE = 4 };

    std::int32_t m_Kind = 0;       // a Kind
    std::int32_t m_KeyLock = 0;    // frames in which no button is accepted
    std::int32_t m_WaitButton = 0; // 1: until a button is pressed
    std::int32_t m_Frames = 0;     // countdown when not waiting for a button
    std::int32_t m_Counter = 0;

    // Counter 0; a message that waits for a button locks the buttons for
    // 10 frames unless it follows another such message of its flow.
    void Set(int kind, int waitButton, int frames, int chained);
};
