// Message objects: the variable codes of a text, the pause wait record,
// and, in every display mode of both back ends, the text window's size and
// picture, the placements, keeping on the screen, the opening zoom, the
// rising pop-ups, the time of a message and its removal.

#include "media/graphics_fixture.h"

#include <climits>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_save_data.h"
#include "media/font.h"
#include "world/message.h"
#include "world/npc_obj.h"
#include "world/play_pictures.h"
#include "world/running_stage.h"
#include "world/world_services.h"

using namespace gfxtest;

namespace {

using enum cMessage::Kind;
using enum cMessage::Duration;

// A message of a kind at a placement; the rest as the callers of the
// running stage build them.
cMessage Make(int kind, const std::string& text, int placement, int blockX, int blockY, int dx,
              int dy, int keep, int mode, int frames, int stopsGame = 0, int objectNo = 0,
              int chained = 0)
{
    return cMessage(kind, text, 0, 0, 0, placement, blockX, blockY, dx, dy, keep, mode, frames,
                    stopsGame, objectNo, chained, 0);
}

// --- variable codes and the wait record (no drawing)

class MessageCodes : public testing::Test {
protected:
    void SetUp() override
    {
        m_SavedProgress = g_Progress;
        g_Progress.vCommonVar.assign(kCommonVars, 0);
        g_Progress.vCommonVar[5] = 42;
        g_Progress.vCommonVar[7] = INT_MIN;
        g_Progress.vCommonVar[255] = 9;
        m_Stage.m_StageVars[2] = -7;
        m_Stage.m_StageVars[254] = 3;
    }
    void TearDown() override { g_Progress = m_SavedProgress; }

