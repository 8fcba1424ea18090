#include "platform/dialog.h"

#include "platform/dialog_host.h"
#include "platform/headless.h"
#include "platform/message_loop.h"
#include "platform/test_hook.h"
#include "platform/text_encoding.h"

#include <imgui.h>

#include <array>
#include <cstring>
#include <memory>

namespace plat {
namespace {

detail::TestHook<void(DialogPlayer&)>& responder()
{
    static detail::TestHook<void(DialogPlayer&)> instance;
    return instance;
}

constexpr std::size_t kEditBytes = 256;

struct ControlState {
    DialogControl def;
    std::string text; // Shift-JIS
    int check = 0;
    std::array<char, kEditBytes> utf8{}; // an edit's text as ImGui edits it
};

class Dialog final : public DialogRef, public DialogPlayer {
public:
    Dialog(const DialogTemplate& t, DialogSink& sink) : template_(t), sink_(sink)
    {
        caption_ = t.captionSjis;
        for (const DialogControl& c : t.controls) {
            ControlState s;
            s.def = c;
            s.text = c.kind == CtlKind::Edit ? std::string() : c.textSjis;
            controls_.push_back(s);
        }
    }

    // DialogRef
    std::string text(int id) const override
    {
        const ControlState* c = find(id);
        return c ? c->text : std::string();
    }
    void setText(int id, std::string_view sjis) override
    {
        if (ControlState* c = find(id)) {
            c->text = std::string(sjis);
            syncEdit(*c);
        }
    }
    int check(int id) const override
    {
        const ControlState* c = find(id);
        return c ? c->check : 0;
    }
    void setCheck(int id, int on) override
    {
        ControlState* c = find(id);
        if (!c) return;
        if (c->def.kind == CtlKind::Radio && on) {
            for (ControlState& other : controls_)
                if (other.def.kind == CtlKind::Radio) other.check = 0;
        }
        c->check = on ? 1 : 0;
    }
    void focus(int id) override { focus_ = id; }
    void setCaption(std::string_view sjis) override { caption_ = std::string(sjis); }
    void end(int result) override
    {
        ended_ = true;
        result_ = result;
    }

    // DialogPlayer
    const DialogTemplate& dialog() const override { return template_; }
    std::string caption() const override { return caption_; }
    void type(int id, std::string_view utf8) override
    {
        ControlState* c = find(id);
        if (!c || c->def.kind != CtlKind::Edit || ended_) return;
        const auto sjis = utf8ToSjis(utf8);
        if (!sjis) return;
        c->text = *sjis;
        sink_.onCommand(*this, id, kEditUpdate);
        syncEdit(*c);
    }
    void click(int id) override
    {
        ControlState* c = find(id);
        if (!c || ended_) return;
        if (c->def.kind == CtlKind::Check) c->check = !c->check;
        if (c->def.kind == CtlKind::Radio) setCheck(id, 1);
        sink_.onCommand(*this, id, 0);
    }
    void close() override
    {
        if (!ended_) sink_.onClose(*this);
    }
    bool ended() const override { return ended_; }

    int result() const { return result_; }
    void init()
    {
        sink_.onInit(*this);
        for (ControlState& c : controls_)
            syncEdit(c);
    }
    bool frame();

private:
    ControlState* find(int id)
    {
        for (ControlState& c : controls_)
            if (c.def.id == id && id != 0) return &c;
        return nullptr;
    }
    const ControlState* find(int id) const { return const_cast<Dialog*>(this)->find(id); }
    static void syncEdit(ControlState& c)
    {
        if (c.def.kind != CtlKind::Edit) return;
        const std::string utf8 = sjisToUtf8(c.text);
        c.utf8.fill('\0');
        std::memcpy(c.utf8.data(), utf8.data(), std::min(utf8.size(), kEditBytes - 1));
    }
    int defaultButton() const
    {
        for (const ControlState& c : controls_)
            if (c.def.defaultButton) return c.def.id;
        return 0;
    }
    static int onEdit(ImGuiInputTextCallbackData* data);

