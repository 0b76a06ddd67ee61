// What the game meets outside its control, played through the real program
// with drawing skipped: hostile saved files, no sound device, kills mid-save,
// a pulled controller, closes, five-second frames, the display mode on exit.
#include <dirent.h>
#include <gtest/gtest.h>
#include <SDL.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "harness.h"
#include "savedfiles.h"
#include "frame_floats.h"
#include "states.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtstatemanager.h"
#include "vttextureloading.h"

namespace {

const double FRAME = 1.0 / 60.0;

// Windows virtual keys.
enum : unsigned long { VK_ESC = 27, VK_SPACE = 32, VK_DOWN = 40 };

struct Outcome
{
    int status, exitCode, frames, boxes, textures, nonFinite;
    char firstBox[256];
    char firstNonFinite[160];
    int marks[8]; // what each test notes along the way
};
Outcome* outcome;

// Runs the program in a child for at most frames frames without drawing,
// checking every float it can reach at every frame.
Outcome* Play(int frames, const std::function<void(int, GameData*)>& onFrame)
{
    static std::function<void(int, GameData*)> script;
    script = onFrame;
    outcome = SharedBlock<Outcome>();
    outcome->status = RunInChild([frames] {
        VTGraphicsSetNullDraw(1);
        GameScript run;
        run.frames = frames;
        run.onFrame = [](int frame, GameData* data) {
            script(frame, data);
            char what[128];
            CheckFrameFloats(data, what, sizeof what);
            if (what[0] && outcome->nonFinite++ == 0)
                snprintf(outcome->firstNonFinite, sizeof outcome->firstNonFinite, "frame %d: %s", frame, what);
            outcome->frames = frame + 1;
        };
        outcome->exitCode = RunGame(run);
        outcome->boxes = (int)ShownBoxes().size();
        if (outcome->boxes)
            snprintf(outcome->firstBox, sizeof outcome->firstBox, "%s", ShownBoxes()[0].second.c_str());
        outcome->textures = VTGraphicsGetTextureCount();
    });
    return outcome;
}

void ExpectCleanEnd(const Outcome* o)
{
    EXPECT_EQ(0, o->status);
    EXPECT_EQ(0, o->exitCode);
    EXPECT_EQ(0, o->boxes) << o->firstBox;
    EXPECT_EQ(0, o->textures) << "textures left loaded";
    EXPECT_EQ(0, o->nonFinite) << o->firstNonFinite;
}

void Tap(int frame, int at, unsigned long vk)
{
    if (frame == at || frame == at + 1)
        PostKey(vk, frame == at);
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Heads for state (the program starts in the splash) with ship 1 on level 1.
void GoTo(int state, GameData* d)
{
    d->shipType = 1;
    d->level = 1;
    if (state != STATE_SPLASH)
        VTSMSetNextState(state);
}

// Options: sound toggled; then play, coasting until the black hole takes the
// ship; back to the menu from the game-over screen; the window closed.
// marks: 0 options seen, 1 death frame, 2 menu seen again.
void Tour(int f, GameData* d)
{
    static int dead;
    int state = VTSMGetCurrentState();
    if (f == 0) {
        dead = 0;
        VTSMSetNextState(STATE_OPTION);
    }
    if (state == STATE_OPTION)
        outcome->marks[0] = 1;
    Tap(f, 20, VK_DOWN);
    Tap(f, 40, VK_SPACE);
    Tap(f, 70, VK_ESC);
    if (f == 100)
        GoTo(STATE_PLAY, d);
    if (state == STATE_PLAY && d->level == 0 && !dead)
        dead = outcome->marks[1] = f;
    if (dead)
        Tap(f, dead + 120, VK_ESC);
    if (dead && state == STATE_MENU && !outcome->marks[2]) {
        outcome->marks[2] = f;
        PostMessage(VT_WM_CLOSE, 0, 0);
    }
}

} // namespace

// 0 when the process now runs as nobody with only the right to read and
// search every folder; unchanged (and non-0) where that right cannot be kept.
static int DropToNobodyWhoReadsEverything()
{
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2] = {};
    if (syscall(SYS_capget, &header, caps) != 0 || !(caps[0].permitted & (1u << CAP_DAC_READ_SEARCH)))
        return 1;
    if (prctl(PR_SET_KEEPCAPS, 1) != 0 || setresgid(65534, 65534, 65534) || setresuid(65534, 65534, 65534))
        return 1;
    caps[0].effective = caps[0].permitted = caps[0].inheritable = 1u << CAP_DAC_READ_SEARCH;
    caps[1] = {};
    return (int)syscall(SYS_capset, &header, caps);
}

