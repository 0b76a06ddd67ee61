// soak.cpp -- the scripted player and what it measures. The player reacts to
// the state on screen and the game record, never to fixed frame numbers, so
// it keeps going however long a warp or a death takes; a watchdog backs out
// of anything that takes far too long.
#include "soak.h"

#include <malloc.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>

#include <vector>

#include "frontend/credits.h"
#include "frontend/menu.h"
#include "frontend/options.h"
#include "frontend/select.h"
#include "frontend/splash.h"
#include "frame_floats.h"
#include "harness.h"
#include "play/play.h"
#include "play/tutorial.h"
#include "vtgraphics.h"
#include "vtstatemanager.h"
#include "vttextureloading.h"

namespace {

const int FPS = 60;
const int MINUTE = 60 * FPS;

// Windows virtual keys.
enum : unsigned long { VK_CONTROL = 17, VK_ESC = 27, VK_SPACE = 32, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39,
                       VK_DOWN = 40 };

SoakReport* report;
int renderEvery;

struct Key
{
    int frame;
    unsigned long vk;
    int down;
};

// What the player is doing; step and next start again with every state.
struct Player
{
    std::vector<Key> keys;  // scheduled presses and releases
    int state = -1;
    int stateStart = 0;     // frame the current state began
    int step = 0;           // progress through the state's errand
    int next = 0;           // no new action before this frame
    int menuVisits = 0;     // the menu is the hub: three errands per lap
    int lap = 0;
    int destination = STATE_OPTION;
    int targetShip = 1;
    int levelSeen = 0;
    int levelStart = 0;     // frame the current level (or death) began
    int retried = 0;        // this lap's run has been retried once
    int deadCounted = 0;
    int bail = 0;           // leave play through the pause menu
    int heapSampled = 0;
} player;

void Tap(int frame, unsigned long vk, int hold = 2)
{
    player.keys.push_back({frame, vk, 1});
    player.keys.push_back({frame + hold, vk, 0});
}

void PostDueKeys(int frame)
{
    std::vector<Key> later;
    for (const Key& k : player.keys) {
        if (k.frame <= frame)
            PostKey(k.vk, k.down);
        else
            later.push_back(k);
    }
    player.keys.swap(later);
}

int Ready(int frame) { return frame >= player.next; }
void Wait(int frame, int frames) { player.next = frame + frames; }

// Moves the menu cursor one row at a time: the menus repeat a held
// direction only every 15 frames, so each tap waits for the last.
int OnRow(int frame, const GameData* d, int row)
{
    if (d->menuIndex == row)
        return 1;
    Tap(frame, VK_DOWN);
    Wait(frame, 20);
    return 0;
}

void Menu(int f, GameData* d)
{
    static const int errands[3] = {STATE_OPTION, STATE_CREDIT, STATE_SELECT};
    if (!Ready(f))
        return;
    if (player.step == 0) {
        player.destination = errands[player.menuVisits % 3];
        player.lap = player.menuVisits / 3;
        player.step = 1;
        // Every fourth lap the hidden chord puts the saved files back to a
        // fresh installation: the tutorial is due again, the ships locked.
        if (player.destination == STATE_OPTION && player.lap % 4 == 3) {
            Tap(f, '7', 3);
            Tap(f, '8', 3);
            report->resets++;
            Wait(f, 10);
        }
        return;
    }
    int row = player.destination == STATE_OPTION ? 2 : player.destination == STATE_CREDIT ? 3 : 1;
    if (OnRow(f, d, row)) {
        Tap(f, VK_SPACE);
        Wait(f, 120); // still here then: confirm again
    }
}

void Options(int f, GameData* d)
{
    if (!Ready(f))
        return;
    // Sound off and on again, then the resolution round 1024 -> 1280 ->
    // 1920 -> 1024. Each change restarts the state, which puts the cursor
    // back on the first row.
    switch (player.step) {
    case 0:
    case 1:
        if (OnRow(f, d, 2)) {
            Tap(f, VK_SPACE);
            report->soundToggles++;
            player.step++;
            Wait(f, 40);
        }
        break;
    case 2:
    case 3:
    case 4:
        if (OnRow(f, d, 3)) {
            Tap(f, VK_RIGHT);
            report->resolutionChanges++;
            player.step++;
            Wait(f, 40);
        }
        break;
    default:
        Tap(f, VK_ESC);
        Wait(f, 120);
        break;
    }
}

void Credits(int f)
{
    // Every other lap the roll runs to its end by itself.
    if (player.lap % 2 == 1 && Ready(f) && f - player.stateStart > 180) {
        Tap(f, VK_ESC);
        Wait(f, 120);
    }
}

void Select(int f, GameData* d)
{
    if (!Ready(f))
        return;
    if (player.step == 0) {
        player.targetShip = player.lap % 3 + 1;
        player.step = 1;
    }
    if (d->shipType != player.targetShip) {
        Tap(f, VK_RIGHT);
        Wait(f, 20);
    } else if (player.step == 1) {
        Tap(f, VK_SPACE);
        player.step = 2;
        Wait(f, 90);
    } else {
        // Still here: that ship is locked. Ship 1 always flies.
        player.targetShip = 1;
        player.step = 1;
    }
}

void Tutorial(int f, GameData*)
{
    int t = f - player.stateStart;
    if (t >= 150 && t < 900 && t % 90 == 0)
        Tap(f, VK_UP, 60);
    if (t >= 150 && t < 900 && t % 200 == 100)
        Tap(f, t % 400 == 100 ? VK_LEFT : VK_RIGHT, 12);
    if (t == 500) {
        Tap(f, VK_ESC);
        Tap(f + 60, VK_ESC);
        report->pauses++;
    }
    // The skip key, once the first panels have been read.
    if (t == 1200) {
        Tap(f, 'X');
        report->tutorialSkips++;
    }
}

// Flying with everything the ship has: thrust in bursts, turns, its ability
// (boost, twin shots or wind), a pause, the score and combo cheats.
void Fly(int f, int t)
{
    if (t % 90 == 0)
        Tap(f, VK_UP, 60);
    if (t % 150 == 75)
        Tap(f, t % 300 == 75 ? VK_LEFT : VK_RIGHT, 10);
    if (t % 120 == 30)
        Tap(f, VK_CONTROL);
    if (t == 230) {
        Tap(f, '5');
        Tap(f, '6');
        Tap(f + 5, '1');
        Tap(f + 5, '2');
    }
}

// Out through the pause menu's second row.
void LeaveThroughPause(int f, GameData* d)
{
    if (!Ready(f))
        return;
    if (d->paused == 0) {
        Tap(f, VK_ESC);
        Wait(f, 20);
    } else if (d->menuIndex != 2) {
        Tap(f, VK_DOWN);
        Wait(f, 20);
    } else {
        Tap(f, VK_SPACE);
        report->pauseExits++;
        Wait(f, 300);
    }
}

void Play(int f, GameData* d)
{
    if (d->level != player.levelSeen) {
        if (d->level > player.levelSeen && player.levelSeen > 0)
            report->warps++;
        player.levelSeen = d->level;
        player.levelStart = f;
        player.deadCounted = 0;
        if (d->level > report->maxLevel)
            report->maxLevel = d->level;
    }
    int t = f - player.levelStart;
    if (d->level == 0) {
        if (!player.deadCounted) {
            report->deaths++;
            player.deadCounted = 1;
        }
        // Retry once per lap; the second death goes back to the menu.
        if (t >= 180 && Ready(f)) {
            if (!player.retried) {
                Tap(f, 'R');
                report->retries++;
                player.retried = 1;
            } else {
                Tap(f, VK_ESC);
            }
            Wait(f, 120);
        }
        return;
    }
    int goal = player.retried ? 1 : 5;
    // Every fifth lap leaves from level 3 through the pause menu instead.
    if (player.lap % 5 == 4 && d->level == 3 && t >= 200)
        player.bail = 1;
    if (player.bail) {
        LeaveThroughPause(f, d);
        return;
    }
    if (t < 150)
        return; // the launch
    if (d->level == 1 && t == 160 && !player.retried) {
        Tap(f, VK_ESC);
        Tap(f + 40, VK_ESC);
        report->pauses++;
        return;
    }
    // A few seconds of flight per level, then the warp before a planet's
    // pull has much chance to swallow the ship.
    if (d->level < goal) {
        Fly(f, t);
        if (t == 270) {
            Tap(f, '3', 5);
            Tap(f, '4', 5);
        }
    }
    // At the goal the ship coasts until the black hole takes it.
}

// Backs out of a state that has gone on far too long.
void Watchdog(int f, int state, GameData* d)
{
    int limit = state == STATE_PLAY ? 120 * FPS : 60 * FPS;
    int since = f - (state == STATE_PLAY ? player.levelStart : player.stateStart);
    if (since < limit || !Ready(f))
        return;
    if (state == STATE_PLAY) {
        player.bail = d->level != 0;
        if (d->level == 0)
            Tap(f, VK_ESC);
        player.levelStart = f;
    } else if (state == STATE_TUTORIAL) {
        Tap(f, 'X');
        player.stateStart = f;
    } else if (state != STATE_MENU) {
        Tap(f, VK_ESC);
        player.stateStart = f;
    } else {
        player.step = 0;
        player.stateStart = f;
    }
    Wait(f, 30);
}

long StatusKb(const char* field)
{
    long kb = 0;
    char line[256];
    size_t length = strlen(field);
    FILE* status = fopen("/proc/self/status", "r");
    while (status && fgets(line, sizeof line, status))
        if (strncmp(line, field, length) == 0)
            kb = atol(line + length);
    if (status)
        fclose(status);
    return kb;
}

long HeapKb()
{
    struct mallinfo2 info = mallinfo2();
    return (long)((info.uordblks + info.hblkhd) / 1024);
}

void OnFrame(int f, GameData* d)
{
    int state = VTSMGetCurrentState();
    if (state != player.state) {
        player.state = state;
        player.stateStart = f;
        player.step = 0;
        player.next = f + 30; // let the screen settle
        player.heapSampled = 0;
        report->visits[state]++;
        if (state == STATE_MENU)
            player.menuVisits++;
        if (state == STATE_PLAY) {
            player.retried = 0;
            player.bail = 0;
            player.levelSeen = 0;
            if (d->shipType >= 1 && d->shipType <= 3)
                report->shipsFlown[d->shipType]++;
        }
    }
    // Same screen, same moment: the heap should be the same each lap.
    if (state == STATE_MENU && !player.heapSampled && f - player.stateStart == 25 && report->menuHeapSamples < 256) {
        report->menuHeapKb[report->menuHeapSamples++] = HeapKb();
        player.heapSampled = 1;
    }
    // Drawing is most of a frame's cost on a software rasterizer.
    int draw = renderEvery <= 1 || f % renderEvery == 0;
    VTGraphicsSetNullDraw(!draw);

    switch (state) {
    case STATE_MENU: Menu(f, d); break;
    case STATE_OPTION: Options(f, d); break;
    case STATE_CREDIT: Credits(f); break;
    case STATE_SELECT: Select(f, d); break;
    case STATE_TUTORIAL: Tutorial(f, d); break;
    case STATE_PLAY: Play(f, d); break;
    default: break;
    }
    Watchdog(f, state, d);
    PostDueKeys(f);

    char what[128];
    int objects = CheckFrameFloats(d, what, sizeof what);
    if (what[0] && report->nonFinite++ == 0)
        snprintf(report->firstNonFinite, sizeof report->firstNonFinite, "frame %d, state %d: %s", f, state, what);
    int m = f / MINUTE;
    if (m < SOAK_MAX_MINUTES) {
        SoakMinute* minute = &report->minute[m];
        if (objects > minute->objectsMax)
            minute->objectsMax = objects;
        if (f % MINUTE == MINUTE - 1) {
            struct rusage usage;
            getrusage(RUSAGE_SELF, &usage);
            minute->peakRssKb = usage.ru_maxrss;
            minute->rssKb = StatusKb("VmRSS:");
            minute->heapKb = HeapKb();
            minute->textures = VTGraphicsGetTextureCount();
        }
    }
    report->frames = f + 1;
}

} // namespace

