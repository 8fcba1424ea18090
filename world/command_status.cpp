// The status, graphic and media commands.

#include "world/command_status.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

int StatusOperation2(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "StatusOperation2");
    return 0;
}

int GetItem(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "GetItem");
    return 0;
}

int ChangeGraphic(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "ChangeGraphic");
    return 0;
}

int ChangeAnimeSet(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "ChangeAnimeSet");
    return 0;
}

int RunAnime(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "RunAnime");
    return 0;
}

int ShowEffect(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "ShowEffect");
    return 0;
}

int RunCharaEffect(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "RunCharaEffect");
    return 0;
}

int RunScrEffect(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "RunScrEffect");
    return 0;
}

int ChangeScreenColour(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "ChangeScreenColour");
    return 0;
}

int ChangeBackground(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "ChangeBackground");
    return 0;
}

int PlaySoundCommand(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "PlaySoundCommand");
    return 0;
}

int PlayBgmCommand(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "PlayBgmCommand");
    return 0;
}

int RunCode(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "RunCode");
    return 0;
}
