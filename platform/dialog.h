#pragma once
// Modal dialogs described by a template of controls and drawn with Dear
// ImGui (see platform/dialog_host.h). The program sees the controls by id,
// with texts in Shift-JIS: a sink is told when the dialog opens, when a
// button is pressed or a check box or radio button clicked (code 0), when
// the player has changed an edit's text (kEditUpdate; the sink may put
// another text back), and when the dialog's window is closed.
//
// With a responder set (tests, and the same goes for runs without a
// screen), the responder plays the player's part: it types into edits,
// clicks controls and closes the dialog, and nothing is shown. Without one
// and without a screen, the dialog's default button is pressed at once.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class CtlKind { Static, GroupBox, Edit, PushButton, Radio, Check };

struct DialogControl {
    int id = 0; // 0 for a control the program never addresses
    CtlKind kind = CtlKind::Static;
    std::string textSjis;
    bool defaultButton = false;
    bool newLine = true; // starts a new row (else it follows the one before)
};

struct DialogTemplate {
    std::string captionSjis;
    int width = 300; // pixels of the dialog's area
    int height = 200;
    std::vector<DialogControl> controls;
};

// The notification code of an edit whose text the player changed.
inline constexpr int kEditUpdate = 0x400;

// The controls of an open dialog.
class DialogRef {
public:
    virtual ~DialogRef() = default;
    virtual std::string text(int id) const = 0;
    // Sets a control's text (no notification).
    virtual void setText(int id, std::string_view sjis) = 0;
    virtual int check(int id) const = 0;
    // Radio buttons: setting one clears the others.
    virtual void setCheck(int id, int on) = 0;
    // The edit that has the keyboard, with its whole text selected.
    virtual void focus(int id) = 0;
    virtual void setCaption(std::string_view sjis) = 0;
    // Ends the dialog with a result.
    virtual void end(int result) = 0;
};

class DialogSink {
public:
    virtual ~DialogSink() = default;
    virtual void onInit(DialogRef&) {}
    virtual void onCommand(DialogRef&, int /*id*/, int /*code*/) {}
    // The close box: the dialog ends with 0 unless the sink ends it otherwise.
    virtual void onClose(DialogRef& dialog) { dialog.end(0); }
};

// What a responder does in the player's place.
class DialogPlayer {
public:
    virtual ~DialogPlayer() = default;
    virtual const DialogTemplate& dialog() const = 0;
    // The dialog's texts as they are now (Shift-JIS).
    virtual std::string text(int id) const = 0;
    virtual int check(int id) const = 0;
    virtual std::string caption() const = 0;
    // Types a UTF-8 text into an edit, replacing its text; the edit is
    // notified. A character that Shift-JIS cannot hold is refused.
    virtual void type(int id, std::string_view utf8) = 0;
    virtual void click(int id) = 0;
    virtual void close() = 0;
    virtual bool ended() const = 0;
};

// Main thread (other threads are handed to it). Returns the result given
// to end; 0 when the dialog was closed, or the program is closing.
int runModalDialog(const DialogTemplate& dialog, DialogSink& sink);

// Sets (or, with nullptr, removes) the responder that plays every dialog.
// A responder that leaves the dialog open ends it as closed.
void setDialogResponder(std::function<void(DialogPlayer&)> responder);

} // namespace plat
