// The status, graphic and media commands.

#include "world/command_status.h"

#include <algorithm>
#include <cstddef>

#include "core/checked_access.h"
#include "core/saturate.h"
#include "data/ed_command.h"
#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/ed_stage.h"
#include "world/code_lang.h"
#include "world/command_lists.h"
#include "world/commands.h"
#include "world/database_tables.h"
#include "world/play_screen.h"
#include "world/running_stage.h"
#include "world/status_ops.h"
#include "world/trunc.h"
#include "world/world_services.h"

namespace {

// The character an owner code names: 0 the runner, 1 its target; else none.
cCharaObj* OwnerChara(cCharaObj& self, int owner)
{
    if (owner == 0) return &self;
    if (owner == 1) return RunStage().FindCharaByNumber(self.m_TargetNo);
    return nullptr;
}

// Items of "ステータスの操作2" on a character.
enum Switch {
    SW_VANISH,
    SW_TRANSPARENT,
    SW_FIXED_FACING,
    SW_FLYING,
    SW_INVINCIBLE,
    SW_SIZE,
    SW_SYNC
};

void SetSwitch(cCharaObj& runner, cCharaObj& c, int item, std::int32_t v)
{
    cRunningStage& stage = RunStage();
    switch (item) {
    case SW_VANISH:
        if (c.m_IsPlayer)
            c.m_Hp = 0;
        else
            c.m_Vanish = 1;
        // Another character goes when the play step checks the lives.
        if (&c != &runner) stage.m_LifeCheck = 1;
        break;
    case SW_TRANSPARENT:
        c.m_Def.bTransparent = static_cast<std::uint8_t>(v);
        break;
    case SW_FIXED_FACING:
        c.m_Def.bFixedFacing = static_cast<std::uint8_t>(v);
        break;
    case SW_FLYING:
        if (c.m_IsPlayer) static_cast<cPlayerObj&>(c).SetPlayerFlyMode(v, 1);
        break;
    case SW_INVINCIBLE:
        c.m_Def.nInvincible = static_cast<std::uint8_t>(v);
        break;
    case SW_SIZE: {
        // Sizes outside the factors 1 to 10 would give empty or negative boxes.
        const int size = std::clamp(v, 1, 10);
        c.SetScale(size, c.m_Def.nSize);
        c.m_Def.nSize = static_cast<std::uint8_t>(size);
        if (c.m_IsPlayer) static_cast<cPlayerObj&>(c).BuildBoxDisplay();
        break;
    }
    case SW_SYNC:
        c.m_Def.bScrollSync = static_cast<std::uint8_t>(v);
        c.m_ScrollFollow = v;
        break;
    default:
        break;
    }
}

} // namespace

int StatusOperation2(cCharaObj& chara, const cEdCommand& command)
{
    const int owner = CommandParam(command, 0);
    const int item = CommandParam(command, 1);
    const std::int32_t v = CommandParam(command, 2);
    if (owner == 2) {
        cRunningStage& stage = RunStage();
        if (item == 0) {
            g_Stage.bAutoScrollX = v;
            stage.m_ScrollX.SetAutoScroll(v, g_Stage.nAutoScrollX);
        } else if (item == 1) {
            g_Stage.bAutoScrollY = v;
            stage.m_ScrollY.SetAutoScroll(v, g_Stage.nAutoScrollY);
        }
        return 0;
    }
    if (cCharaObj* c = OwnerChara(chara, owner)) SetSwitch(chara, *c, item, v);
    return 0;
}

int GetItem(cCharaObj&, const cEdCommand& command)
{
    cRunningStage& stage = RunStage();
    const int palette = CommandParam(command, 0);
    if (palette != 0 && palette != 1) {
        stage.m_ClearRequest = 0;
        return 0;
    }
    if (stage.Player.empty()) return 0;
    std::vector<cEdItem>& items =
        palette == 0 ? g_CommonPalette.PaletteItems : g_Stage.PaletteItems;
    const cEdItem& item = VecAt(items, CommandParam(command, 1));
    stage.m_ClearRequest = RunCommandList(stage.Player.front(), item.Commands);
    return 0;
}

int ChangeGraphic(cCharaObj& chara, const cEdCommand& command)
{
    const auto kind = static_cast<std::int8_t>(CommandParam(command, 0));
    const auto number = static_cast<std::int16_t>(CommandParam(command, 1));
    chara.m_GraphicKind = kind;
    chara.m_Def.nGraphicKind = static_cast<std::uint8_t>(kind);
    chara.m_GraphicNo = number;
    chara.m_Def.nGraphicNo = number;
    chara.m_Def.nGraphicFrame = static_cast<std::int16_t>(CommandParam(command, 2));
    return 0;
}

int ChangeAnimeSet(cCharaObj& chara, const cEdCommand& command)
{
    chara.SetAnimeSet(CommandParam(command, 0), 0);
    return 0;
}

