#pragma once
// Steering and target search shared by the character movements and the
// shot movements: the solver that turns a target point and a speed into
// per-sub-step speeds (with the view's auto-scroll taken into account),
// its one-axis forms, the circle terms, the knock-back speeds, the span
// test of the distance conditions and the searches for a character.
//
// Direction codes written by the solvers: 1 moving left, 2 right, 0 neither.

#include <span>

class cCharaObj;
class cGameObj;
class cNpcObj;

// The system switch that moves the following of the view's auto-scroll
// from the flow runs' base speeds into the movement commands.
int ScrollInCommands();

// 1 when the target lies within one step (with the arrival test).
int SteerSolve(double& vx, double& vy, int& direction, cCharaObj* target, double x, double y,
               double targetX, double targetY, double speed, int ownFollow, int noFlee,
               int arrivalTest);
int SteerSolveX(double& vx, double& vy, int& direction, cCharaObj* target, double x, double targetX,
                double speed, int ownFollow, int arrivalTest);
int SteerSolveY(double& vx, double& vy, int& direction, cCharaObj* target, double y, double targetY,
                double speed, int ownFollow, int arrivalTest);

// Circle and wave terms: a speed, or a change of speed, per sub-step; the
// phase advances by its step and wraps at 360 x sub-steps.
double CircleSpeedX(double radius, double angularSpeed, double& phase, double phaseStep,
                    double start);
double CircleAccelY(double radius, double angularSpeed, double& phase, double phaseStep,
                    double start);

// The start speeds of a knock-back of a signed strength (16-pixel units)
// split in proportion to |dx| and |dy|; strength 0 writes nothing.
void KnockbackSpeed(double& vx, double& vy, int strength, double dx, double dy);

// Whether another span [c, e], narrowed by the margin at both ends, meets
// the span that reaches `back` below and `front` above the middle of
// [start, start + size) (each side to its edge only when its reach is
// above 0; the whole span when whole is set and both reaches are 0).
int SpanOverlap(int start, int size, int c, int e, int margin, int back, int front, int whole);

// The nearest character to (x, y) among the candidates of a list (null
// entries are holes, passed over); null when none. Mode 0 on screen first,
// 1 present, 2 present on screen.
cCharaObj* FindNearestChara(double x, double y, std::span<cCharaObj* const> list, int mode,
                            int byId, int id, int excludeNumber, int excludeInvincible1,
                            int excludeInvincible2, int excludeNoContact, int number);
cCharaObj* NearestChara(double x, double y, std::span<cCharaObj* const> list);
// NearestChara from the centre of an object's screen box, as last refreshed.
cCharaObj* NearestCharaToMe(const cGameObj& me, std::span<cCharaObj* const> list);
// The first character of the list in order that passes the filters.
cCharaObj* FirstChara(std::span<cCharaObj* const> list, int byId, int id, int excludeNumber,
                      int excludeInvincible1, int excludeInvincible2, int excludeNoContact,
                      int number);
