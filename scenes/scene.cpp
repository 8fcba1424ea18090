#include "scenes/scene.h"

#include "core/checked_access.h"
#include "core/err_log.h"
#include "core/main_window_handle.h"

cScene::cScene() = default;
cScene::~cScene() = default;

void cScene::Run()
{
}
void cScene::Init()
{
}
void cScene::FadeIn()
{
}
void cScene::FadeOut()
{
}

void cScene::RunPhases()
{
    if (m_Phase == -1) {
        try {
            Init();
        } catch (const char* text) {
            FatalErrF(g_hMainWnd, "%s", text);
        }
        m_Phase = 0;
    }
    if (m_Phases.empty()) return;
    Phase phase = VecAt(m_Phases, m_Phase);
    (this->*phase)();
}
