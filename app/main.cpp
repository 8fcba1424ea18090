// The program's entry: everything happens in the shell's start-up.
#include "shell/entry.h"

int main(int argc, char** argv)
{
    return GameMain(argc, argv);
}
