#pragma once
// Flows marked test-only exist for the authoring tool's test plays. They are
// dropped as character definitions and commands are read, unless the run is
// such a test play or the system data keeps them.

// 1 when the authoring tool started this run (a test play); set by the start-up.
extern int g_StartedByTool;

// Whether test-only flows stay when records are read.
bool KeepTestFlows();
