#pragma once
// The code language of the command "コードの実行": assignments and
// arithmetic on character, stage, common and system variables, written by
// authors as text ("hp = hp + 10", "S3 = rand(1, 6)"). Errors of syntax
// show an error box; every error makes the text's result 0.
//
// A text is blank-separated words. Parentheses at the start of a word group
// a part that is worked out first and put back as a number, as is a call
// "rand(lo, hi)". The words then become tokens (numbers, variables with an
// optional object prefix "my." "tg." "pl." "sys.", operators) whose values
// are read once, up front; "* / %", then "+ -", then "=" are each applied
// from left to right, and an operator's result takes the place of its left
// neighbour while the right one stays: "1 + 2 + 3" is 5, "v1 = v2 = 3"
// gives v1 the old v2. Every operator stands between two values: one at an
// end of the text or beside another operator ("v1 = = 3", "5 * - 3") is an
// error of syntax, found before anything is assigned; a sign belongs to its
// number ("-3"). A common or stage variable outside its vector is logged as
// every checked access is. Authors' texts are outside input: any text runs
// in time linear in its length, nesting is limited, and no text closes the
// game.

#include <string>

class cCharaObj;

// Set by every error of the language; ExecCode clears it first.
extern int g_CodeError;

// Groups and calls nested deeper than this are an error.
inline constexpr int kMaxCodeDepth = 64;

// Runs a text for a character: 1 when it ran without error, else 0. At most
// one error box is shown per call.
int ExecCode(const std::string& text, cCharaObj& chara);
// The same, showing an error box only when allowBox is set; boxShown tells
// whether one was shown.
int ExecCode(const std::string& text, cCharaObj& chara, int allowBox, int& boxShown);
// The value of a text (parentheses and functions resolved).
int CalcStatement(const std::string& text, cCharaObj& chara);
// The value of a text without parentheses.
int CalcTokens(const std::string& text, cCharaObj& chara);
