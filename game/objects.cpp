// objects.cpp -- object lists, their records, drawing, acceleration, and the
// play object types with their images.
#include "objects.h"

#include <math.h>
#include <stdlib.h>
#include <time.h>

#include "frontend/menu.h"
#include "play/background.h"
#include "play/blackhole.h"
#include "play/fuel.h"
#include "play/obstacles.h"
#include "play/pause.h"
#include "play/score.h"
#include "play/tutorial.h"
#include "play/ship.h"
#include "vtgraphics.h"
#include "vtdebug.h"
#include "vttextureloading.h"

ObjectType DummyType, StaticBackgroundType, QuitButtonType, BackgroundTileType, Ship1Type, Ship1WarpType,
    Ship2Type, Ship2WarpType, Ship3Type, Ship3WarpType, Ship3CoverType, Nebula1Type, Nebula2Type, Nebula3Type,
    Nebula4Type, Cluster1Type, Cluster2Type, EarthType, HomeEarthType, MoonType, MarsType, UranusType,
    Asteroid1Type, Asteroid2Type, Asteroid3Type, SatelliteType, SatellitePart1Type, SatellitePart2Type,
    SatellitePart3Type, AsteroidSpawnerType, SatelliteSpawnerType, FuelPickupType, FuelSpawnerType,
    FuelGaugeFullType, FuelGaugeEmptyType, FuelIndicatorType, NebulaSpawnerType, ClusterSpawnerType,
    PlanetSpawnerType, BlackHoleType, Ship1TrailEmitterType, Ship1AfterimageType, BlackScreenType,
    LoadingScreenType, ScoreBoxType, FireType, ShieldType, PlanetWarningType, BoomType, CollideFlashType,
    Asteroid1DebrisType, Asteroid2DebrisType, Asteroid3DebrisType, PlanetDebrisType, SatelliteDebrisType,
    SatellitePart1DebrisType, SatellitePart2DebrisType, SatellitePart3DebrisType, BulletType, WindType,
    Talk1Type, Talk2Type, Talk3Type, Talk4Type, Talk5Type, Talk6Type, Talk7Type, Talk8Type, Talk8PlusType,
    Talk9Type, Talk10Type, Talk11Type, QuestType, FarAsteroidSpawnerType, FarSatelliteSpawnerType, WarpType,
    WarpFrontType, BlackHoleWarningType, ComboBackType, ComboXType, ComboPopupType, GameOverTitleType,
    ScoreBoardType, UnlockBoardType, TryNewType, SelectMessageType, GameOverHudType, UnlockWatcherType,
    UnlockedShip2Type, UnlockedShip3Type, ScoreDigitType, BoardDigitType, ComboDigitType, PauseMenuType,
    PauseQuitType, PauseResumeType, SpareScoreBoxType, PauseCursorType, PauseDimType;

void EmptyLogic(GameObject*, GameData*, float) {}

typedef struct PlayTypeEntry
{
    ObjectType* type;
    const char* image;
    ObjectLogic logic;
    unsigned traits = 0;        // KIND_ bits
    ObjectType* debris = NULL;  // what it sheds while the black hole is near
} PlayTypeEntry;

