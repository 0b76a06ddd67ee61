// recordspanel.h -- ship select's records panel: the best score and the ten
// best runs (score, level, date) of the ship on display, in the game's digits
// on a glass panel left of the board, clear of the ship, its description and
// the arrows. Owns the table read at the screen's Init.
#ifndef RECORDSPANEL_H
#define RECORDSPANEL_H

#include "objects.h"

extern ObjectType RecordsPanelType, RecordDigitType, RecordDashType;

// The panel's place on a W x H screen in pixels: centre x, centre y, width, height.
void RecordsPanelRect(float W, float H, float rect[4]);
// Reads Data\Scores.txt and adds the panel directly behind the list's head.
GameObject* AddRecordsPanel(GameObject** head, GameData* data);
// Rebuilds the numbers behind the panel whenever shipType changes.
void RecordsPanelLogic(GameObject* panel, GameData* data, float dt);

#endif
