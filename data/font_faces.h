#pragma once
// The face names that the system data's nFontFace chooses from, as the
// authoring tool lists them. The media layer maps a Windows face name to an
// installed font.

inline constexpr int kFontFaceCount = 123;
// "ＭＳ Ｐゴシック", the face of new system data.
inline constexpr int kDefaultFontFace = 60;

// The names as written here (UTF-8); the last is empty.
extern const char* const g_FontFaceNames[kFontFaceCount];

// The Shift-JIS name of a face; an index outside the list gives the default face.
const char* FontFaceName(int index);
