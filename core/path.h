#pragma once
// Paths of the data files: Shift-JIS byte strings of at most 259 bytes (the
// game's path buffers hold 260). Separators are backslashes, as the game
// writes them; a forward slash also separates, and a 0x5C byte that is the
// trail byte of a double-byte character never does. A path that is, or would
// become, longer than 259 bytes is refused with 0.
//
// An absolute path starts with a separator; a Windows drive form ("C:\...")
// also counts as absolute, on a drive that does not exist here.

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t kMaxPathBytes = 259;

// Makes an absolute path that lies inside the current folder (the game
// folder) relative to it, as ".\sub\file" with backslashes. 1 when the path
// is relative, or has been made so; 0, with the path unchanged, when the
// current folder cannot be read or the path lies outside it (a relative path
// there would have to climb out of the game folder, which the file layer
// refuses, so it stays absolute and can still be opened).
int PathToRelative(std::string& path);

// The same for a string.
int PathToRelativeStr(std::string& path);

// Makes a relative path absolute from the current folder, with '/'
// separators and its "." and ".." taken out. 1 when the path was absolute
// already or has been made so; 0, with the path unchanged, when the current
// folder cannot be read or written in Shift-JIS, or the result is too long.
int PathToAbsolute(std::string& path);

// Keeps only the part after the last separator; a path without one stays.
void PathStripDir(std::string& path);

// Copies path to out with its extension replaced by ext, or cut off with its
// "." when ext is null. The extension starts at the last "." after the last
// separator; a "." in a folder name starts none. 1 when there was an
// extension; 0 with out the unchanged copy when there was none; 0 with out
// empty when the path or the result is too long.
int PathReplaceExt(std::string& out, std::string_view path, const char* ext);

// The text after the extension's "." into out; 0 (and out empty) when there
// is no extension.
int PathGetExt(std::string& out, std::string_view path);

// Copies path to out with "_", the digits a and b and the extension in place
// of its extension's ".", so name.ext becomes name_ab.ext. 0 with out the
// unchanged copy when there is no extension or the result is too long.
int PathAddSuffix(std::string& out, std::string_view path, int a, int b);

// The newest file of a numbered series: the path with its extension
// replaced by ext (the path itself when it has none), followed by "_" and
// three digits, tried from 999 down to 000; the first that exists (whatever
// its case) goes to out and gives 1. 0, with out unchanged, when none does.
int FindNewestNumbered(std::string& out, std::string_view path, const char* ext);

// The same for a string.
int FindNewestNumberedStr(std::string& out, std::string_view path, const char* ext);
