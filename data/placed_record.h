#pragma once
// The file layout that blocks, characters and items share. A record opens
// with its member-table body and its position (int16 x, int16 y); the
// inherit flags (uint32 n, n bytes) and the conditions follow. A character
// keeps its carried item between the two parts, and what a kind stores after
// them (an item's commands, a character's flows) its own Load and Save add.

#include "data/byte_writer.h"
#include "data/ed_cond.h"
#include "data/ed_data.h"
#include "data/load_checks.h"
#include "platform/byte_reader.h"

// The body and the position.
template <class T> void LoadPlacement(T& record, plat::ByteReader& f)
{
    record.cEdData::Load(f);
    ReadKept(f, record.nX);
    ReadKept(f, record.nY);
}

template <class T> void SavePlacement(T& record, ByteWriter& f)
{
    record.cEdData::Save(f);
    f.writeI16(record.nX);
    f.writeI16(record.nY);
}

// The inherit flags and the conditions.
template <class T> void LoadInheritance(T& record, plat::ByteReader& f)
{
    LoadValues(record.InheritFlags, f);
    LoadCondList(record.Conds, f);
}

template <class T> void SaveInheritance(T& record, ByteWriter& f)
{
    SaveValues(record.InheritFlags, f);
    SaveVector(record.Conds, f);
}

// A graphic on the shot sheet (kind 3) of a file before version 219 names
// the cell that the sheet's new first cell has moved up.
template <class T> void MoveOldShotGraphic(T& record)
{
    if (g_FileVersion < 219 && record.nGraphicKind == 3) {
        record.nGraphicNo = MovedShotCell(record.nGraphicNo);
    }
}
