#include "shell/file_dialogs.h"

#include "core/format.h"
#include "core/sjis_text.h"
#include "data/path_table.h"
#include "data/replay_name.h"
#include "media/dd_dialog.h"
#include "platform/file_dialog.h"

namespace {

std::string Run(const plat::FileDialogDesc& desc)
{
    DDSetDialogMode(1);
    const auto chosen = plat::runFileDialog(desc);
    DDSetDialogMode(0);
    return chosen.value_or(std::string());
}

} // namespace

std::string OpenStageDialog()
{
    plat::FileDialogDesc d;
    d.initialDirSjis = "data\\stg4\\";
    d.titleSjis = Sjis("ステージファイルの選択");
    d.filterLabelSjis = "StageFile ( *.stg4_*;*.rpl4_* )";
    d.patterns = {"*.stg4_*", "*.rpl4_*"};
    return Run(d);
}

std::string OpenReplayDialog()
{
    plat::FileDialogDesc d;
    d.initialDirSjis = "user_data\\rpl4";
    d.titleSjis = Sjis("リプレイファイルの選択");
    d.filterLabelSjis = "ReplayFile ( *.rpl4_* )";
    d.patterns = {"*.rpl4_*"};
    return Run(d);
}

std::string SelectReplayFile(const std::string& stageName)
{
    const std::string ext = ReplayExtension();
    plat::FileDialogDesc d;
    d.save = true;
    d.initialDirSjis = kReplayFolder;
    d.titleSjis = Sjis("保存先のファイル選択");
    FormatStr(d.filterLabelSjis, "ReplayFile ( *.%s )", ext.c_str());
    d.patterns = {"*." + ext};
    d.defExt = ext;
    d.proposedNameSjis = ProposeReplayName(stageName);
    return Run(d);
}
