#pragma once
// The dialog framework of the game: a dialog is a template of controls run
// modally (platform/dialog.h draws it) with a list of control objects that
// move data between the dialog and the program's variables: edits bound to
// strings with a length limiter, check boxes and radio buttons bound to
// ints. The list does not own its controls; they are the dialog's members.

#include "platform/dialog.h"

#include <cstdint>
#include <string>
#include <vector>

class cDialog;

class cControl {
public:
    virtual ~cControl() = default;
    // Remembers the dialog and the control's id.
    void Attach(cDialog* dialog, int id);
    virtual void DataToControl() {}
    virtual void ControlToData() {}
    virtual void OnChange() {}

    cDialog* m_Dialog = nullptr;
    int m_Id = 0;
};

// An edit bound to a string: lengths in characters (a double-byte pair
// counts 1) in character mode, else in bytes; lines separated by CR LF.
class cEditCtrl : public cControl {
public:
    // What SetEditBinding gives: at most n characters (character mode) or
    // n bytes on one line.
    void SetEditBinding(int id, std::string* bound, int n, int characterMode);
    // Attaches it and fills it from its string, cutting a text that does
    // not fit from its end.
    void Setup(cDialog* dialog);

    void DataToControl() override;
    void ControlToData() override;
    // The limiter: a text that no longer fits is refused, the previous
    // text comes back.
    void OnChange() override;

    std::string* m_Bound = nullptr;
    int m_MaxLength = 0;     // bytes of the string, with its terminator
    int m_CharacterMode = 0; // 1: characters, 0: bytes
    int m_MaxPerLine = 0;
    int m_MaxLines = 1;
    std::string m_Previous;

private:
    bool Fits(const std::string& text) const;
};

// A check box bound to an int: on = 1.
class cCheckBind : public cControl {
public:
    void DataToControl() override;
    void ControlToData() override;
    std::int32_t* m_Bound = nullptr;
};

// One radio button of a group bound to an int: on when the int has its value.
class cRadioBind : public cControl {
public:
    void DataToControl() override;
    void ControlToData() override;
    std::int32_t* m_Bound = nullptr;
    std::int32_t m_Value = 0;
};

// A modal dialog of the game.
class cDialog : public plat::DialogSink {
public:
    // Runs the dialog; its result (0 when closed). 0 at once when the
    // dialog is already open.
    int DoModal();
    // Ends the dialog with a result.
    void Close(int result);
    void DataToControls();
    void ControlsToData();

    // What the open dialog shows (null while it is not open).
    plat::DialogRef* m_Ref = nullptr;
    plat::DialogTemplate m_Template;
    std::vector<cControl*> m_Controls;

    // The sink's side: the controls hear of their edits.
    void onInit(plat::DialogRef& dialog) override;
    void onCommand(plat::DialogRef& dialog, int id, int code) override;
    void onClose(plat::DialogRef& dialog) override;

protected:
    virtual void OnInitDialog() {}
    virtual void OnCommand(int /*id*/) {}

private:
    bool m_Open = false;
};

// Places a window of the given outer size at the requested position, kept
// inside the work area: a coordinate below 0 becomes 0, one that would
// reach past the far edge is pulled back. -1000 means no request.
struct PlacedPos {
    int x = 0, y = 0;
};
PlacedPos PlaceWindow(int requestedX, int requestedY, int width, int height, int workWidth,
                      int workHeight);

// The mouse record of a framework window and its button sampling.
struct MouseState {
    std::int32_t x = 0, y = 0;
    std::int32_t reserved = 7;
    std::int32_t leftHeld = 0, rightHeld = 0;
    std::int32_t leftPressed = 0, rightPressed = 0;
    std::int32_t leftReleased = 0, rightReleased = 0;
};
// flags 1: held states; 2: press edges; 4: release edges. Returns 1.
int UpdateMouseButtons(MouseState& mouse, int flags);
