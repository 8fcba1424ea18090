#include "tools/default_game/system_ini.h"

namespace defgame {

const std::vector<SystemIniKey>& systemIniKeys()
{
    static const std::vector<SystemIniKey> keys = {
        {"Direct3D", 1, nullptr}, {"WindowMode", 1, nullptr}, {"Bpp", 0, nullptr},
        {"VSync", 1, nullptr},    {"ShowFps", 0, nullptr},    {"FreeStage", 0, ""},
    };
    return keys;
}

std::string systemIniText()
{
    std::string text;
    for (const SystemIniKey& key : systemIniKeys()) {
        // A text key with an empty value is left out: the reader keeps its
        // default for values shorter than two bytes anyway.
        if (key.text && !*key.text) continue;
        text += key.name;
        text += '=';
        text += key.text ? key.text : std::to_string(key.value);
        text += "\r\n";
    }
    text += "Exit\r\n";
    return text;
}

} // namespace defgame
