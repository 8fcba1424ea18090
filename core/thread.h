#pragma once
// cThread owns one worker thread of the game: the game thread, the pause
// thread, the ranking-display thread and the stage loader.
//
// Threads here are never suspended or killed. Suspend and Resume do
// nothing. Exit asks the thread to quit (WM_QUIT in its queue and a flag
// that its next wait acts on, see platform/message_loop.h) and waits until
// it has ended; a thread that never reads its queue still ends at its next
// sleep or wait.

#include "platform/thread.h"

#include <atomic>
#include <cstdint>

// The thread message that a starter posts to a new worker to wake it.
inline constexpr std::uint32_t UM_WAKE = 0x8000;

class cThread {
public:
    // The name says which thread it is in the run report.
    explicit cThread(const char* name = "") : m_Name(name) {}
    // Exit.
    ~cThread();
    cThread(const cThread&) = delete;
    cThread& operator=(const cThread&) = delete;

    // Starts entry(argument) on a new thread, whose message queue exists
    // before it runs. 1, or 0 when it could not be started (or a thread
    // started before has not ended yet).
    int Start(unsigned (*entry)(void*), void* argument);
    // Waits until the thread has ended (see plat::Thread::join).
    void Wait();
    // Nothing is suspended: both return true and do nothing.
    bool Suspend();
    bool Resume();
    // Asks the thread to quit and waits until it has ended. Nothing
    // without a thread.
    void Exit();
    // The same, giving up once the thread has had about budgetMs since it
    // was first asked (time spent waiting for a processor on a busy machine
    // not counted): true when the thread has ended (or none ran); false
    // leaves it running and owned.
    bool Exit(std::uint32_t budgetMs);
    // Asks the thread to quit without waiting for it.
    void RequestQuit();

    const char* Name() const { return m_Name; }

    // The id of the thread (0 before the first start); threads post to it.
    std::atomic<plat::ThreadId> m_dwThreadId{0};
    // Set while a thread is owned: from Start to the end of Wait or Exit.
    // Other threads test it to see whether the thread runs.
    std::atomic<plat::Thread*> m_hThread{nullptr};

private:
    const char* m_Name;
    plat::Thread m_Thread;
};

extern cThread thGame;    // runs the frame loop
extern cThread thPause;   // holds the frame loop while a command waits
extern cThread thRanking; // holds the frame loop while rankings show
extern cThread thLoad;    // loads a stage file
