#include "world/start_up_data.h"

#include "core/report.h"
#include "core/sjis_text.h"
#include "data/ed_database.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "world/database_tables.h"

int LoadDatabaseAtStartUp()
{
    if (!g_Database.LoadDatabase()) {
        ReportBox("%s", Sjis("データベースの読み込みに失敗…"));
        return 0;
    }
    BuildDatabaseTables();
    return 1;
}

int LoadSystemAtStartUp()
{
    if (!LoadFile(g_System, kSystemFile)) {
        ReportBox(Sjis("%s の読み込みに失敗…"), kSystemFile);
        return 0;
    }
    return 1;
}

int LoadWorldMapAtStartUp()
{
    if (!LoadFile(g_WorldMap, kWorldMapFile)) {
        ReportBox(Sjis("%s のロードに失敗！"), kWorldMapFile);
        return 0;
    }
    return 1;
}
