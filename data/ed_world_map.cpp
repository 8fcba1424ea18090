#include "data/ed_world_map.h"

#include <algorithm>
#include <limits>

#include "core/sjis_text.h"

cEdWorldMap g_WorldMap;

namespace {

// The largest side SetSize accepts, far beyond any map an author makes.
constexpr int kMaxMapSize = 1 << 16;

} // namespace

void cEdWorldChip::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&m_Kind, 1);
    AddField4(&m_Blocked, 1);
    AddField4(&m_PictureNo, 1);
    AddString(&m_Text1, 1);
    AddString(&m_Text2, 1);
}

void cEdWorldEventItem::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField4(&m_Kind, 1);
    AddField4(&m_SignRow, 1);
    AddField4(&m_ClearFlag, 1);
    AddField4(&m_Open, 1);
    AddField4(&m_Replay, 1);
    AddField4(&m_AfterClear, 1);
    AddField4(&m_RequiredFlag, 1);
    AddField4(&m_VarNo, 1);
    AddField4(&m_VarValue, 1);
    AddField4(&m_VarCompare, 1);
    if (version >= 209) AddField4(&m_RequiredScore, 1);
    AddString(&m_Caption, 1);
    AddString(&m_StageFile, 1);
}

void cEdWorldEventItem::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    if (g_FileVersion <= 208) m_RequiredScore = 0;
}

void cEdWorldEvent::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&m_X, 1);
    AddField4(&m_Y, 1);
    AddString(&m_Name, 1);
}

void cEdWorldEvent::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadVector(m_Items, f);
}

void cEdWorldEvent::Save(ByteWriter& f)
{
    cEdData::Save(f);
    SaveVector(m_Items, f);
}

cEdWorldMap::cEdWorldMap()
{
    SetDefaults();
}

void cEdWorldMap::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&m_Width, 1);
    AddField4(&m_Height, 1);
    AddField4(&m_Pitch, 1);
    AddField4(&m_PitchShift, 1);
    AddField4(&m_StartX, 1);
    AddField4(&m_StartY, 1);
    AddField4(&m_BgColor, 1);
    AddField4(&m_BgPicture, 1);
    AddString(&m_Name, 1);
    AddString(&m_BgFileName, 1);
}

void cEdWorldMap::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadVector(m_Chips, f);
    LoadValues(m_Cells, f);
    cEdWorldEvent defaultEvent;
    defaultEvent.Clear();
    LoadVector(m_Events, f, defaultEvent);
    LoadVector(m_Events2, f, defaultEvent);
    Check();
}

void cEdWorldMap::Save(ByteWriter& f)
{
    Check();
    cEdData::Save(f);
    SaveVector(m_Chips, f);
    SaveValues(m_Cells, f);
    SaveVector(m_Events, f);
    SaveVector(m_Events2, f);
}

void cEdWorldMap::SetDefaults()
{
    Clear();
    m_Name = Sjis("ワールド");
    m_StartX = 9;
    m_StartY = 7;
    m_BgColor = 16;
    m_BgPicture = 0;
    m_Chips.resize(10);
    for (int i = 0; i < 10; ++i) {
        cEdWorldChip& chip = m_Chips[static_cast<std::size_t>(i)];
        chip.m_PictureNo = i;
        chip.m_Blocked = i < 5 ? 1 : 0;
        chip.m_Text2 = i < 5 ? Sjis("通行不可") : Sjis("通行可");
    }
    SetSize(20, 15);
    m_Events.clear();
    m_Events2.assign(1, cEdWorldEvent{});
    m_Events2[0].m_Name = Sjis("デフォルト");
}

int cEdWorldMap::SetSize(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxMapSize || height > kMaxMapSize) return 0;
    const std::vector<std::int32_t> oldCells = m_Cells;
    const int oldWidth = m_Width;
    const int oldHeight = m_Height;
    const int oldShift = m_PitchShift;

    // The number of halvings of width - 1 before it reaches 0.
    int shift = 0;
    for (int rest = width - 1; rest != 0; rest /= 2)
        ++shift;
    m_Width = width;
    m_Height = height;
    m_PitchShift = shift;
    m_Pitch = 1 << shift;
    m_Cells.assign(static_cast<std::size_t>(height) * static_cast<std::size_t>(m_Pitch), 0);

    if (!oldCells.empty() && oldShift >= 0 && oldShift < 31) {
        const int rows = std::min(oldHeight, height);
        const int columns = std::min(oldWidth, width);
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < columns; ++x) {
                const std::size_t from = (static_cast<std::size_t>(y) << oldShift) + x;
                if (from < oldCells.size()) {
                    m_Cells[(static_cast<std::size_t>(y) << shift) + x] = oldCells[from];
                }
            }
        }
    }
    return 1;
}

void cEdWorldMap::Check()
{
    // The last column and row; a stored size as low as it goes has none
    // below it, and the start is then held at that size.
    auto last = [](std::int32_t size) {
        return size == std::numeric_limits<std::int32_t>::min() ? size : size - 1;
    };
    if (m_StartX >= m_Width) m_StartX = last(m_Width);
    if (m_StartY >= m_Height) m_StartY = last(m_Height);
    std::erase_if(m_Events,
                  [this](const cEdWorldEvent& e) { return e.m_X >= m_Width || e.m_Y >= m_Height; });
}

cEdWorldEvent* cEdWorldMap::FindEvent(int x, int y)
{
    for (cEdWorldEvent& e : m_Events) {
        if (e.m_X == x && e.m_Y == y) return &e;
    }
    return nullptr;
}

const cEdWorldEvent* cEdWorldMap::FindEvent(int x, int y) const
{
    return const_cast<cEdWorldMap*>(this)->FindEvent(x, y);
}

std::int32_t cEdWorldMap::CellAt(int x, int y) const
{
    x = std::clamp(x, 0, std::max(m_Width, 1) - 1);
    y = std::clamp(y, 0, std::max(m_Height, 1) - 1);
    if (m_PitchShift < 0 || m_PitchShift > 30) return 0;
    const std::uint64_t index = (static_cast<std::uint64_t>(y) << m_PitchShift) + x;
    if (index >= m_Cells.size()) return 0;
    return m_Cells[static_cast<std::size_t>(index)];
}

const cEdWorldChip* cEdWorldMap::ChipAt(int x, int y) const
{
    const std::int32_t chip = CellAt(x, y);
    if (chip < 0 || chip >= static_cast<std::int32_t>(m_Chips.size())) return nullptr;
    return &m_Chips[static_cast<std::size_t>(chip)];
}
