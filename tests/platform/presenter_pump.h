#pragma once
// Serving the main thread in a test until a presenter has shown its frames.

#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/message_loop.h"
#include "platform/presenter.h"

namespace test {

// Pumps the main thread until the presenter has shown `frames` frames; false
// after five seconds without them.
inline bool PumpUntilShown(const plat::Presenter& presenter, std::uint64_t frames)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (presenter.framesShown() < frames) {
        plat::Message m;
        while (plat::peekMessage(m)) {
        }
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace test
