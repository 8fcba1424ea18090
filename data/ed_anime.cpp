#include "data/ed_anime.h"

#include "core/sjis_text.h"

void cEdAnimeFrame::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&m_PictureNo, 1);
    AddField4(&m_Time, 1);
    AddField4(&m_Hold, 1);
}

void cEdAnimeFrame::SetDefaults()
{
    Clear();
    m_Time = 1;
}

void cEdAnime::RegisterMembers(int version)
{
    ClearMemberTables();
    if (version >= 55) {
        AddField2(&m_ToolValue1, 1);
        AddField1(&m_ToolValue2, 1);
        AddField2(&m_ToolValue3, 1);
    }
    AddString(&m_Name, 1);
}

void cEdAnime::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadVector(m_Frames, f, cEdAnimeFrame{});
}

void cEdAnime::Save(ByteWriter& f)
{
    cEdData::Save(f);
    SaveVector(m_Frames, f);
}

void cEdAnime::Reset()
{
    Clear();
    SetFrameCount(1);
    m_ToolValue2 = 1;
}

void cEdAnime::SetFrameCount(int n)
{
    m_Frames.assign(n > 0 ? static_cast<std::size_t>(n) : 0, cEdAnimeFrame{});
}

cEdAnimeSet::cEdAnimeSet()
{
    SetDefaults();
}

void cEdAnimeSet::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField4(&m_OffsetA, 1);
    AddField4(&m_OffsetB, 1);
    if (version >= 119) AddField4(&m_OffsetC, 1);
    AddString(&m_Name, 1);
}

void cEdAnimeSet::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadVector(m_Animes, f, cEdAnime{});
    if (f.failed()) return;
    if (g_FileVersion < 128) {
        // Older sets had no flying state animations.
        m_Animes.resize(4);
        m_Animes[2].m_Name = Sjis("飛行");
        m_Animes[3].m_Name = Sjis("飛行移動");
    }
}

void cEdAnimeSet::Save(ByteWriter& f)
{
    cEdData::Save(f);
    SaveVector(m_Animes, f);
}

void cEdAnimeSet::SetDefaults()
{
    Clear();
    m_OffsetA = 4;
    m_OffsetB = 8;
    m_OffsetC = 0;
    cEdAnime defaultAnime;
    defaultAnime.Reset();
    m_Animes.resize(4, defaultAnime);
    m_Animes[0].m_Name = Sjis("立ち");
    m_Animes[1].m_Name = Sjis("立ち移動");
    m_Animes[2].m_Name = Sjis("飛行");
    m_Animes[3].m_Name = Sjis("飛行移動");
}
