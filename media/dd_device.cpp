#include "media/dd_device.h"

#include "media/dd_output.h"

std::shared_ptr<DDD3DOBJECT> lpD3D;
std::shared_ptr<DDSoftDevice> lpDevice;
DDD3DFAULTS g_DDD3DFaults;

DDSoftDevice::DDSoftDevice(const DDPRESENTDATA& present) : present_(present)
{
    backBuffer_ = std::make_shared<DDPixels>(present.format, present.width, present.height);
    target_ = backBuffer_;
}

D3DRESULT DDSoftDevice::Present()
{
    if (lost_) return D3DERR_DEVICELOST;
    DDSendFrame(*backBuffer_, nullptr);
    return D3D_OK;
}

D3DRESULT DDSoftDevice::TestCooperativeLevel()
{
    if (!lost_) return D3D_OK;
    if (pollsBeforeReset_ > 0) {
        --pollsBeforeReset_;
        return D3DERR_DEVICELOST;
    }
    return D3DERR_DEVICENOTRESET;
}

D3DRESULT DDSoftDevice::Reset(const DDPRESENTDATA& present)
{
    if (lost_ && pollsBeforeReset_ > 0) return D3DERR_DEVICELOST;
    if (failedResets_ > 0) {
        --failedResets_;
        return D3DERR_INVALIDCALL;
    }
    present_ = present;
    backBuffer_ = std::make_shared<DDPixels>(present.format, present.width, present.height);
    target_ = backBuffer_;
    textureFactor_ = 0xFFFFFFFFu;
    lost_ = false;
    return D3D_OK;
}

void DDSoftDevice::Lose(int pollsBeforeReset, int failedResets)
{
    lost_ = true;
    pollsBeforeReset_ = pollsBeforeReset;
    failedResets_ = failedResets;
}