TEST(Faults, HostileSavedFilesAndNoSoundDeviceLeavePlayGoingSilently)
{
    enum Setup { NO_SOUND_DEVICE, DATA_IS_A_FILE, DATA_READ_ONLY, DAMAGED_FILES };
    struct Case { const char* name; Setup setup; const char* optionAfter; };
    const Case cases[] = {
        {"no sound device", NO_SOUND_DEVICE, "000"},
        {"Data is a plain file", DATA_IS_A_FILE, NULL},
        {"Data cannot be written", DATA_READ_ONLY, "010"},
        {"damaged saved files", DAMAGED_FILES, "001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataHome home;
        std::string data = home.path + "/kelvaro/Data";
        static Setup setup;
        setup = c.setup;
        if (c.setup == DATA_IS_A_FILE) {
            mkdir((home.path + "/kelvaro").c_str(), 0755);
            std::ofstream(data) << "keep";
        } else if (c.setup == DAMAGED_FILES) {
            // Windowed, then a NUL; a megabyte with no line break; NULs.
            home.Write("Option.txt", std::string("0\0\n", 3));
            home.Write("Tutorial.txt", std::string(1 << 20, 'x'));
            home.Write("UnlockShip.txt", std::string(3, '\0'));
        } else {
            home.Write("Option.txt", "010");
        }
        if (c.setup == DATA_READ_ONLY) {
            chmod(home.path.c_str(), 0755);
            chmod((home.path + "/kelvaro").c_str(), 0755);
            chmod(data.c_str(), 0555);
        }
        // No driver of that name: the device cannot open.
        if (c.setup == NO_SOUND_DEVICE)
            setenv("SDL_AUDIODRIVER", "kelvaro_no_such_driver", 1);
        Outcome* o = Play(1500, [data](int f, GameData* d) {
            // Root writes anywhere: the run gives up its rights first, all
            // but reading, since the game's pictures may lie in a folder
            // only root can enter (a clone in a 0700 home).
            if (f == 0 && setup == DATA_READ_ONLY && geteuid() == 0)
                outcome->marks[5] = DropToNobodyWhoReadsEverything();
            if (f == 0 && setup == DATA_READ_ONLY)
                outcome->marks[4] = access(data.c_str(), W_OK) == 0;
            Tour(f, d);
        });
        unsetenv("SDL_AUDIODRIVER");
        if (c.setup == DATA_READ_ONLY && o->marks[4]) {
            chmod(data.c_str(), 0755);
            GTEST_SKIP() << "cannot take away the right to write here";
        }
        // No options to read: a fresh installation asks for full screen, which
        // a display without a 1280 x 720 mode refuses with a notice.
        if (c.setup == DATA_IS_A_FILE && o->boxes == 1 && strstr(o->firstBox, "FullScreen is not supported"))
            o->boxes = 0;
        ExpectCleanEnd(o);
        EXPECT_EQ(1, o->marks[0]) << "options reached";
        EXPECT_GT(o->marks[1], 0) << "the ship died";
        EXPECT_GT(o->marks[2], 0) << "back at the menu";
        if (c.optionAfter) {
            EXPECT_EQ(c.optionAfter, home.Read("Option.txt"));
        } else {
            EXPECT_EQ("keep", FileText(data)) << "the plain file is left alone";
        }
        EXPECT_EQ(0, TemporaryFiles(data));
        chmod(data.c_str(), 0755);
    }
}

TEST(Faults, KilledWhileSavingLeavesTheOldFileOrTheNewOneNeverATornOne)
{
    TempDataHome home;
    home.Write("Score.txt", "7");
    home.Write("Option.txt", "101");
    unsigned seed = 12345;
    for (int round = 0; round < 300; round++) {
        fflush(stdout);
        pid_t pid = fork();
        if (pid == 0) {
            // Saves as fast as it can until killed: two sizes of score text.
            GameData data;
            GameDataSetStartValues(&data);
            for (int n = 0;; n++) {
                data.lastScore = n % 2 ? 1234567.0f : 7.0f;
                data.soundOn = n % 2;
                SaveScoreFile(&data);
                SaveOptionFile(&data);
            }
        }
        seed = seed * 1103515245u + 12345u;
        usleep(200 + (seed >> 8) % 3000);
        kill(pid, SIGKILL);
        waitpid(pid, NULL, 0);
        std::string score = home.Read("Score.txt");
        std::string option = home.Read("Option.txt");
        ASSERT_TRUE(score == "7" || score == "1234567") << "round " << round << ": Score.txt '" << score << "'";
        ASSERT_TRUE(option == "101" || option == "111") << "round " << round << ": Option.txt '" << option << "'";
    }
    // A temporary file left behind shows a kill landed inside a save.
    int interrupted = TemporaryFiles(home.path + "/kelvaro/Data");
    EXPECT_GT(interrupted, 10) << "the kills missed the saves";
    printf("%d of 300 kills landed inside a save\n", interrupted);
}

TEST(Faults, ControllerPulledAndPushedBackDuringPlay)
{
    // marks: 0 A seen through the pad, 1 paused after a pull, 2 rounds
    // played through alive (a planet may still take the coasting ship).
    TempDataHome home;
    home.Write("Option.txt", "010");
    // Parallel test windows share one X server and take the focus from each
    // other; SDL drops an unfocused window's pad buttons unless told not to.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    static SDL_Joystick* stick;
    static int device, alive;
    Outcome* o = Play(500, [](int f, GameData* d) {
        if (f == 0) {
            VTPlatformUseRealPad(); // SDL's own controllers from here on
            GoTo(STATE_PLAY, d);
        }
        // Eight rounds of 25 frames after the launch: plug in, press A,
        // pull the pad mid-press, resume with escape.
        int t = f - 150, step = t % 25;
        if (t < 0 || t >= 200)
            return;
        alive = (step == 0 || alive) && VTSMGetCurrentState() == STATE_PLAY && d->level == 1;
        if (step == 0) {
            device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                               SDL_CONTROLLER_BUTTON_MAX, 0);
            stick = SDL_JoystickOpen(device);
        }
        if (step == 3)
            SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
        if (step == 6)
            outcome->marks[0] += alive && VTInputIsPressed(VT_KEY_PAD_A);
        if (step == 8) {
            SDL_JoystickClose(stick);
            SDL_JoystickDetachVirtual(device);
        }
        if (step == 12)
            outcome->marks[1] += alive && d->paused == 1;
        if (step == 12 || step == 13)
            PostKey(VK_ESC, step == 12);
        if (step == 20) {
            EXPECT_FALSE(alive && d->paused) << "still paused at frame " << f;
            outcome->marks[2] += alive;
        }
    });
    ExpectCleanEnd(o);
    EXPECT_GE(o->marks[2], 4) << "too few rounds before the ship was lost";
    EXPECT_EQ(o->marks[2], o->marks[0]) << "the pad answers after every plug-in";
    EXPECT_EQ(o->marks[2], o->marks[1]) << "every pull pauses play";
}

