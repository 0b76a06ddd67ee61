// tutorial.cpp -- the tutorial play state and its dialogue.
#include "tutorial.h"

#include "collision.h"
#include "play/fuel.h"
#include "play/play.h"
#include "play/recordshud.h"
#include "play/ship.h"
#include "savedfiles.h"
#include "soundbank.h"
#include "states.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtmath.h"
#include "vtstatemanager.h"

GameObject* tutorialList;


// --- the world ---------------------------------------------------------------------

static void AddAsteroid(ObjectType* kind, float minPower, float maxPower, float x, float y)
{
    GameObject* o = AddPlacedObject(&tutorialList, kind, x, y, 10.0f, 10.0f);
    o->transform->z = FLIGHT_Z;
    AddObjectState(o);
    o->state->power = VTRandomFloat(minPower, maxPower);
    float size = o->state->power * 0.2f;
    o->transform->scaleX = o->transform->scaleY = size;
    o->state->baseScaleX = o->state->baseScaleY = size;
    o->transform->rotation = VTDegreeToRadian(VTRandomFloat(0.0f, 360.0f));
    o->state->angle = VTDegreeToRadian(VTRandomFloat(250.0f, 290.0f));
    AddAppearance(o);
    o->appearance->red = (unsigned char)VTRandomInt(205, 215);
    o->appearance->green = (unsigned char)VTRandomInt(190, 210);
    o->appearance->blue = (unsigned char)VTRandomInt(190, 195);
    AddTimer(o);
}

static void BuildField(void)
{
    for (int i = 0; i < 8; i++) {
        float fi = (float)i;
        switch (i % 3) {
        case 0:
            AddAsteroid(&Asteroid1Type, 50.0f, 100.0f, 40.0f * fi, 750.0f - 10.0f * fi);
            break;
        case 1:
            AddAsteroid(&Asteroid1Type, 50.0f, 200.0f, 30.0f * fi, 750.0f + 10.0f * fi);
            break;
        default:
            AddAsteroid(&Asteroid3Type, 80.0f, 100.0f, -40.0f * fi, 750.0f + 10.0f * fi);
            break;
        }
    }
    for (int j = 0; j < 8; j++) {
        float fj = (float)j;
        if (j % 3 == 2)
            AddAsteroid(&Asteroid3Type, 100.0f, 250.0f, -30.0f * fj, 1150.0f + 10.0f * fj);
        else
            AddAsteroid(&Asteroid1Type, 50.0f, 200.0f, 30.0f * fj, 1150.0f + 10.0f * fj);
    }
}

void TutorialLoad(GameData* data)
{
    // PlayUnload releases what PlayLoad loads, and the tutorial's panels.
    LoadTutorialObjectTypes(data);
    LoadRecordsHudTypes();
}

static const PlacementRow panelRows[] = {
    {&BackgroundTileType, 0, 0.0f, 0.0f, 200.0f, 200.0f},
    {&Talk1Type, 0, 0.0f, 0.0f, 10.0f, 10.0f},
    {&Talk8PlusType, PLACE_SCREEN, OfW(1, 3), OfH(3, 7), 400.0f, 200.0f},
};
static const PlacementRow shipRows[] = {
    {&FireType, PLACE_APPEARANCE, 0.0f, 0.0f, 10.0f, 10.0f, FLIGHT_Z},
    {&ShieldType, PLACE_TIMER | PLACE_APPEARANCE, 0.0f, 0.0f, 40.0f, 40.0f, FLIGHT_Z},
};
static const PlacementRow questRow = {&QuestType, PLACE_TIMER | PLACE_APPEARANCE, 0.0f, 300.0f, 50.0f, 50.0f, FLIGHT_Z};
static const PlacementRow moonRow = {&MoonType, PLACE_TIMER | PLACE_APPEARANCE | PLACE_STATE, 100.0f, 2276.0f, 63.0f,
                                     63.0f, PLANET_Z, 0, 255.0f, 0xB9B9AA};