    cRunningStage m_Stage;
    cCurrentStage m_Current{m_Stage};
    cSaveData m_SavedProgress;
};

TEST_F(MessageCodes, ExpandVariablesWithTheirOptions)
{
    struct Case {
        const char* text;
        const char* expanded;
    };
    const Case cases[] = {
        {"#C5", "42"},
        {"#C5_4.", "  42"}, // the point goes with the code
        {"#C5_4Z", "0042"}, // leading zeros kept
        {"#S2_3P", "-  7"}, // the sign before the blanks
        {"#C5_P", "+42"},   // a plus sign only when asked for
        {"#C5_34", "  42"}, // the last width digit counts
        {"#c5_4z", "0042"}, // either case
        {"#C6_3", "  0"},   // the last digit is never a blank
        {"#C6_3Z", "000"},
        {"#C7", "-2147483648"},
        {"#5C", "42"},                      // the letter may follow the number
        {"#SC5", "42"},                     // common wins over stage
        {"#C255 #S254", "9 3"},             // the last variables of each
        {"HP#C5.pt", "HP42pt"},             // inside a text
        {"#C5#C5", "4242"},                 // one code ends where the next begins
        {"##C5", "#42"},                    // a lone "#" stays
        {"#C5..", "42."},                   // only one point is the code's
        {"#C0", "#C0"},                     // no variable 0
        {"#C300", "#C300"},                 // beyond the last variable
        {"#S255", "#S255"},                 // the stage has S0 to S254 only
        {"#5", "#5"},                       // no kind of variable
        {"#C", "#C"},                       // no number
        {"#C99999999999", "#C99999999999"}, // a long number stays beyond
        {"#C5_", "42"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandMessageCodes(c.text), c.expanded) << c.text;
}

TEST_F(MessageCodes, ADoubleByteCharacterIsSkippedWhole)
{
    // "表" ends in a backslash byte, "ソ" in "\": neither is read alone, and
    // a code right after one is still expanded.
    EXPECT_EQ(ExpandMessageCodes(Sjis("表#C5ソ#S2")), std::string(Sjis("表42ソ-7")));
    // A lead byte with no trail byte after it is one character: the "#"
    // after it starts a code.
    EXPECT_EQ(ExpandMessageCodes("\x82#C5"), "\x82"
                                             "42");
}

TEST_F(MessageCodes, AVariableThatDoesNotExistLeavesTheCode)
{
    // A progress record with fewer common variables (an older save) must
    // not make an accepted code close the game.
    g_Progress.vCommonVar.assign(4, 1);
    EXPECT_EQ(ExpandMessageCodes("#C3 #C5"), "1 #C5");
}

TEST_F(MessageCodes, TheConstructorExpandsOnlyWhenAsked)
{
    cMessage expanded(cMessage::TIMER, "#C5", 0, 0, 0, 0, 0, 0, 0, 0, 0, TIMED, 6, 1, 0, 0, 1);
    cMessage kept(cMessage::TIMER, "#C5", 0, 0, 0, 0, 0, 0, 0, 0, 0, TIMED, 6, 1, 0, 0, 0);
    EXPECT_EQ(expanded.m_Text, "42");
    EXPECT_EQ(kept.m_Text, "#C5");
    EXPECT_EQ(expanded.m_Width, 16);
    EXPECT_EQ(expanded.m_TimeLeft, 6);
    EXPECT_EQ(expanded.m_Surface, nullptr);
}

TEST(PauseWaitRecord, OnlyAnUnchainedButtonMessageLocksTheButtons)
{
    struct Case {
        int kind, button, frames, chained;
        int keyLock;
    };
    const Case cases[] = {
        {1, 1, 0, 0, 10}, {1, 1, 0, 1, 0},  {1, 0, 30, 0, 0},
        {0, 1, 0, 0, 0},  {2, 0, 42, 0, 0}, {3, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        PauseWait wait;
        wait.m_Counter = 5;
        wait.m_KeyLock = 7;
        wait.Set(c.kind, c.button, c.frames, c.chained);
        EXPECT_EQ(wait.m_Kind, c.kind);
        EXPECT_EQ(wait.m_WaitButton, c.button);
        EXPECT_EQ(wait.m_Frames, c.frames);
        EXPECT_EQ(wait.m_Counter, 0);
        EXPECT_EQ(wait.m_KeyLock, c.keyLock) << c.kind << c.button << c.chained;
    }
}

TEST(MessageSurface, AWindowThatCannotBeMadeClosesTheGame)
{
    // No graphics layer: the surface cannot be made.
    cRecordingServices services;
    cScopedServices scoped(services);
    cRunningStage stage;
    cCurrentStage current(stage);
    const std::size_t before = g_MessageSurfaces.size();
    cMessage message = Make(TEXT, "AB", 0, 0, 0, 0, 0, 0, UNTIL_STAGE_END, 0);
    EXPECT_EQ(services.m_CloseRequests, 1);
    EXPECT_EQ(message.m_Surface, nullptr);
    EXPECT_EQ(g_MessageSurfaces.size(), before);
    EXPECT_EQ(g_MessageSurfaceDefs.size(), before);
    DDSURFACEDATA nowhere;
    EXPECT_EQ(message.Draw(&nowhere, 0), 0);
}

// --- drawing, in every mode

struct Box {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive; empty when right < left
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

class MessageDrawing : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(GetParam(), 640, 480));
        InitFontDef();
        MakeFont(g_FontDef[1].cellWidth);
        ASSERT_TRUE(DDCreateSurface(&m_Dest, 640, 480, 0, 1, 0, 0, 0));
        // The extra-life icon's cell: colour 30 with one transparent pixel.
        ASSERT_TRUE(DDCreateSurface(&g_BitmapSD[49], 16, 64, 1, 1, 0, 0, 0));
        DDClearPal(&g_BitmapSD[49], 0);
        DDBoxFillPal(&g_BitmapSD[49], 0, 48, 16, 16, kIconColour);
        DDBoxFillPal(&g_BitmapSD[49], 5, 53, 1, 1, 0);
        m_Reader = std::make_unique<PaletteReader>(256);
        Clear();
        m_Stage.m_ScrollX.m_AreaFirst = 10;
        m_Stage.m_ScrollY.m_AreaFirst = 10;
    }
    void TearDown() override
    {
        DDReleaseSurfaceList(g_MessageSurfaces);
        g_MessageSurfaces.clear();
        g_MessageSurfaceDefs.clear();
        g_Fonts[1].Release();
        std::erase(g_FontList, &g_Fonts[1]);
        g_Fonts[1] = Font();
        DDReleaseSurface(&g_BitmapSD[49]);
        DDReleaseSurface(&m_Dest);
        TearDownMode();
    }
    void MakeFont(int cellWidth)
    {
        Font& font = g_Fonts[1];
        if (font.m_hFont) {
            font.Release();
            std::erase(g_FontList, &font);
            font = Font();
        }
        const FONTDEF& d = g_FontDef[1];
        ASSERT_TRUE(font.Create(d.face.data(), d.fontWidth, d.fontHeight, cellWidth, d.lineHeight,
                                d.colour, nullptr, 1, kFrameColour, nullptr));
        ASSERT_TRUE(font.m_hFont != nullptr) << "a Japanese face is installed";
    }
    void Clear()
    {
        DDClearPal(&m_Dest, kBack);
        m_BackValue = m_Dest.pixels()->get(0, 0);
    }
    // The rectangle of every pixel of the destination that is not the
    // background.
    Box Ink() const
    {
        const DDPixels& p = *m_Dest.pixels();
        Box b{640, 480, -1, -1};
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (p.get(x, y) != m_BackValue) {
                    b.left = std::min(b.left, x);
                    b.top = std::min(b.top, y);
                    b.right = std::max(b.right, x);
                    b.bottom = std::max(b.bottom, y);
                }
        if (b.right < 0) return Box{};
        return b;
    }
    int Colour(const DDSURFACEDATA& sd, int x, int y) const { return m_Reader->at(sd, x, y); }
    int Count(const DDSURFACEDATA& sd, int colour) const
    {
        int n = 0;
        for (int y = 0; y < sd.height; ++y)
            for (int x = 0; x < sd.width; ++x)
                n += Colour(sd, x, y) == colour;
        return n;
    }
    // Every pixel of the surface's outer ring is the frame colour.
    bool Framed(const DDSURFACEDATA& sd) const
    {
        for (int x = 0; x < sd.width; ++x)
            if (Colour(sd, x, 0) != kFrameColour || Colour(sd, x, sd.height - 1) != kFrameColour)
                return false;
        for (int y = 0; y < sd.height; ++y)
            if (Colour(sd, 0, y) != kFrameColour || Colour(sd, sd.width - 1, y) != kFrameColour)
                return false;
        return true;
    }

    static constexpr int kBack = 20;
    static constexpr int kFrameColour = 240;
    static constexpr int kTextColour = 241;
    static constexpr int kIconColour = 30;
    cRecordingServices m_Services;
    cScopedServices m_Scoped{m_Services};
    cRunningStage m_Stage;
    cCurrentStage m_Current{m_Stage};
    DDSURFACEDATA m_Dest;
    std::uint32_t m_BackValue = 0;
    std::unique_ptr<PaletteReader> m_Reader;
};

TEST_P(MessageDrawing, TheTextWindowIsTheFramedTextPlusTwo)
{
    cMessage message = Make(TEXT, "AB\nC", 0, 0, 0, 0, 0, 0, UNTIL_STAGE_END, 0);
    // Two cells of 16 by two lines of 16, and the frame.
    EXPECT_EQ(message.m_Width, 34);
    EXPECT_EQ(message.m_Height, 34);
    ASSERT_NE(message.m_Surface, nullptr);
    EXPECT_EQ(message.m_Surface, &g_MessageSurfaces.back());
    EXPECT_EQ(message.m_SurfaceDef, &g_MessageSurfaceDefs.back());
    EXPECT_EQ(message.m_Surface->width, 34);
    EXPECT_EQ(message.m_Surface->height, 34);
    EXPECT_TRUE(Framed(*message.m_Surface));
    EXPECT_GT(Count(*message.m_Surface, kTextColour), 0);
    // Centred on the screen, copied whole.
    EXPECT_EQ(message.Draw(&m_Dest, 0), 0);
    EXPECT_EQ(Ink(), (Box{320 - 17, 240 - 17, 320 + 16, 240 + 16}));
    EXPECT_EQ(Colour(m_Dest, 303, 223), kFrameColour);
    EXPECT_EQ(m_Services.m_CloseRequests, 0);
}

TEST_P(MessageDrawing, AFontWithoutCellsIsMeasuredByItsGlyphs)
{
    // Measured with the renderer in use in both back ends: a window of no
    // size would hide the text.
    MakeFont(0);
    int w = 0, h = 0;
    g_Fonts[1].MeasureTextGdi("AB", &w, &h);
    ASSERT_GT(w, 0);
    cMessage message = Make(TEXT, "AB", 0, 0, 0, 0, 0, 0, UNTIL_STAGE_END, 0);
    EXPECT_EQ(message.m_Width, w + 2);
    EXPECT_EQ(message.m_Height, h + 2);
    ASSERT_NE(message.m_Surface, nullptr);
    EXPECT_GT(Count(*message.m_Surface, kTextColour), 0);
    EXPECT_TRUE(Framed(*message.m_Surface));
}

TEST_P(MessageDrawing, AnOverlongTextIsCutAtTheScreen)
{
    // 1,100 squares would need a surface larger than any that can be
    // made. The squares of a font without cells ink the cut edges.
    MakeFont(0);
    std::string line;
    std::string column;
    for (int i = 0; i < 1100; ++i)
        line += Sjis("■");
    for (int i = 0; i < 40; ++i)
        column += std::string(Sjis("■")) + "\n";
    const struct {
        std::string text;
        int width, height;
    } cases[] = {
        {line, 640, 0}, // one line of the face's height
        {column, 0, 480},
    };
    for (const auto& c : cases) {
        cMessage message = Make(TEXT, c.text, 0, 0, 0, 0, 0, 0, UNTIL_STAGE_END, 0);
        EXPECT_EQ(m_Services.m_CloseRequests, 0);
        if (c.width) {
            EXPECT_EQ(message.m_Width, c.width);
        }
        if (c.height) {
            EXPECT_EQ(message.m_Height, c.height);
        }
        ASSERT_NE(message.m_Surface, nullptr);
        EXPECT_EQ(message.m_Surface->width, message.m_Width);
        EXPECT_EQ(message.m_Surface->height, message.m_Height);
        // The text stops at the frame, which is whole.
        EXPECT_TRUE(Framed(*message.m_Surface));
        Clear();
        EXPECT_EQ(message.Draw(&m_Dest, 0), 0);
        const int w = message.m_Width;
        const int h = message.m_Height;
        EXPECT_EQ(Ink(), (Box{320 - w / 2, 240 - h / 2, 320 - w / 2 + w - 1, 240 - h / 2 + h - 1}));
    }
}

TEST_P(MessageDrawing, PlacementsOnTheScreenOverAnObjectAndOnTheMap)
{
    cNpcObj chara;
    chara.m_ObjNo = 7;
    chara.m_X = 200.25;
    chara.m_Y = 150;
    chara.m_PicOffX = 4;
    chara.m_PicOffY = 6;
    chara.m_PicWidth = 40;
    chara.m_PicHeight = 30;
    m_Stage.AddChara(chara);
    m_Stage.m_ScrollX.m_Pos = 100.5;
    m_Stage.m_ScrollY.m_Pos = 50.75;
    // The object's box on the screen: (99, 99), differences truncated.
    struct Case {
        int placement, blockX, blockY, dx, dy;
        int x, y;
    };
    const Case cases[] = {
        {0, 9, 9, 3, -2, 320 + 3 - 8, 240 - 2 - 8},
        {1, 0, 0, 3, -2, 99 - 8 + 20 - 4 + 3, 99 - 6 - 16 - 2}, // above
        {2, 0, 0, 3, -2, 110, 99 - 6 + 30 - 2 + 1},             // below
        {3, 0, 0, 3, -2, 110, 99 - 8 + 15 - 6 - 2},             // centred
        {4, 0, 0, 3, -2, 110, 75},                              // the same for the player's
        {5, 0, 0, 3, -2, 110, 122},
        {6, 0, 0, 3, -2, 110, 98},
        {7, 2, 3, 3, -2, 64 + 3, 96 - 2}, // screen blocks
        {8, 2, 3, 3, -2, 286, 363},       // 286.5 and 363.25
        {8, 0, 0, -225, 100, -5, 369},    // -5.5 goes to -5
    };
    for (const Case& c : cases) {
        Clear();
        cMessage message = Make(ICON, "", c.placement, c.blockX, c.blockY, c.dx, c.dy, 0,
                                UNTIL_STAGE_END, 30, 0, 7);
        EXPECT_EQ(message.Draw(&m_Dest, 0), 0);
        const Box expected{std::max(c.x, 0), c.y, c.x + 15, c.y + 15};
        EXPECT_EQ(Ink(), expected) << "placement " << c.placement;
    }
}

TEST_P(MessageDrawing, KeepingOnTheScreen)
{
    struct Case {
        int x, y, width;
        int keptX, keptY;
    };
    const Case cases[] = {
        {620, 100, 40, 600, 100}, // 620 + 40 reaches 639: 640 - 40
        {-3, 5, 16, 0, 20},       // the top 20 rows stay clear
        {622, 462, 16, 622, 462}, // ends at 637 and 477: inside
        {623, 463, 16, 624, 464}, // ends at 638 and 478: pushed to the edge
        {630, 470, 16, 624, 464},
    };
    for (const Case& c : cases) {
        for (int keep : {0, 1}) {
            Clear();
            cMessage message = Make(ICON, "", 7, 0, 0, c.x, c.y, keep, UNTIL_STAGE_END, 30);
            message.m_Width = c.width;
            message.Draw(&m_Dest, 0);
            const int x = keep ? c.keptX : c.x;
            const int y = keep ? c.keptY : c.y;
            const Box expected{std::max(x, 0), y, std::min(x + 15, 639), std::min(y + 15, 479)};
            EXPECT_EQ(Ink(), expected) << c.x << "," << c.y << " keep " << keep;
        }
    }
}

TEST_P(MessageDrawing, AButtonMessageOpensWithAZoomFromItsCentre)
{
    cMessage message = Make(TEXT, "AB", 0, 0, 0, 0, 0, 0, UNTIL_BUTTON, 0);
    ASSERT_EQ(message.m_Zoom, 1);
    // 34 x 18 at (303, 231); frames 1 to 9 show only the growing frame.
    for (int k = 1; k <= 9; ++k) {
        Clear();
        // The pause thread's frames count as well.
        EXPECT_EQ(message.Draw(&m_Dest, k % 2), 0);
        const double s = k * 0.1;
        const int bx = static_cast<int>(320 - 17 * s);
        const int by = static_cast<int>(240 - 9 * s);
        const int bw = static_cast<int>(34 * s);
        const int bh = static_cast<int>(18 * s);
        // The frame lies one pixel around the box.
        EXPECT_EQ(Ink(), (Box{bx - 1, by - 1, bx + bw, by + bh})) << "frame " << k;
        EXPECT_EQ(Colour(m_Dest, bx - 1, by - 1), kFrameColour);
    }
    Clear();
    message.Draw(&m_Dest, 0);
    EXPECT_EQ(Ink(), (Box{303, 231, 336, 248}));
    EXPECT_GT(Count(m_Dest, kTextColour), 0);
    EXPECT_DOUBLE_EQ(message.m_ZoomCounter, 10);
}

TEST_P(MessageDrawing, NoZoomWhenChainedOrTimed)
{
    struct Case {
        int mode, chained;
    };
    for (const Case c : {Case{UNTIL_BUTTON, 1}, Case{TIMED, 0}, Case{UNTIL_STAGE_END, 0}}) {
        Clear();
        cMessage message = Make(TEXT, "AB", 0, 0, 0, 0, 0, 0, c.mode, 60, 1, 0, c.chained);
        EXPECT_EQ(message.m_Zoom, 0);
        message.Draw(&m_Dest, 0);
        EXPECT_EQ(Ink(), (Box{303, 231, 336, 248})) << c.mode << " " << c.chained;
    }
}

TEST_P(MessageDrawing, PopupsRiseSevenPixelsOverThirtyFrames)
{
    cMessage icon = Make(ICON, "", 7, 5, 5, 0, 0, 0, TIMED, 30, 1);
    for (int frame = 1; frame <= 30; ++frame) {
        Clear();
        ASSERT_EQ(icon.Draw(&m_Dest, 0), 0) << frame;
        const int top = 160 - (frame >> 2);
        ASSERT_EQ(Ink(), (Box{160, top, 175, top + 15})) << frame;
        // Colour-keyed: the cell's transparent pixel shows the field.
        EXPECT_EQ(Colour(m_Dest, 165, top + 5), kBack);
        EXPECT_EQ(Colour(m_Dest, 160, top), kIconColour);
    }
    // Risen by 7 on its last frame; its time falls below 0 on the next.
    EXPECT_EQ(icon.m_TimeLeft, 0);
    Clear();
    EXPECT_EQ(icon.Draw(&m_Dest, 0), 1);
    EXPECT_EQ(Ink(), Box{});
}

TEST_P(MessageDrawing, TheTimeOfAMessageAndItsRemoval)
{
    // A timed message that does not stop the game keeps its time while the
    // pause thread of another command draws; one that stops it does not.
    cMessage own = Make(TEXT, "AB", 0, 0, 0, 0, 0, 0, TIMED, 3, 0);
    cMessage waiting = Make(TEXT, "CD", 0, 0, 0, 0, 0, 0, TIMED, 3, 1);
    cMessage graphic(cMessage::GRAPHIC, "", 1, 2, 0, 0, 0, 0, 0, 0, 0, TIMED, 30, 0, 0, 0, 0);
    ASSERT_EQ(g_MessageSurfaces.size(), 2u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(own.Draw(&m_Dest, 1), 0);
        EXPECT_EQ(graphic.Draw(&m_Dest, 1), 0);
    }
    EXPECT_EQ(own.m_TimeLeft, 3);
    EXPECT_EQ(graphic.m_TimeLeft, 30);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(own.Draw(&m_Dest, 0), 0);
        EXPECT_EQ(waiting.Draw(&m_Dest, 1), 0);
    }
    // Below 0: removed, the window given back.
    EXPECT_EQ(own.Draw(&m_Dest, 0), 1);
    EXPECT_EQ(own.m_Surface, nullptr);
    EXPECT_EQ(g_MessageSurfaces.size(), 1u);
    EXPECT_EQ(g_MessageSurfaceDefs.size(), 1u);
    EXPECT_EQ(waiting.Draw(&m_Dest, 1), 1);
    EXPECT_TRUE(g_MessageSurfaces.empty());
    EXPECT_TRUE(g_MessageSurfaceDefs.empty());
    // A graphic pop-up of 30 frames goes on its 31st.
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(graphic.Draw(&m_Dest, 0), 0);
    EXPECT_EQ(graphic.Draw(&m_Dest, 0), 1);
}

