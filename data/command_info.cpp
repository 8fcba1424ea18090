#include "data/command_info.h"

#include "core/sjis_text.h"

const char* CommandInfo::Label() const
{
    return Sjis(m_Label);
}

constexpr CommandInfo g_CharaCommandInfo[kCharaCommandKinds] = {
    {"", 0},
    {"ウエイト", 0},
    {"直線移動", 0},
    {"地上折り返し移動", 0},
    {"円移動", 0},
    {"突撃移動", 0},
    {"誘導移動", 0},
    {"画面外回避移動", 0},
    {"移動の無効化", 0},
    {"向き変更", 1},
    {"ジャンプ", 5},
    {"ショット", 0},
    {"ソード", 0},
    {"ブロック召喚", 0},
    {"キャラ召喚", 0},
    {"アイテム召喚", 0},
    {"フローの操作", 3},
    {"ステージクリア", 5},
    {"ゲームウエイト", 1},
    {"メッセージ", 10},
    {"ワープ", 0},
    {"ターゲットの設定", 10},
    {"ステータスの操作", 18},
    {"ステータスの操作2", 3},
    {"アイテムの取得", 2},
    {"グラフィックの変更", 3},
    {"基本アニメセットの変更", 1},
    {"アニメの実行", 1},
    {"エフェクトの実行", 8},
    {"キャラエフェクトの実行", 3},
    {"画面エフェクトの実行", 3},
    {"ピクチャーの表示", 11},
    {"画面の色を変更", 8},
    {"背景の変更", 2},
    {"効果音の再生", 1},
    {"BGMの再生", 2},
    {"コードの実行", 0},
};

// Kind 1 changes the player's flows; every kind k from 2 on is character kind k + 15.
constexpr CommandInfo g_FlowCommandInfo[kFlowCommandKinds] = {
    {"", 0},
    {"フローの変更", 2},
    g_CharaCommandInfo[17],
    g_CharaCommandInfo[18],
    g_CharaCommandInfo[19],
    g_CharaCommandInfo[20],
    g_CharaCommandInfo[21],
    g_CharaCommandInfo[22],
    g_CharaCommandInfo[23],
    g_CharaCommandInfo[24],
    g_CharaCommandInfo[25],
    g_CharaCommandInfo[26],
    g_CharaCommandInfo[27],
    g_CharaCommandInfo[28],
    g_CharaCommandInfo[29],
    g_CharaCommandInfo[30],
    g_CharaCommandInfo[31],
    g_CharaCommandInfo[32],
    g_CharaCommandInfo[33],
    g_CharaCommandInfo[34],
    g_CharaCommandInfo[35],
    g_CharaCommandInfo[36],
};

const CommandInfo* FindCommandInfo(int listKind, int kind)
{
    if (listKind == 0) {
        return (kind >= 0 && kind < kCharaCommandKinds) ? &g_CharaCommandInfo[kind] : nullptr;
    }
    return (kind >= 0 && kind < kFlowCommandKinds) ? &g_FlowCommandInfo[kind] : nullptr;
}
