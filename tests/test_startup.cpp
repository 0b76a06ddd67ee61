// The real program, run headless for a few frames: start-up order, the
// saved options choosing the window, full screen and its fallback, and a
// window closed by the window manager ending the running state cleanly.
#include <gtest/gtest.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include "harness.h"
#include "kelvaro.h"
#include "vtapplication.h"
#include "vtinput.h"
#include "vtstatemanager.h"

namespace {

struct Seen
{
    int frames;
    int current, previous, next, count, capacity;
    int width, height, fullScreen;
    int clientWidth, clientHeight;
    GameData data;
    int boxes;
    char box[1024];
    int exitCode;
};

Seen* RunWithFiles(const TempDataHome&, int frames = 3)
{
    Seen* seen = SharedBlock<Seen>();
    int status = RunInChild([seen, frames] {
        GameScript script;
        script.frames = frames;
        script.onFrame = [seen](int frame, GameData* data) {
            seen->frames = frame + 1;
            seen->current = VTSMGetCurrentState();
            seen->previous = VTSMGetPreviousState();
            seen->next = VTSMGetNextState();
            seen->count = VTSMGetStateCount();
            seen->capacity = VTSMGetStateCapacity();
            seen->width = VTApplicationGetWidth();
            seen->height = VTApplicationGetHeight();
            seen->fullScreen = VTApplicationIsFullScreen();
            seen->data = *data;
        };
        seen->exitCode = RunGame(script);
        seen->boxes = (int)ShownBoxes().size();
        if (!ShownBoxes().empty())
            snprintf(seen->box, sizeof seen->box, "%s", ShownBoxes()[0].second.c_str());
    });
    EXPECT_EQ(0, status);
    return seen;
}

// Full-screen tests switch the display for real: run them only on a display
// with a single mode (Xvfb), never on a developer's desktop.
bool DisplayHasOneMode()
{
    return RunInChild([] {
        VTPlatformInit();
        _exit(VTPlatformCountDisplayModes() == 1 ? 0 : 10);
    }) == 0;
}

} // namespace

TEST(Startup, RunsTheFirstSplashOfEightStates)
{
    TempDataHome home;
    home.Write("Option.txt", "001");
    home.Write("Tutorial.txt", "0");
    Seen* seen = RunWithFiles(home);
    EXPECT_EQ(0, seen->exitCode);
    EXPECT_EQ(3, seen->frames);
    EXPECT_EQ(5, seen->current);
    EXPECT_EQ(5, seen->previous);
    EXPECT_EQ(5, seen->next);
    EXPECT_EQ(8, seen->count);
    EXPECT_EQ(8, seen->capacity);
    EXPECT_EQ(0, seen->boxes) << seen->box;
    // The record the states see: start values, the files, and the reset.
    EXPECT_EQ(1, seen->data.shipType);
    EXPECT_EQ(1, seen->data.level);
    EXPECT_EQ(1, seen->data.scoreMultiplier);
    EXPECT_EQ(0, seen->data.tutorialPending);
    EXPECT_EQ(0, seen->data.soundOn);
    EXPECT_EQ(0, seen->data.fullScreen);
    EXPECT_STREQ("00", seen->data.unlockedShips);
    EXPECT_FLOAT_EQ(50.0f, seen->data.fuel);
    EXPECT_EQ(1, seen->data.gameOverPending);
    // Closing the window ends the program without touching the files.
    EXPECT_EQ("001", home.Read("Option.txt"));
    EXPECT_EQ("<missing>", home.Read("Score.txt"));
}

TEST(Startup, ResolutionOptionChoosesTheWindow)
{
    struct Case { const char* option; int width, height; };
    const Case cases[] = {
        {"010", 1024, 768}, {"011", 1280, 720}, {"012", 1920, 1080}, {"01x", 1280, 720},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        TempDataHome home;
        home.Write("Option.txt", c.option);
        Seen* seen = RunWithFiles(home, 1);
        EXPECT_EQ(c.width, seen->width);
        EXPECT_EQ(c.height, seen->height);
        EXPECT_FLOAT_EQ((float)c.width, seen->data.screenWidth);
        EXPECT_FLOAT_EQ((float)c.height, seen->data.screenHeight);
        EXPECT_EQ(0, seen->boxes);
    }
    int width, height;
    for (int resolution : {-1, 3, 1000}) {
        ResolutionToSize(resolution, &width, &height);
        EXPECT_EQ(1280, width);
        EXPECT_EQ(720, height);
    }
}

TEST(Startup, FreshInstallationAsksForFullScreen)
{
    if (!DisplayHasOneMode())
        GTEST_SKIP() << "would change a real display's mode";
    // No saved files: the options of a fresh installation, full screen among
    // them. A display without a 1280x720 mode (Xvfb) refuses it: the notice
    // shows once and the game goes on windowed.
    TempDataHome home;
    Seen* seen = RunWithFiles(home);
    EXPECT_EQ(0, seen->exitCode);
    EXPECT_EQ(1, seen->data.tutorialPending);
    EXPECT_EQ(1, seen->data.soundOn);
    EXPECT_EQ(1, seen->data.resolution);
    EXPECT_EQ(1280, seen->width);
    if (seen->fullScreen) {
        EXPECT_EQ(0, seen->boxes);
    } else {
        EXPECT_EQ(1, seen->boxes);
        EXPECT_STREQ("FullScreen is not supported. You are being switched to Windowed Mode", seen->box);
    }
    EXPECT_EQ(1, seen->data.fullScreen) << "the option itself is kept";
}

