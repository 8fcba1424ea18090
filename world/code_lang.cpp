// The code language: the grouping and calls of a text, its tokens, the
// passes of the operators and the errors.

#include "world/code_lang.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/checked_access.h"
#include "core/format.h"
#include "core/saturate.h"
#include "core/sjis_text.h"
#include "data/ed_save_data.h"
#include "world/chara_obj.h"
#include "world/code_vars.h"
#include "world/random.h"
#include "world/running_stage.h"
#include "world/world_services.h"

int g_CodeError = 0;

namespace {

// --- errors

// Whether the error boxes of the running text are limited to one, whether
// one may be shown at all, and whether one was.
struct BoxGate {
    bool limited = false;
    bool allowed = true;
    bool shown = false;
};
BoxGate g_BoxGate;

// An error of the language: the flag, and the box when one may be shown.
void CodeError(const char* text)
{
    g_CodeError = 1;
    if (g_BoxGate.limited && (!g_BoxGate.allowed || g_BoxGate.shown)) return;
    g_BoxGate.shown = true;
    WorldServices().ErrorBox(text);
}

void CodeErrorF(const char* format, std::string_view argument)
{
    std::string text;
    const std::string arg(argument);
    FormatStr(text, format, arg.c_str());
    CodeError(text.c_str());
}

// An error without a message (a missing character).
void SilentError()
{
    g_CodeError = 1;
}

void AppendInt(std::string& out, std::int32_t v)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    out.append(buffer, result.ptr);
}

// The leading decimal integer of a text with an optional sign; 0 when there
// is none; held at the ends of the 32-bit range.
std::int32_t LeadingInt(std::string_view s)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        if (v <= std::int64_t{1} << 32) v = v * 10 + (s[i] - '0');
    return SaturateToInt32(negative ? -v : v);
}

// --- grouping and calls

// A text with the position of the matching ")" of each "(" (-1: none).
struct Statement {
    const std::string& text;
    std::vector<int> match;
    cCharaObj& chara;
};

std::vector<int> MatchParens(const std::string& text)
{
    std::vector<int> match(text.size(), -1);
    std::vector<int> open;
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
        if (text[static_cast<std::size_t>(i)] == '(') {
            open.push_back(i);
        } else if (text[static_cast<std::size_t>(i)] == ')' && !open.empty()) {
            match[static_cast<std::size_t>(open.back())] = i;
            open.pop_back();
        }
    }
    return match;
}

int Evaluate(const Statement& st, int begin, int end, int depth);

// "rand" with its arguments between "(" at open and ")" at close: each
// non-empty argument is worked out in order; exactly two are needed.
bool CallRand(const Statement& st, int open, int close, int depth, std::int32_t& value)
{
    std::vector<std::int32_t> values;
    int start = open + 1;
    for (int k = open + 1; k <= close; ++k) {
        const char c = st.text[static_cast<std::size_t>(k)];
        if (c == '(' && k < close) {
            // Every "(" inside a matched pair has its own match before close.
            const int inner = st.match[static_cast<std::size_t>(k)];
            if (inner > k && inner < close) k = inner;
        } else if (c == ',' || k == close) {
            if (k > start) values.push_back(Evaluate(st, start, k, depth + 1));
            start = k + 1;
        }
    }
    if (values.size() != 2) {
        CodeErrorF(Sjis("関数 %s の引数が不正です！"), "rand");
        return false;
    }
    const std::int64_t lo = std::min(values[0], values[1]);
    const std::int64_t hi = std::max(values[0], values[1]);
    value = static_cast<std::int32_t>(Random() % (hi - lo + 1) + lo);
    return true;
}

