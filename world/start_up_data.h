#pragma once
// The author's data read at start-up, each step with its failure text. The
// start-up calls them in this order (with the options, System.ini and the
// graphics between the system data and the world map); a step that returns
// 0 has reported its failure with ReportBox, and the start-up ends.

#include "data/path_table.h"

// The ten database tables (the first missing or damaged file is named in an
// error box), then "データベースの読み込みに失敗…"; on success the reversed
// effect copies and the run-time tables of world/database_tables.h.
int LoadDatabaseAtStartUp();

// data\System.dat into g_System; else "%s の読み込みに失敗…" with its path.
int LoadSystemAtStartUp();

// data\WorldMap.dat into g_WorldMap; else "%s のロードに失敗！" with its path.
int LoadWorldMapAtStartUp();

// The files these read.
inline constexpr const char* kSystemFile = g_PathTable[PATH_SYSTEM];
inline constexpr const char* kWorldMapFile = g_PathTable[PATH_WORLD_MAP];
