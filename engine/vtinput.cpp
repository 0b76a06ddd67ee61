// vtinput.cpp -- key table, deferred releases and the gamepad poll.
// Releases wait on a stack until the next frame start so that a key pressed
// and released between two frames is still seen, for exactly one frame.
#include "vtinput.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "platform/vtplatform.h"
#include "vtdebug.h"

static int pressed[VT_KEY_COUNT];
static int triggered[VT_KEY_COUNT];
static int repeated[VT_KEY_COUNT];
static int* releasedKeys;
static int releasedCount;
static int releasedCapacity;
static int mouseX;
static int mouseY;
static VTPadState pad;
static int padConnected;
static int interrupted; // this frame: focus lost or the pad unplugged
static unsigned long frameNumber;
static float leftStickX, leftStickY, rightStickX, rightStickY;
static float leftTrigger, rightTrigger;
static int initCalls;

void VTInputInit(void)
{
    VT_ASSERT(++initCalls == 1, VT_MSG_NOT_STUDENTS);
    releasedKeys = (int*)VT_ALLOCATE(4 * sizeof *releasedKeys);
    releasedCapacity = releasedKeys ? 4 : 0;
    releasedCount = 0;
    mouseX = mouseY = 0;
    padConnected = 0;
    memset(pressed, 0, sizeof pressed);
    memset(triggered, 0, sizeof triggered);
    memset(repeated, 0, sizeof repeated);
}

void VTGrowStack(void)
{
    int grownCapacity = releasedCapacity > 0 ? releasedCapacity * 2 : 4;
    int* grown = (int*)VT_ALLOCATE((size_t)grownCapacity * sizeof *grown);
    if (grown) {
        if (releasedCount > 0)
            memcpy(grown, releasedKeys, (size_t)releasedCount * sizeof *grown);
        free(releasedKeys);
        releasedKeys = grown;
        releasedCapacity = grownCapacity;
    }
}

void VTInputReleaseKey(int key)
{
    if (releasedCount == releasedCapacity)
        VTGrowStack();
    if (releasedCount < releasedCapacity)
        releasedKeys[releasedCount++] = key;
}

void VTInputSetKey(int key, int down)
{
    if (key < 0 || key >= VT_KEY_COUNT)
        return;
    if (down) {
        if (!pressed[key]) {
            pressed[key] = 1;
            triggered[key] = 1;
        } else {
            repeated[key] = 1;
        }
    } else {
        VTInputReleaseKey(key);
    }
}

// Dead-zoned stick: the unit direction times a length rising from 0 at the
// zone's edge to 1 at full deflection. Only the scale is clamped, so a
// corner deflection still gives a unit-length vector.
static void DeadZone(short rawX, short rawY, float zone, float* outX, float* outY)
{
    float x = (float)rawX;
    float y = (float)rawY;
    float magnitude = (float)sqrt((double)(x * x + y * y));
    *outX = 0.0f;
    *outY = 0.0f;
    if (magnitude > zone) {
        float directionX = x / magnitude;
        float directionY = y / magnitude;
        if (magnitude > 32767.0f)
            magnitude = 32767.0f;
        float scale = (magnitude - zone) / (32767.0f - zone);
        *outX = directionX * scale;
        *outY = directionY * scale;
    }
}

static float Trigger(unsigned char value)
{
    return value > 30 ? (float)(value - 30) / 225.0f : 0.0f;
}

