#include "shell/name_dialog.h"

#include "core/sjis_text.h"
#include "data/ed_option.h"
#include "scenes/scene_mgr.h"
#include "shell/dialog_controls.h"

std::string* g_RankingNameTarget = nullptr;

namespace {

// The play mode of the options scene asking for the fixed name.
constexpr std::int32_t kOptionsPlayMode = 5;

class cNameDlg : public cDialog {
public:
    explicit cNameDlg(std::string* bound)
    {
        using plat::CtlKind;
        m_Template.width = 220;
        m_Template.height = 110;
        m_Template.controls = {
            {0, CtlKind::Static, Sjis("登録名(3文字まで)"), false, true},
            {IDC_NAME_EDIT, CtlKind::Edit, "", false, false},
            {IDC_NAME_OK, CtlKind::PushButton, "OK", true, true},
        };
        if (bound) {
            m_Edits.emplace_back();
            m_Edits.back().SetEditBinding(IDC_NAME_EDIT, bound, 3, 1);
        }
    }

protected:
    void OnInitDialog() override
    {
        for (cEditCtrl& edit : m_Edits) {
            edit.Setup(this);
            m_Controls.push_back(&edit);
        }
        DataToControls();
        m_Ref->focus(IDC_NAME_EDIT);
    }
    void OnCommand(int id) override
    {
        if (id == IDC_NAME_OK) {
            ControlsToData();
            Close(1);
        }
    }

private:
    std::vector<cEditCtrl> m_Edits;
};

} // namespace

int RunNameDialog()
{
    std::string* bound =
        g_SceneMgr.g_PlayMode == kOptionsPlayMode ? &g_Option.strRegName : g_RankingNameTarget;
    cNameDlg dialog(bound);
    return dialog.DoModal();
}
