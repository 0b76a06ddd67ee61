// scenes.cpp -- the play and menu states run in-process on a started engine,
// each frame as the state manager runs it (input, messages, Update) but with
// a fixed 1/60 s step, so every scene is the same however fast the machine.
// Scripted keys go through the window messages, as the platform sends them.
#include <GL/gl.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "bench.h"
#include "frontend/menu.h"
#include "gamedata.h"
#include "play/play.h"
#include "scenes.h"
#include "states.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtstatemanager.h"

static const float STEP = 1.0f / 60.0f;
static const int LAUNCH_FRAMES = 120; // the 2 s climb before the player steers

enum { VK_CONTROL = 17, VK_UP = 38 };

const SceneSetup playScenes[] = {
    {"level 1 cruise", 1, 1, 600, 0, 0, 0},
    {"level 3 field, 60 s", 3, 1, 3600, 0, 0, 0},
    {"ship 2 firing", 3, 2, 3600, 20, 0, 0},
    {"ship 3 wind", 3, 3, 3600, 75, 0, 0},
    {"black hole < 100", 3, 1, 3600, 0, 1, 0},
    {"synthetic 250", 1, 1, 300, 0, 0, 250},
    {"synthetic 500", 1, 1, 300, 0, 0, 500},
    {"synthetic 1000", 1, 1, 300, 0, 0, 1000},
    {"synthetic 2000", 1, 1, 300, 0, 0, 2000},
};
const int playSceneCount = (int)(sizeof playScenes / sizeof playScenes[0]);

int SceneWanted(const BenchPlan* plan, const SceneSetup* setup)
{
    return !plan->scene || strstr(setup->name, plan->scene) != NULL;
}

// --- the engine and the frame --------------------------------------------------------

// Starts the engine once, as the program does, on a windowed width x height
// client with sound off, and registers the states (none of them runs).
static GameData* StartEngine(int width, int height)
{
    static GameData record;
    GameDataSetStartValues(&record);
    record.fullScreen = 0;
    record.soundOn = 0;
    record.tutorialPending = 0;
    record.resolution = width == 1024 ? 0 : width == 1920 ? 2 : 1;
    VTApplicationInitInfo info = {NULL, "Kelvaro", &record, (int)sizeof record, height, width, 0};
    VTApplicationInit(&info);
    for (int i = 0; i < STATE_COUNT; i++)
        VTSMAddState(&stateTable[i]);
    VTPlatformSetFramePacing(0); // raw frame cost, not the display's rate
    return VTSMGetGameData();
}

static void Key(unsigned long virtualKey, int down)
{
    VTMessage m = {NULL, down ? (unsigned)VT_WM_KEYDOWN : (unsigned)VT_WM_KEYUP, virtualKey, 0};
    VTPlatformPostMessage(&m);
}

typedef void (*UpdateFunction)(GameData* data, float dt);

// The state manager's frame, minus its timer.
static void Frame(GameData* data, UpdateFunction update)
{
    VTInputUpdate();
    VTApplicationProcessMessages();
    update(data, STEP);
}

static int CountObjects(void)
{
    int n = 0;
    for (GameObject* o = playList; o; o = o->next)
        n++;
    return n;
}

// The kinds whose collision responses walk the whole play list, once each.
static int WalksTheList(const ObjectType* t)
{
    return t == &BulletType || t == &Ship1Type || t == &Ship2Type || t == &Ship3Type || t == &Asteroid1Type ||
           t == &Asteroid3Type || t == &SatelliteType || t == &SatellitePart1Type || t == &SatellitePart3Type ||
           t == &Asteroid2Type || t == &SatellitePart2Type;
}

// The floor the design's walks set: one pass over the list per walker,
// reading each node's kind and visibility and nothing else.
static double TimeBareWalks(int count, int* walkers)
{
    volatile int sink = 0;
    double start = Now();
    for (int i = 0; i < count; i++) {
        int seen = 0, w = 0;
        for (GameObject* n = playList; n; n = n->next) {
            if (!WalksTheList(n->type))
                continue;
            w++;
            for (GameObject* o = playList; o; o = o->next)
                seen += o->visible + (o->type == &WindType);
        }
        sink = sink + seen;
        *walkers = w;
    }
    return (Now() - start) / count;
}

