#include "shell/dialog_controls.h"

#include "core/dbcs.h"
#include "platform/input.h"

#include <algorithm>

void cControl::Attach(cDialog* dialog, int id)
{
    m_Dialog = dialog;
    m_Id = id;
}

void cEditCtrl::SetEditBinding(int id, std::string* bound, int n, int characterMode)
{
    m_Id = id;
    m_Bound = bound;
    m_MaxLength = n + 1;
    m_CharacterMode = characterMode;
    m_MaxPerLine = characterMode ? n : 1024;
    m_MaxLines = 1;
}

bool cEditCtrl::Fits(const std::string& text) const
{
    int lines = 0;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        const int length =
            m_CharacterMode ? CountChars(line.c_str()) : static_cast<int>(line.size());
        if (length > m_MaxPerLine) return false;
        ++lines;
        if (end == std::string::npos) break;
        start = end + 2;
    }
    if (lines > m_MaxLines) return false;
    // The bound string holds at most its bytes (two per character).
    const int bytes = static_cast<int>(text.size());
    return bytes <= (m_CharacterMode ? 2 * m_MaxLength - 1 : m_MaxLength);
}

void cEditCtrl::Setup(cDialog* dialog)
{
    Attach(dialog, m_Id);
    std::string text = m_Bound ? *m_Bound : std::string();
    // A text longer than the edit allows is cut from its end, never in the
    // middle of a character.
    while (!text.empty() && !Fits(text))
        text.resize(DbcsSafeLength(text.c_str(), text.size() - 1));
    m_Previous = text;
    if (m_Dialog && m_Dialog->m_Ref) m_Dialog->m_Ref->setText(m_Id, text);
}

void cEditCtrl::DataToControl()
{
    if (m_Bound && m_Dialog && m_Dialog->m_Ref) {
        std::string text = *m_Bound;
        while (!text.empty() && !Fits(text))
            text.resize(DbcsSafeLength(text.c_str(), text.size() - 1));
        m_Dialog->m_Ref->setText(m_Id, text);
        m_Previous = text;
    }
}

void cEditCtrl::ControlToData()
{
    if (m_Bound && m_Dialog && m_Dialog->m_Ref) *m_Bound = m_Dialog->m_Ref->text(m_Id);
}

void cEditCtrl::OnChange()
{
    if (!m_Dialog || !m_Dialog->m_Ref) return;
    const std::string text = m_Dialog->m_Ref->text(m_Id);
    if (Fits(text)) {
        m_Previous = text;
        return;
    }
    m_Dialog->m_Ref->setText(m_Id, m_Previous);
}

void cCheckBind::DataToControl()
{
    if (m_Bound && m_Dialog && m_Dialog->m_Ref) m_Dialog->m_Ref->setCheck(m_Id, *m_Bound);
}

void cCheckBind::ControlToData()
{
    if (m_Bound && m_Dialog && m_Dialog->m_Ref) *m_Bound = m_Dialog->m_Ref->check(m_Id);
}

void cRadioBind::DataToControl()
{
    if (m_Bound && m_Dialog && m_Dialog->m_Ref)
        m_Dialog->m_Ref->setCheck(m_Id, *m_Bound == m_Value ? 1 : 0);
}

void cRadioBind::ControlToData()
{
    if (m_Bound && m_Dialog && m_Dialog->m_Ref && m_Dialog->m_Ref->check(m_Id)) *m_Bound = m_Value;
}

int cDialog::DoModal()
{
    if (m_Open) return 0;
    m_Open = true;
    m_Controls.clear();
    const int result = plat::runModalDialog(m_Template, *this);
    m_Open = false;
    m_Ref = nullptr;
    m_Controls.clear();
    return result;
}

void cDialog::Close(int result)
{
    if (m_Ref) m_Ref->end(result);
}

void cDialog::DataToControls()
{
    for (cControl* c : m_Controls)
        c->DataToControl();
}

void cDialog::ControlsToData()
{
    for (cControl* c : m_Controls)
        c->ControlToData();
}

void cDialog::onInit(plat::DialogRef& dialog)
{
    m_Ref = &dialog;
    m_Controls.clear();
    OnInitDialog();
}

void cDialog::onCommand(plat::DialogRef& dialog, int id, int code)
{
    m_Ref = &dialog;
    if (code == plat::kEditUpdate) {
        for (cControl* c : m_Controls) {
            if (c->m_Id != id) continue;
            c->OnChange();
            return;
        }
        return;
    }
    OnCommand(id);
}

void cDialog::onClose(plat::DialogRef& dialog)
{
    m_Ref = &dialog;
    Close(0);
}

PlacedPos PlaceWindow(int requestedX, int requestedY, int width, int height, int workWidth,
                      int workHeight)
{
    if (requestedX == -1000 || requestedY == -1000) return PlacedPos{requestedX, requestedY};
    auto clampAxis = [](int at, int size, int edge) {
        if (at < 0) return 0;
        if (at + size >= edge) return edge - size;
        return at;
    };
    return PlacedPos{clampAxis(requestedX, width, workWidth),
                     clampAxis(requestedY, height, workHeight)};
}

namespace {

// Shared by every window: the held state seen last and the press latch.
struct ButtonLatch {
    std::int32_t previousHeld = 0;
    std::int32_t latch = 0;
};
ButtonLatch g_Left, g_Right;

void Edge(ButtonLatch& b, bool down, std::int32_t& pressed)
{
    if (!down) {
        b.latch = 0;
        pressed = 0;
    } else if (b.latch == 0) {
        b.latch = 1;
        pressed = 1;
    } else {
        pressed = 0;
    }
}

} // namespace

int UpdateMouseButtons(MouseState& mouse, int flags)
{
    g_Left.previousHeld = mouse.leftHeld;
    g_Right.previousHeld = mouse.rightHeld;
    const bool left = plat::keyDown(plat::VK_LBUTTON);
    const bool right = plat::keyDown(plat::VK_RBUTTON);
    if (flags & 1) {
        mouse.leftHeld = left ? 1 : 0;
        mouse.rightHeld = right ? 1 : 0;
    }
    if (flags & 2) {
        Edge(g_Left, left, mouse.leftPressed);
        Edge(g_Right, right, mouse.rightPressed);
    }
    if (flags & 4) {
        mouse.leftReleased = g_Left.previousHeld == 1 && mouse.leftHeld == 0 ? 1 : 0;
        mouse.rightReleased = g_Right.previousHeld == 1 && mouse.rightHeld == 0 ? 1 : 0;
    }
    return 1;
}
