#include "platform/message_loop.h"

#include "platform/thread_queue.h"
#include "platform/window_messages.h"

#include <exception>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace plat {
namespace detail {
namespace {

struct WindowRecord {
    std::shared_ptr<ThreadQueue> owner;
    std::shared_ptr<const WndProc> proc;
    bool destroying = false;
};

struct Registry {
    std::mutex mutex;
    std::unordered_map<ThreadId, std::shared_ptr<ThreadQueue>> threads;
    std::unordered_map<WindowId, WindowRecord> windows;
    ThreadId nextThread = 1;
    WindowId nextWindow = 1;
    std::shared_ptr<ThreadQueue> main;

    std::mutex servicesMutex;
    std::vector<std::shared_ptr<const std::function<void()>>> services;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

// The calling thread's queue; closed and unregistered when the thread ends.
struct CurrentQueue {
    std::shared_ptr<ThreadQueue> queue;
    ~CurrentQueue() { releaseCurrentQueue(); }
};
thread_local CurrentQueue t_current;

std::shared_ptr<const WndProc> findProc(WindowId wnd, std::shared_ptr<ThreadQueue>* owner)
{
    auto& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.windows.find(wnd);
    if (it == reg.windows.end()) return nullptr;
    if (owner) *owner = it->second.owner;
    return it->second.proc;
}

} // namespace

void touchRegistry()
{
    registry();
}

std::shared_ptr<ThreadQueue> newQueue()
{
    auto& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto queue = std::make_shared<ThreadQueue>(reg.nextThread++);
    reg.threads.emplace(queue->id(), queue);
    return queue;
}

void adoptQueue(const std::shared_ptr<ThreadQueue>& queue)
{
    t_current.queue = queue;
}

std::shared_ptr<ThreadQueue> currentQueue()
{
    if (!t_current.queue) t_current.queue = newQueue();
    return t_current.queue;
}

void releaseCurrentQueue()
{
    auto queue = std::move(t_current.queue);
    t_current.queue.reset();
    if (!queue) return;
    queue->close();
    auto& reg = registry();
    std::lock_guard lock(reg.mutex);
    reg.threads.erase(queue->id());
    for (auto it = reg.windows.begin(); it != reg.windows.end();) {
        if (it->second.owner == queue) {
            it = reg.windows.erase(it);
        } else {
            ++it;
        }
    }
}

std::shared_ptr<ThreadQueue> findQueue(ThreadId id)
{
    auto& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.threads.find(id);
    return it == reg.threads.end() ? nullptr : it->second;
}

std::shared_ptr<ThreadQueue> mainQueue()
{
    auto& reg = registry();
    std::lock_guard lock(reg.mutex);
    return reg.main;
}

bool hasMainServices()
{
    auto& reg = registry();
    std::lock_guard lock(reg.servicesMutex);
    return !reg.services.empty();
}

void runMainServices()
{
    auto& reg = registry();
    std::vector<std::shared_ptr<const std::function<void()>>> services;
    {
        std::lock_guard lock(reg.servicesMutex);
        services = reg.services;
    }
    for (const auto& service : services)
        (*service)();
}

std::optional<std::intptr_t> sendWork(const std::shared_ptr<ThreadQueue>& target, WindowId wnd,
                                      std::function<std::optional<std::intptr_t>()> work)
{
    auto self = currentQueue();
    if (target == self) return work();
    if (self->quitRequested()) return std::nullopt;
    auto record = std::make_shared<SendRecord>();
    record->wnd = wnd;
    record->work = std::move(work);
    record->sender = self;
    if (!target->enqueueSend(record)) return std::nullopt;
    if (!self->waitForReply(record)) return std::nullopt;
    return record->result;
}

} // namespace detail

using detail::currentQueue;

ThreadId currentThreadId()
{
    return currentQueue()->id();
}

bool quitRequested()
{
    return currentQueue()->quitRequested();
}

void checkQuit()
{
    if (quitRequested() && std::uncaught_exceptions() == 0) throw ThreadQuit{};
}

bool postThreadMessage(ThreadId thread, std::uint32_t msg, std::uintptr_t wParam,
                       std::intptr_t lParam)
{
    auto queue = detail::findQueue(thread);
    return queue && queue->post(Message{0, msg, wParam, lParam});
}

void postQuitMessage(int exitCode)
{
    currentQueue()->post(Message{0, WM_QUIT, static_cast<std::uintptr_t>(exitCode), 0});
}

bool peekMessage(Message& out, bool remove)
{
    auto queue = currentQueue();
    queue->pump();
    return queue->takePosted(out, remove);
}

void waitMessage()
{
    auto queue = currentQueue();
    const bool isMain = detail::mainQueue() == queue;
    Message next;
    for (;;) {
        queue->pump();
        if (queue->takePosted(next, false)) return;
        checkQuit();
        if (queue->quitRequested()) return; // unwinding already: never block
        const bool posted = queue->waitForWork(detail::mainWaitLimit(*queue));
        if (posted) return;
        if (isMain) {
            queue->pump();
            return;
        }
    }
}

bool getMessage(Message& out)
{
    while (!peekMessage(out))
        waitMessage();
    return out.msg != WM_QUIT;
}

std::intptr_t dispatchMessage(const Message& message)
{
    if (message.wnd == 0) return 0;
    auto proc = detail::findProc(message.wnd, nullptr);
    if (!proc) return 0;
    return (*proc)(message.wnd, message.msg, message.wParam, message.lParam);
}

WindowId createWindow(WndProc proc)
{
    auto owner = currentQueue();
    auto shared = std::make_shared<const WndProc>(std::move(proc));
    WindowId id;
    {
        auto& reg = detail::registry();
        std::lock_guard lock(reg.mutex);
        id = reg.nextWindow++;
        reg.windows.emplace(id, detail::WindowRecord{owner, shared, false});
    }
    (*shared)(id, WM_CREATE, 0, 0);
    return id;
}

bool destroyWindow(WindowId wnd)
{
    auto self = currentQueue();
    std::shared_ptr<const WndProc> proc;
    {
        auto& reg = detail::registry();
        std::lock_guard lock(reg.mutex);
        auto it = reg.windows.find(wnd);
        if (it == reg.windows.end() || it->second.owner != self || it->second.destroying) {
            return false;
        }
        it->second.destroying = true;
        proc = it->second.proc;
    }
    (*proc)(wnd, WM_DESTROY, 0, 0);
    {
        auto& reg = detail::registry();
        std::lock_guard lock(reg.mutex);
        reg.windows.erase(wnd);
    }
    self->cancelSendsFor(wnd);
    return true;
}

bool isWindow(WindowId wnd)
{
    return wnd != 0 && detail::findProc(wnd, nullptr) != nullptr;
}

ThreadId windowThread(WindowId wnd)
{
    std::shared_ptr<detail::ThreadQueue> owner;
    if (wnd == 0 || !detail::findProc(wnd, &owner)) return 0;
    return owner->id();
}

bool postMessage(WindowId wnd, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    std::shared_ptr<detail::ThreadQueue> owner;
    if (wnd == 0 || !detail::findProc(wnd, &owner)) return false;
    return owner->post(Message{wnd, msg, wParam, lParam});
}

std::intptr_t sendMessage(WindowId wnd, std::uint32_t msg, std::uintptr_t wParam,
                          std::intptr_t lParam, bool* delivered)
{
    if (delivered) *delivered = false;
    std::shared_ptr<detail::ThreadQueue> owner;
    auto proc = wnd == 0 ? nullptr : detail::findProc(wnd, &owner);
    if (!proc) return 0;
    if (owner == currentQueue()) {
        if (delivered) *delivered = true;
        return (*proc)(wnd, msg, wParam, lParam);
    }
    auto result = detail::sendWork(owner, wnd, [=]() -> std::optional<std::intptr_t> {
        auto current = detail::findProc(wnd, nullptr);
        if (!current) return std::nullopt;
        return (*current)(wnd, msg, wParam, lParam);
    });
    if (!result) return 0;
    if (delivered) *delivered = true;
    return *result;
}

void setMainThread()
{
    auto queue = currentQueue();
    auto& reg = detail::registry();
    std::lock_guard lock(reg.mutex);
    reg.main = queue;
}

bool isMainThread()
{
    auto main = detail::mainQueue();
    return main && main == currentQueue();
}

ThreadId mainThreadId()
{
    auto main = detail::mainQueue();
    return main ? main->id() : 0;
}

void addMainThreadService(std::function<void()> service)
{
    auto& reg = detail::registry();
    {
        std::lock_guard lock(reg.servicesMutex);
        reg.services.push_back(std::make_shared<const std::function<void()>>(std::move(service)));
    }
    wakeMainThread();
}

void wakeMainThread()
{
    if (auto main = detail::mainQueue()) main->wakeForServices();
}

bool runOnMainThread(const std::function<void()>& work)
{
    auto main = detail::mainQueue();
    if (!main || main == currentQueue()) {
        work();
        return true;
    }
    auto result = detail::sendWork(main, 0, [work]() -> std::optional<std::intptr_t> {
        work();
        return 0;
    });
    return result.has_value();
}

} // namespace plat
