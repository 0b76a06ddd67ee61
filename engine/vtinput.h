// vtinput.h -- keyboard, mouse and gamepad as one table of engine key codes,
// queried as held (pressed) or newly pressed this frame (triggered).
#ifndef VTINPUT_H
#define VTINPUT_H

enum
{
    VT_KEY_BACKSPACE = 1,
    VT_KEY_TAB = 2,
    VT_KEY_ENTER = 3,
    VT_KEY_SHIFT = 4,
    VT_KEY_CONTROL = 5,
    VT_KEY_ESCAPE = 7,
    VT_KEY_SPACE = 8,
    VT_KEY_UP = 9,
    VT_KEY_DOWN = 10,
    VT_KEY_LEFT = 11,
    VT_KEY_RIGHT = 12,
    VT_KEY_0 = 13, VT_KEY_1, VT_KEY_2, VT_KEY_3, VT_KEY_4,
    VT_KEY_5, VT_KEY_6, VT_KEY_7, VT_KEY_8, VT_KEY_9,
    VT_KEY_A = 23, VT_KEY_B, VT_KEY_C, VT_KEY_D, VT_KEY_E, VT_KEY_F, VT_KEY_G,
    VT_KEY_H, VT_KEY_I, VT_KEY_J, VT_KEY_K, VT_KEY_L, VT_KEY_M, VT_KEY_N,
    VT_KEY_O, VT_KEY_P, VT_KEY_Q, VT_KEY_R, VT_KEY_S, VT_KEY_T, VT_KEY_U,
    VT_KEY_V, VT_KEY_W, VT_KEY_X, VT_KEY_Y, VT_KEY_Z,
    VT_KEY_F1 = 49, VT_KEY_F2, VT_KEY_F3, VT_KEY_F4, VT_KEY_F5, VT_KEY_F6,
    VT_KEY_F7, VT_KEY_F8, VT_KEY_F9, VT_KEY_F10, VT_KEY_F11, VT_KEY_F12,
    VT_KEY_LSHIFT = 61,
    VT_KEY_RSHIFT = 62,
    VT_KEY_LCONTROL = 63,
    VT_KEY_RCONTROL = 64,
    VT_KEY_LBUTTON = 65,
    VT_KEY_RBUTTON = 66,
    VT_KEY_MBUTTON = 67,
    VT_KEY_WHEEL_UP = 68,
    VT_KEY_WHEEL_DOWN = 69,
    VT_KEY_PAD_UP = 70,
    VT_KEY_PAD_DOWN = 71,
    VT_KEY_PAD_LEFT = 72,
    VT_KEY_PAD_RIGHT = 73,
    VT_KEY_PAD_START = 74,
    VT_KEY_PAD_BACK = 75,
    VT_KEY_PAD_LTHUMB = 76,
    VT_KEY_PAD_RTHUMB = 77,
    VT_KEY_PAD_LSHOULDER = 78,
    VT_KEY_PAD_RSHOULDER = 79,
    VT_KEY_PAD_A = 80,
    VT_KEY_PAD_B = 81,
    VT_KEY_PAD_X = 82,
    VT_KEY_PAD_Y = 83,
    VT_KEY_COUNT = 84
};

void VTInputInit(void);     // once only; empty table, released-key stack of 4
// Frame start: applies the releases of the last frame, clears triggered and
// repeat, then polls the gamepad. Call before the frame's messages.
void VTInputUpdate(void);
// Counts VTInputUpdate calls: tells readers of an edge whether a frame has passed.
unsigned long VTInputGetFrame(void);
int VTInputIsPressed(int key);   // 1..83; held now (released keys stay held until the next frame start)
int VTInputIsTriggered(int key); // 1..83; went down in this frame
// A down (1) or up (0) event; codes outside 0..83 are ignored. Ups take
// effect at the next VTInputUpdate.
void VTInputSetKey(int key, int down);
void VTInputReleaseKey(int key);
void VTGrowStack(void);
int VTInputTranslateKey(unsigned long virtualKey); // Windows virtual key -> engine code, 0 when unmapped
void VTInputSetMouseX(int x);
void VTInputSetMouseY(int y);
void VTInputPollGamepad(void);
float VTInputGetLeftStickX(void);  // -1..1 after the dead zone
float VTInputGetLeftStickY(void);  // -1..1, up is positive
float VTInputGetRightStickX(void);
float VTInputGetRightStickY(void);
float VTInputGetLeftTrigger(void); // 0..1 above the threshold
float VTInputGetRightTrigger(void);
void VTInputShutdown(void);

// Read by no game code; for tools and tests.
int VTInputIsRepeated(int key);
int VTInputGetMouseX(void);
int VTInputGetMouseY(void);
int VTInputIsGamepadConnected(void);
// 1 for the frame in which the window lost the focus or the controller was
// unplugged: play pauses then, as a player who looked away would want.
int VTInputWasInterrupted(void);
// Marks this frame as interrupted (the window procedure, on focus loss).
void VTInputInterrupt(void);

#endif