void TutorialInit(GameData* data)
{
    GameDataResetSession(data);
    VTGraphicsSetCamera(0.0f, 0.0f, CRUISE_HEIGHT, 0.0f);
    data->shipType = 1; // the tutorial always flies ship 1

    PlaceRows(&tutorialList, panelRows, data);
    AddFuelGauge(&tutorialList, data, FULL_FUEL); // whatever the fuel
    PlaceRows(&tutorialList, shipRows, data);
    AddShip(&tutorialList, data);
    AddSpawnerTrio(&tutorialList, &FuelSpawnerType, 100.0f);
    PlaceRow(&tutorialList, &questRow, data);
    BuildField();
    PlaceRow(&tutorialList, &moonRow, data)->state->power = 3150.0f;
    AddSpawner(&tutorialList, &Ship1TrailEmitterType, 0, 0.0f);

    if (data->soundOn == 1) {
        SoundBankInit();
        SoundPlay(MainSoundSystem, GameMusicSound, &EffectChannel);
    }
    LoadUnlockShipFile(data);
    data->level = -1;
    data->blackHoleDistance = 1000.0f; // no black hole here
}

void TutorialShutdown(GameData* data)
{
    SaveTutorialFile(data);
    SoundBankRelease();
    FreeObjectList(&tutorialList);
}

// --- the frame ------------------------------------------------------------------------

// Where the ship goes back to after a hit or straying, by step.
static VTVec2 Checkpoint(int step)
{
    static const VTVec2 points[] = {{0, 0}, {0, 300}, {100, 550}, {0, 950}, {0, 1250}, {0, 1850}};
    VTVec2 origin = {0.0f, 0.0f};
    return step >= 2 && step <= 7 ? points[step - 2] : origin;
}

static void PutShipAt(GameObject* ship, float x, float y)
{
    ship->transform->x = x;
    ship->transform->y = y;
    ship->state->accelX = ship->state->accelY = 0.0f;
    ship->state->velX = ship->state->velY = 0.0f;
    ship->state->angle = VT_HALF_PI;
    ship->transform->rotation = VT_HALF_PI;
}

static void KeepShipInSection(GameObject* ship, GameData* data, float sectionWidth)
{
    VTVec2 checkpoint = Checkpoint(data->tutorialStep);
    if (data->shipHit == 1)
        PutShipAt(ship, checkpoint.x, checkpoint.y);
    VTVec2 centre = {ship->transform->x, ship->transform->y};
    if (data->tutorialStep < 8 &&
        !VTCircleRectCollision(&centre, ship->transform->scaleX * 0.5f, &checkpoint, sectionWidth - 200.0f, 1300.0f))
        PutShipAt(ship, checkpoint.x, checkpoint.y);
}

static void TutorialCollisions(GameObject* n, GameData* data, float dt)
{
    CollideBullet(n, &tutorialList, data);
    CollideShip(&Ship1Type, n, &tutorialList, data, dt);
    CollideObstacle(&Asteroid1Type, n, &tutorialList, data, dt);
    CollideObstacle(&Asteroid3Type, n, &tutorialList, data, dt);
    CollideFarObstacle(&Asteroid2Type, n, &tutorialList, data);
}

void TutorialUpdate(GameData* data, float dt)
{
    if (VTInputIsTriggered(VT_KEY_ESCAPE) || VTInputIsTriggered(VT_KEY_TAB) || VTInputIsTriggered(VT_KEY_PAD_BACK)) {
        data->menuIndex = 1;
        data->paused = data->paused == 0 ? 1 : 0;
    }
    if (VTInputIsTriggered(VT_KEY_F4))
        VTSMQuit(1);
    float step = data->paused == 1 ? 0.0f : dt;
    if (VTInputIsTriggered(VT_KEY_R) && data->level == 0)
        VTSMRestartState(1);
    if (VTInputIsPressed(VT_KEY_Z) || VTInputIsTriggered(VT_KEY_X))
        data->tutorialStep = 11;
    if (data->fuel <= 0.0f)
        VTSMRestartState(1);
    VTVec2 centre = {data->focusX, data->focusY};
    float viewWidth = VTGraphicsGetWorldTopRight().x - VTGraphicsGetWorldTopLeft().x;

    VTGraphicsStartDraw();
    VTApplicationShowCursor(0);
    for (GameObject* n = tutorialList; n; n = n->next) {
        if (n->type == &Ship1Type && n->visible == 0)
            GameDataSaveOnGameOver(data);
        CullBackgroundTile(n, &centre, data);
        RemoveDeadSuccessor(n);
        n->type->logic(n, data, step);
        if (n->state) {
            n->state->pushX = 0.0f;
            n->state->pushY = 0.0f;
        }
        // From step 5 on the gauge is always shown.
        if (data->tutorialStep >= 5 && (n->type == &FuelGaugeFullType || n->type == &FuelGaugeEmptyType))
            n->visible = 1;
        if (n->visible)
            TutorialCollisions(n, data, step);
        if (data->tutorialSwallowed == 1) {
            if (n->type == &Ship1Type) {
                n->visible = 1;
                PutShipAt(n, 0.0f, 1850.0f);
            }
            data->tutorialSwallowed = 0;
        }
        if (n->type == &Ship1Type)
            KeepShipInSection(n, data, viewWidth);
        if (n->type == &Talk8PlusType)
            n->visible = data->tutorialStep == 7;
        // Drawn after its collisions, unlike in play.
        DrawObject(*n);
    }
    if (data->fuel >= FULL_FUEL)
        data->warpOpen = 1;
    VTGraphicsEndDraw();
}