SoakReport* RunSoak(int minutes, int renderEveryFrames)
{
    report = SharedBlock<SoakReport>();
    report->minutes = minutes < SOAK_MAX_MINUTES ? minutes : SOAK_MAX_MINUTES;
    renderEvery = renderEveryFrames;
    report->status = RunInChild([] {
        TempDataHome home;
        // Windowed at 1024 x 768 with sound on; every ship unlocked until the
        // first reset chord.
        home.Write("Option.txt", "010");
        home.Write("UnlockShip.txt", "22");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        player = Player();
        GameScript script;
        script.frames = report->minutes * MINUTE;
        script.frameTime = 1.0 / FPS;
        script.onFrame = OnFrame;
        report->exitCode = RunGame(script);
        report->boxes = (int)ShownBoxes().size();
        if (!ShownBoxes().empty())
            snprintf(report->firstBox, sizeof report->firstBox, "%s", ShownBoxes()[0].second.c_str());
        report->texturesAtExit = VTGraphicsGetTextureCount();
    });
    return report;
}

int SoakProblems(const SoakReport* r, int checkMemory, char problems[][160], int capacity)
{
    int count = 0;
#define PROBLEM(failed, ...)                                     \
    do {                                                         \
        if ((failed) && count < capacity)                        \
            snprintf(problems[count++], 160, __VA_ARGS__);       \
    } while (0)
    PROBLEM(r->status != 0, "child ended with status %d", r->status);
    PROBLEM(r->exitCode != 0, "program returned %d", r->exitCode);
    PROBLEM(r->frames != r->minutes * MINUTE, "ran %d of %d frames", r->frames, r->minutes * MINUTE);
    PROBLEM(r->boxes != 0, "%d message boxes, the first: %.100s", r->boxes, r->firstBox);
    PROBLEM(r->texturesAtExit != 0, "%d textures still loaded at exit", r->texturesAtExit);
    PROBLEM(r->nonFinite != 0, "%d frames with NaN or infinite floats: %.100s", r->nonFinite, r->firstNonFinite);
    for (int state = 0; state < STATE_COUNT; state++)
        PROBLEM(r->visits[state] == 0, "state %d never visited", state);
    PROBLEM(r->maxLevel < 5, "reached only level %d", r->maxLevel);
    PROBLEM(r->deaths < 2 || r->retries < 1, "%d deaths, %d retries", r->deaths, r->retries);
    PROBLEM(r->pauses < 1, "never paused");
    PROBLEM(r->soundToggles < 2 || r->resolutionChanges < 3, "sound toggled %d times, resolution changed %d times",
            r->soundToggles, r->resolutionChanges);
    PROBLEM(r->tutorialSkips < 1, "the tutorial never ran");
    int minutes = r->minutes < SOAK_MAX_MINUTES ? r->minutes : SOAK_MAX_MINUTES;
    for (int m = 0; m < minutes; m++)
        PROBLEM(r->minute[m].objectsMax > 3000, "minute %d: %d objects in one list", m + 1, r->minute[m].objectsMax);
    if (checkMemory && minutes >= 2) {
        // After the first minute every kind of screen has been built once:
        // the high-water mark may creep (allocator and driver caches) but
        // not climb.
        long growth = r->minute[minutes - 1].peakRssKb - r->minute[0].peakRssKb;
        PROBLEM(growth > 24 * 1024, "peak RSS grew %ld kB after the first minute", growth);
        // The menu at the same moment of each visit holds the same memory,
        // once a first run has decoded the play sounds.
        long low = 0, high = 0;
        for (int i = 3; i < r->menuHeapSamples; i++) {
            low = i == 3 || r->menuHeapKb[i] < low ? r->menuHeapKb[i] : low;
            high = i == 3 || r->menuHeapKb[i] > high ? r->menuHeapKb[i] : high;
        }
        PROBLEM(high - low > 1024, "menu heap varies from %ld to %ld kB", low, high);
    }
#undef PROBLEM
    return count;
}

