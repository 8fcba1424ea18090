#include "scenes/key_config.h"

#include "platform/path_resolver.h"

#include <cstdio>
#include <cstring>

KEYCONFIG g_KeyConfig;

int LoadKeyConfig(const char* path, KEYCONFIG& record)
{
    const auto file = plat::resolveExisting(path ? path : "");
    if (!file) return 0;
    std::FILE* in = std::fopen(file->c_str(), "rb");
    if (!in) return 0;
    unsigned char bytes[sizeof(KEYCONFIG)];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, in);
    std::fclose(in);
    std::memcpy(&record, bytes, got);
    return 1;
}

void DefaultKeyConfig(KEYCONFIG& record)
{
    constexpr std::uint16_t kCodes[kKeyConfigEntries] = {37,  39,  38,  40,  'Z', 'X',
                                                         'C', 'V', 'A', 'S', 'D', 'F'};
    for (int i = 0; i < kKeyConfigEntries; ++i)
        record.entries[i] = KEYCONFIGENTRY{kKeyboardDevice, kCodes[i], 0};
    record.nEntries = kKeyConfigEntries;
    record.nJoysticks = 1;
    record.bUse = 0;
}