int RunAnime(cCharaObj& chara, const cEdCommand& command)
{
    OverlayAnim overlay;
    overlay.m_Seq.Build({VecAt(g_AnimeSeqs, CommandParam(command, 0))});
    overlay.m_Seq.Set(0, 1);
    const cFlowRun* flow = RunStage().m_CurFlowRun;
    overlay.m_FlowSerial = flow ? flow->m_Serial : 0;
    chara.m_Overlays.push_back(std::move(overlay));
    return 0;
}

void EffectPosition(int& x, int& y, int width, int height, const cCharaObj& chara, int placement,
                    int bx, int by, int ox, int oy)
{
    const cRunningStage& stage = RunStage();
    const double sx = stage.m_ScrollX.m_Pos;
    const double sy = stage.m_ScrollY.m_Pos;
    const cCharaObj& centre =
        placement == 2 && !stage.Player.empty() ? stage.Player.front() : chara;
    switch (placement) {
    case 1:
    case 2:
        x = TruncToInt(ox + centre.m_ScrLeft + centre.m_PicWidth / 2 + sx - width / 2);
        y = TruncToInt(oy + centre.m_ScrTop + centre.m_PicHeight / 2 + sy - height / 2);
        break;
    case 3:
        x = TruncToInt(sx + bx * 32.0 + ox);
        y = TruncToInt(sy + by * 32.0 + oy);
        break;
    case 4:
        x = SaturateToInt32((std::int64_t{bx} + stage.m_ScrollX.m_AreaFirst) * 32 + ox);
        y = SaturateToInt32((std::int64_t{by} + stage.m_ScrollY.m_AreaFirst) * 32 + oy);
        break;
    default:
        x = TruncToInt(ox + sx + 320 - width / 2);
        y = TruncToInt(oy + sy + 240 - height / 2);
        break;
    }
}

int ShowEffect(cCharaObj& chara, const cEdCommand& command)
{
    const int index = CommandParam(command, 0);
    const bool known = index >= 0 && static_cast<std::size_t>(index) < g_Database.Effect.size();
    // Outside the table: reported, and record 0 stands in.
    const cEdEffect& record = VecAt(g_Database.Effect, index);
    const int width = PercentOf(record.m_CellWidth, CommandParam(command, 6));
    const int height = PercentOf(record.m_CellHeight, CommandParam(command, 6));
    int x = 0;
    int y = 0;
    EffectPosition(x, y, width, height, chara, CommandParam(command, 1), CommandParam(command, 2),
                   CommandParam(command, 3), CommandParam(command, 4), CommandParam(command, 5));
    const int wait = CommandParam(command, 7);
    RunStage().m_EffectList.emplace_back(known ? index : 0, x, y, width, height, wait);
    if (wait) {
        std::int64_t frames = 0;
        for (const cEdEffectFrame& frame : record.m_Frames)
            frames += std::int64_t{frame.m_Time} * 6;
        RunStage().m_PauseWait.Set(PauseWait::EFFECT, 0, SaturateToInt32(frames), 0);
        WorldServices().RunPauseWait();
    }
    return 0;
}

int RunCharaEffect(cCharaObj& chara, const cEdCommand& command)
{
    chara.m_CharaEffect.Start(CommandParam(command, 0), CommandParam(command, 1),
                              CommandParam(command, 2));
    return 0;
}

int RunScrEffect(cCharaObj&, const cEdCommand& command)
{
    RunStage().m_ScrEffect.Start(CommandParam(command, 0), CommandParam(command, 1),
                                 CommandParam(command, 2));
    return 0;
}

int ChangeScreenColour(cCharaObj&, const cEdCommand& command)
{
    StartTint(command);
    return 0;
}

int ChangeBackground(cCharaObj&, const cEdCommand& command)
{
    const int layer = CommandParam(command, 0);
    if (layer < 1 || static_cast<std::size_t>(layer) > g_Stage.Layers.size()) return 0;
    std::int32_t& shown = g_Stage.Layers[static_cast<std::size_t>(layer - 1)].bShow;
    switch (CommandParam(command, 1)) {
    case 0:
        shown = 1;
        break;
    case 1:
        shown = 0;
        break;
    case 2:
        shown = !shown;
        break;
    default:
        break;
    }
    return 0;
}

int PlaySoundCommand(cCharaObj& chara, const cEdCommand& command)
{
    if (command.m_SoundOnScreen == 0 || chara.m_OnScreen) WorldDataSe(CommandParam(command, 0));
    return 0;
}

int PlayBgmCommand(cCharaObj&, const cEdCommand& command)
{
    RunStage().SendBgmRequest(CommandParam(command, 0), CommandParam(command, 1));
    return 0;
}

int RunCode(cCharaObj& chara, const cEdCommand& command)
{
    cCommandRun* run = RunStage().m_CurCommandRun;
    if (!run || run->m_Command != &command) {
        // An item or block list: one run of one sub-step.
        ExecCode(command.m_Text, chara);
        return 0;
    }
    // A command running over several sub-steps shows one error box a run;
    // its first sub-step begins a run.
    if (run->m_Remaining >= run->m_Duration) run->m_CodeBoxShown = 0;
    int shown = 0;
    ExecCode(command.m_Text, chara, !run->m_CodeBoxShown, shown);
    if (shown) run->m_CodeBoxShown = 1;
    return 0;
}
