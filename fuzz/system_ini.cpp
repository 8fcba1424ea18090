// System.ini from any bytes: the read ends, within its buffers, with a
// result and settings of the record's kinds.
#include "shell/system_ini.h"
#include "data/ed_system.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const cEdSystem system;
    SYSTEMINI settings;
    DefaultSystemIni(settings, system.vSysOption);
    const int result = ReadSystemIni(std::string_view(reinterpret_cast<const char*>(data), size),
                                     settings, system.vSysOption);
    if (result != 0 && result != 1) __builtin_trap();
    if (settings.FreeStage.size() > kMaxFreeStage) __builtin_trap();
    return 0;
}
