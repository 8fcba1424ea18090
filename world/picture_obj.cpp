// Picture instances, and the drawing of effect instances.

#include "world/effect_obj.h"

#include <cstddef>
#include <cstdint>

#include "core/checked_access.h"
#include "core/saturate.h"
#include "data/ed_database.h"
#include "media/dd_blit.h"
#include "media/dd_surface.h"
#include "world/play_pictures.h"
#include "world/running_stage.h"
#include "world/trunc.h"

namespace {

// Where an instance at a stage position lands on the screen.
int ScreenX(double x)
{
    return TruncToInt(x - RunStage().m_ScrollX.m_Pos);
}

int ScreenY(double y)
{
    return TruncToInt(y - RunStage().m_ScrollY.m_Pos);
}

// The picture of an Effect record: surface 2 (k - 1) of the effect
// pictures. Record 0 has none, and none is loaded before a play.
DDSURFACEDATA* EffectPicture(int effect)
{
    const std::int64_t i = 2 * (std::int64_t{effect} - 1);
    if (i < 0 || i >= static_cast<std::int64_t>(g_EffectPictures.size())) return nullptr;
    return &g_EffectPictures[static_cast<std::size_t>(i)];
}

std::uint32_t g_PictureSerial = 0;

} // namespace

cPictureObj::cPictureObj(int picture, double x, double y, int width, int height, int layer,
                         int sizePercent, int durationMode, int frames, int stopsGame)
    : m_Picture(picture), m_X(x), m_Y(y), m_Width(width), m_Height(height),
      m_Scaled(sizePercent != 100 ? 1 : 0), m_Layer(layer), m_DurationMode(durationMode),
      m_FramesLeft(frames), m_StopsGame(stopsGame), m_Serial(++g_PictureSerial)
{
}

int cPictureObj::Draw(DDSURFACEDATA* dest, DDSURFACEDATA* picture, int paused)
{
    // A timed picture counts its frames, but one that does not stop the game
    // stands still while another command's wait runs.
    if (m_DurationMode == 2 && (m_StopsGame || !paused)) {
        --m_FramesLeft;
        if (m_FramesLeft < 0) return 1;
    }
    if (!picture) return 0;
    const int x = ScreenX(m_X);
    const int y = ScreenY(m_Y);
    if (m_Scaled)
        DDBltEx(dest, x, y, m_Width, m_Height, picture, 0, 0, picture->width, picture->height, 1);
    else
        DDBlt(dest, x, y, m_Width, m_Height, picture, 0, 0, 1);
    return 0;
}

int cEffectObj::Draw(DDSURFACEDATA* dest, int paused)
{
    const cEdEffect& record = VecAt(g_Database.Effect, m_Effect);
    if (record.m_Frames.empty()) return 1;
    int frame = 0;
    if (m_StopsGame || !paused) {
        frame = m_Anime.Step();
        if (frame == -4) return 1;
    } else {
        frame = m_Anime.Current();
    }
    DDSURFACEDATA* picture = EffectPicture(m_Effect);
    if (frame < 0 || !picture) return 0;
    const int x = ScreenX(m_X);
    const int y = ScreenY(m_Y);
    const int sx = SaturateToInt32(std::int64_t{frame} * record.m_CellWidth);
    if (m_Scaled)
        DDBltEx(dest, x, y, m_Width, m_Height, picture, sx, 0, record.m_CellWidth,
                record.m_CellHeight, 1);
    else
        DDBlt(dest, x, y, m_Width, m_Height, picture, sx, 0, 1);
    return 0;
}
