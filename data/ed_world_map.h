#pragma once
// The world map: the board on which the player walks between stages in story
// play. A grid of cells, each naming a chip attribute (its look and whether
// it can be walked on), the start cell, the background, and the events placed
// on cells, each with entries of which the first whose conditions hold is
// the one the player meets there. Read once at start-up from
// data\WorldMap.dat into g_WorldMap; never written by the runtime.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"

class cEdWorldChip : public cEdData {
public:
    std::int32_t m_Kind = 0;
    std::int32_t m_Blocked = 0;   // not 0: the cell cannot be walked on
    std::int32_t m_PictureNo = 0; // cell of the chip picture (32 x 32, 5 per row)
    std::string m_Text1;
    std::string m_Text2; // the attribute's label

    void RegisterMembers(int version) override;
};

// One entry of an event; the numbers in brackets are the entry's field numbers.
class cEdWorldEventItem : public cEdData {
public:
    std::int32_t m_Kind = 0;          // [1]
    std::int32_t m_SignRow = 0;       // [2] row of the event sign picture
    std::int32_t m_ClearFlag = 0;     // [3] stage flag recording the clear
    std::int32_t m_Open = 0;          // [4] not 0: passable before it is cleared
    std::int32_t m_Replay = 0;        // [5] not 0: a cleared entry can be played again
    std::int32_t m_AfterClear = 0;    // [6] 0 world map, 1 next round, 2 title
    std::int32_t m_RequiredFlag = 0;  // [7] stage flag that must be set; 0 or less none
    std::int32_t m_VarNo = 0;         // [8] common variable tested; 0 none
    std::int32_t m_VarValue = 0;      // [9]
    std::int32_t m_VarCompare = 0;    // [10] 0 ==, 1 !=, 2 >=, 3 <=, 4 >, 5 <
    std::int32_t m_RequiredScore = 0; // [11] least total of best stage scores (from 209)
    std::string m_Caption;
    std::string m_StageFile;

    void RegisterMembers(int version) override;
    // The base body; files before 209 have no required score.
    void Load(plat::ByteReader& f) override;
};

class cEdWorldEvent : public cEdData {
public:
    std::int32_t m_X = 0;
    std::int32_t m_Y = 0;
    std::string m_Name;
    std::vector<cEdWorldEventItem> m_Items = std::vector<cEdWorldEventItem>(1);

    void RegisterMembers(int version) override;
    // The base body, then uint32 n and n entries.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
};

class cEdWorldMap : public cEdData {
public:
    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0;
    std::int32_t m_Pitch = 0;      // row length of the cell array: a power of two
    std::int32_t m_PitchShift = 0; // log2 of the pitch
    std::vector<cEdWorldChip> m_Chips;
    // height x pitch chip numbers; cell (x, y) is element (y << shift) + x.
    std::vector<std::int32_t> m_Cells;
    std::vector<cEdWorldEvent> m_Events;  // the events placed on cells
    std::vector<cEdWorldEvent> m_Events2; // events not placed on cells; kept only
    std::int32_t m_StartX = 0;
    std::int32_t m_StartY = 0;
    std::int32_t m_BgColor = 16;  // palette number behind the map
    std::int32_t m_BgPicture = 0; // not 0: the background picture is drawn
    std::string m_Name;
    std::string m_BgFileName;

    // The default map (SetDefaults).
    cEdWorldMap();
    void RegisterMembers(int version) override;
    // The base body (width, height, pitch and shift as stored), the chips, the
    // cells, both event lists; then Check.
    void Load(plat::ByteReader& f) override;
    // Check, then the same layout.
    void Save(ByteWriter& f) override;

    // A 20 x 15 map named "ワールド" starting at (9, 7), background 16, ten
    // chips (0-4 blocked, 5-9 free), no placed events and one other event
    // named "デフォルト".
    void SetDefaults();
    // Resizes the map keeping the cells inside both sizes; the pitch becomes
    // the smallest power of two not below the width. 0 (nothing changed) for
    // a size below 1 (or beyond 65536).
    int SetSize(int width, int height);
    // Moves a start beyond the map onto its last column or row, and drops the
    // placed events that lie beyond the map.
    void Check();
    // The first placed event on the cell, or null.
    cEdWorldEvent* FindEvent(int x, int y);
    const cEdWorldEvent* FindEvent(int x, int y) const;

    // The chip number of a cell: x and y are held within the map; a cell the
    // stored array does not reach (or a pitch shift that makes no sense) gives 0.
    std::int32_t CellAt(int x, int y) const;
    // The chip attribute of a cell, or null when its number names no chip.
    const cEdWorldChip* ChipAt(int x, int y) const;
};

extern cEdWorldMap g_WorldMap;
