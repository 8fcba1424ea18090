#pragma once
// A character definition. As a palette entry it is a template; as a placed
// character it carries a position, a palette reference and, for each of 37
// groups of settings, a flag that takes the group from the palette entry.
// The player's carried-over character in a save is one too.
//
// A placed character with nCopies extra copies is created nCopies + 1 times;
// copy n is placed at base + step x n (CopyOffsetX, CopyOffsetY).

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_cond.h"
#include "data/ed_data.h"
#include "data/ed_flow.h"

// Number of inheritance groups (and copiers) of a character.
inline constexpr int kCharaInheritGroups = 37;

class cEdChara : public cEdData {
public:
    std::int16_t nX = 0; // block column of a placed character
    std::int16_t nY = 0;
    std::int32_t nCarriedItem = 0; // placed item it carries; -1 none
    std::vector<std::uint8_t> InheritFlags = std::vector<std::uint8_t>(kCharaInheritGroups, 0);
    std::vector<cEdCond> Conds; // appearance conditions
    std::vector<cEdFlow> Flows;

    // The members of the member table, in file order.
    std::uint8_t nPaletteKind = 0; // 0 none, 1 common palette, 2 stage palette
    std::int16_t nPaletteIndex = 0;
    std::string strName;
    std::uint8_t nCondMode = 0; // 0 all must hold, 1 at least one
    std::uint8_t bCondLatch = 0;
    std::uint8_t nFacing = 0; // 0 left, 1 right
    std::uint8_t nCopies = 0;
    std::int16_t nCopyX = 0;
    std::int16_t nCopyStepX = 0;
    std::int16_t nCopyY = 0;
    std::int16_t nCopyStepY = 0;
    std::uint8_t bCopyMirrorX = 0;
    std::uint8_t bCopyMirrorY = 0;
    std::int16_t nGraphicNo = 0; // at most 119; a Bmp_CharaExc record for kind 4
    std::uint8_t nGraphicKind = 1;
    std::int16_t nGraphicFrame = 0;
    std::int16_t nAnimeSet = 0;
    std::uint8_t nZ = 3; // drawing layer 0 to 7
    std::uint8_t bTransparent = 0;
    std::int16_t nCharaEffect = 0; // CharaEffect started at creation; 0 none
    std::int8_t nCharaEffectParam1 = 0;
    std::uint8_t nCharaEffectParam2 = 1;
    std::int16_t nDeathEffect = 0; // CharaEffect started at death; 0 none
    std::uint8_t nDeathEffectParam = 0;
    std::uint8_t nCharaOption1 = 0;
    std::int16_t nEmblemNo = 0;
    std::uint8_t nOperator = 1; // 0 a player, 1 the computer
    std::uint8_t nInputNo = 0;
    std::uint8_t nGroup = 1; // 0 to 7
    std::uint8_t nCharaId = 0;
    std::uint8_t nFlying = 0; // 0 off, 1 through blocks, 2 hits blocks, 3 dies on blocks
    std::uint8_t bFixedFacing = 1;
    std::uint8_t nInvincible = 0; // 0 off, 1 shots hit, 2 shots pass
    std::uint8_t nCharaOption2 = 0;
    std::uint8_t bSolid = 0;
    std::uint8_t nSize = 1; // size factor 1 to 10
    std::uint8_t bScrollSync = 0;
    std::uint8_t nSightShape = 0;
    std::uint8_t nSight = 0; // hbl
    std::int32_t nMaxHP = 10;
    std::int32_t nMaxSP = 0;
    std::int16_t nStopRate = 10;
    std::uint8_t nBoxKind = 0; // which box of the stage sizes the body
    std::int32_t nBodyPower = 0;
    std::int8_t nBodyImpact = 0;
    std::int16_t nHitEffect = 0; // Effect record where a body hit lands
    std::int32_t nDefence = 0;
    std::uint8_t nImpactResist = 0;
    std::int32_t nScoreGain = 0;
    std::uint8_t nCharaOption5 = 1;
    std::uint8_t bAreaSwitch = 0;
    std::int16_t nAreaSwitchNo = 0;
    std::uint8_t nCharaOption8 = 0; // activation range: 0 screen, 1 x, 2 y, 3 always
    std::uint8_t nActivateMode = 0;

    void RegisterMembers(int version) override;
    // The record body, nX, nY and nCarriedItem, uint32 n and n flags, the
    // conditions and the flows; then the removal of test-only flows, the
    // upgrades of older files, the inheritance and CheckAfterLoad.
    void Load(plat::ByteReader& f) override;
    // CheckAfterLoad, then the same layout.
    void Save(ByteWriter& f) override;

    // The defaults of a new character (carried item 0, 37 clear flags).
    void Clear();
    // Copies every flagged group from the palette entry. A reference outside
    // its palette loses its kind and copies nothing.
    void InheritParams();
    // Resets references outside their palette or database tables, and
    // erases the flows that hold nothing.
    void CheckAfterLoad();
    // CheckRefs on every flow.
    void CheckRefs();
    // The offset of copy n for a facing (1 right): n x step + base, negated
    // facing right when mirrored.
    double CopyOffsetX(int n, int facing) const;
    double CopyOffsetY(int n, int facing) const;
};
