// score.h -- the score and combo displays, the unlock watcher and the
// game-over screen: title and board sliding in, the final score, unlock
// announcements, and retry or back.
#ifndef SCORE_H
#define SCORE_H

#include "objects.h"

void ScoreBoxLogic(GameObject* box, GameData* data, float dt);
void ComboBackLogic(GameObject* back, GameData* data, float dt);
void UnlockWatcherLogic(GameObject* watcher, GameData* data, float dt);
// The game-over controller and the select message: builds the screen once
// per run, then reads retry and back.
void GameOverHudLogic(GameObject* hud, GameData* data, float dt);
void GameOverTitleLogic(GameObject* title, GameData* data, float dt);
void ScoreBoardLogic(GameObject* board, GameData* data, float dt);
void BoardDigitLogic(GameObject* digit, GameData* data, float dt);
void TryNewLogic(GameObject* message, GameData* data, float dt);

// Each adds one screen-space digit right after anchor.
void AddBoardDigit(GameData* data, GameObject* anchor, int digit);
void AddComboDigit(GameData* data, GameObject* anchor, int value);
void AddComboDigitShadow(GameData* data, GameObject* anchor, int value);

// Forgets the running-score display's shown value and refresh timer, as a
// fresh program start has them.
void ScoreResetDisplay(void);

#endif
