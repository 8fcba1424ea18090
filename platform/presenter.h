#pragma once
// Showing finished frames in a window. The thread that owns the frame loop
// hands each 0x00RRGGBB frame to present(), from any thread; the frame is
// copied into one of three buffers, in the byte order the texture takes
// fastest, and the main thread is woken, which uploads the newest frame
// into a streaming texture and shows it. The
// picture keeps its proportions: scaled with nearest pixels to the largest
// size that fits the window, with black bars on the two sides that are left
// over (full screen covers the desktop without changing the display mode).
// Vertical sync only keeps the main thread's presents from tearing: the
// thread that hands frames over never waits for the display, so the game's
// own timer alone sets its speed, whatever the refresh rate.
//
// Only the main thread opens, closes and draws; SDL is initialised for
// video by the presenter itself when nobody has done it yet.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace plat {

struct PresenterOptions {
    std::string titleUtf8;
    int width = 640; // the frame's size, and the window's
    int height = 480;
    bool fullscreen = false;
    bool vsync = false;
    bool hidden = false;
    std::uint32_t sdlWindowId = 0; // show in this existing window instead of a new one
};

class Presenter {
public:
    Presenter() = default;
    ~Presenter();
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    // Main thread: makes (or takes) the window, its renderer and texture.
    bool open(const PresenterOptions& options);
    // Main thread: releases them (a window made here is destroyed).
    void close();
    bool isOpen() const;

    // Any thread: hands over a frame and returns at once; the main thread
    // shows the newest one handed over. A frame equal to the newest one
    // counts as shown without waking the main thread (a paused game draws
    // the same picture sixty times a second). False for a frame of the
    // wrong size or when the presenter is closed.
    bool present(const std::uint32_t* xrgb, int width, int height);

    // Main thread: shows the newest frame handed over, if any; true when one
    // was shown. The main thread's pump calls it.
    bool service();
    // Main thread: shows the last frame again (the window was uncovered).
    void represent();
    // Main thread: full screen on the desktop, or back to the window.
    bool setFullscreen(bool on);
    // Main thread: the window's picture as 0x00RRGGBB (what the player sees).
    bool readPixels(std::vector<std::uint32_t>& out, int& width, int& height);

    // Main thread: something drawn over every frame shown until it is
    // removed (a dialog); empty removes it. Returns the one it replaces.
    std::function<void(SDL_Renderer*)> setOverlay(std::function<void(SDL_Renderer*)> overlay);

    // Frames shown so far.
    std::uint64_t framesShown() const;
    bool vsyncAvailable() const { return vsync_; }
    SDL_Window* window() const { return window_; }
    SDL_Renderer* renderer() const { return renderer_; }

private:
    // The frame with its bars, drawn but not yet presented.
    void compose();
    void draw();
    // Makes the texture in the pixel layout the renderer uploads fastest.
    bool makeTexture();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool ownsWindow_ = false;
    bool ownsVideo_ = false;
    bool vsync_ = false;
    bool swapRedBlue_ = false; // the texture holds 0x00BBGGRR
    int width_ = 0, height_ = 0;

    // Three buffers: the producer's, the newest complete one, the consumer's.
    mutable std::mutex lock_;
    std::vector<std::uint32_t> buffers_[3];
    int writing_ = 0, ready_ = 1, reading_ = 2;
    bool fresh_ = false;
    bool haveFrame_ = false; // a frame has been handed over since opening
    bool open_ = false;
    std::function<void(SDL_Renderer*)> overlay_; // main thread only
    std::uint64_t handedOver_ = 0;
    std::uint64_t shown_ = 0;
};

} // namespace plat
