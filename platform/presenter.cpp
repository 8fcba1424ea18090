#include "platform/presenter.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/message_loop.h"

namespace plat {
namespace {

// Uploads of each pixel order timed when a texture is made; the quickest
// counts, so that a time slice lost to another thread does not.
constexpr int kProbeUploads = 3;

// The presenters the main thread serves, registered once as a service.
std::mutex g_RegistryLock;
std::vector<Presenter*> g_Presenters;

void serveAll()
{
    std::vector<Presenter*> presenters;
    {
        std::lock_guard guard(g_RegistryLock);
        presenters = g_Presenters;
    }
    for (Presenter* p : presenters)
        p->service();
}

// Copies a frame into `target` in the texture's pixel order; whether it
// differs from `newest` (a frame in that order, or none). The comparison
// runs a block behind the copy, while the block is still in the cache, and
// stops at the first difference.
bool copyFrame(const std::uint32_t* xrgb, std::vector<std::uint32_t>& target,
               const std::uint32_t* newest, bool swapRedBlue)
{
    constexpr std::size_t kBlock = 4096;
    bool changed = newest == nullptr;
    for (std::size_t at = 0; at < target.size(); at += kBlock) {
        const std::size_t n = std::min(kBlock, target.size() - at);
        std::uint32_t* out = target.data() + at;
        if (swapRedBlue) {
            std::transform(xrgb + at, xrgb + at + n, out, [](std::uint32_t p) {
                return (p & 0x00FF00) | (p >> 16 & 0xFF) | (p & 0xFF) << 16;
            });
        } else {
            std::memcpy(out, xrgb + at, n * sizeof(std::uint32_t));
        }
        if (!changed) changed = std::memcmp(out, newest + at, n * sizeof(std::uint32_t)) != 0;
    }
    return changed;
}

void enroll(Presenter* p)
{
    static std::once_flag registered;
    std::call_once(registered, [] { addMainThreadService(serveAll); });
    std::lock_guard guard(g_RegistryLock);
    g_Presenters.push_back(p);
}

void leave(Presenter* p)
{
    std::lock_guard guard(g_RegistryLock);
    std::erase(g_Presenters, p);
}

} // namespace

Presenter::~Presenter()
{
    close();
}

bool Presenter::open(const PresenterOptions& o)
{
    close();
    if (o.width <= 0 || o.height <= 0) return false;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        ownsVideo_ = true;
    }
    if (o.sdlWindowId) {
        window_ = SDL_GetWindowFromID(o.sdlWindowId);
    } else {
        Uint32 flags = o.hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
        if (o.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        window_ = SDL_CreateWindow(o.titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED,
                                   SDL_WINDOWPOS_CENTERED, o.width, o.height, flags);
        ownsWindow_ = window_ != nullptr;
    }
    if (!window_) {
        close();
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    Uint32 rendererFlags = o.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer_ = SDL_CreateRenderer(window_, -1, rendererFlags);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        close();
        return false;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer_, &info);
    vsync_ = o.vsync && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    SDL_RenderSetLogicalSize(renderer_, o.width, o.height);
    width_ = o.width;
    height_ = o.height;
    if (!makeTexture()) {
        close();
        return false;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    {
        std::lock_guard guard(lock_);
        for (auto& b : buffers_)
            b.assign(static_cast<std::size_t>(width_) * height_, 0);
        fresh_ = false;
        haveFrame_ = false;
        open_ = true;
    }
    enroll(this);
    draw();
    return true;
}

bool Presenter::makeTexture()
{
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer_, &info);
    const auto takes = [&](Uint32 format) {
        return std::find(info.texture_formats, info.texture_formats + info.num_texture_formats,
                         format) != info.texture_formats + info.num_texture_formats;
    };
    const auto make = [&](Uint32 format) {
        return SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, width_, height_);
    };
    swapRedBlue_ = false;
    texture_ = make(SDL_PIXELFORMAT_RGB888);
    if (!texture_ || !takes(SDL_PIXELFORMAT_RGB888) || !takes(SDL_PIXELFORMAT_BGR888))
        return texture_ != nullptr;
    // A driver may store either order and convert the other on every upload
    // (a software one then spends more on that than on the rest of the
    // frame): a few uploads of each tell which it stores.
    SDL_Texture* swapped = make(SDL_PIXELFORMAT_BGR888);
    if (!swapped) return true;
    const std::vector<std::uint32_t> probe(static_cast<std::size_t>(width_) * height_, 0);
    const auto uploadTicks = [&](SDL_Texture* texture) {
        Uint64 best = ~Uint64{0};
        for (int i = 0; i < kProbeUploads; ++i) {
            const Uint64 start = SDL_GetPerformanceCounter();
            SDL_UpdateTexture(texture, nullptr, probe.data(),
                              width_ * static_cast<int>(sizeof(std::uint32_t)));
            best = std::min(best, SDL_GetPerformanceCounter() - start);
        }
        return best;
    };
    const Uint64 plain = uploadTicks(texture_), flipped = uploadTicks(swapped);
    // Swapping costs the producer a little more than a copy: worth it only
    // when the upload is much cheaper.
    if (flipped * 2 < plain) {
        SDL_DestroyTexture(texture_);
        texture_ = swapped;
        swapRedBlue_ = true;
    } else {
        SDL_DestroyTexture(swapped);
    }
    return true;
}

