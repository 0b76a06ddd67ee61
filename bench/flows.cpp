// flows.cpp -- the real program (KelvaroMain) under a script: the state
// changes on the virtual clock, the launch to the first splash frame, and the
// CPU the paced frame loop burns on the real clock.
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "bench.h"
#include "flows.h"
#include "kelvaro.h"
#include "platform/vtplatform.h"
#include "play/play.h"
#include "states.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtstatemanager.h"
#include "vttextureloading.h"

enum
{
    VK_ENTER = 13,
    VK_ESCAPE = 27,
    VK_UP = 38,
    VK_3 = 51,
    VK_4 = 52,
    VK_R = 82,
    VK_F4 = 115
};

static void Key(unsigned long virtualKey, int down)
{
    VTMessage m = {NULL, down ? (unsigned)VT_WM_KEYDOWN : (unsigned)VT_WM_KEYUP, virtualKey, 0};
    VTPlatformPostMessage(&m);
}

// A key pressed in this frame and released in the next.
static unsigned long tapped;
static void Tap(unsigned long virtualKey)
{
    Key(virtualKey, 1);
    tapped = virtualKey;
}
static void ReleaseTap(void)
{
    if (tapped)
        Key(tapped, 0);
    tapped = 0;
}

static GameObject* ChaseKeeper(void)
{
    for (GameObject* o = playList; o; o = o->next)
        if (o->type == &BlackHoleType)
            return o->next && o->next->type == &HomeEarthType && o->next->timer ? o->next : NULL;
    return NULL;
}

// Play stays alive while the script waits: fuel below the warp, the black
// hole kept back.
static void KeepPlayAlive(GameData* d)
{
    d->fuel = 50.0f;
    GameObject* keeper = ChaseKeeper();
    if (keeper && d->blackHoleDistance < 150.0f)
        keeper->timer->time = d->focusY - 300.0f;
}

// --- state changes ----------------------------------------------------------------

static const char* StateName(int id)
{
    static const char* const names[STATE_COUNT] = {"menu", "options", "ship select", "play",
                                                   "tutorial", "splash", "logo", "credits"};
    return id >= 0 && id < STATE_COUNT ? names[id] : "?";
}

struct Pending
{
    int active;
    int armed; // the new state's first frame has begun
    double requested;
    double requestFrameEnd; // the frame that asked, finished
    char name[40];
    std::vector<std::string> textures;
    double textureSeconds;
    double bankSeconds;
};

struct ChangeRun : FlowObserver, FrameObserver
{
    ChangeResults* out;
    int verbose;
    Pending pending;
    const char* label; // what the script just asked for; NULL for the automatic ones
    int iterations;
    int iteration;
    int step;
    int stepFrame;
    int lastState;
    std::vector<std::vector<std::string>> paths; // per result slot: the textures its change loaded

    void Requested(double when, int nextState, int restart) override
    {
        if (pending.active)
            return; // a second request in the same frame changes nothing
        pending = Pending();
        pending.active = 1;
        pending.requested = when;
        int from = VTSMGetCurrentState();
        if (label)
            snprintf(pending.name, sizeof pending.name, "%s", label);
        else if (restart)
            snprintf(pending.name, sizeof pending.name, "%s restart", StateName(from));
        else
            snprintf(pending.name, sizeof pending.name, "%s -> %s", StateName(from), StateName(nextState));
        label = NULL;
    }
    void TextureLoaded(const char* path, double seconds) override
    {
        if (pending.active) {
            pending.textures.push_back(path);
            pending.textureSeconds += seconds;
        }
    }
    void SoundBank(double seconds) override
    {
        if (pending.active)
            pending.bankSeconds += seconds;
        if (verbose)
            fprintf(stderr, "sound bank call in %s: %.1f ms\n", pending.active ? pending.name : "a state", seconds * 1e3);
    }
    void ApplicationStarted(double) override
    {
        double peak;
        ReadMemory(&out->startRssMb, &peak);
        if (verbose)
            fprintf(stderr, "window and graphics up: RSS %.0f MB\n", out->startRssMb);
    }
    void FrameEnded(double when) override
    {
        if (!pending.active)
            return;
        if (!pending.armed) {
            if (pending.requestFrameEnd == 0.0)
                pending.requestFrameEnd = when;
            return;
        }
        Store(when);
        pending = Pending();
    }
    void Store(double firstFrame)
    {
        int slot = 0;
        while (slot < out->count && strcmp(out->changes[slot].name, pending.name) != 0)
            slot++;
        if (slot == out->count) {
            if (out->count == MAX_CHANGES)
                return;
            out->count++;
            snprintf(out->changes[slot].name, sizeof out->changes[slot].name, "%s", pending.name);
            paths.resize(out->count);
            paths[slot] = pending.textures;
        }
        ChangeResult* r = &out->changes[slot];
        if (r->samples < MAX_SAMPLES) {
            Sample* s = &r->sample[r->samples++];
            s->totalMs = (firstFrame - pending.requested) * 1e3;
            s->afterFrameMs = (firstFrame - pending.requestFrameEnd) * 1e3;
            s->textureMs = pending.textureSeconds * 1e3;
            s->bankMs = pending.bankSeconds * 1e3;
        }
        r->textures = (int)pending.textures.size();
        if (verbose) {
            double rss, peak;
            ReadMemory(&rss, &peak);
            fprintf(stderr, "%s: %.0f ms, RSS %.0f MB, peak %.0f MB\n", pending.name,
                    (firstFrame - pending.requested) * 1e3, rss, peak);
        }
    }

