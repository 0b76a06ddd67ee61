// options.h -- the options screen (STATE_OPTION): full screen, sound and
// resolution, each a label with its value. Full screen applies at once; a
// sound or resolution change restarts the state so the music and layout
// follow. Every Shutdown writes Data\Option.txt.
#ifndef OPTIONS_H
#define OPTIONS_H

#include "objects.h"

// The screen's list head; null outside the state.
extern GameObject* optionList;

extern ObjectType OptionCursorType, OptionTutorialType, OptionTutorial2Type, OptionTitleType;
extern ObjectType FullscreenLabelType, SoundLabelType, ResolutionLabelType;
extern ObjectType FullscreenOnType, FullscreenOffType, SoundOnType, SoundOffType;
extern ObjectType ResolutionHDType, ResolutionFHDType, ResolutionSDType, OptionShipType;

void OptionLoad(GameData* data);
// Builds the value objects from the record; starts the music when sound is on.
// Rows ignore up and down for the first 15 frames.
void OptionInit(GameData* data);
void OptionUpdate(GameData* data, float dt);
// Releases the menu sound, frees the list, then writes the option file.
void OptionShutdown(GameData* data);
void OptionUnload(GameData* data);

// The full-screen row's change: fullScreen flips (any value but 1 counts as
// off) and the display follows at once.
void ToggleFullScreenOption(GameData* data);
// F11 and Alt+Enter on any screen (VTApplicationSetFullScreenKeyHandler):
// the row's change on the state manager's record, saved to Option.txt at once.
void FullScreenKeyPressed(void);

void OptionCursorLogic(GameObject* cursor, GameData* data, float dt);
// The value objects keep their row in timer->number and a stick latch in
// timer->flag: a stick held to the side changes a value once.
void FullscreenToggleLogic(GameObject* value, GameData* data, float dt);
void SoundToggleLogic(GameObject* value, GameData* data, float dt);
// Right / forward: SD -> HD -> FHD -> SD; left: the other way.
void ResolutionCycleLogic(GameObject* value, GameData* data, float dt);

#endif
