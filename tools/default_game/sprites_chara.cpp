// The characters: 16 x 16 pixel art drawn twice as large, facing left (the
// runtime mirrors the sheets for characters facing right). Each character is
// a body and, for each frame, the rows that change with the pose. The hero is
// also drawn from above, for the world map.
#include "tools/default_game/sprites.h"

#include <vector>

namespace defgame {
namespace {

using Rows = std::vector<std::string>;

// Pixel art drawn twice as large into a 32 x 32 cell.
Canvas doubled(const Rows& rows, const Legend& legend, bool mirrored = false)
{
    Canvas cell(32, 32);
    cell.paste(pixelArt(rows, legend), 0, 0, true, mirrored, 2);
    return cell;
}

// A frame: the body's rows followed by the pose's rows (16 in all).
Canvas frameArt(const Rows& body, const Rows& pose, const Legend& legend)
{
    Rows rows = body;
    rows.insert(rows.end(), pose.begin(), pose.end());
    return doubled(rows, legend);
}

// The hero's colours, from the side and from above.
const Legend& heroLegend()
{
    static const Legend legend = {
        {'k', kBlack},
        {'r', shade(Hue::Red, 10)},
        {'R', shade(Hue::Red, 6)},
        {'s', shade(Hue::Skin, 10)},
        {'S', shade(Hue::Skin, 7)},
        {'h', shade(Hue::Brown, 5)},
        {'w', kWhite},
        {'b', shade(Hue::Blue, 10)},
        {'B', shade(Hue::Blue, 5)},
        {'y', shade(Hue::Yellow, 11)},
        {'n', shade(Hue::Brown, 7)},
    };
    return legend;
}

// The hero: a red cap with its peak to the front, a blue tunic, brown boots.
Canvas hero(CharaFrame frame)
{
    const Legend& legend = heroLegend();
    const Rows body = {
        "................", //
        ".....kkkkkk.....", //
        "....krrrrrrk....", //
        "...krrrrrrrrk...", //
        ".kkRRRRrrrrrk...", //
        "..kkkkkkkkkkk...", //
        "...ksssshhhhk...", //
        "..kkwssshhhk....", //
        "..ksssssshhk....", //
        "...kSsssShk.....", //
        "..kkbbbbbbkk....", //
    };
    const std::string arms = ".ksbbyyyyybsk...";
    const std::string airArms = "kskbbyyyyybksk..";
    switch (frame) {
    case FRAME_WALK_A:
        return frameArt(
            body,
            {arms, "...kbbbbbbk.....", "..kBk...kBk.....", ".knnk....knnk...", ".kkk.....kkkk..."},
            legend);
    case FRAME_WALK_B:
        return frameArt(
            body,
            {arms, "...kbbbbbbk.....", ".....kBBk.......", "....knnnnk......", "....kkkkkk......"},
            legend);
    case FRAME_AIR:
        return frameArt(body,
                        {airArms, "..kbbbbbbbbk....", ".kBk.....kBk....", "knnk......knnk..",
                         "kkk........kkk.."},
                        legend);
    default:
        return frameArt(
            body,
            {arms, "...kbbbbbbk.....", "....kBk.kBk.....", "...knnk.knnk....", "...kkkk.kkkk...."},
            legend);
    }
}

// The walker: a purple blob that squashes and stretches as it creeps.
Canvas walker(CharaFrame frame)
{
    const Legend legend = {
        {'k', kBlack},
        {'p', shade(Hue::Purple, 10)},
        {'P', shade(Hue::Purple, 13)},
        {'d', shade(Hue::Purple, 6)},
        {'w', kWhite},
        {'m', shade(Hue::Red, 4)},
    };
    const Rows standing = {
        "................", //
        "................", //
        "................", //
        "................", //
        "......kkkkk.....", //
        "....kkPPpppkk...", //
        "...kPPPpppppk...", //
        "..kPPpppppppdk..", //
        "..kwkppwkpppdk..", //
        ".kpwkppwkppppdk.", //
        ".kpppppppppppdk.", //
        ".kpkmmkpppppddk.", //
        ".kppkkppppppddk.", //
        ".kdpppppppppddk.", //
        "..kddddddddddk..", //
        "...kkkkkkkkkk...", //
    };
    const Rows squashed = {
        "................", //
        "................", //
        "................", //
        "................", //
        "................", //
        "................", //
        ".....kkkkkk.....", //
        "...kkPPpppppkk..", //
        "..kPPPpppppppdk.", //
        ".kwkppwkpppppdk.", //
        ".kwkppwkppppppdk", //
        "kppppppppppppddk", //
        "kpkmmkppppppdddk", //
        "kdppkkppppppdddk", //
        ".kddddddddddddk.", //
        "..kkkkkkkkkkkk..", //
    };
    const Rows stretched = {
        "................", //
        "................", //
        ".......kkk......", //
        ".....kkPPpkk....", //
        "....kPPPpppk....", //
        "...kPPpppppdk...", //
        "...kwkpwkppdk...", //
        "...kwkpwkppdk...", //
        "...kppppppppdk..", //
        "..kpkmmkpppddk..", //
        "..kppkkppppddk..", //
        "..kpppppppppdk..", //
        "..kdpppppppddk..", //
        "..kddppppppddk..", //
        "...kddddddddk...", //
        "....kkkkkkkk....", //
    };
    const Rows& art = frame == FRAME_WALK_A   ? squashed
                      : frame == FRAME_WALK_B ? stretched
                      : frame == FRAME_AIR    ? stretched
                                              : standing;
    return doubled(art, legend);
}

// The hopper: a green frog with big eyes, its mouth to the front.
Canvas hopper(CharaFrame frame)
{
    const Legend legend = {
        {'k', kBlack},
        {'g', shade(Hue::Green, 10)},
        {'G', shade(Hue::Green, 13)},
        {'d', shade(Hue::Green, 6)},
        {'y', shade(Hue::Yellow, 13)},
        {'w', kWhite},
        {'r', shade(Hue::Red, 9)},
    };
    const Rows body = {
        "................", //
        "................", //
        "................", //
        "...kkkk.........", //
        "..kwwwwk........", //
        "..kkkwwkkkkk....", //
        ".kgkkwwgGGGGk...", //
        "kggggggggGGGgk..", //
        "kkkkkkggggggGgk.", //
        "krrrrkgggggggdk.", //
        ".kyyyyygggggggdk", //
        "..kyyyyygggggddk", //
    };
    const Rows sitting = {
        "...kkyyyggggddk.", //
        "..kgdkkkgggddk..", //
        ".kggggk.kgggdk..", //
        ".kkkkkk.kkkkkk..", //
    };
    const Rows crouching = {
        "...kkyyyggggddk.", //
        ".kggdkkkkgggddk.", //
        "kggggggkkggggddk", //
        "kkkkkkkkkkkkkkkk", //
    };
    const Rows leaping = {
        "...kkyyyggggdk..", //
        "....kkkkgggdk...", //
        ".........kgggdk.", //
        "..........kkkkkk", //
    };
    const Rows* pose = &sitting;
    if (frame == FRAME_WALK_B) pose = &crouching;
    if (frame == FRAME_AIR || frame == FRAME_WALK_A) pose = &leaping;
    return frameArt(body, *pose, legend);
}

// The marker that stands in for a cell that a character names but the sheet
// lacks: a grey question mark in a dashed box.
Canvas marker()
{
    Canvas cell(32, 32);
    for (int i = 2; i < 30; i += 4) {
        cell.fill(i, 2, 2, 1, shade(Hue::Grey, 10));
        cell.fill(i, 29, 2, 1, shade(Hue::Grey, 10));
        cell.fill(2, i, 1, 2, shade(Hue::Grey, 10));
        cell.fill(29, i, 1, 2, shade(Hue::Grey, 10));
    }
    const Legend legend = {{'#', shade(Hue::Grey, 12)}};
    cell.paste(pixelArt({".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}, legend), 8,
               6, true, false, 3);
    return cell;
}

} // namespace

Canvas charaFrame(CharaGraphic who, CharaFrame frame)
{
    switch (who) {
    case CHARA_HERO:
        return hero(frame);
    case CHARA_WALKER:
        return walker(frame);
    case CHARA_HOPPER:
        return hopper(frame);
    default:
        return marker();
    }
}

// Seen from above: the cap, then the face or the back of the head, then the
// tunic and the boots.
Canvas mapWalkerFrame(bool up, bool secondStep)
{
    const Rows face = {"...kssssssssk...", "...kskwsskwsk...", "...kssssssssk...",
                       "....kssSSssk...."};
    const Rows back = {"...khhhhhhhhk...", "...khhhhhhhhk...", "...khhhhhhhhk...",
                       "....khhhhhhk...."};
    Rows rows = {"................", ".....kkkkkk.....", "....krrrrrrk....",
                 "...krrrrrrrrk...", "...kRRRRRRRRk...", "...kkkkkkkkkk..."};
    const Rows& head = up ? back : face;
    rows.insert(rows.end(), head.begin(), head.end());
    for (const char* r : {"...kkbbbbbbkk...", "..ksbbyyyybbsk..", "...kbbbbbbbbk...",
                          "....kBBkkBBk....", "....knnk.kBk....", "....kkkk.knnk..."})
        rows.emplace_back(r);
    return doubled(rows, heroLegend(), secondStep);
}

} // namespace defgame