    // Load and unload the same files in a bare loop; then only read them.
    void MeasureFloors()
    {
        for (int slot = 0; slot < out->count; slot++) {
            ChangeResult* r = &out->changes[slot];
            std::vector<double> load, decode;
            for (int round = 0; round < 5; round++) {
                std::vector<unsigned> ids;
                double start = Now();
                for (const std::string& p : paths[slot])
                    ids.push_back(VTGraphicsLoadTexture(p.c_str()));
                for (unsigned id : ids)
                    VTGraphicsUnloadTexture(id);
                load.push_back((Now() - start) * 1e3);
                start = Now();
                for (const std::string& p : paths[slot]) {
                    VTImage image;
                    memset(&image, 0, sizeof image);
                    if (VTGraphicsLoadTGA(&image, p.c_str()))
                        free(image.pixels);
                }
                decode.push_back((Now() - start) * 1e3);
            }
            r->floorMs = Median(load);
            r->decodeMs = Median(decode);
        }
    }

    // Long waits between the changes go undrawn, which saves most of the
    // run's time; the frames around every change are drawn as usual.
    bool Waiting(const GameData* d, int state) const
    {
        if (pending.active || stepFrame < 3)
            return false;
        if (state == STATE_SPLASH)
            return d->stateTimer < 1.8f;
        if (state == STATE_LOGO)
            return d->stateTimer < 3.8f;
        if (state != STATE_PLAY)
            return false;
        if (step == 6)
            return stepFrame < 195;
        if (step == 7)
            return stepFrame < 145;
        if (step == 8 && label && d->warpOpen)
            return d->cameraShake < 4.7f; // the warp's climb, timed by the shake
        if (step == 8)
            return stepFrame < 95;
        return false;
    }

