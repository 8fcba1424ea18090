#pragma once
// Our stand-in for the Direct3D object and its device: it owns the back
// buffer, knows the render target, presents the back buffer to the frame
// sink, and can be lost and reset the way a real device is (tests lose it on
// purpose; nothing else here ever does).

#include <cstdint>
#include <memory>

#include "media/dd_pixels.h"
#include "media/dd_state.h"

using D3DRESULT = std::int32_t;
constexpr D3DRESULT D3D_OK = 0;
constexpr D3DRESULT D3DERR_DEVICELOST = static_cast<D3DRESULT>(0x88760868u);
constexpr D3DRESULT D3DERR_DEVICENOTRESET = static_cast<D3DRESULT>(0x88760869u);
constexpr D3DRESULT D3DERR_INVALIDCALL = static_cast<D3DRESULT>(0x8876086Cu);
constexpr D3DRESULT D3DERR_OUTOFVIDEOMEMORY = static_cast<D3DRESULT>(0x8876017Cu);

// The Direct3D object: what the adapter can do.
struct DDD3DOBJECT {
    DDDEVICECAPS caps;
};

class DDSoftDevice {
public:
    explicit DDSoftDevice(const DDPRESENTDATA& present);

    const DDPRESENTDATA& presentData() const { return present_; }
    std::shared_ptr<DDPixels> GetBackBuffer() const { return backBuffer_; }

    // Drawing goes to this buffer until another is set.
    void SetRenderTarget(std::shared_ptr<DDPixels> target) { target_ = std::move(target); }
    const std::shared_ptr<DDPixels>& renderTarget() const { return target_; }

    // The texture-factor render state: the colour whose alpha a stage that
    // blends by the factor uses. Fills set it; a reset restores opaque white.
    void SetTextureFactor(std::uint32_t argb) { textureFactor_ = argb; }
    std::uint32_t textureFactor() const { return textureFactor_; }

    // Hands the back buffer to the frame sink; D3DERR_DEVICELOST while lost.
    D3DRESULT Present();
    // D3D_OK, D3DERR_DEVICELOST while the device cannot be reset yet, then
    // D3DERR_DEVICENOTRESET.
    D3DRESULT TestCooperativeLevel();
    // A new back buffer with the given settings; refused while still lost.
    D3DRESULT Reset(const DDPRESENTDATA& present);

    // Test hook: the device is lost; TestCooperativeLevel reports it lost for
    // `pollsBeforeReset` more calls before it can be reset, and the next
    // `failedResets` resets fail.
    void Lose(int pollsBeforeReset = 0, int failedResets = 0);
    bool lost() const { return lost_; }

private:
    DDPRESENTDATA present_;
    std::shared_ptr<DDPixels> backBuffer_;
    std::shared_ptr<DDPixels> target_;
    std::uint32_t textureFactor_ = 0xFFFFFFFFu;
    bool lost_ = false;
    int pollsBeforeReset_ = 0;
    int failedResets_ = 0;
};

extern std::shared_ptr<DDD3DOBJECT> lpD3D;
extern std::shared_ptr<DDSoftDevice> lpDevice;

// Test hooks of the Direct3D set-up: the adapter's abilities, and failures to
// simulate (no Direct3D 9 at all, device creation failing with hardware and
// then with software vertex processing).
struct DDD3DFAULTS {
    int noDirect3D = 0;
    int hardwareDeviceFails = 0;
    int softwareDeviceFails = 0;
    int ddiVersion = -1; // -1: ask the core (GetDDIVersion)
    DDDEVICECAPS caps;
};
extern DDD3DFAULTS g_DDD3DFaults;
