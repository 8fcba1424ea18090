// The picture command: a picture of the Picture table shown on the play
// field, optionally holding the game until a button or for its time (one
// shown until the stage ends never holds it); or every picture taken away.
//
// The picture objects, their surfaces and their files run in three parallel
// lists, one node each per picture.

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>

#include "core/checked_access.h"
#include "core/err_log.h"
#include "core/format.h"
#include "core/saturate.h"
#include "core/sjis_text.h"
#include "data/ed_command.h"
#include "data/ed_database.h"
#include "media/dd_bitmap.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"
#include "world/chara_obj.h"
#include "world/command_status.h"
#include "world/commands.h"
#include "world/play_pictures.h"
#include "world/running_stage.h"
#include "world/status_ops.h"
#include "world/world_services.h"

namespace {

// Duration modes of the picture.
constexpr int kUntilButton = 0;
constexpr int kForATime = 2;

// Removes the last picture's surface and file (its object was not made).
void DropLastSurface()
{
    DDReleaseSurface(&g_PictureSurfaces.back());
    g_PictureSurfaces.pop_back();
    g_PictureBmpList.pop_back();
}

// Removes the picture shown as `serial` with its surface, when it is still
// shown: its drawing may already have ended it during the wait.
void RemovePicture(std::uint32_t serial)
{
    std::list<cPictureObj>& pictures = RunStage().m_PictureList;
    auto picture = pictures.begin();
    auto surface = g_PictureSurfaces.begin();
    auto file = g_PictureBmpList.begin();
    for (; picture != pictures.end() && surface != g_PictureSurfaces.end() &&
           file != g_PictureBmpList.end();
         ++picture, ++surface, ++file) {
        if (picture->m_Serial != serial) continue;
        DDReleaseSurface(&*surface);
        pictures.erase(picture);
        g_PictureSurfaces.erase(surface);
        g_PictureBmpList.erase(file);
        return;
    }
}

} // namespace

int ShowPicture(cCharaObj& chara, const cEdCommand& command)
{
    const int index = CommandParam(command, 0);
    if (index == 0) {
        ResetPictures();
        return 0;
    }
    const bool known = index > 0 && static_cast<std::size_t>(index) < g_Database.Picture.size();
    // Outside the table: reported, and record 0 stands in.
    const cEdPicture& record = VecAt(g_Database.Picture, index);
    DDSURFACEDATA& surface = g_PictureSurfaces.emplace_back();
    g_PictureBmpList.push_back(record.m_FileName);
    const int failure =
        DDCreateSurfaceFromFile(&surface, record.m_FileName, 1, g_DDBpp, 1, 0, 0, 0, 0, 0, 0);
    if (failure) {
        std::string text;
        FormatStr(text, Sjis("%s 読み込み失敗！"), record.m_FileName.c_str());
        WorldServices().ErrorBox(text.c_str());
        ErrLog(text.c_str());
        WorldServices().RequestClose();
        // The lists stay in step: a later picture is drawn from its own surface.
        DropLastSurface();
        return 0;
    }
    const int width = PercentOf(surface.width, CommandParam(command, 7));
    const int height = PercentOf(surface.height, CommandParam(command, 7));
    int x = 0;
    int y = 0;
    EffectPosition(x, y, width, height, chara, CommandParam(command, 1), CommandParam(command, 2),
                   CommandParam(command, 3), CommandParam(command, 4), CommandParam(command, 5));
    const int mode = CommandParam(command, 8);
    const std::int32_t frames = SaturateToInt32(std::int64_t{CommandParam(command, 9)} * 6);
    const int wait = CommandParam(command, 10);
    cRunningStage& stage = RunStage();
    const cPictureObj& picture = stage.m_PictureList.emplace_back(
        known ? index : 0, x, y, width, height, CommandParam(command, 6), CommandParam(command, 7),
        mode, frames, wait);
    if (!wait) return 0;
    if (mode == kUntilButton)
        stage.m_PauseWait.Set(PauseWait::PICTURE, 1, 0, 0);
    else if (mode == kForATime)
        stage.m_PauseWait.Set(PauseWait::PICTURE, 0, frames, 0);
    else
        return 0; // shown until the stage ends: nothing could end a stop of the game
    const std::uint32_t serial = picture.m_Serial;
    WorldServices().RunPauseWait();
    RemovePicture(serial);
    return 0;
}
