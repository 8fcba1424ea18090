#pragma once
// The numbers by which the default game's data names its pictures, sounds,
// music and palette entries: the pictures are drawn into these cells and the
// records refer to them, so both sides take them from here.

namespace defgame {

// Cells of bmp\Block.bmp (one column of 15; cell 0 is the empty block).
enum BlockGraphic : int {
    BLOCK_GRASS = 1, // grassy ground
    BLOCK_DIRT,      // earth under the grass
    BLOCK_BRICK,
    BLOCK_STONE,
    BLOCK_SPIKES, // kills the hero
    BLOCK_SPRING, // throws the hero up
    BLOCK_PLANK,  // a wooden bridge
    BLOCK_GRAPHIC_END,
};

// Rows of bmp\Character1.bmp; every row holds the same frames, facing left.
enum CharaGraphic : int {
    CHARA_MARKER = 0, // what a missing cell falls back to
    CHARA_HERO,
    CHARA_WALKER, // walks and turns at walls and ledges
    CHARA_HOPPER, // hops toward the hero and shoots at it
    CHARA_GRAPHIC_END,
};

// Frames (32-pixel columns) of every character row.
enum CharaFrame : int {
    FRAME_STAND = 0,
    FRAME_WALK_A,
    FRAME_WALK_B,
    FRAME_AIR,
    FRAME_END,
};

// Items of bmp\Item.bmp (two 32-pixel frames each) and bmp\Item_Mini.bmp.
enum ItemGraphic : int {
    ITEM_COIN = 1,
    ITEM_HEART,
    ITEM_GOAL,
    ITEM_GRAPHIC_END,
};

// Shots of bmp\Shot.bmp. Numbers from 3 on keep every shot clear of the
// corner where the sheet's rows of shots and columns of frames cross.
enum ShotGraphic : int {
    SHOT_HERO = 3,
    SHOT_ENEMY = 4,
};
inline constexpr int kShotFrames = 3;

// Overlay pieces of bmp\Mark.bmp.
enum MarkPiece : int {
    MARK_ARROW = 1,
    MARK_STAR,
    MARK_EXCLAIM,
    MARK_SKULL,
    MARK_PIECE_END,
};

// Rows of bmp\WorldEvent.bmp: the signs of the story stages 1 to 3.
inline constexpr int kStageSigns = 3;

// Records of the database tables.
enum SoundRecord : int {
    SOUND_NONE = 0,
    SOUND_JUMP,
    SOUND_SHOT,
    SOUND_COIN,
    SOUND_HEAL,
    SOUND_GOAL,
};
enum BgmRecord : int {
    BGM_NONE = 0,
    BGM_TITLE,
    BGM_WORLD_MAP,
    BGM_STAGE,
};
enum EffectRecord : int {
    EFFECT_NONE = 0,
    EFFECT_BURST,
};
inline constexpr int kBurstFrames = 4;
enum AnimeRecord : int {
    ANIME_NONE = 0,
    ANIME_JUMP, // the airborne frame of whoever jumps
};
enum AnimeSetRecord : int {
    ANIMESET_HERO = 0,
    ANIMESET_WALKER,
    ANIMESET_HOPPER,
};

// Entries of the common palette (entry 0 of each list is the none entry).
enum PaletteBlock : int {
    PB_GRASS = 1,
    PB_DIRT,
    PB_BRICK,
    PB_STONE,
    PB_SPIKES,
    PB_SPRING,
    PB_PLANK,
};
enum PaletteChara : int {
    PC_HERO = 1,
    PC_WALKER,
    PC_HOPPER,
};
enum PaletteItem : int {
    PI_COIN = 1,
    PI_HEART,
    PI_GOAL,
};

} // namespace defgame