TEST_P(MessageDrawing, AMessageGoesWithTheObjectItFollows)
{
    cNpcObj chara;
    chara.m_ObjNo = 7;
    chara.m_X = 300;
    chara.m_Y = 300;
    m_Stage.AddChara(chara);
    cMessage over = Make(TEXT, "AB", 1, 0, 0, 0, 0, 0, UNTIL_STAGE_END, 0, 0, 7);
    cMessage icon = Make(ICON, "", 4, 0, 0, 0, 0, 0, TIMED, 30, 0, 7);
    EXPECT_EQ(over.Draw(&m_Dest, 0), 0);
    EXPECT_EQ(icon.Draw(&m_Dest, 0), 0);
    m_Stage.EraseChara(m_Stage.CharaNode(m_Stage.m_CharaList.front()));
    Clear();
    EXPECT_EQ(over.Draw(&m_Dest, 0), 1);
    EXPECT_EQ(icon.Draw(&m_Dest, 0), 1);
    EXPECT_TRUE(g_MessageSurfaces.empty());
    EXPECT_EQ(Ink(), Box{});
    // A placement that names no place draws nothing and keeps the message.
    cMessage nowhere = Make(TEXT, "AB", 9, 0, 0, 0, 0, 0, UNTIL_STAGE_END, 0);
    EXPECT_EQ(nowhere.Draw(&m_Dest, 0), 0);
    EXPECT_EQ(Ink(), Box{});
    // A timer draws nothing.
    cMessage timer = Make(TIMER, "", 0, 0, 0, 0, 0, 0, TIMED, 5, 1);
    EXPECT_EQ(timer.Draw(&m_Dest, 1), 0);
    EXPECT_EQ(Ink(), Box{});
}

