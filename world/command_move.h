#pragma once
// The movement commands (kinds 2 to 10): straight, ground turn-back,
// circle, charge, homing, off-screen avoiding, disabling the movement,
// turning and jumping; their start handlers and the speed helpers they share.

class cCharaObj;
class cCommandRun;
class cEdMove;

// The largest circle radius, in hbl of 16 pixels.
inline constexpr int kMaxCircleRadiusHbl = 20;

// An absolute direction code (2 left, 3 right, 6 up, 7 down, 8 to 11 the
// diagonals) from a movement direction: front, back, the vertical ones by
// facing, the fire direction.
int ResolveDirection(cCharaObj& chara, int code);
void SpeedByDirection(cCharaObj& chara, double& vx, double& vy, int& facingRequest, double speed,
                      int code);
void SpeedByAngle(cCharaObj& chara, double& vx, double& vy, int& facingRequest, double speed,
                  int code, int angle);
void SpeedTowardPoint(cCharaObj& chara, double& vx, double& vy, int& facingRequest, double speed,
                      int x, int y, const cEdMove& move, int& remaining);
int ApplyMoveSpeeds(cCharaObj& chara, double vx, double vy, int facingRequest, cCommandRun& run,
                    const cEdMove& move, int force);

int ExecStraightMove(cCharaObj& chara, cCommandRun& run);
int ExecGroundTurnBack(cCharaObj& chara, cCommandRun& run);
int ExecCircleMove(cCharaObj& chara, cCommandRun& run);
int ExecChargeMove(cCharaObj& chara, cCommandRun& run);
int ExecHomingMove(cCharaObj& chara, cCommandRun& run);
int ExecAvoidMove(cCharaObj& chara, cCommandRun& run);
int ExecDisableMove(cCharaObj& chara, cCommandRun& run);
int ExecTurn(cCharaObj& chara, cCommandRun& run);
int ExecJump(cCharaObj& chara, cCommandRun& run);

// Start handlers, run when the flow is installed.
void StartStraightMove(cCharaObj& chara, cCommandRun& run, int facing);
void StartDistanceMove(cCharaObj& chara, cCommandRun& run, int facing);
void StartCircleMove(cCharaObj& chara, cCommandRun& run, int facing);
void StartOffsetMove(cCharaObj& chara, cCommandRun& run, int facing);
void StartHomingMove(cCharaObj& chara, cCommandRun& run, int facing);
void StartJump(cCharaObj& chara, cCommandRun& run, int facing);
