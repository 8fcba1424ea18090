// The code language: tokens, the left-to-right evaluation with its passes,
// the variables of characters, the stage and the system, and its errors.

#include "world/code_lang.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

int g_CodeError = 0;

int ExecCode(const std::string&, cCharaObj&)
{
    WORLD_PLACEHOLDER(14, "ExecCode");
    return 0;
}

int CalcStatement(const std::string&, cCharaObj&)
{
    WORLD_PLACEHOLDER(14, "CalcStatement");
    return 0;
}

int CalcTokens(const std::string&, cCharaObj&)
{
    WORLD_PLACEHOLDER(14, "CalcTokens");
    return 0;
}