// Load order. Kinds whose behaviour lives elsewhere get their logic here.
static const PlayTypeEntry playTypes[] = {
    {&DummyType, "Graphic_Assets\\test.tga", EmptyLogic, KIND_REMOVABLE},
    {&StaticBackgroundType, "Graphic_Assets\\Background\\background.tga", EmptyLogic},
    {&QuitButtonType, "Graphic_Assets\\Message\\QuitButtonS.tga", QuitButtonLogic, KIND_NOT_IN_PLAY}, // the menu's button
    {&BackgroundTileType, "Graphic_Assets\\Background\\background.tga", BackgroundTileLogic},
    {&Ship1Type, "Graphic_Assets\\SpaceShip\\ship1.tga", ShipLogic, KIND_SHIP},
    {&Ship1WarpType, "Graphic_Assets\\SpaceShip\\ship1.tga", ShipWarpLogic},
    {&Ship2Type, "Graphic_Assets\\SpaceShip\\ship2.tga", ShipLogic, KIND_SHIP},
    {&Ship2WarpType, "Graphic_Assets\\SpaceShip\\ship2.tga", ShipWarpLogic},
    {&Ship3Type, "Graphic_Assets\\SpaceShip\\ship3back.tga", ShipLogic, KIND_SHIP},
    {&Ship3WarpType, "Graphic_Assets\\SpaceShip\\ship3back.tga", ShipWarpLogic},
    {&Ship3CoverType, "Graphic_Assets\\SpaceShip\\ship3.tga", Ship3CoverLogic},
    {&Nebula1Type, "Graphic_Assets\\Background\\nebula.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_BACKDROP},
    {&Nebula2Type, "Graphic_Assets\\Background\\nebula2.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_BACKDROP},
    {&Nebula3Type, "Graphic_Assets\\Background\\nebula3.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_BACKDROP},
    {&Nebula4Type, "Graphic_Assets\\Background\\nebula4.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_NOT_IN_PLAY},
    {&Cluster1Type, "Graphic_Assets\\Background\\cluster1.tga", DriftingObstacleLogic, KIND_BACKDROP},
    {&Cluster2Type, "Graphic_Assets\\Background\\cluster2.tga", DriftingObstacleLogic, KIND_BACKDROP},
    {&EarthType, "Graphic_Assets\\Obstacle\\earth.tga", PlanetLogic, KIND_REMOVABLE | KIND_PLANET},
    {&HomeEarthType, "Graphic_Assets\\Obstacle\\earth.tga", EmptyLogic},
    {&MoonType, "Graphic_Assets\\Obstacle\\moon.tga", PlanetLogic, KIND_REMOVABLE | KIND_PLANET},
    {&MarsType, "Graphic_Assets\\Obstacle\\mar.tga", PlanetLogic, KIND_REMOVABLE | KIND_PLANET},
    {&UranusType, "Graphic_Assets\\Obstacle\\uranus.tga", PlanetLogic, KIND_REMOVABLE | KIND_PLANET},
    {&Asteroid1Type, "Graphic_Assets\\Obstacle\\astroid1.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_BREAKABLE, &Asteroid1DebrisType},
    {&Asteroid2Type, "Graphic_Assets\\Obstacle\\astroid2.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_FAR, &Asteroid2DebrisType},
    {&Asteroid3Type, "Graphic_Assets\\Obstacle\\astroid3.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_BREAKABLE, &Asteroid3DebrisType},
    {&SatelliteType, "Graphic_Assets\\Obstacle\\satelite.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_BREAKABLE | KIND_REDUCED_RADIUS, &SatelliteDebrisType},
    {&SatellitePart1Type, "Graphic_Assets\\Obstacle\\satelite_parts1.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_BREAKABLE | KIND_REDUCED_RADIUS, &SatellitePart1DebrisType},
    {&SatellitePart2Type, "Graphic_Assets\\Obstacle\\satelite_parts2.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_FAR, &SatellitePart2DebrisType},
    {&SatellitePart3Type, "Graphic_Assets\\Obstacle\\satelite_parts3.tga", DriftingObstacleLogic, KIND_REMOVABLE | KIND_BREAKABLE | KIND_REDUCED_RADIUS, &SatellitePart3DebrisType},
    {&AsteroidSpawnerType, "Graphic_Assets\\test.tga", AsteroidSpawnerLogic},
    {&SatelliteSpawnerType, "Graphic_Assets\\test.tga", SatelliteSpawnerLogic},
    {&FuelPickupType, "Graphic_Assets\\Obstacle\\fuel.tga", FuelPickupLogic, KIND_REMOVABLE},
    {&FuelSpawnerType, "Graphic_Assets\\test.tga", FuelSpawnerLogic},
    {&FuelGaugeFullType, "Graphic_Assets\\SpaceShip\\fuelfull.tga", FuelGaugeLogic},
    {&FuelGaugeEmptyType, "Graphic_Assets\\SpaceShip\\fuelempty.tga", FuelGaugeFrameLogic},
    {&FuelIndicatorType, "Graphic_Assets\\Particle\\fuelindicator.tga", FadeParticleLogic},
    {&NebulaSpawnerType, "Graphic_Assets\\test.tga", NebulaSpawnerLogic},
    {&ClusterSpawnerType, "Graphic_Assets\\test.tga", ClusterSpawnerLogic},
    {&PlanetSpawnerType, "Graphic_Assets\\test.tga", PlanetSpawnerLogic},
    {&BlackHoleType, "Graphic_Assets\\Background\\blackhole.tga", BlackHoleLogic},
    {&Ship1TrailEmitterType, "Graphic_Assets\\test.tga", Ship1TrailEmitterLogic},
    {&Ship1AfterimageType, "Graphic_Assets\\SpaceShip\\ship1af.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&BlackScreenType, "Graphic_Assets\\black.tga", EmptyLogic},
    {&LoadingScreenType, "Graphic_Assets\\Menu\\Loading.tga", EmptyLogic},
    {&ScoreBoxType, "Graphic_Assets\\ScoreBox.tga", ScoreBoxLogic},
    {&FireType, "Graphic_Assets\\SpaceShip\\fire.tga", FireLogic},
    {&ShieldType, "Graphic_Assets\\SpaceShip\\shield.tga", ShieldLogic},
    {&PlanetWarningType, "Graphic_Assets\\Obstacle\\warning.tga", PlanetWarningLogic, KIND_REMOVABLE},
    {&BoomType, "Graphic_Assets\\Particle\\boom.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&CollideFlashType, "Graphic_Assets\\Particle\\collide.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&Asteroid1DebrisType, "Graphic_Assets\\Particle\\astroid1af.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&Asteroid2DebrisType, "Graphic_Assets\\Particle\\astroid2af.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&Asteroid3DebrisType, "Graphic_Assets\\Particle\\astroid3af.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&PlanetDebrisType, "Graphic_Assets\\Particle\\planetaf.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&SatelliteDebrisType, "Graphic_Assets\\Particle\\sateliteaf.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&SatellitePart1DebrisType, "Graphic_Assets\\Particle\\satelite_parts1af.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&SatellitePart2DebrisType, "Graphic_Assets\\Particle\\satelite_parts2af.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&SatellitePart3DebrisType, "Graphic_Assets\\Particle\\satelite_parts3af.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&BulletType, "Graphic_Assets\\SpaceShip\\bullet.tga", BulletLogic, KIND_REMOVABLE},
    {&WindType, "Graphic_Assets\\SpaceShip\\wind.tga", WindLogic, KIND_REMOVABLE},
    {&Talk1Type, "Graphic_Assets\\Message\\talk1.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk2Type, "Graphic_Assets\\Message\\talk2.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk3Type, "Graphic_Assets\\Message\\talk3.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk4Type, "Graphic_Assets\\Message\\talk4.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk5Type, "Graphic_Assets\\Message\\talk5.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk6Type, "Graphic_Assets\\Message\\talk6.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk7Type, "Graphic_Assets\\Message\\talk7.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk8Type, "Graphic_Assets\\Message\\talk8.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk8PlusType, "Graphic_Assets\\Message\\talk8+.tga", EmptyLogic, KIND_TUTORIAL_ONLY},
    {&Talk9Type, "Graphic_Assets\\Message\\talk9.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk10Type, "Graphic_Assets\\Message\\talk10.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&Talk11Type, "Graphic_Assets\\Message\\talk11.tga", TalkPanelLogic, KIND_TUTORIAL_ONLY},
    {&QuestType, "Graphic_Assets\\Background\\quest.tga", QuestLogic, KIND_TUTORIAL_ONLY},
    {&FarAsteroidSpawnerType, "Graphic_Assets\\test.tga", FarAsteroidSpawnerLogic},
    {&FarSatelliteSpawnerType, "Graphic_Assets\\test.tga", FarSatelliteSpawnerLogic},
    {&WarpType, "Graphic_Assets\\Background\\warp.tga", WarpLogic},
    {&WarpFrontType, "Graphic_Assets\\Background\\warpfront.tga", WarpLogic},
    {&BlackHoleWarningType, "Graphic_Assets\\Background\\warningBH.tga", BlackHoleWarningLogic},
    {&ComboBackType, "Graphic_Assets\\Background\\ComboBack.tga", ComboBackLogic},
    {&ComboXType, "Graphic_Assets\\Background\\X.tga", EmptyLogic, KIND_REMOVABLE},
    {&ComboPopupType, "Graphic_Assets\\Message\\combo1.tga", FadeParticleLogic, KIND_REMOVABLE},
    {&GameOverTitleType, "Graphic_Assets\\Message\\gameovertitle.tga", GameOverTitleLogic},
    {&ScoreBoardType, "Graphic_Assets\\Menu\\scoreboard.tga", ScoreBoardLogic},
    {&UnlockBoardType, "Graphic_Assets\\Menu\\unlockboard.tga", EmptyLogic},
    {&TryNewType, "Graphic_Assets\\Message\\trynew1.tga", TryNewLogic},
    {&SelectMessageType, "Graphic_Assets\\Message\\select.tga", GameOverHudLogic},
    {&GameOverHudType, "Graphic_Assets\\Menu\\HUDgameover.tga", GameOverHudLogic},
    {&UnlockWatcherType, "Graphic_Assets\\ScoreBox.tga", UnlockWatcherLogic},
    {&UnlockedShip2Type, "Graphic_Assets\\SpaceShip\\ship2.tga", EmptyLogic},
    {&UnlockedShip3Type, "Graphic_Assets\\SpaceShip\\ultimateship3.tga", EmptyLogic},
    {&ScoreDigitType, "Graphic_Assets\\Message\\dials.tga", EmptyLogic, KIND_REMOVABLE},
    {&BoardDigitType, "Graphic_Assets\\Message\\dials.tga", BoardDigitLogic},
    {&ComboDigitType, "Graphic_Assets\\Message\\dials.tga", EmptyLogic, KIND_REMOVABLE},
    {&PauseMenuType, "Graphic_Assets\\Message\\pauseMenu.tga", PauseItemLogic},
    {&PauseQuitType, "Graphic_Assets\\Message\\pauseQuit.tga", PauseItemLogic},
    {&PauseResumeType, "Graphic_Assets\\Message\\pauseResume.tga", PauseItemLogic},
    {&SpareScoreBoxType, "Graphic_Assets\\ScoreBox.tga", EmptyLogic},
    {&PauseCursorType, "Graphic_Assets\\Menu\\selectbutton.tga", PauseCursorLogic},
    {&PauseDimType, "Graphic_Assets\\black.tga", PauseItemLogic},
};

#define PLAY_TYPE_COUNT ((int)(sizeof playTypes / sizeof playTypes[0]))

// The rows' traits belong to the kinds from the start, loaded or not.
static int TakeTraits(void)
{
    for (const PlayTypeEntry& row : playTypes) {
        row.type->traits = row.traits;
        row.type->debris = row.debris;
    }
    return 1;
}
static const int traitsTaken = TakeTraits();

int PlayObjectTypeCount(void)
{
    return PLAY_TYPE_COUNT;
}

ObjectType* PlayObjectType(int index)
{
    return playTypes[index].type;
}

const char* PlayObjectTypeImage(int index)
{
    return playTypes[index].image;
}

static int tutorialLoaded;

static int Drawn(const PlayTypeEntry& row, int inTutorial)
{
    return !(row.traits & KIND_NOT_IN_PLAY) && (inTutorial || !(row.traits & KIND_TUTORIAL_ONLY));
}

static void LoadTypes(int withTutorial)
{
    srand((unsigned)time(NULL));
    tutorialLoaded = withTutorial;
    for (int i = 0; i < PLAY_TYPE_COUNT; i++) {
        int wanted = Drawn(playTypes[i], withTutorial);
        playTypes[i].type->texture = wanted ? VTGraphicsLoadTexture(playTypes[i].image) : VT_TEXTURE_NONE;
        playTypes[i].type->logic = playTypes[i].logic;
    }
}

void LoadPlayObjectTypes(GameData*)
{
    LoadTypes(0);
}

void LoadTutorialObjectTypes(GameData*)
{
    LoadTypes(1);
}

void UnloadPlayObjectTypes(GameData*)
{
    // Every load is unloaded, also of a picture another kind shares.
    for (int i = 0; i < PLAY_TYPE_COUNT; i++)
        if (Drawn(playTypes[i], tutorialLoaded))
            VTGraphicsUnloadTexture(playTypes[i].type->texture);
}

// --- nodes and records ---------------------------------------------------------------

GameObject* NewObject(void)
{
    GameObject* object = (GameObject*)VT_ALLOCATE(sizeof *object);
    object->transform = NULL;
    object->timer = NULL;
    object->appearance = NULL;
    object->state = NULL;
    object->visible = 1;
    object->screenSpace = 0;
    object->next = NULL;
    object->type = &DummyType;
    return object;
}

void AddObject(GameObject** anchor)
{
    GameObject* object = NewObject();
    if (*anchor == NULL) {
        *anchor = object;
    } else {
        object->next = (*anchor)->next;
        (*anchor)->next = object;
    }
}

// AddObject, returning the new node with its kind.
static GameObject* AddKind(GameObject** anchor, ObjectType* kind)
{
    GameObject* before = *anchor;
    AddObject(anchor);
    GameObject* object = before ? before->next : *anchor;
    object->type = kind;
    return object;
}

GameObject* AddPlacedObject(GameObject** anchor, ObjectType* kind, float x, float y, float width, float height)
{
    GameObject* object = AddKind(anchor, kind);
    AddTransform(object);
    object->transform->x = x;
    object->transform->y = y;
    object->transform->scaleX = width;
    object->transform->scaleY = height;
    return object;
}

void AddSpawner(GameObject** anchor, ObjectType* kind, int number, float time)
{
    GameObject* o = AddKind(anchor, kind);
    o->visible = 0;
    AddTimer(o);
    o->timer->number = number;
    o->timer->time = time;
}

void AddSpawnerTrio(GameObject** anchor, ObjectType* kind, float time)
{
    AddSpawner(anchor, kind, 1, time);
    AddSpawner(anchor, kind, 2, time);
    AddSpawner(anchor, kind, 0, time);
}

static float Measured(Measure m, const GameData* data)
{
    float size = m.ofHeight ? data->screenHeight : data->screenWidth;
    return m.num * size / m.den + m.add;
}

GameObject* PlaceRow(GameObject** anchor, const PlacementRow* row, const GameData* data)
{
    GameObject* o = AddPlacedObject(anchor, row->kind, Measured(row->x, data), Measured(row->y, data),
                                    Measured(row->width, data), Measured(row->height, data));
    o->screenSpace = (row->parts & PLACE_SCREEN) != 0;
    o->visible = !(row->parts & PLACE_HIDDEN);
    o->transform->z = row->z;
    if (row->parts & PLACE_TIMER) {
        AddTimer(o);
        o->timer->number = row->number;
        o->timer->stage = row->stage;
        o->timer->time = row->time;
    }
    if (row->parts & PLACE_APPEARANCE) {
        AddAppearance(o);
        o->appearance->alpha = row->alpha;
        o->appearance->red = (unsigned char)(row->colour >> 16);
        o->appearance->green = (unsigned char)(row->colour >> 8);
        o->appearance->blue = (unsigned char)row->colour;
    }
    if (row->parts & PLACE_STATE)
        AddObjectState(o);
    return o;
}

GameObject* AddScreenObject(GameObject** head, ObjectType* type, float x, float y, float width, float height)
{
    GameObject* object = AddPlacedObject(head, type, x, y, width, height);
    object->screenSpace = 1;
    return object;
}

GameObject* AddScreenPicture(GameObject* anchor, ObjectType* kind, float x, float y, float width, float height)
{
    GameObject* o = AddScreenObject(&anchor, kind, x, y, width, height);
    AddAppearance(o);
    return o;
}

GameObject* AddDigitPicture(GameObject* anchor, ObjectType* kind, int digit, float x, float y, float width,
                            float height)
{
    GameObject* o = AddScreenPicture(anchor, kind, x, y, width, height);
    o->appearance->texScaleU = 0.1f;
    o->appearance->texOffsetU = (float)digit * 0.1f;
    return o;
}

void AddTransform(GameObject* object)
{
    Transform* t = (Transform*)VT_ALLOCATE(sizeof *t);
    t->x = 0.0f;
    t->y = 0.0f;
    t->scaleX = 10.0f;
    t->scaleY = 10.0f;
    t->z = 0.0f;
    t->rotation = 0.0f;
    object->transform = t;
}

void AddTimer(GameObject* object)
{
    object->timer = (Timer*)VT_ALLOCATE(sizeof(Timer));
}

void AddAppearance(GameObject* object)
{
    Appearance* a = (Appearance*)VT_ALLOCATE(sizeof *a);
    a->texScaleU = 1.0f;
    a->texScaleV = 1.0f;
    a->texOffsetU = 0.0f;
    a->texOffsetV = 0.0f;
    a->alpha = 255.0f;
    a->red = 255;
    a->blue = 255;
    a->green = 255;
    object->appearance = a;
}

void AddObjectState(GameObject* object)
{
    object->state = (ObjectState*)VT_ALLOCATE(sizeof(ObjectState));
}

static void FreeObject(GameObject* object)
{
    free(object->transform);
    free(object->timer);
    free(object->appearance);
    free(object->state);
    free(object);
}

void DeleteSuccessor(GameObject* previous, GameObject* victim)
{
    previous->next = victim->next;
    FreeObject(victim);
}

void RemoveDeadSuccessor(GameObject* object)
{
    GameObject* successor = object->next;
    if (successor && successor->visible == 0 && (successor->type->traits & KIND_REMOVABLE))
        DeleteSuccessor(object, successor);
}

void FreeObjectList(GameObject** head)
{
    GameObject* object = *head;
    while (object) {
        GameObject* next = object->next;
        FreeObject(object);
        object = next;
    }
    *head = NULL;
}

// --- drawing and motion ---------------------------------------------------------------

// Only the low 8 bits of the alpha's integer part count (300 draws as 44).
// Values no integer can hold draw as 0 rather than overflow the conversion.
static unsigned char AlphaByte(float alpha)
{
    if (!(alpha > -2147483648.0f && alpha < 2147483648.0f))
        return 0;
    return (unsigned char)((long)alpha & 0xFF);
}

void DrawObject(GameObject object)
{
    if (object.transform == NULL || object.visible == 0)
        return;
    // A fully transparent picture changes no pixel, yet costs the rasterizer
    // its whole area: faded HUD pieces and covers span much of the screen.
    const Appearance* a = object.appearance;
    unsigned char alpha = a ? AlphaByte(a->alpha) : 255;
    if (alpha == 0)
        return;
    if (object.screenSpace == 1)
        VTGraphicsSetToOrtho();
    else
        VTGraphicsSetToPerspective();
    VTGraphicsSetTexture(object.type->texture);
    if (a) {
        VTGraphicsSetTextureCoords(a->texScaleU, a->texScaleV, 0.0f, a->texOffsetU, a->texOffsetV);
        VTGraphicsSetColor(a->red, a->green, a->blue, alpha);
    } else {
        VTGraphicsSetTextureCoords(1.0f, 1.0f, 0.0f, 0.0f, 0.0f);
        VTGraphicsSetColor(255, 255, 255, 255);
    }
    const Transform* t = object.transform;
    VTMatrix4 matrix;
    VTMatrixTransform(&matrix, t->scaleX, t->scaleY, t->rotation, t->x, t->y, t->z);
    VTGraphicsDraw(&matrix);
}

void ApplyAcceleration(GameObject* object, GameData* data, float dt)
{
    ObjectState* s = object->state;
    s->velX += s->accelX * dt * 0.5f;
    s->velY += s->accelY * dt * 0.5f;
    if (s->noSpeedLimit != 0)
        return;
    // Ship 2 is the fast one: its limit is the float just above 120.
    float limit = data->shipType == 2 ? 120.00001f : 100.0f;
    if (s->velX > limit)
        s->velX = limit;
    if (s->velX < -limit)
        s->velX = -limit;
    if (s->velY > limit)
        s->velY = limit;
    if (s->velY < -limit)
        s->velY = -limit;
}