TEST_P(MessageDrawing, ValuesAtTheEndsOfTheirRangeAreSafe)
{
    // Offsets, blocks and times from a stage file at the ends of the int
    // range: no arithmetic overflows, a message kept on the screen ends on it.
    cNpcObj chara;
    chara.m_ObjNo = 7;
    chara.m_X = 1e300;
    chara.m_PicWidth = INT_MAX;
    m_Stage.AddChara(chara);
    struct Case {
        int placement, blockX, blockY, dx, dy;
    };
    const Case cases[] = {
        {0, 0, 0, INT_MAX, INT_MIN},
        {1, 0, 0, INT_MIN, INT_MAX},
        {2, 0, 0, INT_MAX, INT_MAX},
        {3, 0, 0, INT_MIN, INT_MIN},
        {7, INT_MAX, INT_MIN, INT_MAX, INT_MIN},
        {8, INT_MIN, INT_MAX, INT_MIN, INT_MAX},
    };
    for (const Case& c : cases) {
        Clear();
        cMessage message = Make(ICON, "", c.placement, c.blockX, c.blockY, c.dx, c.dy, 1,
                                UNTIL_STAGE_END, INT_MIN, 0, 7);
        EXPECT_EQ(message.Draw(&m_Dest, 0), 0);
        const Box ink = Ink();
        EXPECT_TRUE(ink.left >= 0 && ink.right <= 639 && ink.top >= 0 && ink.bottom <= 479)
            << "placement " << c.placement << " " << ink;
    }
    for (int time : {INT_MIN, -1, 0}) {
        cMessage timed = Make(ICON, "", 0, 0, 0, 0, 0, 0, TIMED, time);
        EXPECT_EQ(timed.Draw(&m_Dest, 0), 1) << time;
    }
    cMessage longest = Make(ICON, "", 0, 0, 0, 0, 0, 0, TIMED, INT_MAX);
    EXPECT_EQ(longest.Draw(&m_Dest, 0), 0);
    EXPECT_EQ(longest.m_TimeLeft, INT_MAX - 1);
}

