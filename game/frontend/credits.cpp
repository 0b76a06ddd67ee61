// credits.cpp -- the credits state. Owns creditList.
#include "credits.h"

#include <stddef.h>

#include "menu.h"
#include "play/background.h"
#include "screens.h"
#include "states.h"
#include "vtapplication.h"
#include "vtgraphics.h"

GameObject* creditList;

ObjectType CreditImageType;

static const ScreenType creditTypes[] = {
    {&DummyType, "Graphic_Assets\\test.tga", NULL},
    {&BackButtonType, "Graphic_Assets\\Message\\BackButton.tga", BackButtonLogic},
    {&CreditImageType, "Graphic_Assets\\Message\\CreditImage.tga", CreditImageLogic},
    {&BackgroundTileType, "Graphic_Assets\\Background\\background.tga", BackgroundTileLogic},
    {&StaticBackgroundType, "Graphic_Assets\\Background\\background.tga", NULL},
    {&BlackScreenType, "Graphic_Assets\\black.tga", NULL},
    {&LoadingScreenType, "Graphic_Assets\\Menu\\Loading.tga", NULL},
};
static const int creditTypeCount = (int)(sizeof creditTypes / sizeof creditTypes[0]);

void CreditLoad(GameData*)
{
    LoadScreenTypes(creditTypes, creditTypeCount);
}

void CreditInit(GameData* data)
{
    GameDataResetSession(data);
    data->stateTimer = 0.0f;
    float W = data->screenWidth;
    float H = data->screenHeight;
    AddScreenObject(&creditList, &DummyType, 0.0f, 0.0f, 0.0f, 0.0f);
    // Never drawn: it only listens for escape and pad back.
    GameObject* back = AddScreenObject(&creditList, &BackButtonType, 0.0f, 0.0f, 10.0f, 10.0f);
    back->visible = 0;
    AddTimer(back);
    // Starts with a little more than its upper half on screen.
    AddScreenObject(&creditList, &CreditImageType, W / 2.0f, H / 30.0f, 4.0f * W / 5.0f, H);
    AddBackgroundTiler(&creditList);
}

void CreditUpdate(GameData* data, float dt)
{
    data->stateTimer += dt;
    if (data->stateTimer > 13.0f)
        VTSMSetNextState(STATE_MENU);
    VTGraphicsStartDraw();
    VTApplicationShowCursor(0);
    WalkScreenObjects(creditList, data, dt);
    VTGraphicsEndDraw();
}

void CreditShutdown(GameData*)
{
    FreeObjectList(&creditList);
}

void CreditUnload(GameData*)
{
    UnloadScreenTypes(creditTypes, creditTypeCount);
}

void CreditImageLogic(GameObject* image, GameData*, float dt)
{
    image->transform->y += dt * 70.0f;
}
