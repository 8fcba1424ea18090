#include "data/ed_chara.h"

#include "data/ed_database.h"
#include "data/load_checks.h"
#include "data/palette_refs.h"
#include "data/placed_record.h"
#include "data/test_flows.h"

namespace {

using CharaCopier = InheritCopier<cEdChara>;

// The copiers of the inheritance groups, indexed by flag number.
const CharaCopier g_CharaInheritProc[kCharaInheritGroups] = {
    CopyName<cEdChara>,
    [](cEdChara& d, const cEdChara& s) {
        d.nOperator = s.nOperator;
        d.nInputNo = s.nInputNo;
    },
    [](cEdChara& d, const cEdChara& s) { d.nGroup = s.nGroup; },
    [](cEdChara& d, const cEdChara& s) { d.nCharaId = s.nCharaId; },
    CopyConds<cEdChara>,
    [](cEdChara& d, const cEdChara& s) { d.nFacing = s.nFacing; },
    [](cEdChara& d, const cEdChara& s) { d.nCopies = s.nCopies; },
    [](cEdChara& d, const cEdChara& s) {
        d.nCopyX = s.nCopyX;
        d.nCopyStepX = s.nCopyStepX;
        d.bCopyMirrorX = s.bCopyMirrorX;
    },
    [](cEdChara& d, const cEdChara& s) {
        d.nCopyY = s.nCopyY;
        d.nCopyStepY = s.nCopyStepY;
        d.bCopyMirrorY = s.bCopyMirrorY;
    },
    CopyGraphic<cEdChara>,
    [](cEdChara& d, const cEdChara& s) { d.nAnimeSet = s.nAnimeSet; },
    [](cEdChara& d, const cEdChara& s) { d.nZ = s.nZ; },
    [](cEdChara& d, const cEdChara& s) { d.bTransparent = s.bTransparent; },
    [](cEdChara& d, const cEdChara& s) {
        d.nCharaEffect = s.nCharaEffect;
        d.nCharaEffectParam1 = s.nCharaEffectParam1;
        d.nCharaEffectParam2 = s.nCharaEffectParam2;
    },
    [](cEdChara& d, const cEdChara& s) {
        d.nDeathEffect = s.nDeathEffect;
        d.nDeathEffectParam = s.nDeathEffectParam;
    },
    [](cEdChara& d, const cEdChara& s) {
        d.nCharaOption1 = s.nCharaOption1;
        d.nEmblemNo = s.nEmblemNo;
    },
    [](cEdChara& d, const cEdChara& s) { d.bFixedFacing = s.bFixedFacing; },
    [](cEdChara& d, const cEdChara& s) { d.nFlying = s.nFlying; },
    [](cEdChara& d, const cEdChara& s) {
        d.nInvincible = s.nInvincible;
        d.nCharaOption2 = s.nCharaOption2;
    },
    [](cEdChara& d, const cEdChara& s) { d.bSolid = s.bSolid; },
    [](cEdChara& d, const cEdChara& s) { d.nSize = s.nSize; },
    [](cEdChara& d, const cEdChara& s) { d.bScrollSync = s.bScrollSync; },
    [](cEdChara& d, const cEdChara& s) {
        d.nSightShape = s.nSightShape;
        d.nSight = s.nSight;
    },
    [](cEdChara& d, const cEdChara& s) { d.nMaxHP = s.nMaxHP; },
    [](cEdChara& d, const cEdChara& s) { d.nMaxSP = s.nMaxSP; },
    [](cEdChara& d, const cEdChara& s) { d.nBoxKind = s.nBoxKind; },
    [](cEdChara& d, const cEdChara& s) { d.nBodyPower = s.nBodyPower; },
    [](cEdChara& d, const cEdChara& s) { d.nBodyImpact = s.nBodyImpact; },
    [](cEdChara& d, const cEdChara& s) { d.nHitEffect = s.nHitEffect; },
    [](cEdChara& d, const cEdChara& s) { d.nDefence = s.nDefence; },
    [](cEdChara& d, const cEdChara& s) { d.nImpactResist = s.nImpactResist; },
    [](cEdChara& d, const cEdChara& s) { d.nStopRate = s.nStopRate; },
    [](cEdChara& d, const cEdChara& s) {
        d.nCharaOption8 = s.nCharaOption8;
        d.nActivateMode = s.nActivateMode;
    },
    [](cEdChara& d, const cEdChara& s) {
        d.nAreaSwitchNo = s.nAreaSwitchNo;
        d.bAreaSwitch = s.bAreaSwitch;
    },
    [](cEdChara& d, const cEdChara& s) { d.nScoreGain = s.nScoreGain; },
    [](cEdChara& d, const cEdChara& s) { d.nCharaOption5 = s.nCharaOption5; },
    // The flows; a character left without any gets one new flow.
    [](cEdChara& d, const cEdChara& s) {
        AssignFlowList(d.Flows, s.Flows);
        if (d.Flows.empty()) {
            d.Flows.emplace_back();
            d.Flows.back().Clear();
        }
    },
};

} // namespace

