// Input fed as the frame loop feeds it (window procedure, scripted pad): releases
// across frames, the key table, the mouse, and the pad's dead zones and triggers.
#include <gtest/gtest.h>

#include "harness.h"
#include "vtapplication.h"
#include "vtinput.h"

namespace {

void StartInput()
{
    VTPlatformScriptPad(NULL);
    VTInputInit();
}

void Message(unsigned message, unsigned long wParam = 0, long lParam = 0)
{
    VTApplicationWindowProc(NULL, message, wParam, lParam);
}

void KeyDown(unsigned long vk) { Message(VT_WM_KEYDOWN, vk); }
void KeyUp(unsigned long vk) { Message(VT_WM_KEYUP, vk); }

void NextFrame() { VTInputUpdate(); }

#define EXPECT_KEY(key, pressed, triggered)                    \
    do {                                                       \
        EXPECT_EQ(pressed, VTInputIsPressed(key)) << "pressed"; \
        EXPECT_EQ(triggered, VTInputIsTriggered(key)) << "triggered"; \
    } while (0)

} // namespace

TEST(Input, KeyAndMouseTransitionsAcrossFrames)
{
    EXPECT_EQ(0, RunInChild([] {
        StartInput();
        SCOPED_TRACE("tap between two frames: one frame pressed and triggered");
        NextFrame();
        KeyDown('A');
        KeyUp('A');
        EXPECT_KEY(VT_KEY_A, 1, 1);
        NextFrame();
        EXPECT_KEY(VT_KEY_A, 0, 0);

        SCOPED_TRACE("held: triggered once, pressed until the frame after the release");
        KeyDown(32);
        EXPECT_KEY(VT_KEY_SPACE, 1, 1);
        NextFrame();
        KeyDown(32); // auto-repeat
        EXPECT_KEY(VT_KEY_SPACE, 1, 0);
        EXPECT_EQ(1, VTInputIsRepeated(VT_KEY_SPACE));
        NextFrame();
        EXPECT_EQ(0, VTInputIsRepeated(VT_KEY_SPACE));
        KeyUp(32);
        EXPECT_KEY(VT_KEY_SPACE, 1, 0);
        NextFrame();
        EXPECT_KEY(VT_KEY_SPACE, 0, 0);

        SCOPED_TRACE("released and pressed again between frames: no new trigger, then released");
        KeyDown('Z');
        NextFrame();
        KeyUp('Z');
        KeyDown('Z');
        EXPECT_KEY(VT_KEY_Z, 1, 0);
        NextFrame();
        EXPECT_KEY(VT_KEY_Z, 0, 0);

        SCOPED_TRACE("unmapped keys never reach a query");
        KeyDown(VT_VK_UNKNOWN);
        KeyDown(18); // Alt
        for (int key = 1; key < VT_KEY_COUNT; key++)
            EXPECT_EQ(0, VTInputIsPressed(key)) << key;

        SCOPED_TRACE("the release stack grows past its start");
        NextFrame();
        // The pad alone pushes 14 releases a frame; add every letter on top.
        for (unsigned long vk = 'A'; vk <= 'Z'; vk++) {
            KeyDown(vk);
            KeyUp(vk);
        }
        NextFrame();
        for (int key = VT_KEY_A; key <= VT_KEY_Z; key++)
            EXPECT_EQ(0, VTInputIsPressed(key)) << key;

        SCOPED_TRACE("mouse buttons");
        Message(VT_WM_LBUTTONDOWN);
        Message(VT_WM_RBUTTONDOWN);
        Message(VT_WM_MBUTTONDOWN);
        EXPECT_KEY(VT_KEY_LBUTTON, 1, 1);
        EXPECT_KEY(VT_KEY_RBUTTON, 1, 1);
        EXPECT_KEY(VT_KEY_MBUTTON, 1, 1);
        Message(VT_WM_RBUTTONUP);
        NextFrame();
        EXPECT_KEY(VT_KEY_LBUTTON, 1, 0);
        EXPECT_KEY(VT_KEY_RBUTTON, 0, 0);

        SCOPED_TRACE("a wheel notch is one frame of press");
        Message(VT_WM_MOUSEWHEEL, 120ul << 16);
        EXPECT_KEY(VT_KEY_WHEEL_UP, 1, 1);
        EXPECT_KEY(VT_KEY_WHEEL_DOWN, 0, 0);
        NextFrame();
        EXPECT_KEY(VT_KEY_WHEEL_UP, 0, 0);
        Message(VT_WM_MOUSEWHEEL, (unsigned long)(-120 & 0xFFFF) << 16);
        EXPECT_KEY(VT_KEY_WHEEL_DOWN, 1, 1);
        NextFrame();
        Message(VT_WM_MOUSEWHEEL, 0);
        EXPECT_KEY(VT_KEY_WHEEL_UP, 0, 0);
        EXPECT_KEY(VT_KEY_WHEEL_DOWN, 0, 0);

        SCOPED_TRACE("positions left of and above the window are negative");
        Message(VT_WM_MOUSEMOVE, 0, (long)((0xFFFEul << 16) | 0xFFFBul));
        EXPECT_EQ(-5, VTInputGetMouseX());
        EXPECT_EQ(-2, VTInputGetMouseY());
        Message(VT_WM_MOUSEMOVE, 0, (long)((700ul << 16) | 1200ul));
        EXPECT_EQ(1200, VTInputGetMouseX());
        EXPECT_EQ(700, VTInputGetMouseY());
    }));
}