void Presenter::close()
{
    leave(this);
    {
        std::lock_guard guard(lock_);
        open_ = false;
    }
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_ && ownsWindow_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    ownsWindow_ = false;
    if (ownsVideo_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ownsVideo_ = false;
}

bool Presenter::isOpen() const
{
    std::lock_guard guard(lock_);
    return open_;
}

bool Presenter::present(const std::uint32_t* xrgb, int width, int height)
{
    {
        std::unique_lock guard(lock_);
        if (!open_ || width != width_ || height != height_ || !xrgb) return false;
        // Only this caller writes into a buffer, so the newest frame handed
        // over stays as it is while it is read here, wherever the main
        // thread's swaps move it meanwhile.
        std::vector<std::uint32_t>& target = buffers_[writing_];
        const std::uint32_t* newest = haveFrame_ ? buffers_[fresh_ ? ready_ : reading_].data() : nullptr;
        const bool swap = swapRedBlue_;
        guard.unlock();
        const bool changed = copyFrame(xrgb, target, newest, swap);
        guard.lock();
        ++handedOver_;
        if (!changed) {
            // The window shows this picture already, or will with the
            // frame still waiting: nothing to upload or draw again.
            if (!fresh_) shown_ = handedOver_;
            return true;
        }
        std::swap(writing_, ready_);
        fresh_ = true;
        haveFrame_ = true;
    }
    wakeMainThread();
    return true;
}

bool Presenter::service()
{
    if (!renderer_) return false;
    {
        std::lock_guard guard(lock_);
        if (!fresh_) return false;
        std::swap(reading_, ready_);
        fresh_ = false;
    }
    // The consumer's buffer is ours until the next swap above.
    SDL_UpdateTexture(texture_, nullptr, buffers_[reading_].data(),
                      width_ * static_cast<int>(sizeof(std::uint32_t)));
    draw();
    std::lock_guard guard(lock_);
    shown_ = handedOver_;
    return true;
}

void Presenter::compose()
{
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
}

void Presenter::draw()
{
    compose();
    if (overlay_) {
        // The overlay draws in window pixels, over the letterboxed frame.
        SDL_RenderSetLogicalSize(renderer_, 0, 0);
        overlay_(renderer_);
        SDL_RenderSetLogicalSize(renderer_, width_, height_);
    }
    SDL_RenderPresent(renderer_);
}

std::function<void(SDL_Renderer*)> Presenter::setOverlay(std::function<void(SDL_Renderer*)> overlay)
{
    return std::exchange(overlay_, std::move(overlay));
}

void Presenter::represent()
{
    if (renderer_) draw();
}

bool Presenter::setFullscreen(bool on)
{
    if (!window_) return false;
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
    represent();
    return true;
}

bool Presenter::readPixels(std::vector<std::uint32_t>& out, int& width, int& height)
{
    if (!renderer_) return false;
    if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0) return false;
    // Draw again and read before presenting: what a present leaves behind
    // is not the picture on every renderer.
    compose();
    out.assign(static_cast<std::size_t>(width) * height, 0);
    // Read the whole output, past the logical size and its bars.
    SDL_RenderSetLogicalSize(renderer_, 0, 0);
    int result = SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB888, out.data(),
                                      width * static_cast<int>(sizeof(std::uint32_t)));
    SDL_RenderSetLogicalSize(renderer_, width_, height_);
    SDL_RenderPresent(renderer_);
    if (result != 0) return false;
    for (auto& p : out)
        p &= 0xFFFFFF;
    return true;
}

std::uint64_t Presenter::framesShown() const
{
    std::lock_guard guard(lock_);
    return shown_;
}

} // namespace plat
