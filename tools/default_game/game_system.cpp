// The system data: the game's title, its system sounds and menu music, the
// options it offers, the lives of each play kind, the number of challenge stages and the defaults
// of System.ini. What is not set here keeps the record's own defaults.
#include <iterator>

#include "core/sjis_text.h"
#include "tools/default_game/catalogue.h"
#include "tools/default_game/game_data.h"
#include "tools/default_game/sounds.h"
#include "tools/default_game/system_ini.h"

namespace defgame {

cEdSystem gameSystem()
{
    cEdSystem system;
    system.strTitle = Sjis("クエンホルト・アドベンチャー");

    const auto& sounds = systemSoundFiles();
    system.vSeName.assign(sounds.begin(), sounds.end());

    // Music slots: title, world map and save menu, challenge list, options.
    system.vMusicNo = {BGM_TITLE, BGM_WORLD_MAP, BGM_WORLD_MAP, BGM_TITLE};

    // The title menu shows its items from bmp\GameMode.bmp.
    system.bTitleMenuPicture = 1;

    // The options, one entry per option in the order the option scene gives
    // them. The palette variant acts only in 256 colours, which this game
    // does not use: it is not offered.
    const char* const optionLabels[] = {"パレット",         "BGM",   "SE", "ランキング登録",
                                        "ランキング登録名", "もどる"};
    system.vOptionMenu.assign(std::size(optionLabels), cEdMenuItem());
    for (std::size_t i = 0; i < std::size(optionLabels); ++i)
        system.vOptionMenu[i].strLabel = Sjis(optionLabels[i]);
    system.vOptionMenu[0].bEnabled = 0;

    // No character of this game has SP: the status bar leaves its gauge out.
    constexpr std::size_t kSpGauge = 3;
    system.vStatusItem.at(kSpGauge).bShow = 0;

    // Lives by play kind (story, challenge, free, replay): the story and the
    // challenges count them, free play and replays do not.
    system.vInitialLives = {5, 3, 5, 99};
    system.vUnlimitedLives = {0, 0, 1, 1};
    // A life for every 1000 points: about what a stage's coins are worth.
    system.bExtraLife = 1;
    system.nExtraLifeScore = 1000;

    system.nChallengeStages = challengeStageCount();

    for (std::size_t i = 0; i < system.vSysOption.size() && i < systemIniKeys().size(); ++i) {
        const SystemIniKey& key = systemIniKeys()[i];
        if (key.text)
            system.vSysOption[i].SetText(key.name, key.text);
        else
            system.vSysOption[i].SetInt(key.name, key.value);
    }
    return system;
}

} // namespace defgame
