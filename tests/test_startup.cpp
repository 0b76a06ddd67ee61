// The real program, run headless for a few frames: a fresh installation's
// options, full screen and its fallback.
#include <gtest/gtest.h>
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
    int frames, current, count, width, height, fullScreen, boxes, exitCode;
    GameData data;
    char box[1024];
};

// The program for a few frames on the files in the current data home: what
// its last frame saw.
Seen* RunWithFiles(int frames = 3)
{
    Seen* seen = SharedBlock<Seen>();
    EXPECT_EQ(0, RunInChild([seen, frames] {
        GameScript script;
        script.frames = frames;
        script.onFrame = [seen](int frame, GameData* data) {
            *seen = {frame + 1, VTSMGetCurrentState(), VTSMGetStateCount(), VTApplicationGetWidth(),
                     VTApplicationGetHeight(), VTApplicationIsFullScreen(), 0, 0, *data, ""};
        };
        seen->exitCode = RunGame(script);
        seen->boxes = (int)ShownBoxes().size();
        if (!ShownBoxes().empty())
            snprintf(seen->box, sizeof seen->box, "%s", ShownBoxes()[0].second.c_str());
    }));
    return seen;
}

} // namespace

TEST(Startup, FreshInstallationAsksForFullScreen)
{
    // Full screen switches a real display: only on one with a single mode (Xvfb).
    if (RunInChild([] { VTPlatformInit(); _exit(VTPlatformCountDisplayModes() == 1 ? 0 : 10); }) != 0)
        GTEST_SKIP() << "would change a real display's mode";
    // No saved files: the options of a fresh installation, full screen among
    // them. A display without a 1280x720 mode (Xvfb) refuses it: the notice
    // shows once and the game goes on windowed.
    TempDataHome home;
    Seen* seen = RunWithFiles();
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

