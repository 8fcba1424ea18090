#pragma once
// The boxes that the stage's settings give a character's body within its
// 32 x 32 picture. The player and the computer characters each have their
// own settings; the rules that place the boxes are the same.

class cCharaObj;
struct HitBox;

// A box size; bottom set: the box stands on the picture's foot, else it is
// centred.
struct BoxSize {
    int width;
    int height;
    int bottom;
};

// The picture offsets of a body: centred across, standing on the foot or
// centred up and down.
int BodyOffsetX(const BoxSize& body);
int BodyOffsetY(const BoxSize& body);

// A box centred in the picture.
void CentreBox(HitBox& box, int width, int height, int picOffX, int picOffY);

// The contact box sizes of one side, by box kind.
struct ContactSizes {
    BoxSize shotHit; // kind 1
    BoxSize shot;    // kind 2
    BoxSize walk;    // any kind but 1 to 3, on foot
    BoxSize fly;     // the same, flying
};

// Sets the contact box (hit box A) of a box kind: 3 the whole picture, 1, 2
// and the others their size from the side's settings.
void SetContactBox(cCharaObj& chara, int boxKind, const ContactSizes& sizes);
