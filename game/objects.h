// objects.h -- everything on screen is a GameObject: a node of a singly
// linked list owned by one state, with up to four records and the type that
// gives its texture and its per-frame logic. The kind of an object is the
// identity of its ObjectType variable: code compares `type` with the
// addresses of the type variables below.
#ifndef OBJECTS_H
#define OBJECTS_H

#include "gamedata.h"

struct GameObject;
typedef void (*ObjectLogic)(struct GameObject* object, GameData* data, float dt);

// What the play code asks of a kind; each play kind's row in the type table
// (objects.cpp) says which hold.
enum
{
    KIND_REMOVABLE = 1 << 0,      // leaves the list once dead (invisible)
    KIND_BREAKABLE = 1 << 1,      // bounces, breaks and costs the ship fuel
    KIND_FAR = 1 << 2,            // drifts behind the play: bullets only
    KIND_PLANET = 1 << 3,         // pulls and swallows
    KIND_SHIP = 1 << 4,           // the player's ship (not its warp copy)
    KIND_REDUCED_RADIUS = 1 << 5, // not round: collides at 80 per cent
    KIND_BACKDROP = 1 << 6,       // decoration the black hole leaves whole
    KIND_TUTORIAL_ONLY = 1 << 7,  // drawn only in the tutorial, loaded for it
    KIND_NOT_IN_PLAY = 1 << 8,    // never put in play's worlds: its picture stays on disk
};

typedef struct ObjectType
{
    unsigned texture; // texture id, or VT_TEXTURE_NONE when its image failed
    ObjectLogic logic;
    unsigned traits;          // KIND_ bits; none for the front end's kinds
    struct ObjectType* debris; // what it sheds while the black hole is near
} ObjectType;

// Placement: world units, or pixels from the window's bottom-left for screen
// objects. The scale is both the drawn size and the collision size.
typedef struct Transform
{
    float x;
    float y;
    float scaleX;
    float scaleY;
    float z;
    float rotation; // radians, counter-clockwise
} Transform;

typedef struct Timer
{
    int number;  // small per-kind integer
    float time;  // countdown, interval or fade rate
    float stage; // per-kind phase
    int flag;    // obstacles: 1 = passes through every hit and feels no wind
} Timer;

// The colour bytes are stored red, blue, green: code sets them by name.
typedef struct Appearance
{
    float texScaleU;
    float texScaleV;
    float texOffsetU;
    float texOffsetV;
    float alpha; // 0..255; drawn as the low 8 bits of its integer part
    unsigned char red;
    unsigned char blue;
    unsigned char green;
} Appearance;

// Twenty-two words; the shared ones are named, the rest belong to each kind.
typedef struct ObjectState
{
    float power; // mass in a bounce; a planet's pull
    float angle; // thrust heading, radians
    float thrustX;
    float thrustY;
    float accelX;
    float accelY;
    float velX; // world units per second
    float velY;
    float pushX; // this frame's push from planets and wind, used next frame
    float pushY;
    float forceX; // what this planet or wind exerts on the object being tested
    float forceY;
    float baseScaleX; // unshrunk size
    float baseScaleY;
    float spin;         // radians per second
    float scratch[5];   // words 15-19: per kind
    int noSpeedLimit;   // 1 = ApplyAcceleration leaves the velocity alone
    float scratch21;    // word 21: per kind
} ObjectState;

typedef struct GameObject
{
    Transform* transform;   // none: never drawn
    Timer* timer;
    Appearance* appearance; // none: full texture, opaque white
    ObjectState* state;
    int visible;            // 0: hidden, and dead for the removable kinds
    int screenSpace;        // 1: pixels under the orthographic projection
    struct GameObject* next;
    ObjectType* type;       // never null
} GameObject;

// A node with no records, visible, world space, of DummyType.
GameObject* NewObject(void);
// Null anchor: stores a new node there (a list's head). Otherwise inserts a
// new node directly after the anchor node; the caller fills (*anchor)->next.
void AddObject(GameObject** anchor);
// AddObject with the node's kind and a transform placed at (x, y) with that
// size; returns the new node (the head when *anchor was null).
GameObject* AddPlacedObject(GameObject** anchor, ObjectType* kind, float x, float y, float width, float height);
// An invisible object with a timer and no transform (a spawner or emitter),
// directly after the anchor.
void AddSpawner(GameObject** anchor, ObjectType* kind, int number, float time);
// Three of one kind, by Timer number: right (1), left (2), ahead (0).
void AddSpawnerTrio(GameObject** anchor, ObjectType* kind, float time);

// Depths: the ship with everything it can touch, and the planets below.
static const float FLIGHT_Z = 50.0f;
static const float PLANET_Z = 30.0f;

// A length or position in a placement row: num * (the window's width or
// height) / den + add, computed in that order; a plain number is a constant.
typedef struct Measure
{
    float num, den, add;
    int ofHeight;
    constexpr Measure(float constant) : num(0.0f), den(1.0f), add(constant), ofHeight(0) {}
    constexpr Measure(float n, float d, float a, int h) : num(n), den(d), add(a), ofHeight(h) {}
} Measure;
constexpr Measure OfW(float num, float den = 1.0f, float add = 0.0f) { return Measure(num, den, add, 0); }
constexpr Measure OfH(float num, float den = 1.0f, float add = 0.0f) { return Measure(num, den, add, 1); }

// What a placement row gives its object besides the transform.
enum
{
    PLACE_SCREEN = 1 << 0, // pixels, not world units
    PLACE_HIDDEN = 1 << 1,
    PLACE_TIMER = 1 << 2,
    PLACE_APPEARANCE = 1 << 3,
    PLACE_STATE = 1 << 4,
};

