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
