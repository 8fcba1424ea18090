#include "world/body_boxes.h"

#include "world/chara_obj.h"
#include "world/geometry.h"

int BodyOffsetX(const BoxSize& body)
{
    return (32 - body.width) >> 1;
}

int BodyOffsetY(const BoxSize& body)
{
    return body.bottom ? 32 - body.height : (32 - body.height) >> 1;
}

void CentreBox(HitBox& box, int width, int height, int picOffX, int picOffY)
{
    box.Set(16 - (width >> 1) - picOffX, 16 - (height >> 1) - picOffY, width, height);
}

void SetContactBox(cCharaObj& chara, int boxKind, const ContactSizes& sizes)
{
    BoxSize size = chara.m_Flying ? sizes.fly : sizes.walk;
    switch (boxKind) {
    case 1:
        size = sizes.shotHit;
        break;
    case 2:
        size = sizes.shot;
        break;
    case 3:
        size = {32, 32, 0};
        break;
    default:
        break;
    }
    chara.SetHitBoxA(size.bottom, size.width, size.height);
}