TEST_P(MessageDrawing, ATextureRecreatedEmptyIsRenderedAgain)
{
    cMessage message = Make(TEXT, "AB", 0, 0, 0, 0, 0, 0, UNTIL_STAGE_END, 0);
    ASSERT_NE(message.m_Surface, nullptr);
    if (!message.m_Surface->lpDT) GTEST_SKIP() << "only textures are recreated empty";
    DDClearPal(message.m_Surface, 5);
    message.m_Surface->lpDT->redraw = 1;
    message.Draw(&m_Dest, 0);
    EXPECT_EQ(message.m_Surface->lpDT->redraw, 0);
    EXPECT_TRUE(Framed(*message.m_Surface));
    EXPECT_EQ(Colour(m_Dest, 303, 231), kFrameColour);
}

TEST_P(MessageDrawing, RemovingByIdentity)
{
    std::list<cMessage>& list = m_Stage.m_MessageList;
    const cMessage* first = &list.emplace_back(Make(TEXT, "AB", 0, 0, 0, 0, 0, 0, TIMED, 0, 1));
    const cMessage* second = &list.emplace_back(Make(TEXT, "CD", 0, 0, 0, 0, 0, 0, TIMED, 0, 1));
    DDSURFACEDATA* kept = second->m_Surface;
    RemoveMessage(first);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(&list.front(), second);
    ASSERT_EQ(g_MessageSurfaces.size(), 1u);
    EXPECT_EQ(&g_MessageSurfaces.front(), kept);
    // Gone already: nothing else is touched.
    RemoveMessage(first);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(g_MessageSurfaces.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Modes, MessageDrawing, testing::ValuesIn(AllModes()), ModeName);

} // namespace
