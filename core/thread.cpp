#include "core/thread.h"

#include "core/err_log.h"

cThread thGame{"thGame"};
cThread thPause{"thPause"};
cThread thRanking{"thRanking"};
cThread thLoad{"thLoad"};

cThread::~cThread()
{
    Exit();
}

int cThread::Start(unsigned (*entry)(void*), void* argument)
{
    if (m_hThread && !m_Thread.finished()) return 0;
    // A thread that ended without being waited for is reclaimed first.
    if (m_hThread) Wait();
    const bool started = m_Thread.start([this, entry, argument] {
        m_dwThreadId = plat::currentThreadId();
        entry(argument);
    });
    if (!started) return 0;
    m_dwThreadId = m_Thread.id();
    m_hThread = &m_Thread;
    return 1;
}

void cThread::Wait()
{
    if (!m_hThread) return;
    if (!m_Thread.join()) return; // the thread itself cannot wait for its own end
    m_hThread = nullptr;
}

bool cThread::Suspend()
{
    return true;
}

bool cThread::Resume()
{
    return true;
}

void cThread::Exit()
{
    if (!m_hThread) return;
    ErrLog("Exit A");
    m_Thread.requestQuit();
    ErrLog("Exit B");
    ErrLog("Exit C");
    if (!m_Thread.join()) return; // from the thread itself: it ends at its next wait
    ErrLog("Exit D");
    m_hThread = nullptr;
    ErrLog("Exit E");
}

bool cThread::Exit(std::uint32_t budgetMs)
{
    if (!m_hThread) return true;
    if (!m_Thread.joinAfterQuit(budgetMs)) return false;
    m_hThread = nullptr;
    return true;
}

void cThread::RequestQuit()
{
    if (m_hThread) m_Thread.requestQuit();
}
