// savedfiles.h -- the four small text files under Data\ that outlive the
// program: last score, options, tutorial flag and ship unlocks. Each holds a
// few characters with no line break. A missing file leaves the record alone;
// a write that fails is skipped silently and leaves the old file whole.
#ifndef SAVEDFILES_H
#define SAVEDFILES_H

#include "gamedata.h"

// tutorialPending from Data\Tutorial.txt: '0' -> 0, anything else -> 1.
void LoadTutorialFile(GameData* data);
// fullScreen, soundOn, resolution from the three characters of Data\Option.txt.
// A field whose character is missing keeps its value.
void LoadOptionFile(GameData* data);
// Up to two characters of Data\UnlockShip.txt copied unchanged into
// unlockedShips; a one-character file leaves the second byte NUL.
void LoadUnlockShipFile(GameData* data);

// Data\Option.txt: '1'/'0', '1'/'0', then '0', '2' or '1' for any other resolution.
void SaveOptionFile(GameData* data);
// Data\Tutorial.txt: '1' when tutorialPending is nonzero, else '0'.
void SaveTutorialFile(GameData* data);
// Terminates unlockedShips after two characters (even if the write fails),
// then writes them to Data\UnlockShip.txt.
void SaveUnlockShipFile(GameData* data);
// Data\Score.txt: lastScore truncated toward zero in decimal; empty when it is
// not strictly between -1,000,000,000 and 1,000,000,000.
void SaveScoreFile(GameData* data);

// End of a run: score file, unlock file, then level 0, gameOver 1 and
// score += scoreMultiplier x combo; the run then enters the records
// (Scores.txt, records.h).
void GameDataSaveOnGameOver(GameData* data);

// Fresh-install contents: Option.txt "111", UnlockShip.txt "00",
// Tutorial.txt "1". The record is not touched; Score.txt and the records in
// Scores.txt are kept.
void ResetSavedFiles(void);

#endif
