// screens.cpp -- type tables, list building and the walk of the screens
// outside play.
#include "screens.h"

#include <stddef.h>

#include "play/background.h"
#include "savedfiles.h"
#include "vtinput.h"
#include "vttextureloading.h"

void LoadScreenTypes(const ScreenType* table, int count)
{
    for (int i = 0; i < count; i++) {
        table[i].type->texture = VTGraphicsLoadTexture(table[i].image);
        table[i].type->logic = table[i].logic ? table[i].logic : EmptyLogic;
    }
}

void UnloadScreenTypes(const ScreenType* table, int count)
{
    for (int i = 0; i < count; i++)
        VTGraphicsUnloadTexture(table[i].type->texture);
}

GameObject* AddBackgroundTiler(GameObject** head)
{
    GameObject* tiler = AddScreenObject(head, &BackgroundTileType, 0.0f, 0.0f, 50.0f, 50.0f);
    tiler->screenSpace = 0;
    return tiler;
}

void WalkScreenObjects(GameObject* head, GameData* data, float dt)
{
    for (GameObject* object = head; object; object = object->next) {
        object->type->logic(object, data, dt);
        DrawObject(*object);
    }
}

void ResetSavedFilesOnChord(void)
{
    if (VTInputIsPressed(VT_KEY_7) && VTInputIsPressed(VT_KEY_8))
        ResetSavedFiles();
}
