#include "platform/message_box.h"

#include "platform/dialog.h"
#include "platform/headless.h"
#include "platform/test_hook.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace plat {
namespace {

detail::TestHook<int(const BoxRequest&)>& responder()
{
    static detail::TestHook<int(const BoxRequest&)> instance;
    return instance;
}

bool envIs(const char* name, const char* value)
{
    const char* set = std::getenv(name);
    return set && std::strcmp(set, value) == 0;
}

bool envSet(const char* name)
{
    const char* set = std::getenv(name);
    return set && *set;
}

struct Button {
    int id;
    const char* label; // UTF-8
};

std::vector<Button> buttonsOf(std::uint32_t type)
{
    switch (type & 0x0F) {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "キャンセル"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "はい"}, {IDNO, "いいえ"}, {IDCANCEL, "キャンセル"}};
    case MB_YESNO:
        return {{IDYES, "はい"}, {IDNO, "いいえ"}};
    default:
        return {{IDOK, "OK"}};
    }
}

// The answer of a box closed without a button: Cancel when there is one,
// else the last button (No, or OK).
int closedAnswer(const std::vector<Button>& buttons)
{
    for (const auto& b : buttons) {
        if (b.id == IDCANCEL) return IDCANCEL;
    }
    return buttons.back().id;
}

// A box's buttons end it with their answer; the close box with the answer
// of a box closed without a button.
class BoxSink : public DialogSink {
public:
    explicit BoxSink(int closed) : closed_(closed) {}
    void onCommand(DialogRef& dialog, int id, int) override { dialog.end(id); }
    void onClose(DialogRef& dialog) override { dialog.end(closed_); }

private:
    int closed_;
};

// On the main thread: the box drawn as one of our own dialogs, modal until
// a button is pressed. Drawn by us rather than by the system, whose boxes
// need a helper program or X fonts with Japanese glyphs to show the game's
// texts at all.
int showDrawn(const BoxRequest& request)
{
    const auto buttons = buttonsOf(request.type);
    DialogTemplate dialog;
    dialog.captionSjis = request.caption;
    std::size_t longest = 0;
    int lines = 0;
    std::size_t start = 0;
    while (start <= request.text.size()) {
        const std::size_t end = request.text.find('\n', start);
        DialogControl line;
        line.textSjis =
            request.text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        longest = std::max(longest, utf8CodePoints(sjisToUtf8(line.textSjis)).size());
        ++lines;
        dialog.controls.push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        DialogControl button;
        button.id = buttons[i].id;
        button.kind = CtlKind::PushButton;
        button.defaultButton = i == 0;
        button.newLine = i == 0;
        if (auto sjis = utf8ToSjis(buttons[i].label)) button.textSjis = *sjis;
        dialog.controls.push_back(button);
    }
    // Sized for the text in the dialogs' 16-pixel face (a full-width
    // character is one em), within the game's 640 x 480 screen.
    dialog.width = std::clamp(static_cast<int>(longest) * 16 + 48, 260, 620);
    dialog.height = std::clamp(lines * 24 + 96, 140, 460);
    BoxSink sink(closedAnswer(buttons));
    return runModalDialog(dialog, sink);
}

} // namespace

namespace detail {

bool headless()
{
    if (envIs("SDL_VIDEODRIVER", "dummy") || envIs("SDL_VIDEODRIVER", "offscreen")) return true;
    return !envSet("DISPLAY") && !envSet("WAYLAND_DISPLAY");
}

} // namespace detail

std::string BoxRequest::textUtf8() const
{
    return sjisToUtf8(text);
}

std::string BoxRequest::captionUtf8() const
{
    return sjisToUtf8(caption);
}

int messageBox(WindowId owner, std::string_view sjisText, std::string_view sjisCaption,
               std::uint32_t type)
{
    BoxRequest request{owner, std::string(sjisText), std::string(sjisCaption), type};
    std::fprintf(stderr, "[%s] %s\n", request.captionUtf8().c_str(), request.textUtf8().c_str());

    if (const auto answer = responder().get()) return (*answer)(request);
    if (detail::headless()) return buttonsOf(type).front().id;

    int result = 0;
    if (!runOnMainThread([&] { result = showDrawn(request); })) return 0;
    return result;
}

void setMessageBoxResponder(std::function<int(const BoxRequest&)> answer)
{
    responder().set(std::move(answer));
}

} // namespace plat
