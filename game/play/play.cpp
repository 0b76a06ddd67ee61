// play.cpp -- the play state.
#include "play.h"

#include <stdio.h>

#include "collision.h"
#include "blackhole.h"
#include "fuel.h"
#include "menuinput.h"
#include "platform/vtfiles.h"
#include "recordshud.h"
#include "savedfiles.h"
#include "ship.h"
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

static const PlacementRow pauseRows[] = {
    {&BackgroundTileType, 0, 0.0f, 0.0f, 200.0f, 200.0f},
    {&PauseResumeType, PLACE_SCREEN | PLACE_TIMER, OfW(1, 2), OfH(11, 16), OfW(1, 2), OfW(1, 4), 0.0f, 1},
    {&PauseMenuType, PLACE_SCREEN | PLACE_TIMER, OfW(1, 2), OfH(9, 16), OfW(1, 4), OfW(1, 8), 0.0f, 2},
    {&PauseQuitType, PLACE_SCREEN | PLACE_TIMER, OfW(1, 2), OfH(7, 16), OfW(1, 4), OfW(1, 8), 0.0f, 3},
    {&PauseCursorType, PLACE_SCREEN | PLACE_TIMER, OfW(1, 2), OfH(1, 2), 100.0f, 100.0f},
    {&PauseDimType, PLACE_SCREEN | PLACE_APPEARANCE, OfW(1, 2), OfH(1, 2), OfW(1), OfH(1), 0.0f, 0, 100.0f, 0x000000},
    {&ComboBackType, PLACE_SCREEN | PLACE_TIMER | PLACE_APPEARANCE, OfW(0.9f), OfH(1, 2), OfW(0.2f), OfH(0.2f)},
};

static const PlacementRow hudRows[] = {
    {&GameOverHudType, PLACE_SCREEN | PLACE_TIMER, OfW(1, 2), OfH(1, 2), 0.0f, 0.0f},
    {&ScoreBoxType, PLACE_SCREEN | PLACE_TIMER, OfW(1, 2), OfH(1, 2), 0.0f, 0.0f},
    {&LevelBoxType, PLACE_SCREEN | PLACE_HIDDEN, OfW(1, 2), OfH(1, 2), 0.0f, 0.0f}, // placed by its logic
    {&UnlockWatcherType, PLACE_SCREEN | PLACE_TIMER, OfW(1, 2), OfH(1, 2), 0.0f, 0.0f},
    {&BlackHoleWarningType, PLACE_SCREEN | PLACE_TIMER | PLACE_APPEARANCE, OfW(1, 2), OfW(1, 8), OfW(1), OfW(1, 4),
     0.0f, 0, 255.0f, 0xFFFFFF, 2.0f},
    {&FireType, PLACE_APPEARANCE, 0.0f, 0.0f, 10.0f, 10.0f, FLIGHT_Z},
    {&ShieldType, PLACE_TIMER | PLACE_APPEARANCE, 0.0f, 0.0f, 40.0f, 40.0f, FLIGHT_Z, 0, 0.0f},
};

static const PlacementRow ship3CoverRow = {&Ship3CoverType, PLACE_TIMER | PLACE_APPEARANCE, 0.0f, 0.0f, 50.0f, 50.0f,
                                           FLIGHT_Z};
static const PlacementRow homeEarthRow = {&HomeEarthType, PLACE_TIMER, 0.0f, -500.0f, 2000.0f, 2000.0f, PLANET_Z};
static const PlacementRow blackHoleRow = {&BlackHoleType, PLACE_TIMER, 0.0f, 0.0f, OfW(1), 1000.0f, 20.0f, 0,
                                          255.0f, 0xFFFFFF, 0.0f, -500.0f};

static void BuildWorld(GameData* data)
{
    PlaceRows(&playList, pauseRows, data);
    AddFuelGauge(&playList, data, data->fuel);
    PlaceRows(&playList, hudRows, data);
    if (data->shipType == 3)
        PlaceRow(&playList, &ship3CoverRow, data);
    AddShip(&playList, data);
    AddSpawnerTrio(&playList, &SatelliteSpawnerType, 150.0f);
    AddSpawnerTrio(&playList, &AsteroidSpawnerType, 150.0f);
    AddSpawnerTrio(&playList, &FuelSpawnerType, 100.0f);
    AddSpawner(&playList, &Ship1TrailEmitterType, 0, 0.0f);
    AddSpawnerTrio(&playList, &FarSatelliteSpawnerType, 100.0f);
    AddSpawnerTrio(&playList, &FarAsteroidSpawnerType, 100.0f);
    AddSpawner(&playList, &PlanetSpawnerType, 0, 200.0f);
    PlaceRow(&playList, &homeEarthRow, data)->visible = data->level == 1;
    PlaceRow(&playList, &blackHoleRow, data);
    GameObject* warpFront = AddWarpStreak(&playList, &WarpFrontType, 0.0f, 0.0f, data);
    warpFront->visible = 0;
    AddTimer(warpFront);
    AddSpawnerTrio(&playList, &ClusterSpawnerType, 500.0f);
    AddSpawnerTrio(&playList, &NebulaSpawnerType, 100.0f);
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
    VTGraphicsSetCamera(0.0f, 0.0f, CRUISE_HEIGHT, 0.0f);
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
    if (data->fuel >= FULL_FUEL)
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