TEST(Input, KeyTable)
{
    struct Case { unsigned long vk; int code; };
    // The ends of each mapped range, then unmapped codes below, between and above them.
    const Case cases[] = {
        {8, VT_KEY_BACKSPACE}, {9, VT_KEY_TAB}, {13, VT_KEY_ENTER}, {16, VT_KEY_SHIFT},
        {17, VT_KEY_CONTROL}, {27, VT_KEY_ESCAPE}, {32, VT_KEY_SPACE}, {37, VT_KEY_LEFT},
        {40, VT_KEY_DOWN}, {48, VT_KEY_0}, {57, VT_KEY_9}, {65, VT_KEY_A}, {90, VT_KEY_Z},
        {112, VT_KEY_F1}, {123, VT_KEY_F12}, {160, VT_KEY_LSHIFT}, {163, VT_KEY_RCONTROL},
        {0, 0}, {7, 0}, {10, 0}, {18, 0}, {28, 0}, {33, 0}, {41, 0}, {47, 0}, {58, 0},
        {64, 0}, {91, 0}, {96, 0}, {111, 0}, {124, 0}, {159, 0}, {164, 0}, {255, 0}, {70000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        EXPECT_EQ(c.code, VTInputTranslateKey(c.vk));
    }
}

TEST(Input, OutOfRangeQueryAsserts)
{
    for (int key : {0, 84, -1}) {
        SCOPED_TRACE(key);
        int status = RunInChild([key] {
            StartInput();
            VTPlatformSetMessageBoxHook([](const char*, const char* text) {
                EXPECT_NE(nullptr, strstr(text, "Description: Key is out of range"));
                EXPECT_NE(nullptr, strstr(text, "Function: VTInputIsTriggered"));
                fflush(stdout);
                _exit(::testing::Test::HasFailure() ? 1 : 42);
                return (int)VT_ANSWER_NO;
            });
            VTInputIsTriggered(key);
        });
        EXPECT_EQ(42, status);
    }
}

TEST(Input, PadButtonsSticksAndTriggersFollowThePoll)
{
    EXPECT_EQ(0, RunInChild([] {
        StartInput();
        VTPadState pad = {};
        pad.buttons = VT_PAD_A | VT_PAD_DPAD_LEFT;
        VTPlatformScriptPad(&pad);
        NextFrame();
        EXPECT_KEY(VT_KEY_PAD_A, 1, 1);
        EXPECT_KEY(VT_KEY_PAD_LEFT, 1, 1);
        EXPECT_KEY(VT_KEY_PAD_B, 0, 0);
        EXPECT_EQ(1, VTInputIsGamepadConnected());
        NextFrame();
        EXPECT_KEY(VT_KEY_PAD_A, 1, 0);
        EXPECT_EQ(1, VTInputIsRepeated(VT_KEY_PAD_A));
        // The poll that sees the button up still reads it held ...
        pad.buttons = VT_PAD_DPAD_LEFT;
        VTPlatformScriptPad(&pad);
        NextFrame();
        EXPECT_KEY(VT_KEY_PAD_A, 1, 0);
        // ... and the next frame releases it.
        NextFrame();
        EXPECT_KEY(VT_KEY_PAD_A, 0, 0);
        EXPECT_KEY(VT_KEY_PAD_LEFT, 1, 0);

        SCOPED_TRACE("unplugged: everything reads up");
        pad.buttons = 0xFFFF;
        VTPlatformScriptPad(&pad);
        NextFrame();
        VTPlatformScriptPad(NULL);
        NextFrame();
        NextFrame();
        EXPECT_EQ(0, VTInputIsGamepadConnected());
        for (int key = VT_KEY_PAD_UP; key <= VT_KEY_PAD_Y; key++)
            EXPECT_EQ(0, VTInputIsPressed(key)) << key;

        SCOPED_TRACE("plugged in again: the left stick's dead zone and scale");
        struct Case { const char* name; short x, y; float lx, ly; };
        const Case left[] = {
            {"rest", 0, 0, 0, 0},           {"inside the dead zone", 7849, 0, 0, 0},
            {"dead zone on a diagonal", 5550, 5550, 0, 0}, {"just outside", 7850, 0, 1.0f / 24918.0f, 0},
            {"full right", 32767, 0, 1, 0}, {"full left clamps", -32768, 0, -1, 0},
            {"full up", 0, 32767, 0, 1},    {"half", 20308, 0, 0.5f, 0},
            {"corner keeps length 1", 32767, 32767, 0.70710677f, 0.70710677f},
        };
        for (const Case& c : left) {
            SCOPED_TRACE(c.name);
            pad = {};
            pad.thumbLX = pad.thumbRX = c.x;
            pad.thumbLY = pad.thumbRY = c.y;
            VTPlatformScriptPad(&pad);
            NextFrame();
            EXPECT_NEAR(c.lx, VTInputGetLeftStickX(), 1e-5);
            EXPECT_NEAR(c.ly, VTInputGetLeftStickY(), 1e-5);
        }

        SCOPED_TRACE("the right stick's zone is wider");
        pad = {};
        pad.thumbLX = pad.thumbRX = 8689;
        VTPlatformScriptPad(&pad);
        NextFrame();
        EXPECT_GT(VTInputGetLeftStickX(), 0.0f);
        EXPECT_EQ(0.0f, VTInputGetRightStickX());
        pad.thumbRX = -32767;
        VTPlatformScriptPad(&pad);
        NextFrame();
        EXPECT_FLOAT_EQ(-1.0f, VTInputGetRightStickX());

        struct Trigger { unsigned char raw; float value; };
        const Trigger triggers[] = {{0, 0}, {30, 0}, {31, 1.0f / 225}, {143, 0.50222224f}, {255, 1}};
        for (const Trigger& t : triggers) {
            SCOPED_TRACE(t.raw);
            pad.leftTrigger = t.raw;
            pad.rightTrigger = t.raw;
            VTPlatformScriptPad(&pad);
            NextFrame();
            EXPECT_FLOAT_EQ(t.value, VTInputGetLeftTrigger());
            EXPECT_FLOAT_EQ(t.value, VTInputGetRightTrigger());
        }
    }));
}