TEST(Faults, WindowClosedInEveryStateEndsItCleanly)
{
    // Closed close frames after arriving (or after the death, with die); the
    // saved file written on the way out shows the state's Shutdown ran.
    struct Route { const char* name; int state, close, pause, die; const char* written; };
    static const Route routes[] = {
        {"splash", STATE_SPLASH, 5, 0, 0, NULL},
        {"logo", STATE_LOGO, 5, 0, 0, NULL},
        {"menu", STATE_MENU, 10, 0, 0, NULL},
        {"options", STATE_OPTION, 10, 0, 0, "Option.txt"},
        {"credits", STATE_CREDIT, 10, 0, 0, NULL},
        {"ship select", STATE_SELECT, 10, 0, 0, NULL},
        {"tutorial", STATE_TUTORIAL, 200, 0, 0, "Tutorial.txt"},
        {"play, launching", STATE_PLAY, 30, 0, 0, "UnlockShip.txt"},
        {"play, paused", STATE_PLAY, 180, 1, 0, "UnlockShip.txt"},
        {"play, game over", STATE_PLAY, 90, 0, 1, "Score.txt"},
    };
    for (const Route& r : routes) {
        SCOPED_TRACE(r.name);
        TempDataHome home;
        home.Write("Option.txt", "01x"); // written back as "011" by the options
        static const Route* route;
        route = &r;
        static int arrivedAt, diedAt;
        Outcome* o = Play(2000, [](int f, GameData* d) {
            const Route& k = *route;
            int state = VTSMGetCurrentState();
            if (f == 0) {
                arrivedAt = diedAt = 0;
                GoTo(k.state, d);
            }
            if (!arrivedAt && state == k.state && (f > 0 || k.state == STATE_SPLASH))
                arrivedAt = f;
            if (!arrivedAt)
                return;
            if (k.pause)
                Tap(f, arrivedAt + 150, VK_ESC);
            if (k.die && !diedAt && d->level == 0)
                diedAt = f;
            int from = k.die ? diedAt : arrivedAt;
            if (from && f == from + k.close) {
                outcome->marks[0] = state;
                outcome->marks[1] = d->paused;
                outcome->marks[2] = d->level;
                PostMessage(VT_WM_CLOSE, 0, 0);
            }
        });
        ExpectCleanEnd(o);
        EXPECT_LT(o->frames, 2000) << "never closed";
        EXPECT_EQ(r.state, o->marks[0]);
        EXPECT_EQ(r.pause, o->marks[1]);
        if (r.die) {
            EXPECT_EQ(0, o->marks[2]);
        }
        if (r.written) {
            EXPECT_NE("<missing>", home.Read(r.written)) << r.written;
        }
        EXPECT_EQ(r.state == STATE_OPTION ? "011" : "01x", home.Read("Option.txt"));
    }
}

