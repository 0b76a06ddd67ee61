// screens.h -- what the screens outside play share: their type tables,
// building their object lists, and the per-frame walk.
#ifndef SCREENS_H
#define SCREENS_H

#include "objects.h"

// One row of a screen's type table: Load sets the type from it, Unload
// releases its texture. A null logic means the kind does nothing.
typedef struct ScreenType
{
    ObjectType* type;
    const char* image;
    ObjectLogic logic;
} ScreenType;

// In table order.
void LoadScreenTypes(const ScreenType* table, int count);
void UnloadScreenTypes(const ScreenType* table, int count);

// The world-space tiler that lays the background under the whole view.
GameObject* AddBackgroundTiler(GameObject** head);

// Each object from the head: its logic, then its draw. An object inserted
// behind the current one is reached in the same frame.
void WalkScreenObjects(GameObject* head, GameData* data, float dt);

// Holding 7 and 8 together rewrites the saved files, every frame they stay held.
void ResetSavedFilesOnChord(void);

#endif