// The value of text[begin, end): groups at the start of a word and calls
// are replaced by their values, then the tokens are worked out. After a
// replacement, or after a "(" that starts no call, nothing more in that
// word can be a group or a call, which keeps the scan linear.
int Evaluate(const Statement& st, int begin, int end, int depth)
{
    if (depth > kMaxCodeDepth) {
        CodeError(Sjis("括弧の入れ子が深すぎます！"));
        return 0;
    }
    std::string out;
    out.reserve(static_cast<std::size_t>(end - begin));
    int wordStart = begin;
    bool fresh = true;
    for (int i = begin; i < end;) {
        const char c = st.text[static_cast<std::size_t>(i)];
        if (c == ' ') {
            out += c;
            wordStart = ++i;
            fresh = true;
            continue;
        }
        if (c == '(' && fresh) {
            fresh = false;
            const int close = st.match[static_cast<std::size_t>(i)];
            if (i == wordStart) {
                if (close < 0 || close >= end) {
                    CodeError(Sjis("\")\"が見つかりません！"));
                    return 0;
                }
                AppendInt(out, Evaluate(st, i + 1, close, depth + 1));
                i = close + 1;
                continue;
            }
            if (i - wordStart == 4 &&
                st.text.compare(static_cast<std::size_t>(wordStart), 4, "rand") == 0) {
                if (close < 0 || close >= end) {
                    CodeErrorF(Sjis("関数 %s で\")\"が見つかりません！"), "rand");
                    return 0;
                }
                std::int32_t value = 0;
                if (!CallRand(st, i, close, depth, value)) return 0;
                out.resize(out.size() - 4);
                AppendInt(out, value);
                i = close + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return CalcTokens(out, st.chara);
}

// --- tokens

enum TokenKind { TOKEN_NUMBER, TOKEN_SHARED, TOKEN_CHARA, TOKEN_SYSTEM, TOKEN_OPERATOR };

struct CodeToken {
    TokenKind kind = TOKEN_NUMBER;
    std::int32_t value = 0;
    std::int32_t* target = nullptr; // a common or stage variable
    cCharaObj* owner = nullptr;     // a character variable's character
    int index = 0;                  // character or system variable; operator code
};

constexpr std::string_view kOpNames[] = {"=", "+", "-", "*", "/", "%"};
// The pass of each operator code.
constexpr int kOpPass[] = {2, 1, 1, 0, 0, 0};
constexpr std::string_view kObjNames[] = {"my", "tg", "pl", "sys"};
enum Object { OBJ_MY, OBJ_TG, OBJ_PL, OBJ_SYS };

template <std::size_t N> int IndexIn(const std::string_view (&names)[N], std::string_view word)
{
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == word) return static_cast<int>(i);
    return -1;
}

// Reads one word into a token; false on an error.
bool ReadWord(std::string_view word, int object, cCharaObj& runner, CodeToken& token)
{
    const int op = IndexIn(kOpNames, word);
    if (op >= 0) {
        token.kind = TOKEN_OPERATOR;
        token.index = op;
        return true;
    }
    cRunningStage& stage = RunStage();
    cCharaObj* owner = nullptr;
    switch (object) {
    case OBJ_MY:
        owner = &runner;
        break;
    case OBJ_TG:
        owner = stage.FindCharaByNumber(runner.m_TargetNo);
        if (!owner) {
            SilentError();
            return false;
        }
        break;
    case OBJ_PL:
        if (stage.Player.empty()) {
            SilentError();
            return false;
        }
        owner = &stage.Player.front();
        break;
    default:
        break;
    }
    if (word[0] == 'C' || word[0] == 'S') {
        std::vector<std::int32_t>& vars =
            word[0] == 'C' ? g_Progress.vCommonVar : stage.m_StageVars;
        const std::int32_t index = LeadingInt(word.substr(1));
        if (index < 0 || static_cast<std::size_t>(index) >= vars.size()) {
            // Logged as every checked access is, but the game goes on.
            LogBadIndex("err V[%d] ( %d , %d )", index, vars.size(), sizeof(std::int32_t));
            CodeErrorF(Sjis("変数 %s の番号が範囲外です！"), word);
            return false;
        }
        token.kind = TOKEN_SHARED;
        token.target = &vars[static_cast<std::size_t>(index)];
        token.value = *token.target;
        return true;
    }
    if (const int index = CodeCharaVarIndex(word); index >= 0) {
        // A character variable of the system belongs to no one.
        if (!owner) {
            SilentError();
            return false;
        }
        token.kind = TOKEN_CHARA;
        token.owner = owner;
        token.index = index;
        token.value = ReadCodeCharaVar(*owner, index);
        return true;
    }
    if (const int index = CodeSysVarIndex(word); index >= 0) {
        token.kind = TOKEN_SYSTEM;
        token.index = index;
        token.value = ReadCodeSysVar(index);
        return true;
    }
    token.value = LeadingInt(word);
    return true;
}

// Splits a text into tokens; false on an error.
bool ReadTokens(const std::string& text, cCharaObj& runner, std::vector<CodeToken>& tokens)
{
    const std::string_view s(text);
    int object = OBJ_MY;
    // A token was read since the text began or since the last prefix.
    bool tokenRead = false;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end = s.find(' ', i);
        if (end == std::string_view::npos) end = s.size();
        std::string_view word = s.substr(i, end - i);
        // Object prefixes, each ended by ".".
        for (std::size_t dot = word.find('.'); dot != std::string_view::npos;
             dot = word.find('.')) {
            const std::string_view name = word.substr(0, dot);
            const int found = IndexIn(kObjNames, name);
            if (found >= 0) {
                object = found;
            } else if (!tokenRead) {
                CodeErrorF(Sjis("オブジェクト \"%s.\" が認識できません！"), name);
                return false;
            } else {
                object = OBJ_MY;
            }
            tokenRead = false;
            word.remove_prefix(dot + 1);
        }
        if (!word.empty()) {
            CodeToken token;
            if (!ReadWord(word, object, runner, token)) return false;
            tokens.push_back(token);
            tokenRead = true;
            object = OBJ_MY;
        }
        i = end;
    }
    return true;
}

// --- reduction

// Every operator stands between two values: an operator at either end of
// the text or beside another operator has an operand missing (reading the
// other operator as 0 would report a malformed text as success). Checked
// before anything is worked out, so such a text assigns nothing.
bool OperandsPresent(const std::vector<CodeToken>& tokens)
{
    const auto isOperator = [&](std::size_t k) {
        return k < tokens.size() && tokens[k].kind == TOKEN_OPERATOR;
    };
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        if (!isOperator(k)) continue;
        if (k == 0 || isOperator(k - 1) || k + 1 == tokens.size() || isOperator(k + 1)) {
            CodeErrorF(Sjis("演算子 %s の左右に値がありません！"), kOpNames[tokens[k].index]);
            return false;
        }
    }
    return true;
}

