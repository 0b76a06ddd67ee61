// tutorial.h -- the guided first flight: ship 1 through a fixed asteroid
// field toward a moon, talk panels explaining each control and a marker to
// fly into. Hits and straying put the ship back to the current step's
// checkpoint, an empty tank starts it over, and the last panel hands over
// to a real run.
#ifndef TUTORIAL_H
#define TUTORIAL_H

#include "objects.h"

extern GameObject* tutorialList;

// The play types and the tutorial's own panels (Unload is PlayUnload).
void TutorialLoad(GameData* data);
void TutorialInit(GameData* data);
void TutorialUpdate(GameData* data, float dt);
void TutorialShutdown(GameData* data);

// The panel number when panel's condition is met this frame, else 0.
int TutorialPanelDone(GameData data, int panel);
// The one panel object, its type switched from panel to panel.
void TalkPanelLogic(GameObject* panel, GameData* data, float dt);
// The waypoint marker the ship flies into.
void QuestLogic(GameObject* marker, GameData* data, float dt);

#endif
