// Menu input as the screens see it: the cursor's framed repeat and wraps,
// confirm and back, and directions from keys and both sticks.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "harness.h"
#include "menuinput.h"
#include "soundbank.h"
#include "vtinput.h"

namespace {

VTPadState pad;

void StartInput()
{
    memset(&pad, 0, sizeof pad);
    VTPlatformScriptPad(&pad);
    VTInputInit();
}

// One frame start with the keys and pad as they are now.
void Frame()
{
    VTPlatformScriptPad(&pad);
    VTInputUpdate();
}

void Stick(short lx, short ly, short rx = 0, short ry = 0)
{
    pad.thumbLX = lx;
    pad.thumbLY = ly;
    pad.thumbRX = rx;
    pad.thumbRY = ry;
}

GameData Menu(int index)
{
    GameData data;
    memset(&data, 0, sizeof data);
    data.menuIndex = index;
    data.menuRepeatTimer = 1.6f;
    return data;
}

} // namespace

TEST(MenuInput, HeldDirectionRepeatsEveryFifteenFramesWrapsAndTicksWithSound)
{
    EXPECT_EQ(0, RunInChild([] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        StartInput();
        SoundBankInit();
        GameData data = Menu(3);
        VTInputSetKey(VT_KEY_DOWN, 1);
        std::vector<int> movesAt;
        int index = data.menuIndex;
        for (int frame = 0; frame < 46; frame++) {
            Frame();
            MenuNavigate(&data, 3);
            if (data.menuIndex != index)
                movesAt.push_back(frame);
            index = data.menuIndex;
        }
        EXPECT_EQ((std::vector<int>{0, 15, 30, 45}), movesAt);
        EXPECT_EQ(1, data.menuIndex) << "3 -> 1 (wrap) -> 2 -> 3 -> 1";
        EXPECT_EQ(nullptr, EffectChannel) << "sound off: no tick";

        SCOPED_TRACE("released for one frame, the next press moves at once, and so does another direction");
        VTInputReleaseKey(VT_KEY_DOWN);
        Frame();
        MenuNavigate(&data, 3);
        EXPECT_FLOAT_EQ(1.6f, data.menuRepeatTimer);
        VTInputSetKey(VT_KEY_UP, 1);
        MenuNavigate(&data, 3);
        EXPECT_EQ(3, data.menuIndex) << "up from row 1 wraps to the last";
        VTInputSetKey(VT_KEY_DOWN, 1); // read before up
        MenuNavigate(&data, 3);
        EXPECT_EQ(1, data.menuIndex);
        VTInputReleaseKey(VT_KEY_DOWN);
        Frame();

        SCOPED_TRACE("up from row 0 also wraps; left and right leave the row");
        data = Menu(0);
        MenuNavigate(&data, 4);
        EXPECT_EQ(4, data.menuIndex);
        VTInputReleaseKey(VT_KEY_UP);
        Frame();
        Frame();
        VTInputSetKey(VT_KEY_LEFT, 1);
        data = Menu(2);
        MenuNavigate(&data, 4);
        EXPECT_EQ(2, data.menuIndex);
        EXPECT_FLOAT_EQ(1.7f, data.menuRepeatTimer);

        SCOPED_TRACE("after the record's reset the timer holds directions off for 15 frames");
        data = Menu(2);
        data.menuRepeatTimer = 0.0f;
        VTInputReleaseKey(VT_KEY_LEFT);
        Frame();
        VTInputSetKey(VT_KEY_DOWN, 1);
        int frames = 0;
        while (data.menuIndex == 2 && frames < 100) {
            MenuNavigate(&data, 4);
            frames++;
        }
        EXPECT_EQ(16, frames);

        SCOPED_TRACE("with sound on, a move (here a wrap) ticks");
        data = Menu(3);
        data.soundOn = 1;
        MenuNavigate(&data, 3);
        EXPECT_EQ(1, data.menuIndex);
        EXPECT_NE(nullptr, EffectChannel);
        EXPECT_EQ(1, VTAudioIsPlaying(EffectChannel));
        SoundBankRelease();
    }));
}