    void Act(GameData* d)
    {
        int state = VTSMGetCurrentState();
        if (state != lastState || pending.armed) {
            stepFrame = 0;
            lastState = state;
        }
        stepFrame++;
        VTGraphicsSetNullDraw(Waiting(d, state));
        // The script: menu, options and two restarts there, back, ship select,
        // play, a retry after a game over, a warp, play to menu; again.
        switch (step) {
        case 0: // splash and logo run out by themselves
            if (state == STATE_MENU && stepFrame == 20) {
                double rss, peak;
                ReadMemory(&rss, &peak);
                if (out->menuRssMb == 0.0)
                    out->menuRssMb = rss;
                d->menuIndex = 2;
                label = "menu -> options";
                Tap(VK_ENTER);
                step = 1;
            }
            break;
        case 1:
        case 2:
            if (state == STATE_OPTION && stepFrame == 20) {
                d->menuIndex = 2; // the sound row
                label = "options restart";
                Tap(VK_ENTER);
                step++;
            }
            break;
        case 3:
            if (state == STATE_OPTION && stepFrame == 20) {
                label = "options -> menu";
                Tap(VK_ESCAPE);
                step = 4;
            }
            break;
        case 4:
            if (state == STATE_MENU && stepFrame == 20) {
                d->menuIndex = 1;
                label = "menu -> ship select";
                Tap(VK_ENTER);
                step = 5;
            }
            break;
        case 5:
            if (state == STATE_SELECT && stepFrame == 20) {
                d->shipType = 1;
                label = "ship select -> play";
                Tap(VK_ENTER);
                step = 6;
            }
            break;
        case 6: // fly a little, then let the black hole in
            if (state != STATE_PLAY)
                break;
            if (stepFrame < 200) {
                KeepPlayAlive(d);
            } else if (d->level != 0) {
                GameObject* keeper = ChaseKeeper();
                if (keeper)
                    keeper->timer->time = d->focusY + 10.0f;
            } else if (stepFrame > 260) {
                double rss;
                ReadMemory(&rss, &out->playPeakMb);
                label = "play retry";
                Tap(VK_R);
                step = 7;
            }
            break;
        case 7: // open the warp: it climbs and restarts on the next level
            if (state != STATE_PLAY || stepFrame < 2)
                break;
            KeepPlayAlive(d);
            if (stepFrame == 150) {
                Key(VK_3, 1);
                Key(VK_4, 1);
            } else if (stepFrame > 150 && d->warpOpen) {
                Key(VK_3, 0);
                Key(VK_4, 0);
                label = "play warp";
                step = 8;
            }
            break;
        case 8:
            if (state != STATE_PLAY)
                break;
            KeepPlayAlive(d);
            if (d->warpOpen == 0 && stepFrame == 100) {
                Tap(VK_ESCAPE); // pause
            } else if (d->warpOpen == 0 && stepFrame == 102) {
                d->menuIndex = 2; // the pause menu's "menu"
                label = "play -> menu";
                Tap(VK_ENTER);
                step = 9;
            }
            break;
        case 9:
            if (state == STATE_MENU && stepFrame == 20) {
                if (++iteration < iterations) {
                    stepFrame = 19;
                    step = 0;
                } else {
                    // The session's peak, before the floors load a state's
                    // pictures on top of the menu's.
                    double rss;
                    ReadMemory(&rss, &out->peakMb);
                    MeasureFloors();
                    label = NULL;
                    Tap(VK_ESCAPE); // quit
                    step = 10;
                }
            }
            break;
        default:
            break;
        }
    }
};

static ChangeRun* changeRun;

static void ChangeHook(void*)
{
    VTPlatformAdvanceClock(1.0 / 60.0);
    if (changeRun->pending.active && changeRun->pending.requestFrameEnd != 0.0)
        changeRun->pending.armed = 1;
    ReleaseTap();
    changeRun->Act(VTSMGetGameData());
}

void RunStateChanges(int iterations, int verbose, ChangeResults* out)
{
    static ChangeRun run;
    run.out = out;
    run.verbose = verbose;
    run.iterations = iterations;
    run.lastState = -1;
    changeRun = &run;
    SetFlowObserver(&run);
    SetFrameObserver(&run);
    VTPlatformUseVirtualClock();
    VTPlatformScriptPad(NULL);
    VTPlatformSetFrameHook(ChangeHook, NULL);
    KelvaroMain();
    out->finished = run.step == 10;
}

// --- start-up ---------------------------------------------------------------------

struct StartupChild : FlowObserver, FrameObserver
{
    int fd;
    double times[3]; // main entered, window and graphics up, first frame drawn
    int done;
    void ApplicationStarted(double when) override { times[1] = when; }
    void FrameEnded(double when) override
    {
        if (done++)
            return;
        times[2] = when;
        if (write(fd, times, sizeof times) != (ssize_t)sizeof times)
            perror("kelvaro_bench: startup pipe");
        close(fd);
        VTMessage m = {NULL, VT_WM_CLOSE, 0, 0};
        VTPlatformPostMessage(&m);
    }
};

int RunStartupChild(int fd)
{
    static StartupChild child;
    child.times[0] = Now();
    child.fd = fd;
    alarm(60); // no first frame: the parent sees the pipe close and a failed run
    SetFlowObserver(&child);
    SetFrameObserver(&child);
    InstallBoxCounter();
    KelvaroMain();
    return 0;
}

// --- CPU with the frame pacing on --------------------------------------------------------

