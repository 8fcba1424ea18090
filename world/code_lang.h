#pragma once
// The code language of the command "コードの実行": assignments and
// arithmetic on character, stage, common and system variables, written by
// authors as text ("hp = hp + 10", "S3 = rand(1, 6)"). Errors of syntax
// show an error box; every error makes the text's result 0.

#include <string>

class cCharaObj;

// Set by every error of the language; ExecCode clears it first.
extern int g_CodeError;

// Runs a text for a character: 1 when it ran without error, else 0.
int ExecCode(const std::string& text, cCharaObj& chara);
// The value of a text (parentheses and functions resolved).
int CalcStatement(const std::string& text, cCharaObj& chara);
// The value of a text without parentheses.
int CalcTokens(const std::string& text, cCharaObj& chara);