// What the play list holds, by kind (for --verbose).
static void PrintKinds(const char* scene)
{
    std::vector<int> counts(PlayObjectTypeCount() + 1, 0);
    int visible = 0;
    for (GameObject* o = playList; o; o = o->next) {
        int kind = PlayObjectTypeCount();
        for (int i = 0; i < PlayObjectTypeCount(); i++)
            if (PlayObjectType(i) == o->type) {
                kind = i;
                break;
            }
        counts[kind]++;
        visible += o->visible;
    }
    fprintf(stderr, "%s: %d objects, %d visible:", scene, CountObjects(), visible);
    for (int i = 0; i <= PlayObjectTypeCount(); i++) {
        if (!counts[i])
            continue;
        const char* image = i < PlayObjectTypeCount() ? PlayObjectTypeImage(i) : "other";
        const char* name = strrchr(image, '\\');
        fprintf(stderr, " %s#%d=%d", name ? name + 1 : image, i, counts[i]);
    }
    fprintf(stderr, "\n");
}

// --- a scripted play scene ----------------------------------------------------------

struct PlayScene
{
    const SceneSetup* setup;
    GameData* data;
    int frame;
    int upHeld;
    int ctrlHeld;
    GameObject* blackHole;
};

// Keeps the run alive and the scene what it says: fuel below the warp and
// above death, the black hole kept back (or kept near, within 100).
static void Pin(PlayScene* s)
{
    GameData* d = s->data;
    d->fuel = 50.0f;
    GameObject* keeper = s->blackHole ? s->blackHole->next : NULL;
    if (!keeper || keeper->type != &HomeEarthType || !keeper->timer)
        return;
    float* chaseLine = &keeper->timer->time;
    if (s->setup->blackHoleNear)
        *chaseLine = d->focusY - 60.0f;
    else if (d->blackHoleDistance < 200.0f)
        *chaseLine = d->focusY - 300.0f;
}

static void ScriptKeys(PlayScene* s)
{
    const SceneSetup* setup = s->setup;
    int wantUp = !setup->synthetic && s->frame >= LAUNCH_FRAMES;
    if (wantUp != s->upHeld) {
        Key(VK_UP, wantUp);
        s->upHeld = wantUp;
    }
    if (setup->tapEvery > 0 && s->frame >= LAUNCH_FRAMES) {
        int wantCtrl = (s->frame - LAUNCH_FRAMES) % setup->tapEvery == 0;
        if (wantCtrl != s->ctrlHeld) {
            Key(VK_CONTROL, wantCtrl);
            s->ctrlHeld = wantCtrl;
        }
    }
}

// Asteroids at rest on a grid around the focus, sharing one slow drift so
// none collide, clear of the ship and inside the radius that keeps them.
static void AddRestingAsteroids(GameData* d, int count)
{
    const float radius = 420.0f, clear = 60.0f, size = 8.0f;
    float spacing = sqrtf(3.14159265f * radius * radius / (float)count);
    for (;;) {
        int fits = 0;
        for (float y = -radius; y <= radius; y += spacing)
            for (float x = -radius; x <= radius; x += spacing) {
                float sx = d->focusX + x - d->shipX, sy = d->focusY + y - d->shipY;
                fits += x * x + y * y <= radius * radius && sx * sx + sy * sy > clear * clear;
            }
        if (fits >= count)
            break;
        spacing *= 0.98f;
    }
    int added = 0;
    for (float y = -radius; y <= radius && added < count; y += spacing) {
        for (float x = -radius; x <= radius && added < count; x += spacing) {
            float sx = d->focusX + x - d->shipX, sy = d->focusY + y - d->shipY;
            if (!(x * x + y * y <= radius * radius && sx * sx + sy * sy > clear * clear))
                continue;
            GameObject* anchor = playList;
            AddObject(&anchor);
            GameObject* o = playList->next;
            AddTransform(o);
            AddTimer(o);
            AddAppearance(o);
            AddObjectState(o);
            o->type = &Asteroid1Type;
            o->transform->x = d->focusX + x;
            o->transform->y = d->focusY + y;
            o->transform->z = 50.0f;
            o->transform->scaleX = o->transform->scaleY = size;
            o->transform->rotation = VTRandomFloat(0.0f, 6.28f);
            o->state->power = 40.0f;
            o->state->baseScaleX = o->state->baseScaleY = size;
            o->state->angle = VTDegreeToRadian(270.0f);
            o->state->velY = -2.0f;
            o->state->spin = VTRandomFloat(-1.0f, 1.0f);
            o->appearance->red = 210;
            o->appearance->green = 200;
            o->appearance->blue = 192;
            added++;
        }
    }
}

