#pragma once
// Loading a stage by name: the newest numbered file of the name, refused
// when its end code is damaged, read on the stage loader thread thLoad while
// the calling thread keeps serving its own messages, refused when no hero is
// placed, then made the live stage g_Stage, whose settings the caller's
// stage record receives (g_StageAtStart for every caller).
//
// A stage is read into a new record and replaces the live stage only once it
// has been read, checked and found to have a hero: whatever fails leaves
// g_Stage as it was (apart from the name of the file tried).

#include <string_view>

class cEdStage;

// Loads the stage named by path: with versioned non-zero the newest of the
// files named like path with the extension "stg4_" and three digits,
// otherwise path itself. 1 on success; 0 on failure, after the failure's
// message where it has one (none when no numbered file exists: the callers
// report that). out, when given, receives the stage's settings without its
// palette or placed objects. A load asked for while another is under way is
// refused as a file that cannot be read.
int LoadStage(std::string_view path, int versioned, cEdStage* out);

// Whether the last LoadStage failed because a quit reached its caller
// during the read (the load was cancelled, not refused).
bool StageLoadCancelled();

// The loader thread's body: reads the file of the load job it is given and
// keeps the stage in the job for LoadStage. Returns 1 when read.
unsigned LoadStageThread(void* job);

// 1 when the stage file may be read; 0, after the damage box and a close
// request to the main window, when a file of version 174 or later does not
// end with the end code. A file that cannot be opened gives 1: the read that
// follows fails and says so.
int CheckStageFile(std::string_view path);
