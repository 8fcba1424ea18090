#pragma once
// A player at an X server of the test's own (see own_x_server.h), as the
// program under test meets one: it finds the program's window, presses
// keys through the XTest extension (the keyboard's events go to the window
// that has the focus), and asks a window to close as a window manager does
// for the close box (a WM_DELETE_WINDOW message of the WM_PROTOCOLS).
//
// Xlib and XTest are found at run time, as SDL finds them, so that the
// tests need no X development files to build.

#include <dlfcn.h>

#include <string>
#include <type_traits>
#include <vector>

namespace test {

class XPlayer {
public:
    // Keysyms of the keys the tests press.
    static constexpr unsigned long kEscape = 0xff1b;
    static constexpr unsigned long kReturn = 0xff0d;
    static constexpr unsigned long kSpace = 0x20;
    static constexpr unsigned long kUp = 0xff52;
    static constexpr unsigned long kDown = 0xff54;
    static constexpr unsigned long kRight = 0xff53;
    static constexpr unsigned long kX = 0x78;
    static constexpr unsigned long kZ = 0x7a;

    explicit XPlayer(const std::string& display)
    {
        x11_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_NODELETE);
        xtst_ = dlopen("libXtst.so.6", RTLD_NOW | RTLD_NODELETE);
        if (!x11_ || !xtst_) return;
        bool all = true;
        auto find = [&](void* lib, const char* name, auto& fn) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
            all = all && fn;
        };
        find(x11_, "XOpenDisplay", open_);
        find(x11_, "XCloseDisplay", close_);
        find(x11_, "XDefaultRootWindow", root_);
        find(x11_, "XQueryTree", queryTree_);
        find(x11_, "XFree", free_);
        find(x11_, "XInternAtom", internAtom_);
        find(x11_, "XSendEvent", sendEvent_);
        find(x11_, "XSync", sync_);
        find(x11_, "XKeysymToKeycode", keycode_);
        find(x11_, "XSetInputFocus", setFocus_);
        find(x11_, "XSetErrorHandler", setErrorHandler_);
        find(x11_, "XGetWindowAttributes", attributes_);
        find(xtst_, "XTestFakeKeyEvent", fakeKey_);
        if (!all) return;
        // A window that goes while it is being asked about must not end
        // the test: Xlib's default handler would exit.
        previousHandler_ = setErrorHandler_(&ignoreError);
        handlerSet_ = true;
        display_ = open_(display.c_str());
    }
    ~XPlayer()
    {
        if (display_) close_(display_);
        if (handlerSet_) setErrorHandler_(previousHandler_);
    }
    XPlayer(const XPlayer&) = delete;
    XPlayer& operator=(const XPlayer&) = delete;

    // Whether the server answers and XTest is there.
    bool ready() const { return display_ != nullptr; }

    // The top-level windows shown now, the topmost last (the program's
    // windows: it is the server's only other client).
    std::vector<unsigned long> windows()
    {
        std::vector<unsigned long> found;
        if (!display_) return found;
        sync_(display_, 0);
        unsigned long root = 0, parent = 0;
        unsigned long* children = nullptr;
        unsigned int count = 0;
        if (queryTree_(display_, root_(display_), &root, &parent, &children, &count) == 0)
            return found;
        for (unsigned int i = 0; i < count; ++i) {
            Attributes a{};
            if (attributes_(display_, children[i], &a) != 0 && a.mapState == kIsViewable)
                found.push_back(children[i]);
        }
        if (children) free_(children);
        return found;
    }

    // Asks a window to close as the close box does; false when it could not be sent.
    bool askToClose(unsigned long window)
    {
        if (!display_) return false;
        ClientMessage m{};
        m.type = kClientMessage;
        m.window = window;
        m.messageType = internAtom_(display_, "WM_PROTOCOLS", 0);
        m.format = 32;
        m.data[0] = static_cast<long>(internAtom_(display_, "WM_DELETE_WINDOW", 0));
        m.data[1] = 0; // CurrentTime
        const int sent = sendEvent_(display_, window, 0, 0, &m);
        sync_(display_, 0);
        return sent != 0;
    }

    // Gives the keyboard to a window (the server has no window manager to do it).
    void focus(unsigned long window)
    {
        if (!display_) return;
        constexpr int kRevertToParent = 2;
        setFocus_(display_, window, kRevertToParent, 0);
        sync_(display_, 0);
    }

    // Presses (down) or releases a key, by its keysym.
    void key(unsigned long keysym, bool down)
    {
        if (!display_) return;
        fakeKey_(display_, keycode_(display_, keysym), down ? 1 : 0, 0);
        sync_(display_, 0);
    }

private:
    static constexpr int kClientMessage = 33;
    // Xlib's client message event, padded to the size of any event.
    struct ClientMessage {
        int type;
        unsigned long serial;
        int sendEvent;
        void* display;
        unsigned long window;
        unsigned long messageType;
        int format;
        long data[5];
        long pad[12];
    };
    static_assert(sizeof(ClientMessage) >= 24 * sizeof(long));

    // Xlib's window attributes; only the map state is read.
    static constexpr int kIsViewable = 2;
    struct Attributes {
        int x, y, width, height, borderWidth, depth;
        void* visual;
        unsigned long root;
        int windowClass, bitGravity, winGravity, backingStore;
        unsigned long backingPlanes, backingPixel;
        int saveUnder;
        unsigned long colormap;
        int mapInstalled, mapState;
        long allEventMasks, yourEventMask, doNotPropagateMask;
        int overrideRedirect;
        void* screen;
    };

    using ErrorHandler = int (*)(void*, void*);
    static int ignoreError(void*, void*) { return 0; }

    void* x11_ = nullptr;
    void* xtst_ = nullptr;
    void* display_ = nullptr;
    void* (*open_)(const char*) = nullptr;
    int (*close_)(void*) = nullptr;
    unsigned long (*root_)(void*) = nullptr;
    int (*queryTree_)(void*, unsigned long, unsigned long*, unsigned long*, unsigned long**,
                      unsigned int*) = nullptr;
    int (*free_)(void*) = nullptr;
    unsigned long (*internAtom_)(void*, const char*, int) = nullptr;
    int (*sendEvent_)(void*, unsigned long, int, long, ClientMessage*) = nullptr;
    int (*sync_)(void*, int) = nullptr;
    unsigned char (*keycode_)(void*, unsigned long) = nullptr;
    int (*setFocus_)(void*, unsigned long, int, unsigned long) = nullptr;
    ErrorHandler (*setErrorHandler_)(ErrorHandler) = nullptr;
    ErrorHandler previousHandler_ = nullptr;
    bool handlerSet_ = false;
    int (*attributes_)(void*, unsigned long, Attributes*) = nullptr;
    int (*fakeKey_)(void*, unsigned int, int, unsigned long) = nullptr;
};

} // namespace test
