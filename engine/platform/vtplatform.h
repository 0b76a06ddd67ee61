// vtplatform.h -- the one door to the operating system (SDL2 underneath).
// Window messages, key codes and the gamepad come out in the Windows shapes the
// engine was designed around; no SDL type appears here.
#ifndef VTPLATFORM_H
#define VTPLATFORM_H

// Window message numbers, as the window procedure knows them.
enum
{
    VT_WM_CREATE = 1,
    VT_WM_DESTROY = 2,
    VT_WM_SIZE = 5,
    VT_WM_KILLFOCUS = 8,
    VT_WM_CLOSE = 16,
    VT_WM_KEYDOWN = 256,
    VT_WM_KEYUP = 257,
    VT_WM_SYSKEYDOWN = 260,
    VT_WM_SYSKEYUP = 261,
    VT_WM_MOUSEMOVE = 512,
    VT_WM_LBUTTONDOWN = 513,
    VT_WM_LBUTTONUP = 514,
    VT_WM_RBUTTONDOWN = 516,
    VT_WM_RBUTTONUP = 517,
    VT_WM_MBUTTONDOWN = 519,
    VT_WM_MBUTTONUP = 520,
    VT_WM_MOUSEWHEEL = 522
};

// Virtual-key code the platform sends for keys Windows has no code for; it
// lies outside every range the key table maps.
#define VT_VK_UNKNOWN 255

typedef struct VTWindow VTWindow; // opaque: the game window

typedef struct VTMessage
{
    VTWindow* window;
    unsigned message;       // VT_WM_*
    unsigned long wParam;   // key code, wheel delta in the high 16 bits, ...
    long lParam;            // packed client coordinates or size, low 16 bits x/width
} VTMessage;

// Controller 0 in the XInput layout: button bits, trigger bytes, sticks with y up.
typedef struct VTPadState
{
    unsigned long packetNumber;
    unsigned short buttons;
    unsigned char leftTrigger;
    unsigned char rightTrigger;
    short thumbLX;
    short thumbLY;
    short thumbRX;
    short thumbRY;
} VTPadState;

enum
{
    VT_PAD_DPAD_UP = 0x0001,
    VT_PAD_DPAD_DOWN = 0x0002,
    VT_PAD_DPAD_LEFT = 0x0004,
    VT_PAD_DPAD_RIGHT = 0x0008,
    VT_PAD_START = 0x0010,
    VT_PAD_BACK = 0x0020,
    VT_PAD_LEFT_THUMB = 0x0040,
    VT_PAD_RIGHT_THUMB = 0x0080,
    VT_PAD_LEFT_SHOULDER = 0x0100,
    VT_PAD_RIGHT_SHOULDER = 0x0200,
    VT_PAD_A = 0x1000,
    VT_PAD_B = 0x2000,
    VT_PAD_X = 0x4000,
    VT_PAD_Y = 0x8000
};

// Message-box answers, as the Windows call reports them.
enum
{
    VT_ANSWER_YES = 6,
    VT_ANSWER_NO = 7
};

// --- start-up and the window ------------------------------------------------

// Starts video, events and controllers; safe to call more than once. SIGHUP
// then closes the window as SIGINT and SIGTERM do, and SIGXFSZ is ignored.
void VTPlatformInit(void);
// 1 when windows can be shown: SDL runs on a display, or on its offscreen or
// dummy driver because SDL_VIDEODRIVER asked for it. 0 when SDL could only
// fall back to one of those (no DISPLAY or WAYLAND_DISPLAY). Starts the platform.
int VTPlatformHasDisplay(void);
// Ends SDL; restores the desktop mode first if the game changed it.
void VTPlatformShutdown(void);

// Creates the hidden, centred-later game window with a client area of width x height.
VTWindow* VTPlatformCreateWindow(const char* title, int width, int height);
void VTPlatformDestroyWindow(VTWindow* window);
void VTPlatformShowWindow(VTWindow* window);
// Windowed style: caption, no sizing border, not resizable.
void VTPlatformSetWindowedStyle(VTWindow* window);
// Places the window so its frame's top-left corner is at (x, y) and its client area is width x height.
void VTPlatformPlaceWindow(VTWindow* window, int x, int y, int width, int height);
void VTPlatformGetClientSize(VTWindow* window, int* width, int* height);
// Frame thickness around the client area of a windowed window (0 where unknown).
void VTPlatformGetFrameSize(VTWindow* window, int* left, int* top, int* right, int* bottom);
// Size of the desktop's current display mode.
void VTPlatformGetDesktopSize(int* width, int* height);
// Display modes the game's display offers (0 when unknown).
int VTPlatformCountDisplayModes(void);

