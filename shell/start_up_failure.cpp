#include "shell/start_up_failure.h"

#include "core/message_box.h"
#include "core/report.h"

bool StartUpStepFailed(const char* why)
{
    Report("start-up failed: %s", why);
    return false;
}

bool StartUpStepFailed(const char* why, const std::string& message)
{
    Report("start-up failed: %s", why);
    ErrBox(message.c_str());
    return false;
}