// One object of a world as it starts. Timer values need PLACE_TIMER; alpha
// and colour (0xRRGGBB) need PLACE_APPEARANCE.
typedef struct PlacementRow
{
    ObjectType* kind;
    unsigned parts; // PLACE_ bits
    Measure x, y, width, height;
    float z = 0.0f;
    int number = 0;
    float alpha = 255.0f;
    unsigned colour = 0xFFFFFF;
    float stage = 0.0f;
    float time = 0.0f;
} PlacementRow;

// Places one row directly after the anchor, as AddPlacedObject does, in the
// window the game record gives; returns the new object.
GameObject* PlaceRow(GameObject** anchor, const PlacementRow* row, const GameData* data);
// Places a table's rows in order.
template <int N> void PlaceRows(GameObject** anchor, const PlacementRow (&rows)[N], const GameData* data)
{
    for (const PlacementRow& row : rows)
        PlaceRow(anchor, &row, data);
}

// A null head gets the new object as the list's head; otherwise the object
// goes directly behind the head. Screen space, with a Transform at (x, y)
// of the given size. Returns the new object.
GameObject* AddScreenObject(GameObject** head, ObjectType* type, float x, float y, float width, float height);
// A screen-space object with an appearance, directly after the anchor.
GameObject* AddScreenPicture(GameObject* anchor, ObjectType* kind, float x, float y, float width, float height);
// A screen picture of one digit of a strip of ten side by side (the kind's
// texture), each DIGIT_ASPECT times as high as wide.
GameObject* AddDigitPicture(GameObject* anchor, ObjectType* kind, int digit, float x, float y, float width,
                            float height);
static const float DIGIT_ASPECT = 2.6f;

// Each allocates its record with the defaults and stores it in the node.
void AddTransform(GameObject* object);
void AddTimer(GameObject* object);
void AddAppearance(GameObject* object);
void AddObjectState(GameObject* object);
// Unlinks victim (previous's successor) and frees it with its records.
void DeleteSuccessor(GameObject* previous, GameObject* victim);
// Removes the successor when it is dead (invisible) and of a removable kind.
void RemoveDeadSuccessor(GameObject* object);
// Frees every node of a list and its records; *head becomes null.
void FreeObjectList(GameObject** head);
// Draws one object with its projection, texture window and colour.
void DrawObject(GameObject object);
// Integrates accelX/Y into the velocity, clamped unless noSpeedLimit.
void ApplyAcceleration(GameObject* object, GameData* data, float dt);

// The logic of kinds that do nothing by themselves.
void EmptyLogic(GameObject* object, GameData* data, float dt);

// The Load and Unload of the play and tutorial states. Play leaves out the
// tutorial's talk and quest panels; the tutorial loads every play type.
void LoadPlayObjectTypes(GameData* data);
void LoadTutorialObjectTypes(GameData* data);
void UnloadPlayObjectTypes(GameData* data);
// The play types in load order, with their images (for tools and tests).
int PlayObjectTypeCount(void);
ObjectType* PlayObjectType(int index);
const char* PlayObjectTypeImage(int index);

// The play object types.
extern ObjectType DummyType, StaticBackgroundType, QuitButtonType, BackgroundTileType;
extern ObjectType Ship1Type, Ship1WarpType, Ship2Type, Ship2WarpType, Ship3Type, Ship3WarpType, Ship3CoverType;
extern ObjectType Nebula1Type, Nebula2Type, Nebula3Type, Nebula4Type, Cluster1Type, Cluster2Type;
extern ObjectType EarthType, HomeEarthType, MoonType, MarsType, UranusType;
extern ObjectType Asteroid1Type, Asteroid2Type, Asteroid3Type;
extern ObjectType SatelliteType, SatellitePart1Type, SatellitePart2Type, SatellitePart3Type;
extern ObjectType AsteroidSpawnerType, SatelliteSpawnerType, FuelPickupType, FuelSpawnerType;
extern ObjectType FuelGaugeFullType, FuelGaugeEmptyType, FuelIndicatorType;
extern ObjectType NebulaSpawnerType, ClusterSpawnerType, PlanetSpawnerType, BlackHoleType;
extern ObjectType Ship1TrailEmitterType, Ship1AfterimageType, BlackScreenType, LoadingScreenType, ScoreBoxType;
extern ObjectType FireType, ShieldType, PlanetWarningType, BoomType, CollideFlashType;
extern ObjectType Asteroid1DebrisType, Asteroid2DebrisType, Asteroid3DebrisType, PlanetDebrisType;
extern ObjectType SatelliteDebrisType, SatellitePart1DebrisType, SatellitePart2DebrisType, SatellitePart3DebrisType;
extern ObjectType BulletType, WindType;
extern ObjectType Talk1Type, Talk2Type, Talk3Type, Talk4Type, Talk5Type, Talk6Type, Talk7Type, Talk8Type;
extern ObjectType Talk8PlusType, Talk9Type, Talk10Type, Talk11Type, QuestType;
extern ObjectType FarAsteroidSpawnerType, FarSatelliteSpawnerType, WarpType, WarpFrontType, BlackHoleWarningType;
extern ObjectType ComboBackType, ComboXType, ComboPopupType, GameOverTitleType, ScoreBoardType, UnlockBoardType;
extern ObjectType TryNewType, SelectMessageType, GameOverHudType, UnlockWatcherType;
extern ObjectType UnlockedShip2Type, UnlockedShip3Type, ScoreDigitType, BoardDigitType, ComboDigitType;
extern ObjectType PauseMenuType, PauseQuitType, PauseResumeType, SpareScoreBoxType, PauseCursorType, PauseDimType;

#endif
