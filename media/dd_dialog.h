#pragma once
// Dialogs and boxes over the full-screen game. Our picture is a window of
// the desktop's size, so a box can always appear over it; entering the
// dialog mode only ends the frame's scene so that nothing half-drawn stays
// pending while the box is up.

// 1 on success (always: there is no display mode to change).
int DDSetDialogMode(int on);