TEST(Startup, FullScreenAtTheDesktopsOwnSize)
{
    if (!DisplayHasOneMode())
        GTEST_SKIP() << "would change a real display's mode";
    // Xvfb's one mode is 1920x1080: that switch is granted.
    TempDataHome home;
    home.Write("Option.txt", "102");
    Seen* seen = RunWithFiles(home);
    EXPECT_EQ(0, seen->exitCode);
    EXPECT_NE(seen->fullScreen, seen->boxes) << "either full screen or the notice";
    EXPECT_EQ(1920, seen->width);
}

namespace {
struct Lifecycle
{
    char log[256];
    int boxes;
    int quitting;
};
Lifecycle* life;
void Add(const char* entry) { strncat(life->log, entry, sizeof life->log - strlen(life->log) - 1); }
void Load(GameData*) { Add("L"); }
void Init(GameData*) { Add("I"); }
void Update(GameData*, float) { Add("U"); }
void Shutdown(GameData*) { Add("S"); }
void Unload(GameData*) { Add("X"); }
int frames;
void CloseAtThirdFrame(void*)
{
    VTPlatformAdvanceClock(0.01);
    if (++frames == 3)
        PostMessage(VT_WM_CLOSE, 0, 0);
}
int CountBox(const char*, const char*)
{
    life->boxes++;
    return VT_ANSWER_NO;
}
} // namespace

TEST(Startup, WindowManagerCloseEndsTheStateCleanly)
{
    life = SharedBlock<Lifecycle>();
    EXPECT_EQ(0, RunInChild([] {
        VTPlatformSetMessageBoxHook(CountBox);
        VTPlatformUseVirtualClock();
        VTPlatformSetFrameHook(CloseAtThirdFrame, NULL);
        int record = 0;
        VTApplicationInitInfo info = {NULL, "Kelvaro", &record, (int)sizeof record, 480, 640, 0};
        VTApplicationInit(&info);
        VTStateFunctions state = {Load, Init, Update, Shutdown, Unload};
        VTSMSetStartState(VTSMAddState(&state));
        VTApplicationUpdate();
        life->quitting = VTApplicationIsQuitting();
        VTApplicationShutdown();
    }));
    // The close arrives in the third frame, whose Update still runs.
    EXPECT_STREQ("LIUUUSX", life->log);
    EXPECT_EQ(1, life->quitting);
    EXPECT_EQ(0, life->boxes) << "no texture or guard assertion on the way out";
}

namespace {
struct Placement
{
    int width, height, clientWidth, clientHeight, desktopWidth, desktopHeight;
    int x, y, cursor[3];
};
} // namespace

TEST(Startup, ResolutionChangeResizesAndCentresTheWindow)
{
    Placement* seen = SharedBlock<Placement>();
    EXPECT_EQ(0, RunInChild([seen] {
        int record = 0;
        VTApplicationInitInfo info = {NULL, "Kelvaro", &record, (int)sizeof record, 720, 1280, 0};
        VTApplicationInit(&info);
        VTApplicationSetResolution(1024, 768);
        VTApplicationProcessMessages(); // the size message follows the change
        seen->width = VTApplicationGetWidth();
        seen->height = VTApplicationGetHeight();
        VTPlatformGetDesktopSize(&seen->desktopWidth, &seen->desktopHeight);
        int rect[4] = {0, 0, 1024, 768};
        VTApplicationCenterWindow(VT_STYLE_FULLSCREEN, rect, &seen->x, &seen->y);
        // The cursor counter counts like the system's: hidden below zero.
        seen->cursor[0] = VTApplicationShowCursor(0);
        seen->cursor[1] = VTApplicationShowCursor(0);
        seen->cursor[2] = VTApplicationShowCursor(1);
        VTApplicationClose(0); // does nothing
        EXPECT_EQ(0, VTApplicationIsQuitting());
        VTApplicationClose(1);
        EXPECT_EQ(1, VTApplicationIsQuitting());
    }));
    EXPECT_EQ(1024, seen->width);
    EXPECT_EQ(768, seen->height);
    EXPECT_EQ(seen->desktopWidth / 2 - 512, seen->x);
    EXPECT_EQ(seen->desktopHeight / 2 - 384, seen->y);
    EXPECT_EQ(-1, seen->cursor[0]);
    EXPECT_EQ(-2, seen->cursor[1]);
    EXPECT_EQ(-1, seen->cursor[2]);
}

TEST(Startup, FatalEndsInFullScreenStillEnd)
{
    if (!DisplayHasOneMode())
        GTEST_SKIP() << "would change a real display's mode";
    // The desktop mode is put back on the way out; the way out must stay the
    // same: the signal still kills, NO still exits with -1.
    struct Case { const char* name; int signalNumber; int status; };
    const Case cases[] = {{"crash", SIGSEGV, 128 + SIGSEGV}, {"abort", SIGABRT, 128 + SIGABRT},
                          {"assertion answered NO", 0, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int status = RunInChild([&c] {
            VTPlatformSetMessageBoxHook([](const char*, const char*) { return (int)VT_ANSWER_NO; });
            int record = 0, width = 0, height = 0;
            VTPlatformInit();
            VTPlatformGetDesktopSize(&width, &height);
            VTApplicationInitInfo info = {NULL, "Kelvaro", &record, (int)sizeof record, height, width, 1};
            VTApplicationInit(&info);
            if (c.signalNumber)
                raise(c.signalNumber);
            else
                VTInputIsPressed(0);
            _exit(3);
        });
        EXPECT_EQ(c.status, status);
    }
}