CodeToken NumberToken(std::int32_t v)
{
    CodeToken token;
    token.value = v;
    return token;
}

// Applies an operator to its neighbours; false on an error.
bool Reduce(const CodeToken& left, int op, const CodeToken& right, const cCharaObj& runner,
            const std::string& text, std::int32_t& result)
{
    const std::int64_t l = left.value;
    const std::int64_t r = right.value;
    switch (op) {
    case 1:
        result = SaturateToInt32(l + r);
        return true;
    case 2:
        result = SaturateToInt32(l - r);
        return true;
    case 3:
        result = SaturateToInt32(l * r);
        return true;
    case 4:
    case 5:
        if (r == 0) {
            CodeErrorF(Sjis("0除算が行われました！(%s)"), text);
            return false;
        }
        result = SaturateToInt32(op == 4 ? l / r : l % r);
        return true;
    default:
        break;
    }
    // Assignment: to the left token's variable; a number has none to write.
    switch (left.kind) {
    case TOKEN_SHARED:
        result = std::clamp<std::int32_t>(right.value, -999999, 999999);
        *left.target = result;
        break;
    case TOKEN_CHARA:
        result = WriteCodeCharaVar(*left.owner, left.index, right.value, runner);
        break;
    case TOKEN_SYSTEM:
        result = WriteCodeSysVar(left.index, right.value);
        break;
    default:
        result = std::clamp<std::int32_t>(right.value, -999999, 999999);
        break;
    }
    return true;
}

} // namespace

int ExecCode(const std::string& text, cCharaObj& chara)
{
    int boxShown = 0;
    return ExecCode(text, chara, 1, boxShown);
}

int ExecCode(const std::string& text, cCharaObj& chara, int allowBox, int& boxShown)
{
    const BoxGate outer = g_BoxGate;
    g_BoxGate = BoxGate{true, allowBox != 0, false};
    g_CodeError = 0;
    const std::int32_t hp = chara.m_Hp;
    const std::int32_t sp = chara.m_Sp;
    CalcStatement(text, chara);
    boxShown = g_BoxGate.shown ? 1 : 0;
    g_BoxGate = outer;
    if (g_CodeError) return 0;
    if (chara.m_Hp != hp) chara.StartHpGauge(chara.m_Hp - hp);
    if (chara.m_Sp != sp) chara.StartSpGauge(chara.m_Sp - sp);
    return 1;
}

int CalcStatement(const std::string& text, cCharaObj& chara)
{
    const Statement st{text, MatchParens(text), chara};
    return Evaluate(st, 0, static_cast<int>(text.size()), 0);
}

int CalcTokens(const std::string& text, cCharaObj& chara)
{
    std::vector<CodeToken> tokens;
    if (!ReadTokens(text, chara, tokens) || !OperandsPresent(tokens)) return 0;
    const std::int32_t lastRead = tokens.empty() ? 0 : tokens.back().value;

    // Each pass in one sweep, compacting the list in place: a reduction
    // leaves a number where its left neighbour was, so the next operator of
    // the pass lies after it, and the right neighbour is still unwritten.
    // Operators and values alternate, so both neighbours are values.
    bool reduced = false;
    std::int32_t result = 0;
    for (int pass = 0; pass < 3; ++pass) {
        std::size_t kept = 0;
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            const CodeToken token = tokens[k];
            if (token.kind != TOKEN_OPERATOR || kOpPass[token.index] != pass) {
                tokens[kept++] = token;
                continue;
            }
            CodeToken& left = tokens[kept - 1];
            if (!Reduce(left, token.index, tokens[k + 1], chara, text, result)) return 0;
            left = NumberToken(result);
            reduced = true;
        }
        tokens.resize(kept);
    }
    return reduced ? result : lastRead;
}
