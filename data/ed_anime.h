#pragma once
// Animations (table Anime) and animation sets (table AnimeSet) of the
// database. An animation is a named list of frames, each a picture cell shown
// for a time in tenths of a second, with a hold flag marking the part that
// must not be cut short. A set is what a character definition names: its
// first four animations are the state animations (standing, moving while
// standing, flying, moving while flying), plus three picture-number offsets.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"

class cEdAnimeFrame : public cEdData {
public:
    std::int32_t m_PictureNo = 0; // cell of the character's picture
    std::int32_t m_Time = 1;      // tenths of a second (6 game frames each)
    // Set: from this frame to the end the animation cannot be interrupted.
    std::int32_t m_Hold = 0;

    void RegisterMembers(int version) override;
    // A default frame: {0, 1, 0}.
    void SetDefaults();
};

class cEdAnime : public cEdData {
public:
    std::string m_Name;
    std::vector<cEdAnimeFrame> m_Frames = std::vector<cEdAnimeFrame>(1);
    // Settings of the authoring tool, kept and written back but never read.
    std::int16_t m_ToolValue1 = 0;
    std::uint8_t m_ToolValue2 = 1;
    std::int16_t m_ToolValue3 = 0;

    void RegisterMembers(int version) override;
    // The base body, then uint32 n and n frames.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
    // Cleared, exactly one default frame, the 8-bit setting 1.
    void Reset();
    // Replaces the frames by n default frames.
    void SetFrameCount(int n);
};

class cEdAnimeSet : public cEdData {
public:
    std::string m_Name;
    // Added to a character's base picture number under three of its display
    // conditions.
    std::int32_t m_OffsetA = 4;
    std::int32_t m_OffsetB = 8;
    std::int32_t m_OffsetC = 0;
    // Entries 0 to 3 are the state animations; more may follow.
    std::vector<cEdAnime> m_Animes;

    cEdAnimeSet();
    void RegisterMembers(int version) override;
    // The base body, then uint32 n and n animations; files older than 128
    // are brought to exactly four animations with the flying names.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
    // Cleared, offsets 4, 8, 0, exactly four state animations named
    // "立ち", "立ち移動", "飛行", "飛行移動".
    void SetDefaults();
};