static void BeginPlayScene(PlayScene* s, const SceneSetup* setup, GameData* data)
{
    memset(s, 0, sizeof *s);
    s->setup = setup;
    s->data = data;
    data->level = setup->level;
    data->shipType = setup->ship;
    PlayInit(data);
    srand(20240601u); // the same scene every run
    for (GameObject* o = playList; o; o = o->next)
        if (o->type == &BlackHoleType)
            s->blackHole = o;
}

static void PlayFrame(PlayScene* s)
{
    Pin(s);
    ScriptKeys(s);
    Frame(s->data, PlayUpdate);
    s->frame++;
}

// Runs the scene up to its measured part with nothing drawn.
static void WarmPlayScene(PlayScene* s)
{
    int nullBefore = VTGraphicsIsNullDraw();
    VTGraphicsSetNullDraw(1);
    while (s->frame < s->setup->warmFrames)
        PlayFrame(s);
    if (s->setup->synthetic) {
        // No planet pulls the field into collisions: the density stays the one asked for.
        for (GameObject* o = playList; o; o = o->next)
            if (o->type == &EarthType || o->type == &MoonType || o->type == &MarsType || o->type == &UranusType)
                o->visible = 0;
        AddRestingAsteroids(s->data, s->setup->synthetic);
        for (int i = 0; i < 10; i++)
            PlayFrame(s);
    }
    VTGraphicsSetNullDraw(nullBefore);
}

static void EndPlayScene(PlayScene* s)
{
    if (s->upHeld)
        Key(VK_UP, 0);
    if (s->ctrlHeld)
        Key(VK_CONTROL, 0);
    PlayShutdown(s->data);
    VTInputUpdate();
    VTApplicationProcessMessages();
}

// --- logic per frame ------------------------------------------------------------------

static double TimeReplays(const std::vector<DrawCall>& draws, int count)
{
    double start = Now();
    for (int i = 0; i < count; i++)
        ReplayFrame(draws);
    return (Now() - start) / count;
}

void RunLogicBench(const BenchPlan* plan, LogicResults* out)
{
    GameData* data = StartEngine(1280, 720);
    VTGraphicsSetNullDraw(1);
    PlayLoad(data);
    for (int i = 0; i < playSceneCount && out->count < MAX_SCENES; i++) {
        const SceneSetup* setup = &playScenes[i];
        if (!SceneWanted(plan, setup))
            continue;
        LogicResult* r = &out->scenes[out->count++];
        snprintf(r->name, sizeof r->name, "%s", setup->name);
        PlayScene scene;
        BeginPlayScene(&scene, setup, data);
        WarmPlayScene(&scene);
        // A round lasts about a fifth of a second, at least 12 frames.
        double start = Now();
        for (int f = 0; f < 5; f++)
            PlayFrame(&scene);
        int frames = (int)(0.2 / ((Now() - start) / 5));
        if (frames < 12)
            frames = 12;
        if (frames > plan->logicFrames)
            frames = plan->logicFrames;
        std::vector<double> rounds, floors, objects, walkFloors, walkers;
        for (int round = 0; round < plan->rounds; round++) {
            double spent = 0.0, live = 0.0;
            for (int f = 0; f < frames; f++) {
                Pin(&scene);
                ScriptKeys(&scene);
                VTInputUpdate();
                VTApplicationProcessMessages();
                double begin = Now();
                PlayUpdate(data, STEP);
                spent += Now() - begin;
                scene.frame++;
                live += CountObjects();
            }
            rounds.push_back(spent / frames * 1e6);
            objects.push_back(live / frames);
            // The floor: the next frame's own draw calls, nothing drawn.
            RecordStart();
            PlayFrame(&scene);
            std::vector<DrawCall> draws = RecordStop();
            floors.push_back(TimeReplays(draws, frames) * 1e6);
            int w = 0;
            walkFloors.push_back(TimeBareWalks(frames, &w) * 1e6);
            walkers.push_back(w);
        }
        if (plan->verbose)
            PrintKinds(setup->name);
        r->usPerFrame = Median(rounds);
        r->floorUs = Median(floors);
        r->objects = Median(objects);
        r->walkers = Median(walkers);
        r->walkFloorUs = Median(walkFloors);
        r->synthetic = setup->synthetic;
        EndPlayScene(&scene);
    }
    double rss;
    ReadMemory(&rss, &out->peakMb);
    PlayUnload(data);
}

// --- whole frames ------------------------------------------------------------------------

