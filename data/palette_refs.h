#pragma once
// The palettes that palette references name. Blocks, characters and items
// take groups of settings from a palette entry, and shots, summons and blocks
// name palette items, blocks and characters: kind 1 is the common palette
// (g_CommonPalette), kind 2 the live stage's own palette (g_Stage).
//
// A palette or stage file is read into a fresh record that replaces the live
// one only once the whole file has been read and checked, so that a damaged
// file leaves the game as it was. While a thread reads or checks such a
// record, that record stands in for the live one on that thread: its own
// entries are the ones its references find, exactly as if it were read in
// place. Other threads keep seeing the live records.
//
// A palette list being read holds the entries read so far; the entries it
// announces beyond them count as its default entry until they are read, so
// that an entry naming a later one takes that one's defaults.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/ed_cond.h"
#include "data/ed_data.h"
#include "data/load_checks.h"

class cEdBlock;
class cEdChara;
class cEdItem;
class cEdPalette;
class cEdStage;

// The common palette and the live stage as this thread's references see them.
cEdPalette& UsedCommonPalette();
cEdStage& UsedStage();

// Makes a palette stand in for the common palette on this thread, for the
// guard's lifetime.
class CommonPaletteScope {
public:
    explicit CommonPaletteScope(cEdPalette& palette);
    ~CommonPaletteScope();
    CommonPaletteScope(const CommonPaletteScope&) = delete;
    CommonPaletteScope& operator=(const CommonPaletteScope&) = delete;

private:
    cEdPalette* m_Previous;
};

// Makes a stage stand in for the live stage on this thread, for the guard's
// lifetime.
class StageScope {
public:
    explicit StageScope(cEdStage& stage);
    ~StageScope();
    StageScope(const StageScope&) = delete;
    StageScope& operator=(const StageScope&) = delete;

private:
    cEdStage* m_Previous;
};

// The block, character or item list of a palette kind (1 common, 2 stage);
// null for any other kind.
template <class T> std::vector<T>* PaletteList(int kind);
template <> std::vector<cEdBlock>* PaletteList<cEdBlock>(int kind);
template <> std::vector<cEdChara>* PaletteList<cEdChara>(int kind);
template <> std::vector<cEdItem>* PaletteList<cEdItem>(int kind);

// The palette list that this thread is reading: the entries it announced,
// and the entry that stands for those not read yet.
struct PendingPaletteList {
    const void* m_List = nullptr;
    std::size_t m_Announced = 0;
    const void* m_Default = nullptr;
};
const PendingPaletteList& PendingList();

// Marks a list as being read on this thread, for the guard's lifetime.
class PendingListScope {
public:
    PendingListScope(const void* list, std::size_t announced, const void* defaultEntry);
    ~PendingListScope();
    PendingListScope(const PendingListScope&) = delete;
    PendingListScope& operator=(const PendingListScope&) = delete;

private:
    PendingPaletteList m_Previous;
};

// The number of entries of a palette kind's list (those announced, while it
// is being read); 0 for a kind that names no palette.
template <class T> std::size_t PaletteCount(int kind)
{
    const std::vector<T>* list = PaletteList<T>(kind);
    if (!list) return 0;
    const PendingPaletteList& pending = PendingList();
    if (pending.m_List == list && pending.m_Announced > list->size()) return pending.m_Announced;
    return list->size();
}

// Entry index of a palette kind's list; null when the kind names no palette
// or the index lies outside the list.
template <class T> const T* PaletteEntry(int kind, long long index)
{
    const std::vector<T>* list = PaletteList<T>(kind);
    if (!list || index < 0 || static_cast<std::size_t>(index) >= PaletteCount<T>(kind)) {
        return nullptr;
    }
    if (static_cast<std::size_t>(index) < list->size()) {
        return &(*list)[static_cast<std::size_t>(index)];
    }
    return static_cast<const T*>(PendingList().m_Default);
}

// Reads a palette list: uint32 n, then n entries, each starting from the
// default entry and read in turn. While it is read the list counts the n
// entries it announced.
template <class T>
void LoadPaletteList(std::vector<T>& list, plat::ByteReader& f, const T& defaultEntry)
{
    std::uint32_t n = 0;
    if (!f.readU32(n) || !f.checkCount(n, kMinRecordBytes)) return;
    list.clear();
    PendingListScope pending(&list, n, &defaultEntry);
    for (std::uint32_t i = 0; i < n; ++i) {
        list.push_back(defaultEntry);
        list.back().Load(f);
        if (f.failed()) return;
    }
}

// A reference to an entry of a palette kind's list (kind 1 or 2) that lies
// outside the list becomes none (kind 0, index 0); other kinds are left as
// they are.
template <class T, class Kind, class Index> void CheckPaletteRef(Kind& kind, Index& index)
{
    if ((kind == 1 || kind == 2) && OutsideTable(index, PaletteCount<T>(kind))) {
        kind = 0;
        index = 0;
    }
}

// A copier of one group of settings from a palette entry to a record.
template <class T> using InheritCopier = void (*)(T&, const T&);

// The copiers of the groups that blocks, characters and items have in common.
template <class T> void CopyName(T& d, const T& s)
{
    d.strName = s.strName;
}
template <class T> void CopyConds(T& d, const T& s)
{
    AssignCondList(d.Conds, s.Conds);
    d.nCondMode = s.nCondMode;
    d.bCondLatch = s.bCondLatch;
}
template <class T> void CopyGraphic(T& d, const T& s)
{
    d.nGraphicKind = s.nGraphicKind;
    d.nGraphicNo = s.nGraphicNo;
    d.nGraphicFrame = s.nGraphicFrame;
}
template <class T> void CopyOverlay(T& d, const T& s)
{
    d.bOverlay = s.bOverlay;
    d.nOverlayPiece = s.nOverlayPiece;
}

// Takes, from the palette entry that the record names (nPaletteKind,
// nPaletteIndex), every group of settings whose inherit flag is set, each
// with its copier. A reference to an entry outside its palette is dropped
// (kind 0); a kind that names no palette copies the record onto itself.
template <class T, std::size_t Groups>
void InheritFromPalette(T& record, const InheritCopier<T> (&copiers)[Groups])
{
    if (record.nPaletteIndex == 0 || record.nPaletteKind == 0) return;
    const T* source = &record;
    if (PaletteList<T>(record.nPaletteKind)) {
        source = PaletteEntry<T>(record.nPaletteKind, record.nPaletteIndex);
        if (!source) {
            record.nPaletteKind = 0;
            return;
        }
    }
    // Only the groups that have a copier; a longer flag list is damaged.
    const std::size_t groups = std::min<std::size_t>(record.InheritFlags.size(), Groups);
    for (std::size_t i = 0; i < groups; ++i) {
        if (record.InheritFlags[i] != 0) copiers[i](record, *source);
    }
}