TEST(MenuInput, ConfirmBackAndDirections)
{
    EXPECT_EQ(0, RunInChild([] {
        StartInput();
        const int confirmKeys[] = {VT_KEY_SPACE,     VT_KEY_ENTER,      VT_KEY_PAD_START, VT_KEY_PAD_A,
                                   VT_KEY_PAD_X,     VT_KEY_PAD_LTHUMB, VT_KEY_PAD_RTHUMB};
        for (int key : confirmKeys) {
            SCOPED_TRACE(key);
            VTInputSetKey(key, 1);
            EXPECT_EQ(MENU_CONFIRM, MenuReadConfirm());
            Frame();
            EXPECT_EQ(MENU_NONE, MenuReadConfirm()) << "held is not confirmed again";
            VTInputReleaseKey(key);
            Frame();
        }
        SCOPED_TRACE("escape counts while held, pad back only when pressed");
        VTInputSetKey(VT_KEY_ESCAPE, 1);
        for (int frame = 0; frame < 3; frame++) {
            EXPECT_EQ(MENU_BACK, MenuReadConfirm());
            Frame();
        }
        VTInputReleaseKey(VT_KEY_ESCAPE);
        Frame();
        pad.buttons = VT_PAD_BACK;
        Frame();
        EXPECT_EQ(MENU_BACK, MenuReadConfirm());
        Frame();
        EXPECT_EQ(MENU_NONE, MenuReadConfirm());
        SCOPED_TRACE("a confirm in the same frame wins over back");
        pad.buttons = VT_PAD_A;
        VTInputSetKey(VT_KEY_ESCAPE, 1);
        Frame();
        EXPECT_EQ(MENU_CONFIRM, MenuReadConfirm());
        pad.buttons = 0;
        VTInputReleaseKey(VT_KEY_ESCAPE);

        SCOPED_TRACE("directions from both sticks");
        struct Case { const char* name; short lx, ly, rx, ry; int direction, leftRight; } cases[] = {
            {"left stick up", 0, 30000, 0, 0, MENU_DIR_UP, MENU_DIR_NONE},
            {"left stick down-ish", 5000, -30000, 0, 0, MENU_DIR_DOWN, MENU_DIR_NONE},
            {"left stick left", -30000, 2000, 0, 0, MENU_DIR_LEFT, MENU_DIR_LEFT},
            {"left stick right, slightly down", 30000, -3000, 0, 0, MENU_DIR_RIGHT, MENU_DIR_RIGHT},
            {"exactly 45 degrees: no sector", 30000, 30000, 0, 0, MENU_DIR_NONE, MENU_DIR_NONE},
            {"right stick when the left rests", 0, 0, -30000, 0, MENU_DIR_LEFT, MENU_DIR_LEFT},
            {"left stick first", 0, 30000, 30000, 2000, MENU_DIR_UP, MENU_DIR_RIGHT},
            {"exactly along an axis: a boundary too", 0, 0, 30000, 0, MENU_DIR_NONE, MENU_DIR_NONE},
            {"under half way: nothing", 12000, 0, 0, 0, MENU_DIR_NONE, MENU_DIR_NONE},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            Stick(c.lx, c.ly, c.rx, c.ry);
            Frame();
            EXPECT_EQ(c.direction, MenuReadDirection());
            EXPECT_EQ(c.leftRight, MenuReadStickLeftRight());
        }

        SCOPED_TRACE("keys are read when the sticks give nothing, right before left before down before up");
        Stick(30000, 30000);
        Frame();
        VTInputSetKey(VT_KEY_UP, 1);
        EXPECT_EQ(MENU_DIR_UP, MenuReadDirection());
        VTInputSetKey(VT_KEY_PAD_DOWN, 1);
        EXPECT_EQ(MENU_DIR_DOWN, MenuReadDirection());
        VTInputSetKey(VT_KEY_PAD_LSHOULDER, 1);
        EXPECT_EQ(MENU_DIR_LEFT, MenuReadDirection());
        VTInputSetKey(VT_KEY_RIGHT, 1);
        EXPECT_EQ(MENU_DIR_RIGHT, MenuReadDirection());
        EXPECT_EQ(MENU_DIR_NONE, MenuReadStickLeftRight()) << "the sticks-only reading ignores keys";
    }));
}