// The screen area the frame's quads cover, in screens: how many times over
// the rasterizer fills the window. Corners go through the same transforms as
// in the engine (camera looking down -z, rolled; 90 degree perspective, or
// pixels), then each quad is clipped to the window.
static double ClippedArea(double (*p)[2], int n, int width, int height)
{
    double poly[16][2], next[16][2];
    memcpy(poly, p, sizeof(double) * 2 * n);
    for (int edge = 0; edge < 4 && n > 0; edge++) {
        int axis = edge / 2;
        double bound = edge == 0 || edge == 2 ? 0.0 : (axis == 0 ? width : height);
        int keepAbove = edge == 0 || edge == 2;
        int m = 0;
        for (int i = 0; i < n; i++) {
            const double* a = poly[i];
            const double* b = poly[(i + 1) % n];
            int aIn = keepAbove ? a[axis] >= bound : a[axis] <= bound;
            int bIn = keepAbove ? b[axis] >= bound : b[axis] <= bound;
            if (aIn && m < 16) {
                next[m][0] = a[0];
                next[m][1] = a[1];
                m++;
            }
            if (aIn != bIn && m < 16) {
                double t = (bound - a[axis]) / (b[axis] - a[axis]);
                next[m][0] = a[0] + t * (b[0] - a[0]);
                next[m][1] = a[1] + t * (b[1] - a[1]);
                m++;
            }
        }
        memcpy(poly, next, sizeof(double) * 2 * m);
        n = m;
    }
    double area = 0.0;
    for (int i = 0; i < n; i++)
        area += poly[i][0] * poly[(i + 1) % n][1] - poly[(i + 1) % n][0] * poly[i][1];
    return fabs(area) * 0.5;
}

static double Overdraw(const std::vector<DrawCall>& draws, int width, int height, std::vector<double>* perDraw = NULL)
{
    static const double corners[4][2] = {{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}};
    double aspect = (double)width / height, covered = 0.0;
    for (const DrawCall& d : draws) {
        const float* m = d.matrix.m;
        double screen[4][2];
        int behind = 0;
        for (int c = 0; c < 4; c++) {
            double x = m[0] * corners[c][0] + m[4] * corners[c][1] + m[12];
            double y = m[1] * corners[c][0] + m[5] * corners[c][1] + m[13];
            double z = m[2] * corners[c][0] + m[6] * corners[c][1] + m[14];
            if (d.ortho) {
                screen[c][0] = x;
                screen[c][1] = y;
                continue;
            }
            double roll = d.camera[3];
            double ex = cos(roll) * x - sin(roll) * y - d.camera[0];
            double ey = sin(roll) * x + cos(roll) * y - d.camera[1];
            double ez = z - d.camera[2];
            behind |= -ez < 1.0;
            screen[c][0] = (ex / -ez / aspect + 1.0) * 0.5 * width;
            screen[c][1] = (ey / -ez + 1.0) * 0.5 * height;
        }
        double area = behind ? 0.0 : ClippedArea(screen, 4, width, height);
        covered += area;
        if (perDraw)
            perDraw->push_back(area / ((double)width * height));
    }
    return covered / ((double)width * height);
}

// Which pictures the fill goes to (for --verbose): window areas by texture.
static void PrintFill(const char* scene, const std::vector<DrawCall>& draws)
{
    std::vector<double> areas;
    double total = Overdraw(draws, VTApplicationGetWidth(), VTApplicationGetHeight(), &areas);
    std::vector<std::pair<double, std::string>> byImage;
    for (size_t i = 0; i < draws.size(); i++) {
        std::string name = "texture " + std::to_string(draws[i].texture);
        for (int t = 0; t < PlayObjectTypeCount(); t++)
            if (PlayObjectType(t)->texture == draws[i].texture) {
                const char* image = PlayObjectTypeImage(t);
                const char* slash = strrchr(image, '\\');
                name = slash ? slash + 1 : image;
                break;
            }
        size_t k = 0;
        while (k < byImage.size() && byImage[k].second != name)
            k++;
        if (k == byImage.size())
            byImage.push_back({0.0, name});
        byImage[k].first += areas[i];
    }
    std::sort(byImage.begin(), byImage.end(), [](const std::pair<double, std::string>& a,
                                                 const std::pair<double, std::string>& b) { return a.first > b.first; });
    fprintf(stderr, "%s at %dx%d: %zu quads cover %.2f windows:", scene, VTApplicationGetWidth(),
            VTApplicationGetHeight(), draws.size(), total);
    for (size_t k = 0; k < byImage.size() && k < 8; k++)
        fprintf(stderr, " %s %.2f", byImage[k].second.c_str(), byImage[k].first);
    fprintf(stderr, "\n");
}