// --- the dialogue ----------------------------------------------------------------------

static ObjectType* const panelTypes[] = {&Talk1Type, &Talk2Type, &Talk3Type, &Talk4Type, &Talk5Type, &Talk6Type,
                                         &Talk7Type, &Talk8Type, &Talk9Type, &Talk10Type, &Talk11Type};

static int PanelNumber(const ObjectType* type)
{
    for (int i = 0; i < (int)(sizeof panelTypes / sizeof panelTypes[0]); i++)
        if (panelTypes[i] == type)
            return i + 1;
    return 0;
}

int TutorialPanelDone(GameData data, int panel)
{
    int done = 0;
    switch (panel) {
    case 1:
    case 2:
    case 9:
        done = VTInputIsTriggered(VT_KEY_PAD_A) || VTInputIsTriggered(VT_KEY_SPACE);
        break;
    case 10:
        done = VTInputIsTriggered(VT_KEY_CONTROL) || VTInputIsTriggered(VT_KEY_PAD_B) ||
               VTInputIsTriggered(VT_KEY_PAD_X) || RightTriggerPulled();
        break;
    case 11:
        done = VTInputIsTriggered(VT_KEY_R) || VTInputIsTriggered(VT_KEY_PAD_START);
        break;
    default:
        done = panel >= 3 && panel <= 8 && data.tutorialStep == panel;
        break;
    }
    return done ? panel : 0;
}

void TalkPanelLogic(GameObject* panel, GameData* data, float dt)
{
    panel->screenSpace = 1;
    data->tutorialTimer += dt;
    // A fixed size, whatever the window.
    panel->transform->x = data->screenWidth / 2.0f;
    panel->transform->y = 5.0f * data->screenHeight / 7.0f;
    panel->transform->scaleX = 800.0f;
    panel->transform->scaleY = 200.0f;

    int number = PanelNumber(panel->type);
    float minimum = number <= 2 ? 1.5f : 1.1f;
    if (number > 0 && data->tutorialTimer > minimum && TutorialPanelDone(*data, number) == number) {
        data->tutorialTimer = 0.0f;
        if (number == 2)
            data->tutorialStep = 2;
        else if (number == 9)
            data->tutorialStep = 9;
        else if (number == 10)
            data->tutorialStep = 10;
        if (number == 11) {
            data->tutorialStep = 11;
            panel->visible = 0;
        } else {
            panel->type = panelTypes[number];
        }
    }
    if (data->tutorialStep == 11) {
        data->tutorialPending = 0;
        data->level = 1;
        VTSMSetNextState(STATE_PLAY);
    }
}

void QuestLogic(GameObject* marker, GameData* data, float dt)
{
    Transform* t = marker->transform;
    t->rotation += dt;
    VTVec2 ship = {data->focusX, data->shipY};
    VTVec2 centre = {t->x, t->y};
    if (!VTPointCircleCollision(&ship, &centre, t->scaleX / 2.0f))
        return;
    switch (data->tutorialStep) {
    case 2:
        t->x += 100.0f;
        t->y += 250.0f;
        data->tutorialStep = 3;
        break;
    case 3:
        t->x -= 100.0f;
        t->y += 400.0f;
        data->tutorialStep = 4;
        break;
    case 4:
        t->y += 300.0f;
        data->tutorialStep = 5;
        break;
    case 5:
        t->y += 600.0f;
        data->tutorialStep = 6;
        break;
    case 6:
        t->y += 450.0f;
        t->x = 30.0f;
        data->tutorialStep = 7;
        break;
    case 7:
        marker->visible = 0;
        data->tutorialStep = 8;
        break;
    default:
        break;
    }
}