void cEdChara::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField1(&nPaletteKind, 1);
    AddField2(&nPaletteIndex, 1);
    AddString(&strName, 1);
    AddField1(&nCondMode, 1);
    AddField1(&bCondLatch, 1);
    AddField1(&nFacing, 1);
    AddField1(&nCopies, 1);
    AddField2(&nCopyX, 1);
    AddField2(&nCopyStepX, 1);
    AddField2(&nCopyY, 1);
    AddField2(&nCopyStepY, 1);
    AddField1(&bCopyMirrorX, 1);
    AddField1(&bCopyMirrorY, 1);
    AddField2(&nGraphicNo, 1);
    AddField1(&nGraphicKind, 1);
    AddField2(&nGraphicFrame, 1);
    AddField2(&nAnimeSet, 1);
    AddField1(&nZ, 1);
    AddField1(&bTransparent, 1);
    AddField2(&nCharaEffect, 1);
    if (version >= 196) AddField1(&nCharaEffectParam1, 1);
    AddField1(&nCharaEffectParam2, 1);
    AddField2(&nDeathEffect, 1);
    if (version >= 196) AddField1(&nDeathEffectParam, 1);
    AddField1(&nCharaOption1, 1);
    AddField2(&nEmblemNo, 1);
    AddField1(&nOperator, 1);
    AddField1(&nInputNo, 1);
    AddField1(&nGroup, 1);
    AddField1(&nCharaId, 1);
    AddField1(&nFlying, 1);
    AddField1(&bFixedFacing, 1);
    AddField1(&nInvincible, 1);
    if (version >= 285) AddField1(&nCharaOption2, 1);
    AddField1(&bSolid, 1);
    AddField1(&nSize, 1);
    if (version >= 210) AddField1(&bScrollSync, 1);
    AddField1(&nSightShape, 1);
    AddField1(&nSight, 1);
    AddField4(&nMaxHP, 1);
    AddField4(&nMaxSP, 1);
    AddField2(&nStopRate, 1);
    if (version >= 201) AddField1(&nBoxKind, 1);
    AddField4(&nBodyPower, 1);
    AddField1(&nBodyImpact, 1);
    AddField2(&nHitEffect, 1);
    if (version >= 168) AddField4(&nDefence, 1);
    AddField1(&nImpactResist, 1);
    AddField4(&nScoreGain, 1);
    AddField1(&nCharaOption5, 1);
    AddField1(&bAreaSwitch, 1);
    AddField2(&nAreaSwitchNo, 1);
    AddField1(&nCharaOption8, 1);
    AddField1(&nActivateMode, 1);
}

void cEdChara::Load(plat::ByteReader& f)
{
    LoadPlacement(*this, f);
    ReadKept(f, nCarriedItem);
    LoadInheritance(*this, f);
    LoadFlowList(Flows, f);
    if (!KeepTestFlows()) PurgeTestFlows(Flows);

    const int v = g_FileVersion;
    if (v < kDataVersion) {
        // Groups inserted into the flags since: the new group is inherited.
        if (v < 168) {
            nDefence = 0;
            InsertEntry(InheritFlags, kCharaInheritGroups, 27, 1);
        }
        if (v < 196) {
            nCharaEffectParam1 = 0;
            nDeathEffectParam = 0;
        }
        if (v < 201) {
            nBoxKind = 0;
            InsertEntry(InheritFlags, kCharaInheritGroups, 24, 1);
        }
        // A box kind was inserted at 2.
        if (v < 206 && nBoxKind >= 2) ++nBoxKind;
        if (v < 210) {
            bScrollSync = 0;
            InsertEntry(InheritFlags, kCharaInheritGroups, 21, 1);
        }
        MoveOldShotGraphic(*this);
        if (v < 285) nCharaOption2 = 1;
    }
    InheritParams();
    CheckAfterLoad();
}

void cEdChara::Save(ByteWriter& f)
{
    CheckAfterLoad();
    SavePlacement(*this, f);
    f.writeI32(nCarriedItem);
    SaveInheritance(*this, f);
    SaveVector(Flows, f);
}

void cEdChara::Clear()
{
    nCarriedItem = 0;
    cEdData::Clear();
    InheritFlags.assign(kCharaInheritGroups, 0);
    nOperator = 1;
    nGroup = 1;
    nZ = 3;
    nCharaEffectParam2 = 1;
    nMaxHP = 10;
    nStopRate = 10;
    nGraphicKind = 1;
    nGraphicNo = 0;
    nSize = 1;
    bFixedFacing = 1;
    nCharaOption5 = 1;
    nDefence = 0;
}

void cEdChara::InheritParams()
{
    InheritFromPalette(*this, g_CharaInheritProc);
}

void cEdChara::CheckAfterLoad()
{
    const cEdDatabase& db = g_Database;
    CheckPaletteRef<cEdChara>(nPaletteKind, nPaletteIndex);
    if (nGraphicKind == 4 && OutsideTable(nGraphicNo, db.Bmp_CharaExc.size())) {
        nGraphicNo = static_cast<decltype(nGraphicNo)>(ResetTarget(1, db.Bmp_CharaExc.size()));
    }
    if (static_cast<std::int8_t>(nSize) <= 0) nSize = 1;
    if (OutsideTable(nAnimeSet, db.AnimeSet.size())) {
        nAnimeSet = static_cast<decltype(nAnimeSet)>(ResetTarget(1, db.AnimeSet.size()));
    }
    if (OutsideTable(nCharaEffect, db.CharaEffect.size())) nCharaEffect = 0;
    if (OutsideTable(nDeathEffect, db.CharaEffect.size())) nDeathEffect = 0;
    if (OutsideTable(nHitEffect, db.Effect.size())) nHitEffect = 0;
    for (cEdFlow& flow : Flows)
        flow.Check();
    std::erase_if(Flows, [](const cEdFlow& flow) { return flow.IsEmpty(); });
}

void cEdChara::CheckRefs()
{
    for (cEdFlow& flow : Flows)
        flow.CheckRefs();
}

double cEdChara::CopyOffsetX(int n, int facing) const
{
    const double offset = static_cast<double>(n) * nCopyStepX + nCopyX;
    return (facing == 1 && bCopyMirrorX) ? -offset : offset;
}

double cEdChara::CopyOffsetY(int n, int facing) const
{
    const double offset = static_cast<double>(n) * nCopyStepY + nCopyY;
    return (facing == 1 && bCopyMirrorY) ? -offset : offset;
}