void VTInputPollGamepad(void)
{
    // Order matters only for the release stack; kept as the buttons are listed.
    static const struct { int key; unsigned short mask; } buttons[] = {
        {VT_KEY_PAD_START, VT_PAD_START},
        {VT_KEY_PAD_BACK, VT_PAD_BACK},
        {VT_KEY_PAD_A, VT_PAD_A},
        {VT_KEY_PAD_B, VT_PAD_B},
        {VT_KEY_PAD_X, VT_PAD_X},
        {VT_KEY_PAD_Y, VT_PAD_Y},
        {VT_KEY_PAD_UP, VT_PAD_DPAD_UP},
        {VT_KEY_PAD_DOWN, VT_PAD_DPAD_DOWN},
        {VT_KEY_PAD_LEFT, VT_PAD_DPAD_LEFT},
        {VT_KEY_PAD_RIGHT, VT_PAD_DPAD_RIGHT},
        {VT_KEY_PAD_LTHUMB, VT_PAD_LEFT_THUMB},
        {VT_KEY_PAD_RTHUMB, VT_PAD_RIGHT_THUMB},
        {VT_KEY_PAD_LSHOULDER, VT_PAD_LEFT_SHOULDER},
        {VT_KEY_PAD_RSHOULDER, VT_PAD_RIGHT_SHOULDER},
    };
    memset(&pad, 0, sizeof pad);
    int wasConnected = padConnected;
    padConnected = VTPlatformReadPad(&pad) ? 1 : 0;
    if (wasConnected && !padConnected)
        interrupted = 1;
    if (!padConnected)
        memset(&pad, 0, sizeof pad);
    for (const auto& button : buttons)
        VTInputSetKey(button.key, (pad.buttons & button.mask) ? 1 : 0);
    DeadZone(pad.thumbLX, pad.thumbLY, 7849.0f, &leftStickX, &leftStickY);
    DeadZone(pad.thumbRX, pad.thumbRY, 8689.0f, &rightStickX, &rightStickY);
    leftTrigger = Trigger(pad.leftTrigger);
    rightTrigger = Trigger(pad.rightTrigger);
}

void VTInputUpdate(void)
{
    for (int i = 0; i < releasedCount; i++)
        pressed[releasedKeys[i]] = 0;
    releasedCount = 0;
    memset(triggered, 0, sizeof triggered);
    memset(repeated, 0, sizeof repeated);
    interrupted = 0;
    frameNumber++;
    VTInputPollGamepad();
}

unsigned long VTInputGetFrame(void)
{
    return frameNumber;
}

void VTInputInterrupt(void)
{
    interrupted = 1;
}

int VTInputWasInterrupted(void)
{
    return interrupted;
}

static int InRange(int key, const char* function)
{
    int valid = key >= 1 && key < VT_KEY_COUNT;
    VT_ASSERT_FOR(valid, "Key is out of range", function);
    return valid;
}

int VTInputIsPressed(int key)
{
    return InRange(key, __func__) ? pressed[key] : 0;
}

int VTInputIsTriggered(int key)
{
    return InRange(key, __func__) ? triggered[key] : 0;
}

int VTInputIsRepeated(int key)
{
    return (key >= 0 && key < VT_KEY_COUNT) ? repeated[key] : 0;
}

int VTInputTranslateKey(unsigned long vk)
{
    int code = 0;
    switch (vk) {
    case 8: code = VT_KEY_BACKSPACE; break;
    case 9: code = VT_KEY_TAB; break;
    case 13: code = VT_KEY_ENTER; break;
    case 16: code = VT_KEY_SHIFT; break;
    case 17: code = VT_KEY_CONTROL; break;
    case 27: code = VT_KEY_ESCAPE; break;
    case 32: code = VT_KEY_SPACE; break;
    case 37: code = VT_KEY_LEFT; break;
    case 38: code = VT_KEY_UP; break;
    case 39: code = VT_KEY_RIGHT; break;
    case 40: code = VT_KEY_DOWN; break;
    case 160: code = VT_KEY_LSHIFT; break;
    case 161: code = VT_KEY_RSHIFT; break;
    case 162: code = VT_KEY_LCONTROL; break;
    case 163: code = VT_KEY_RCONTROL; break;
    default:
        if (vk >= 48 && vk <= 57)
            code = (int)vk - 35;
        else if (vk >= 65 && vk <= 90)
            code = (int)vk - 42;
        else if (vk >= 112 && vk <= 123)
            code = (int)vk - 63;
        break;
    }
    return code;
}

void VTInputSetMouseX(int x) { mouseX = x; }
void VTInputSetMouseY(int y) { mouseY = y; }
int VTInputGetMouseX(void) { return mouseX; }
int VTInputGetMouseY(void) { return mouseY; }
int VTInputIsGamepadConnected(void) { return padConnected; }
float VTInputGetLeftStickX(void) { return leftStickX; }
float VTInputGetLeftStickY(void) { return leftStickY; }
float VTInputGetRightStickX(void) { return rightStickX; }
float VTInputGetRightStickY(void) { return rightStickY; }
float VTInputGetLeftTrigger(void) { return leftTrigger; }
float VTInputGetRightTrigger(void) { return rightTrigger; }

void VTInputShutdown(void)
{
    free(releasedKeys);
    releasedKeys = NULL;
    releasedCount = 0;
    releasedCapacity = 0;
}
