#include "shell/boot_dialog.h"

#include "core/report.h"
#include "core/sjis_text.h"
#include "data/ed_system.h"
#include "data/path_table.h"
#include "shell/dialog_controls.h"
#include "shell/system_ini.h"

cBootData g_BootData;

cBootData::cBootData()
{
    Clear();
    nChoice = 1;
    bSkip = 0;
}

void cBootData::RegisterMembers(int)
{
    ClearMemberTables();
    AddField4(&nChoice, 1);
    AddField4(&bSkip, 1);
}

namespace {

class cBootDialog : public cDialog {
public:
    cBootDialog()
    {
        using plat::CtlKind;
        // Wide enough for the sentence about System.ini on one line.
        m_Template.width = 500;
        m_Template.height = 230;
        m_Template.controls = {
            {0, CtlKind::GroupBox, Sjis("描画モード"), false, true},
            {IDC_BOOT_D3D, CtlKind::Radio, "Direct3D", false, true},
            {IDC_BOOT_DDRAW, CtlKind::Radio, "DirectDraw", false, false},
            {0, CtlKind::Static, Sjis("詳細な設定は環境設定ファイル「System.ini」で行って下さい。"),
             false, true},
            {IDC_BOOT_SKIP, CtlKind::Check, Sjis("次回からこのダイアログを表示しない"), false,
             true},
            {IDC_BOOT_START, CtlKind::PushButton, Sjis("ゲーム開始"), true, true},
            {IDC_BOOT_QUIT, CtlKind::PushButton, Sjis("ゲーム中止"), false, false},
        };
        m_Radios[0].m_Bound = m_Radios[1].m_Bound = &g_BootData.nChoice;
        m_Radios[0].m_Value = 1;
        m_Radios[1].m_Value = 0;
        m_Check.m_Bound = &g_BootData.bSkip;
    }

protected:
    void OnInitDialog() override
    {
        m_Ref->setCaption(g_System.strTitle);
        m_Radios[0].Attach(this, IDC_BOOT_D3D);
        m_Radios[1].Attach(this, IDC_BOOT_DDRAW);
        m_Check.Attach(this, IDC_BOOT_SKIP);
        m_Controls = {&m_Radios[0], &m_Radios[1], &m_Check};
        DataToControls();
    }
    void OnCommand(int id) override
    {
        if (id == IDC_BOOT_START) {
            ControlsToData();
            // The choice holds for this run even when it cannot be kept.
            if (!g_BootData.SaveFile(g_PathTable[PATH_BOOT]))
                Report("%s could not be written", g_PathTable[PATH_BOOT]);
            Close(1);
        } else if (id == IDC_BOOT_QUIT) {
            Close(0);
        }
    }

private:
    cRadioBind m_Radios[2];
    cCheckBind m_Check;
};

} // namespace

bool AskBackEnd(SYSTEMINI& settings)
{
    LoadFile(g_BootData, g_PathTable[PATH_BOOT]);
    if (g_BootData.bSkip == 0) {
        cBootDialog dialog;
        if (dialog.DoModal() == 0) {
            Report("start-up ended: the player quit at the start-up dialog");
            return false;
        }
    }
    settings.Direct3D = g_BootData.nChoice == 1 ? 1 : 0;
    return true;
}
