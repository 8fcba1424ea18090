// Message objects: game waits, text windows, pop-ups; the pause wait record.

#include "world/message.h"

#include "world/placeholder.h"

cMessage::cMessage(int, const std::string&, int, int, int, int, int, int, int, int, int, int, int,
                   int, int, int, int)
{
    WORLD_PLACEHOLDER(15, "cMessage::cMessage");
}

void cMessage::Render(DDSURFACEDATA*)
{
    WORLD_PLACEHOLDER(15, "cMessage::Render");
}

int cMessage::Draw(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "cMessage::Draw");
    return 1;
}

std::string ExpandMessageCodes(const std::string& text)
{
    WORLD_PLACEHOLDER(15, "ExpandMessageCodes");
    return text;
}

void PauseWait::Set(int, int, int, int)
{
    WORLD_PLACEHOLDER(15, "PauseWait::Set");
}
