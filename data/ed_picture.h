#pragma once
// Database records that name a file: Picture (pictures of the picture
// command), Sound (sound-effect WAV files, record k playing as sound slot
// 16 + k), Bgm (music, MIDI or Ogg Vorbis by the name's ending) and
// Bmp_CharaExc (pictures that belong to one character, with their cell size).

#include <cstdint>
#include <string>

#include "data/ed_data.h"

class cEdPicture : public cEdData {
public:
    std::string m_Name;
    std::int32_t m_ToolValue = 0; // the authoring tool's; kept, never read
    std::string m_FileName;

    void RegisterMembers(int version) override;
    // The base body; files older than 153 drop the tool's value.
    void Load(plat::ByteReader& f) override;
};

class cEdSound : public cEdPicture {};

class cEdBgm : public cEdPicture {};

class cEdBmpCharaExc : public cEdData {
public:
    std::string m_Name;
    std::int32_t m_ToolValue = 0;
    std::string m_FileName;
    // 0: 32 x 32 cells, 16 per row. Set: cells of 32s x 32s, 16 / s per row,
    // and the character drawn s times larger (s the size factor).
    std::int32_t m_Large = 0;
    std::int32_t m_SizeFactor = 2;

    void RegisterMembers(int version) override;
    void Load(plat::ByteReader& f) override;
    // The size factor the picture is cut and drawn with: 1 unless the large
    // flag is set; a stored factor that does not divide the 16 cells of a
    // row (anything but 1, 2, 4, 8, 16) is taken as 1.
    int CellFactor() const;
};