// The X server's CPU seconds, when the display is a local Xvfb we can find.
static int serverPid = -1;
static void FindServer(void)
{
    const char* display = getenv("DISPLAY");
    DIR* proc = opendir("/proc");
    if (!display || !proc)
        return;
    struct dirent* entry;
    while ((entry = readdir(proc)) != NULL && serverPid < 0) {
        int pid = atoi(entry->d_name);
        if (pid <= 0)
            continue;
        char path[64], args[4096];
        snprintf(path, sizeof path, "/proc/%d/cmdline", pid);
        FILE* f = fopen(path, "r");
        if (!f)
            continue;
        size_t n = fread(args, 1, sizeof args - 1, f);
        fclose(f);
        args[n] = 0;
        if (!strstr(args, "Xvfb"))
            continue;
        for (size_t i = 0; i < n; i += strlen(args + i) + 1)
            if (strcmp(args + i, display) == 0)
                serverPid = pid;
    }
    closedir(proc);
}

static double ServerCpu(void)
{
    if (serverPid < 0)
        return -1.0;
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/stat", serverPid);
    FILE* f = fopen(path, "r");
    if (!f)
        return -1.0;
    char line[1024];
    double seconds = -1.0;
    if (fgets(line, sizeof line, f)) {
        const char* after = strrchr(line, ')');
        unsigned long user = 0, system = 0;
        // Fields 14 and 15 (user and system ticks), counted after the name.
        if (after && sscanf(after + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) == 2)
            seconds = (double)(user + system) / (double)sysconf(_SC_CLK_TCK);
    }
    fclose(f);
    return seconds;
}

struct CpuRun : FrameObserver
{
    CpuResults* out;
    double seconds;
    long frames;
    int step;
    double stepStart;
    int lastState;
    double windowStart, cpuStart, serverStart;
    long framesStart;
    int upHeld;

    void FrameEnded(double) override { frames++; }

    void Begin()
    {
        windowStart = Now();
        cpuStart = CpuNow();
        serverStart = ServerCpu();
        framesStart = frames;
    }
    void End(CpuWindow* w)
    {
        double elapsed = Now() - windowStart;
        w->cpuPercent = (CpuNow() - cpuStart) / elapsed * 100.0;
        double server = ServerCpu();
        w->serverPercent = server >= 0.0 && serverStart >= 0.0 ? (server - serverStart) / elapsed * 100.0 : -1.0;
        w->fps = (double)(frames - framesStart) / elapsed;
        w->pacing = VTPlatformIsPacingFrames();
    }

    void Act(GameData* d)
    {
        int state = VTSMGetCurrentState();
        double now = Now();
        if (state != lastState) {
            lastState = state;
            stepStart = now;
        }
        double inState = now - stepStart;
        switch (step) {
        case 0:
            if (state == STATE_MENU && inState > 1.0) {
                Begin();
                step = 1;
            }
            break;
        case 1:
            if (inState > 1.0 + seconds) {
                End(&out->menu);
                d->menuIndex = 1;
                Tap(VK_ENTER);
                step = 2;
            }
            break;
        case 2:
            if (state == STATE_SELECT && inState > 0.5) {
                d->shipType = 1;
                Tap(VK_ENTER);
                step = 3;
            }
            break;
        case 3:
            if (state != STATE_PLAY)
                break;
            KeepPlayAlive(d);
            if (inState > 2.2 && !upHeld) {
                Key(VK_UP, 1);
                upHeld = 1;
            }
            if (inState > 3.0) {
                Begin();
                step = 4;
            }
            break;
        case 4:
            KeepPlayAlive(d);
            if (inState > 3.0 + seconds) {
                End(&out->play);
                Key(VK_UP, 0);
                Tap(VK_F4);
                step = 5;
            }
            break;
        default:
            break;
        }
    }
};

static CpuRun* cpuRun;

static void CpuHook(void*)
{
    ReleaseTap();
    cpuRun->Act(VTSMGetGameData());
}

void RunCpu(double seconds, CpuResults* out)
{
    static CpuRun run;
    run.out = out;
    run.seconds = seconds;
    run.lastState = -1;
    cpuRun = &run;
    FindServer();
    SetFrameObserver(&run);
    VTPlatformScriptPad(NULL);
    VTPlatformSetFrameHook(CpuHook, NULL);
    KelvaroMain();
    out->finished = run.step == 5;
}
