// pause.cpp -- the pause menu's items and cursor.
#include "pause.h"

#include "frontend/menu.h"
#include "menuinput.h"
#include "states.h"
#include "vtstatemanager.h"

static void Size(GameObject* o, float width, float height)
{
    o->transform->scaleX = width;
    o->transform->scaleY = height;
}

void PauseItemLogic(GameObject* item, GameData* data, float)
{
    float W = data->screenWidth, H = data->screenHeight;
    if (!(data->paused == 1 && data->gameOver == 0)) {
        Size(item, 0.0f, 0.0f);
        return;
    }
    if (item->type == &PauseDimType)
        Size(item, W, H);
    else if (item->type == &PauseResumeType)
        Size(item, W / 2.0f, W / 4.0f);
    else
        Size(item, W / 4.0f, W / 8.0f);
}

void PauseCursorLogic(GameObject* cursor, GameData* data, float)
{
    float W = data->screenWidth, H = data->screenHeight;
    if (data->paused == 0) {
        Size(cursor, 0.0f, 0.0f);
        return;
    }
    Transform* t = cursor->transform;
    switch (data->menuIndex) {
    case 1:
        t->x = W / 2.0f;
        t->y = 11.0f * H / 16.0f;
        Size(cursor, W / 2.0f, W / 8.0f);
        if (MenuReadConfirm() == MENU_CONFIRM)
            data->paused = 0;
        break;
    case 2:
        t->x = W / 2.0f;
        t->y = 9.0f * H / 16.0f;
        Size(cursor, W / 4.0f, W / 8.0f);
        if (MenuReadConfirm() == MENU_CONFIRM) {
            AddLoadingCover(cursor, data);
            VTSMSetNextState(STATE_MENU);
        }
        break;
    case 3:
        t->x = W / 2.0f;
        t->y = 7.0f * H / 16.0f;
        Size(cursor, W / 4.0f, W / 8.0f);
        if (MenuReadConfirm() == MENU_CONFIRM)
            VTSMQuit(1);
        break;
    default:
        break;
    }
}