// Switches the display to a width x height mode and the window to full screen.
// Returns 0 and leaves everything windowed when the display has no such mode or
// refuses it.
int VTPlatformEnterFullScreen(VTWindow* window, int width, int height);
// Back to the desktop's own mode; the window becomes windowed. Harmless when windowed.
void VTPlatformLeaveFullScreen(VTWindow* window);

// The system's cursor display counter: +1 for show, -1 for hide; visible while >= 0.
int VTPlatformShowCursor(int show);

// --- messages -------------------------------------------------------------------

// Collects pending SDL events (and any scripted ones) as window messages;
// call once per frame before draining with VTPlatformNextMessage.
void VTPlatformPumpMessages(void);
// False when the queue is empty; never blocks.
int VTPlatformNextMessage(VTMessage* message);
// Appends a message to the queue, as if the system had sent it (tests, scripts).
void VTPlatformPostMessage(const VTMessage* message);

// --- gamepad ------------------------------------------------------------------

// Reads controller 0; false (and a zeroed record) when none is connected.
int VTPlatformReadPad(VTPadState* pad);

// --- timer --------------------------------------------------------------------

long long VTPlatformCounter(void);          // performance counter ticks
long long VTPlatformCounterFrequency(void); // ticks per second

// --- OpenGL context -------------------------------------------------------------

// Creates a double-buffered RGBA compatibility context for the window; 0 on failure.
int VTPlatformCreateGLContext(VTWindow* window);
int VTPlatformMakeCurrent(VTWindow* window);
// Shows the frame. Where the driver ignores vsync the call also holds the
// frame to the display's refresh period (60 Hz when unknown).
void VTPlatformSwapBuffers(VTWindow* window);
// 0 turns that pacing off (benchmarks measuring raw frame cost); 1 restores it.
void VTPlatformSetFramePacing(int allowed);
// 1 while frames are being held to the refresh period.
int VTPlatformIsPacingFrames(void);
void VTPlatformDeleteGLContext(void);

// --- message boxes and fatal ends -------------------------------------------------

// A modal YES/NO box with an error icon; VT_ANSWER_YES or VT_ANSWER_NO. Where no
// box can be shown the text goes to standard error and the answer is NO.
int VTPlatformMessageBox(const char* caption, const char* text);
// Raises SIGTRAP: an attached debugger stops here.
void VTPlatformDebugBreak(void);
// Ends the process at once with the given status, after putting the desktop's
// display mode back. Runs no other shutdown code.
void VTPlatformExitNow(int status);

// 1 while a state loads: blocks of up to 1 MB freed between one picture and
// the next are kept for the next (a fresh block for each costs a page fault
// every 4 KB, half the decoding time). 0 afterwards gives everything freed
// back to the system, and from then on every large block as it is freed.
void VTPlatformKeepFreedMemory(int keep);

// Running out of memory is the engine's call, not this layer's: the engine
// installs its out-of-memory assertion here. Without one the process ends
// with -1, as answering NO would.
typedef void (*VTPlatformOutOfMemoryHook)(const char* function, const char* file, int line);
void VTPlatformSetOutOfMemoryHook(VTPlatformOutOfMemoryHook hook);

// --- scripted runs (the test harness) ---------------------------------------------

typedef void (*VTPlatformFrameHook)(void* context);
// Called at the start of every VTPlatformPumpMessages, before SDL's events are read.
void VTPlatformSetFrameHook(VTPlatformFrameHook hook, void* context);
// From now on the counter is virtual and moves only through VTPlatformAdvanceClock.
void VTPlatformUseVirtualClock(void);
void VTPlatformAdvanceClock(double seconds);
// Replaces the controller: pad NULL reads as disconnected. VTPlatformUseRealPad undoes it.
void VTPlatformScriptPad(const VTPadState* pad);
void VTPlatformUseRealPad(void);
// 0: the window's focus changes are not reported (scripted runs, whose
// windows share one X server with other runs and would steal its focus).
void VTPlatformReportFocus(int report);
// Replaces the message box (nothing is shown); NULL restores the real box.
typedef int (*VTPlatformBoxHook)(const char* caption, const char* text);
void VTPlatformSetMessageBoxHook(VTPlatformBoxHook hook);

#endif
