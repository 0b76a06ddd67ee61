// play.cpp -- the play state.
#include "play.h"

#include <stdio.h>

#include "collision.h"
#include "menuinput.h"
#include "platform/vtfiles.h"
#include "recordshud.h"
#include "savedfiles.h"
#include "soundbank.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtmath.h"
#include "vtstatemanager.h"

GameObject* playList;

void PlayLoad(GameData* data)
{
    LoadPlayObjectTypes(data);
    LoadRecordsHudTypes();
}

void PlayUnload(GameData* data)
{
    UnloadPlayObjectTypes(data);
    UnloadRecordsHudTypes();
}

// Adds a node behind the list head (or the head itself) with a transform.
static GameObject* Place(ObjectType* kind, int screen, float x, float y, float width, float height)
{
    GameObject* o = AddPlacedObject(&playList, kind, x, y, width, height);
    o->screenSpace = screen;
    return o;
}

// An invisible spawner: a timer, no transform.
static void Spawner(ObjectType* kind, int number, float time)
{
    AddObject(&playList);
    GameObject* o = playList->next;
    o->type = kind;
    o->visible = 0;
    AddTimer(o);
    o->timer->number = number;
    o->timer->time = time;
}

// Three spawners of one kind: right, left, ahead.
static void SpawnerTrio(ObjectType* kind, float time)
{
    Spawner(kind, 1, time);
    Spawner(kind, 2, time);
    Spawner(kind, 0, time);
}

static void AddShip(GameData* data)
{
    ObjectType* kind = &Ship1Type;
    float width = 16.0f, height = 8.0f;
    if (data->shipType == 2) {
        kind = &Ship2Type;
        width = 24.0f;
        height = 12.0f;
    } else if (data->shipType == 3) {
        kind = &Ship3Type;
        width = height = 50.0f;
    }
    GameObject* ship = Place(kind, 0, 0.0f, 0.0f, width, height);
    ship->transform->z = 50.0f;
    ship->transform->rotation = VT_HALF_PI;
    AddTimer(ship);
    AddObjectState(ship);
    ship->state->power = 100.0f;
    ship->state->angle = VT_HALF_PI;
    ship->state->baseScaleX = width;
    ship->state->baseScaleY = height;
}

