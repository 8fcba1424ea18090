#pragma once
// The small parts of a stage record: the removal areas, the picture layers
// and the text items.

#include <cstdint>
#include <string>

#include "data/ed_data.h"

// A removal area: on which sides of the screen objects are removed, and how
// far (in blocks) outside the screen's edge.
class cEdArea : public cEdData {
public:
    std::int32_t bLeft = 0;
    std::int32_t bRight = 0;
    std::int32_t bTop = 0;
    std::int32_t bBottom = 0;
    std::int32_t nLeft = 0;
    std::int32_t nRight = 0;
    std::int32_t nTop = 0;
    std::int32_t nBottom = 0;

    // bLeft for every version, the other three switches from version 125,
    // then the four distances.
    void RegisterMembers(int version) override;
    // Sets the eight members in declaration order.
    void Set(int left, int right, int top, int bottom, int leftDistance, int rightDistance,
             int topDistance, int bottomDistance);
};

// A background or foreground layer: a picture, or a plain fill of the screen.
class cEdLayer : public cEdData {
public:
    std::int32_t bShow = 1;       // drawn; the background command toggles it
    std::int32_t bFill = 0;       // a plain fill of the whole screen
    std::int32_t nFillColor = 16; // palette number of the fill
    std::int32_t nFront = 0;      // 0 behind the objects, 1 in front
    // How far the picture moves with the view, or with auto scroll its speed
    // in pixels per frame.
    double dFactorX = 0.1;
    double dFactorY = 0.1;
    std::int32_t bAutoX = 0;
    std::int32_t bAutoY = 0;
    std::string strPicture;
    double dOffsetX = 0.0; // running offsets of the auto scroll
    double dOffsetY = 0.0;

    void RegisterMembers(int version) override;
    // Cleared, shown, fill colour 16, factors 0.1.
    void SetDefaults();

private:
    // Blocks of older layouts that are read and dropped.
    std::int32_t m_OldFactors[2] = {};
    std::int32_t m_OldOffsets[2] = {};
};

// A text of the stage kept for the authoring tool: loaded, copied and saved.
class cEdTextItem : public cEdData {
public:
    std::string strText;

    void RegisterMembers(int version) override;
};