// Game frames and the replayed floor, alternating round by round. A round
// lasts about a third of a second of game frames, however slow they are.
static void MeasureFrames(const BenchPlan* plan, FrameResult* r, void (*frame)(void* context), void* context)
{
    double start = Now();
    for (int f = 0; f < 3; f++)
        frame(context);
    double estimate = (Now() - start) / 3;
    int frames = (int)(0.33 / estimate);
    if (frames < 4)
        frames = 4;
    if (frames > plan->frameFrames)
        frames = plan->frameFrames;
    std::vector<double> game, floor, ratio;
    for (int round = 0; round < plan->rounds; round++) {
        double start = Now();
        for (int f = 0; f < frames; f++)
            frame(context);
        double gameSeconds = (Now() - start) / frames;

        VTCapture gameImage, floorImage;
        int compare = round == 0;
        if (compare)
            VTGraphicsCaptureNextFrame(&gameImage);
        RecordStart();
        frame(context);
        std::vector<DrawCall> draws = RecordStop();
        if (compare) {
            VTGraphicsCaptureNextFrame(&floorImage);
            ReplayFrame(draws);
            size_t bytes = (size_t)gameImage.width * (size_t)gameImage.height * 3;
            r->sameImage = gameImage.pixels && floorImage.pixels && floorImage.width == gameImage.width &&
                           floorImage.height == gameImage.height &&
                           memcmp(gameImage.pixels, floorImage.pixels, bytes) == 0;
            VTGraphicsFreeCapture(&gameImage);
            VTGraphicsFreeCapture(&floorImage);
        }
        r->draws = (int)draws.size();
        r->overdraw = Overdraw(draws, VTApplicationGetWidth(), VTApplicationGetHeight());
        if (plan->verbose && round == 0)
            PrintFill(r->name, draws);
        double floorSeconds = TimeReplays(draws, frames);
        game.push_back(1.0 / gameSeconds);
        floor.push_back(1.0 / floorSeconds);
        ratio.push_back(gameSeconds / floorSeconds);
    }
    r->fps = Median(game);
    r->floorFps = Median(floor);
    r->ratio = Median(ratio);
}

static void MenuFrame(void* context)
{
    Frame((GameData*)context, MenuUpdate);
}

static void ScenePlayFrame(void* context)
{
    PlayFrame((PlayScene*)context);
}

void RunFrameBench(const BenchPlan* plan, int width, int height, FrameResults* out)
{
    GameData* data = StartEngine(width, height);
    snprintf(out->renderer, sizeof out->renderer, "%s; %s", (const char*)glGetString(GL_RENDERER),
             (const char*)glGetString(GL_VERSION));

    // Clear and swap alone: what presenting a frame costs at this size.
    std::vector<double> empty;
    for (int round = 0; round < plan->rounds; round++) {
        const int frames = 20;
        double start = Now();
        for (int f = 0; f < frames; f++) {
            VTGraphicsStartDraw();
            VTGraphicsEndDraw();
        }
        empty.push_back(frames / (Now() - start));
    }
    out->emptyFps = Median(empty);

    FrameResult* r = &out->scenes[out->count++];
    snprintf(r->name, sizeof r->name, "main menu");
    MenuLoad(data);
    MenuInit(data);
    for (int i = 0; i < 30; i++)
        MenuFrame(data);
    MeasureFrames(plan, r, MenuFrame, data);
    MenuShutdown(data);
    MenuUnload(data);

    PlayLoad(data);
    for (int i = 0; i < playSceneCount && out->count < MAX_SCENES; i++) {
        const SceneSetup* setup = &playScenes[i];
        if ((setup->synthetic && setup->synthetic != 1000) || !SceneWanted(plan, setup))
            continue; // one synthetic density is enough to see the draw cost
        r = &out->scenes[out->count++];
        snprintf(r->name, sizeof r->name, "%s", setup->name);
        PlayScene scene;
        BeginPlayScene(&scene, setup, data);
        WarmPlayScene(&scene);
        for (int f = 0; f < 10; f++)
            PlayFrame(&scene);
        int live = CountObjects();
        MeasureFrames(plan, r, ScenePlayFrame, &scene);
        r->objects = 0.5 * (live + CountObjects());
        EndPlayScene(&scene);
    }
    double rss;
    ReadMemory(&rss, &out->peakMb);
    PlayUnload(data);
}
