#pragma once
// A function that tests set to step into an operation of the platform layer
// (a clock to drive, a full disk to simulate, a box to answer). Any thread may
// set it or ask for it; asking costs no lock while none is set.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace plat::detail {

template <class Signature> class TestHook {
public:
    using Function = std::function<Signature>;

    // Sets the function; an empty one removes it.
    void set(Function function)
    {
        std::lock_guard lock(mutex_);
        function_ = function ? std::make_shared<const Function>(std::move(function)) : nullptr;
        isSet_.store(function_ != nullptr, std::memory_order_release);
    }

    // The function set, or null. It stays valid for the caller even when it
    // is replaced meanwhile.
    std::shared_ptr<const Function> get() const
    {
        if (!isSet_.load(std::memory_order_acquire)) return nullptr;
        std::lock_guard lock(mutex_);
        return function_;
    }

private:
    std::atomic<bool> isSet_{false};
    mutable std::mutex mutex_;
    std::shared_ptr<const Function> function_;
};

} // namespace plat::detail
