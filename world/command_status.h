#pragma once
// The status, graphic and media commands (kinds 22 to 36): each has one
// body taking the character and the command, run by the character command
// executor on every sub-step of the command and by the item and block
// command lists at once.

class cCharaObj;
class cEdCommand;

int StatusOperation2(cCharaObj& chara, const cEdCommand& command);
int GetItem(cCharaObj& chara, const cEdCommand& command);
int ChangeGraphic(cCharaObj& chara, const cEdCommand& command);
int ChangeAnimeSet(cCharaObj& chara, const cEdCommand& command);
int RunAnime(cCharaObj& chara, const cEdCommand& command);
int ShowEffect(cCharaObj& chara, const cEdCommand& command);
int RunCharaEffect(cCharaObj& chara, const cEdCommand& command);
int RunScrEffect(cCharaObj& chara, const cEdCommand& command);
int ShowPicture(cCharaObj& chara, const cEdCommand& command);
int ChangeScreenColour(cCharaObj& chara, const cEdCommand& command);
int ChangeBackground(cCharaObj& chara, const cEdCommand& command);
int PlaySoundCommand(cCharaObj& chara, const cEdCommand& command);
int PlayBgmCommand(cCharaObj& chara, const cEdCommand& command);
int RunCode(cCharaObj& chara, const cEdCommand& command);

// Where the effect and picture commands put a width x height picture, by
// placement: 0 the screen's centre, 1 the character's centre, 2 the
// player's centre, 3 block (bx, by) of the screen, 4 block (bx, by) of the
// stage; then shifted by (ox, oy). Stage pixels.
void EffectPosition(int& x, int& y, int width, int height, const cCharaObj& chara, int placement,
                    int bx, int by, int ox, int oy);