TEST(Faults, FiveSecondFramesLeaveEveryFloatFinite)
{
    struct Case { const char* name; int state; int at; int frames; int warp; int die; };
    static const Case cases[] = {
        {"splash", STATE_SPLASH, 2, 1, 0, 0},
        {"menu", STATE_MENU, 20, 1, 0, 0},
        {"options", STATE_OPTION, 20, 1, 0, 0},
        {"credits", STATE_CREDIT, 20, 1, 0, 0},
        {"ship select", STATE_SELECT, 20, 1, 0, 0},
        {"tutorial", STATE_TUTORIAL, 150, 1, 0, 0},
        {"play, launching", STATE_PLAY, 30, 1, 0, 0},
        {"play, three in a row", STATE_PLAY, 200, 3, 0, 0},
        {"play, warping out", STATE_PLAY, 200, 1, 1, 0},
        {"play, game over", STATE_PLAY, 30, 1, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataHome home;
        home.Write("Option.txt", "010");
        static const Case* now;
        now = &c;
        static int arrivedAt;
        Outcome* o = Play(1500, [](int f, GameData* d) {
            const Case& k = *now;
            int state = VTSMGetCurrentState();
            if (f == 0) {
                arrivedAt = -1;
                GoTo(k.state, d);
            }
            // Play's clock starts with the state; a game over with the death.
            int ready = state == k.state && (f > 0 || k.state == STATE_SPLASH) && (!k.die || d->level == 0);
            if (arrivedAt < 0 && ready)
                arrivedAt = f;
            if (arrivedAt < 0)
                return;
            int t = f - arrivedAt;
            if (k.state == STATE_PLAY && t >= 150 && !k.die && (t % 60 == 0 || t % 60 == 40))
                PostKey(38, t % 60 == 0); // thrust in bursts
            if (k.warp && (t == k.at - 10 || t == k.at + 5)) {
                PostKey('3', t < k.at);
                PostKey('4', t < k.at);
            }
            if (t >= k.at && t < k.at + k.frames) {
                VTPlatformAdvanceClock(5.0 - FRAME); // this frame lasts five seconds
                outcome->marks[0]++;
            }
            if (t == k.at + k.frames + 120)
                PostMessage(VT_WM_CLOSE, 0, 0);
        });
        ExpectCleanEnd(o);
        EXPECT_EQ(c.frames, o->marks[0]) << "long frames given";
        EXPECT_LT(o->frames, 1500) << "never closed";
    }
}

// --- the desktop's display mode ------------------------------------------------

namespace {

struct FullScreenLog
{
    int entered;        // full screen was granted at least once
    unsigned lastFlags; // of the last change before the process ended
};
FullScreenLog* fullScreenLog;

} // namespace

// The test program is linked with --wrap for this call: every full-screen
// change the platform makes passes here and is noted.
extern "C" int __real_SDL_SetWindowFullscreen(SDL_Window* window, Uint32 flags);
extern "C" int __wrap_SDL_SetWindowFullscreen(SDL_Window* window, Uint32 flags)
{
    int result = __real_SDL_SetWindowFullscreen(window, flags);
    if (fullScreenLog) {
        fullScreenLog->lastFlags = flags;
        if (flags && result == 0 && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN))
            fullScreenLog->entered = 1;
    }
    return result;
}

