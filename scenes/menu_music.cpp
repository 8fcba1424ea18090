#include "scenes/menu_music.h"

#include "data/ed_option.h"
#include "media/bgm.h"

namespace {

constexpr int kMusicSlots = 5;

// The player keeps pointers into these for as long as it is set up.
char g_BgmOggNames[kMusicSlots][kBgmOggNameBytes] = {"bgm\\Title.ogg", "bgm\\WorldMap.ogg",
                                                     "bgm\\Challenge.ogg", "bgm\\Option.ogg",
                                                     "bgm\\Stage.ogg"};
char g_BgmMidiNames[kMusicSlots][kBgmMidiNameBytes] = {"bgm\\Title.mid", "bgm\\WorldMap.mid",
                                                       "bgm\\Challenge.mid", "bgm\\Option.mid",
                                                       "bgm\\Stage.mid"};

} // namespace

int SetUpMusic()
{
    g_Bgm.Release();
    if (!g_Option.bBgm) return 0;
    return g_Bgm.Init(1, g_BgmOggNames, g_BgmMidiNames, kMusicSlots);
}