    const DialogTemplate& template_;
    DialogSink& sink_;
    std::vector<ControlState> controls_;
    std::string caption_;
    int focus_ = 0;
    int frames_ = 0;
    bool ended_ = false;
    int result_ = 0;
    ControlState* editing_ = nullptr;
};

// The player changed an edit: the program sees the text and may refuse it.
int Dialog::onEdit(ImGuiInputTextCallbackData* data)
{
    auto* self = static_cast<Dialog*>(data->UserData);
    ControlState* c = self->editing_;
    if (!c) return 0;
    const std::string before = c->text;
    const auto sjis =
        utf8ToSjis(std::string_view(data->Buf, static_cast<std::size_t>(data->BufTextLen)));
    if (sjis) {
        c->text = *sjis;
        self->sink_.onCommand(*self, c->def.id, kEditUpdate);
    }
    const std::string shown = sjisToUtf8(sjis ? c->text : before);
    if (shown != std::string_view(data->Buf, static_cast<std::size_t>(data->BufTextLen))) {
        data->DeleteChars(0, data->BufTextLen);
        data->InsertChars(0, shown.c_str());
    }
    return 0;
}

bool Dialog::frame()
{
    const ImGuiViewport* view = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(
        ImVec2(view->WorkPos.x + view->WorkSize.x / 2, view->WorkPos.y + view->WorkSize.y / 2),
        ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    // The template's width; its height at least, and more when wrapped
    // texts need it, so that no text and no button is cut off.
    const auto width = static_cast<float>(template_.width);
    ImGui::SetNextWindowSizeConstraints(ImVec2(width, static_cast<float>(template_.height)),
                                        ImVec2(width, view->WorkSize.y));
    bool open = true;
    const std::string title = sjisToUtf8(caption_) + "###dialog";
    ImGui::Begin(title.c_str(), &open,
                 ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_AlwaysAutoResize);
    int clicked = 0;
    for (ControlState& c : controls_) {
        if (!c.def.newLine) ImGui::SameLine();
        const std::string label = sjisToUtf8(c.text) + "##" + std::to_string(c.def.id) + "_" +
                                  std::to_string(&c - controls_.data());
        switch (c.def.kind) {
        case CtlKind::Static:
            // Wrapped at the dialog's edge rather than cut off there.
            ImGui::PushTextWrapPos(0.0f);
            ImGui::TextUnformatted(detail::shownText(c.text).c_str());
            ImGui::PopTextWrapPos();
            break;
        case CtlKind::GroupBox:
            ImGui::Separator();
            ImGui::TextUnformatted(sjisToUtf8(c.text).c_str());
            break;
        case CtlKind::Edit: {
            // The keyboard goes to the edit once the dialog's window is up.
            if (focus_ == c.def.id && frames_ > 0) {
                ImGui::SetKeyboardFocusHere();
                focus_ = 0;
            }
            editing_ = &c;
            ImGui::SetNextItemWidth(120);
            const std::string id = "##edit" + std::to_string(c.def.id);
            ImGui::InputText(id.c_str(), c.utf8.data(), c.utf8.size(),
                             ImGuiInputTextFlags_CallbackEdit, &Dialog::onEdit, this);
            editing_ = nullptr;
            break;
        }
        case CtlKind::PushButton:
            if (ImGui::Button(label.c_str())) clicked = c.def.id;
            break;
        case CtlKind::Radio:
            if (ImGui::RadioButton(label.c_str(), c.check != 0)) clicked = c.def.id;
            break;
        case CtlKind::Check: {
            bool on = c.check != 0;
            if (ImGui::Checkbox(label.c_str(), &on)) clicked = c.def.id;
            break;
        }
        }
    }
    // Enter presses the default button, Escape closes.
    if (!clicked && ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false))
        clicked = defaultButton();
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false)) open = false;
    ImGui::End();
    ++frames_;
    if (clicked) click(clicked);
    if (!open) close();
    return !ended_;
}

int runOnMain(const DialogTemplate& t, DialogSink& sink)
{
    Dialog dialog(t, sink);
    dialog.init();
    if (const auto play = responder().get()) {
        (*play)(dialog);
        if (!dialog.ended()) dialog.close();
        if (!dialog.ended()) dialog.end(0);
        return dialog.result();
    }
    if (detail::headless()) {
        // Nobody could answer: what Enter would do.
        for (const DialogControl& c : t.controls)
            if (c.defaultButton) dialog.click(c.id);
        if (!dialog.ended()) dialog.end(0);
        return dialog.result();
    }
    const std::string title = sjisToUtf8(t.captionSjis);
    if (!detail::runImGuiDialog(title, t.width + 40, t.height + 40,
                                [&dialog] { return dialog.frame(); }))
        return 0;
    return dialog.result();
}

} // namespace

int runModalDialog(const DialogTemplate& t, DialogSink& sink)
{
    int result = 0;
    if (!runOnMainThread([&] { result = runOnMain(t, sink); })) return 0;
    return result;
}

void setDialogResponder(std::function<void(DialogPlayer&)> play)
{
    responder().set(std::move(play));
}

} // namespace plat