TEST(DisplayMode, PutBackOnEveryWayOut)
{
    // This switches the display for real: only on one with a single mode (Xvfb).
    if (RunInChild([] { VTPlatformInit(); _exit(VTPlatformCountDisplayModes() == 1 ? 0 : 10); }) != 0)
        GTEST_SKIP() << "would change a real display's mode";
    enum End { CLOSED, TERMINATED, ASSERTION_NO, CRASH, ABORT };
    struct Case { const char* name; End end; int status; };
    const Case cases[] = {
        {"window closed", CLOSED, 0},
        {"terminated (SDL turns SIGTERM into a close)", TERMINATED, 0},
        {"assertion answered NO", ASSERTION_NO, 255},
        {"crash caught by the platform", CRASH, 128 + SIGSEGV},
        {"abort", ABORT, 128 + SIGABRT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataHome home;
        home.Write("Option.txt", "102"); // full screen at Xvfb's own 1920 x 1080
        fullScreenLog = SharedBlock<FullScreenLog>();
        static End end;
        end = c.end;
        int status = RunInChild([] {
            GameScript run;
            run.frames = 30;
            run.onFrame = [](int f, GameData*) {
                if (f != 5)
                    return;
                if (end == CLOSED)
                    PostMessage(VT_WM_CLOSE, 0, 0);
                else if (end == TERMINATED)
                    raise(SIGTERM);
                else if (end == ASSERTION_NO)
                    VTInputIsPressed(0); // out of range: the assertion, answered NO
                else
                    raise(end == CRASH ? SIGSEGV : SIGABRT);
            };
            RunGame(run);
        });
        EXPECT_EQ(c.status, status);
        if (!fullScreenLog->entered) {
            ADD_FAILURE() << "full screen was never granted: nothing to put back";
            continue;
        }
        EXPECT_EQ(0u, fullScreenLog->lastFlags) << "the process ended in full screen";
    }
    fullScreenLog = NULL;
}

#if defined(__SANITIZE_ADDRESS__)
// Children end with _exit, which skips LeakSanitizer's check at exit: the
// harness looks itself, and a block lost in a child must fail it.
void* volatile lostBlock;

TEST(Faults, ALeakInAChildFailsItsTest)
{
    EXPECT_EQ(CHILD_LEAKED, RunInChild([] {
        lostBlock = malloc(4096);
        lostBlock = NULL;
    }));
    EXPECT_EQ(0, RunInChild([] {}));
}
#endif
