#include "shell/entry.h"

int GameMain(int, char**)
{
    return 0;
}