static void BuildWorld(GameData* data)
{
    float w = data->screenWidth;
    float h = data->screenHeight;
    GameObject* o;

    o = Place(&BackgroundTileType, 0, 0.0f, 0.0f, 200.0f, 200.0f);
    o = Place(&PauseResumeType, 1, w / 2, 11 * h / 16, w / 2, w / 4);
    AddTimer(o);
    o->timer->number = 1;
    o = Place(&PauseMenuType, 1, w / 2, 9 * h / 16, w / 4, w / 8);
    AddTimer(o);
    o->timer->number = 2;
    o = Place(&PauseQuitType, 1, w / 2, 7 * h / 16, w / 4, w / 8);
    AddTimer(o);
    o->timer->number = 3;
    o = Place(&PauseCursorType, 1, w / 2, h / 2, 100.0f, 100.0f);
    AddTimer(o);
    o = Place(&PauseDimType, 1, w / 2, h / 2, w, h);
    AddAppearance(o);
    o->appearance->alpha = 100.0f;
    o->appearance->red = o->appearance->green = o->appearance->blue = 0;
    o = Place(&ComboBackType, 1, 0.9f * w, h / 2, 0.2f * w, 0.2f * h);
    AddTimer(o);
    AddAppearance(o);
    // The gauge hangs at the top: the trailing camera keeps the ship in the
    // lower part of the view.
    o = Place(&FuelGaugeFullType, 1, w / 2, 0.95f * h, 285.0f * data->fuel / 100.0f, 24.0f);
    AddTimer(o);
    o->timer->number = 285;
    AddAppearance(o);
    o->appearance->alpha = 0.0f;
    AddObjectState(o);
    o->state->angle = w / 2; // the bar's anchor
    o = Place(&FuelGaugeEmptyType, 1, w / 2, 0.95f * h, 300.0f, 40.0f);
    AddTimer(o);
    AddAppearance(o);
    o->appearance->alpha = 0.0f;
    o = Place(&GameOverHudType, 1, w / 2, h / 2, 0.0f, 0.0f);
    AddTimer(o);
    o = Place(&ScoreBoxType, 1, w / 2, h / 2, 0.0f, 0.0f);
    AddTimer(o);
    o = Place(&LevelBoxType, 1, w / 2, h / 2, 0.0f, 0.0f); // placed by its logic
    o->visible = 0;
    o = Place(&UnlockWatcherType, 1, w / 2, h / 2, 0.0f, 0.0f);
    AddTimer(o);
    o = Place(&BlackHoleWarningType, 1, w / 2, w / 8, w, w / 4);
    AddTimer(o);
    o->timer->stage = 2.0f;
    AddAppearance(o);
    o = Place(&FireType, 0, 0.0f, 0.0f, 10.0f, 10.0f);
    o->transform->z = 50.0f;
    AddAppearance(o);
    o = Place(&ShieldType, 0, 0.0f, 0.0f, 40.0f, 40.0f);
    o->transform->z = 50.0f;
    AddTimer(o);
    AddAppearance(o);
    o->appearance->alpha = 0.0f;
    if (data->shipType == 3) {
        o = Place(&Ship3CoverType, 0, 0.0f, 0.0f, 50.0f, 50.0f);
        o->transform->z = 50.0f;
        AddTimer(o);
        AddAppearance(o);
    }
    AddShip(data);
    SpawnerTrio(&SatelliteSpawnerType, 150.0f);
    SpawnerTrio(&AsteroidSpawnerType, 150.0f);
    SpawnerTrio(&FuelSpawnerType, 100.0f);
    AddObject(&playList);
    playList->next->type = &Ship1TrailEmitterType;
    playList->next->visible = 0;
    AddTimer(playList->next);
    SpawnerTrio(&FarSatelliteSpawnerType, 100.0f);
    SpawnerTrio(&FarAsteroidSpawnerType, 100.0f);
    Spawner(&PlanetSpawnerType, 0, 200.0f);
    o = Place(&HomeEarthType, 0, 0.0f, -500.0f, 2000.0f, 2000.0f);
    o->transform->z = 30.0f;
    o->visible = data->level == 1;
    AddTimer(o);
    o = Place(&BlackHoleType, 0, 0.0f, 0.0f, w, 1000.0f);
    o->transform->z = 20.0f;
    AddTimer(o);
    o->timer->time = -500.0f;
    float viewWidth = VTGraphicsGetWorldTopRight().x - VTGraphicsGetWorldTopLeft().x;
    o = Place(&WarpFrontType, 0, 0.0f, 0.0f, viewWidth + 200.0f, h);
    o->visible = 0;
    o->transform->z = 15.0f;
    AddTimer(o);
    AddAppearance(o);
    o->appearance->alpha = 150.0f;
    SpawnerTrio(&ClusterSpawnerType, 500.0f);
    SpawnerTrio(&NebulaSpawnerType, 100.0f);
}

void PlayInit(GameData* data)
{
    GameDataResetSession(data);
    // Level 1 is always a new run, however the last one was left (the pause
    // menu keeps the record's score, practice chords work after death): it
    // starts from nothing. Later levels carry the score on.
    if (data->level == 1) {
        data->score = 0.0f;
        data->combo = 0;
        data->scoreMultiplier = 1;
    }
    VTGraphicsSetCamera(0.0f, 0.0f, 200.0f, 0.0f);
    data->stateTimer = 0.0f;
    BuildWorld(data);
    if (data->soundOn == 1) {
        SoundBankInit();
        SoundPlay(MainSoundSystem, GameMusicSound, &EffectChannel);
    }
    LoadUnlockShipFile(data);
}

