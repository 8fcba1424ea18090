#include "data/test_flows.h"

#include "data/ed_system.h"

int g_StartedByTool = 0;

bool KeepTestFlows()
{
    return g_StartedByTool != 0 || g_System.bKeepTestFlows != 0;
}