void PrintSoakReport(const SoakReport* r, FILE* out)
{
    fprintf(out, "soak: %d simulated minutes, %d frames, drawing one frame in %d\n", r->minutes, r->frames,
            renderEvery);
    fprintf(out, "minute  peak RSS MB  RSS MB  heap MB  max objects  textures\n");
    int minutes = r->minutes < SOAK_MAX_MINUTES ? r->minutes : SOAK_MAX_MINUTES;
    for (int m = 0; m < minutes; m++) {
        const SoakMinute* s = &r->minute[m];
        fprintf(out, "%6d  %11.1f  %6.1f  %7.1f  %11d  %8d\n", m + 1, s->peakRssKb / 1024.0, s->rssKb / 1024.0,
                s->heapKb / 1024.0, s->objectsMax, s->textures);
    }
    fprintf(out, "menu heap at each visit (MB):");
    for (int i = 0; i < r->menuHeapSamples; i++)
        fprintf(out, " %.2f", r->menuHeapKb[i] / 1024.0);
    fprintf(out, "\nvisits: menu %d, options %d, select %d, play %d, tutorial %d, splash %d, logo %d, credits %d\n",
            r->visits[STATE_MENU], r->visits[STATE_OPTION], r->visits[STATE_SELECT], r->visits[STATE_PLAY],
            r->visits[STATE_TUTORIAL], r->visits[STATE_SPLASH], r->visits[STATE_LOGO], r->visits[STATE_CREDIT]);
    fprintf(out, "ships flown: 1 x%d, 2 x%d, 3 x%d; warps %d, highest level %d, deaths %d, retries %d\n",
            r->shipsFlown[1], r->shipsFlown[2], r->shipsFlown[3], r->warps, r->maxLevel, r->deaths, r->retries);
    fprintf(out, "pauses %d (left through the pause menu %d), sound toggles %d, resolution changes %d, "
                 "tutorial skips %d, reset chords %d\n",
            r->pauses, r->pauseExits, r->soundToggles, r->resolutionChanges, r->tutorialSkips, r->resets);
    fprintf(out, "exit: status %d, program %d, boxes %d, textures loaded %d, frames with NaN/inf %d\n", r->status,
            r->exitCode, r->boxes, r->texturesAtExit, r->nonFinite);
    if (r->boxes)
        fprintf(out, "first box: %s\n", r->firstBox);
    if (r->nonFinite)
        fprintf(out, "first NaN/inf: %s\n", r->firstNonFinite);
}