void ApplyCheatKeys(GameData* data)
{
    if (VTInputIsTriggered(VT_KEY_1) && VTInputIsTriggered(VT_KEY_2))
        data->combo *= 2;
    if (VTInputIsPressed(VT_KEY_3) && VTInputIsPressed(VT_KEY_4))
        data->warpOpen = 1;
    if (VTInputIsTriggered(VT_KEY_5) && VTInputIsTriggered(VT_KEY_6))
        data->score += 10000.0f;
}

void RunCollisionResponses(GameObject* n, GameObject** head, GameData* data, float dt)
{
    CollideBullet(n, head, data);
    unsigned traits = n->type->traits;
    if (traits & KIND_SHIP)
        CollideShip(n->type, n, head, data, dt);
    if (traits & KIND_BREAKABLE)
        CollideObstacle(n->type, n, head, data, dt);
    if (traits & KIND_FAR)
        CollideFarObstacle(n->type, n, head, data);
}

// Tiles are culled against a window-sized rectangle around the view centre,
// pixels taken as world units.
void CullBackgroundTile(GameObject* n, const VTVec2* centre, const GameData* data)
{
    GameObject* s = n->next;
    if (!s || s->type != &StaticBackgroundType || !s->transform)
        return;
    VTVec2 tile = {s->transform->x, s->transform->y};
    if (!VTRectRectCollision(&tile, s->transform->scaleX, s->transform->scaleY, centre, data->screenWidth,
                             data->screenHeight))
        DeleteSuccessor(n, s);
}

void PlayUpdate(GameData* data, float dt)
{
    if (VTInputIsTriggered(VT_KEY_ESCAPE) || VTInputIsTriggered(VT_KEY_TAB) || VTInputIsTriggered(VT_KEY_PAD_BACK)) {
        data->menuIndex = 1;
        data->paused = data->paused == 0 ? 1 : 0;
    } else if (VTInputWasInterrupted() && data->paused == 0) {
        // Focus lost or the controller unplugged: pause as ESC would.
        data->menuIndex = 1;
        data->paused = 1;
    }
    if (VTInputIsTriggered(VT_KEY_F4))
        VTSMQuit(1);
    float step = data->paused == 1 ? 0.0f : dt;
    ApplyCheatKeys(data);
    if (VTInputIsPressed(VT_KEY_7) && VTInputIsPressed(VT_KEY_8))
        ResetSavedFiles();
    VTVec2 centre = {data->focusX, data->focusY};

    VTGraphicsStartDraw();
    VTApplicationShowCursor(0);
    if (data->paused == 1)
        MenuNavigate(data, 3);

    for (GameObject* n = playList; n; n = n->next) {
        if (data->gameOverPending == 1 && IsShipKind(n->type) && n->visible == 0) {
            GameDataSaveOnGameOver(data);
            data->gameOverPending = 0;
        }
        CullBackgroundTile(n, &centre, data);
        RemoveDeadSuccessor(n);
        n->type->logic(n, data, step);
        DrawObject(*n);
        // Rebuilt every frame by the score and combo displays.
        if (n->type == &ScoreDigitType || n->type == &ComboXType || n->type == &ComboDigitType)
            n->visible = 0;
        if (n->visible) {
            if (n->state) {
                n->state->pushX = 0.0f;
                n->state->pushY = 0.0f;
            }
            RunCollisionResponses(n, &playList, data, step);
        }
    }
    if (data->fuel >= 100.0f)
        data->warpOpen = 1;
    VTGraphicsEndDraw();
}

void PlayShutdown(GameData* data)
{
    if (data->level == 0) {
        data->scoreMultiplier = 1;
        data->combo = 0;
        data->level = 1;
    }
    SoundBankRelease();
    FreeObjectList(&playList);
    SaveUnlockShipFile(data);
}
