// vtapplication.cpp -- the game window, its display modes, the message pump
// and the outer loop. Owns the window handle, the designed size and the
// full-screen flag; the window procedure is where input and graphics meet.
#include "vtapplication.h"

#include <stddef.h>
#include <stdio.h>

#include "vtdebug.h"
#include "vtgametimer.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtstatemanager.h"

static VTWindow* window;
static const char* title;
static int width;     // designed client size: the resolution, whatever the window manager did
static int height;
static int fullScreen;
static unsigned style;
static int quitting;
static int closing;   // 1 while VTApplicationClose sends its close message
static int initCalls;
static VTFullScreenKeyHandler fullScreenKeyHandler;
static unsigned long fullScreenKeyHeld; // the toggle key down now, 0 when none

// Windows virtual keys of the full-screen toggle.
enum { VK_RETURN = 13, VK_F11 = 0x7A };

// Windows delivers messages during window creation and closing synchronously;
// the same calls here go straight to the window procedure.
static void Send(unsigned message, unsigned long wParam, long lParam)
{
    VTApplicationWindowProc(window, message, wParam, lParam);
}

void VTApplicationInit(const VTApplicationInitInfo* info)
{
    VT_ASSERT(++initCalls == 1, "This function should be called only once at the start of the project.");
    width = info->width;
    height = info->height;
    title = info->title;
    fullScreen = info->fullScreen;
    quitting = 0;
    style = VT_STYLE_WINDOWED;

    VTPlatformInit();
    // Without a display SDL would still make a window nobody sees, and the
    // game would play to it until killed.
    if (!VTPlatformHasDisplay()) {
        fprintf(stderr, "%s: there is no display to open a window on (set DISPLAY or WAYLAND_DISPLAY;"
                        " SDL_VIDEODRIVER=offscreen runs without one)\n", title);
        VTPlatformExitNow(1);
    }
    window = VTPlatformCreateWindow(title, width, height);
    VT_ASSERT(window != NULL, "Unable to Create Render Context. Your video card is out of date");
    int rect[4] = {0, 0, width, height};
    int x, y;
    VTApplicationCenterWindow(style, rect, &x, &y);
    VTPlatformSetWindowedStyle(window);
    VTPlatformPlaceWindow(window, x, y, width, height);
    Send(VT_WM_CREATE, 0, 0);

    if (info->fullScreen) {
        style = VT_STYLE_FULLSCREEN;
        VTApplicationSetFullScreen(1);
    }
    VTPlatformShowWindow(window);

    VTSMInit(info->gameData, info->gameDataSize);
    VTTimerInit();
    VTInputInit();
}

void VTApplicationUpdate(void)
{
    while (!VTApplicationIsQuitting()) {
        VTSMUpdate();
        if (VTSMIsQuitting())
            VTApplicationClose(1);
    }
}

void VTApplicationShutdown(void)
{
    if (fullScreen)
        VTPlatformLeaveFullScreen(window);
    VTInputShutdown();
    VTTimerShutdown();
    VTSMShutdown();
    VTPlatformShutdown();
}

void VTApplicationProcessMessages(void)
{
    VTMessage message;
    VTPlatformPumpMessages();
    while (VTPlatformNextMessage(&message))
        VTApplicationWindowProc(message.window, message.message, message.wParam, message.lParam);
}

void VTApplicationCenterWindow(unsigned windowStyle, int rect[4], int* x, int* y)
{
    int desktopWidth, desktopHeight;
    VTPlatformGetDesktopSize(&desktopWidth, &desktopHeight);
    // Only the windowed style has a frame (caption bits 0x00C00000).
    if (windowStyle & 0x00C00000u) {
        int left, top, right, bottom;
        VTPlatformGetFrameSize(window, &left, &top, &right, &bottom);
        rect[0] -= left;
        rect[1] -= top;
        rect[2] += right;
        rect[3] += bottom;
    }
    int w = rect[2] - rect[0];
    int h = rect[3] - rect[1];
    *x = desktopWidth / 2 - w / 2;
    *y = desktopHeight / 2 - h / 2;
}

void VTApplicationSetFullScreen(int flag)
{
    fullScreen = flag;
    if (flag) {
        style = VT_STYLE_FULLSCREEN;
        if (!VTPlatformEnterFullScreen(window, width, height)) {
            fullScreen = 0;
            style = VT_STYLE_WINDOWED;
            VTPlatformLeaveFullScreen(window);
            VTDebugMessagePopup("FullScreen is not supported. You are being switched to Windowed Mode");
        }
    } else {
        VTPlatformLeaveFullScreen(window);
        style = VT_STYLE_WINDOWED;
    }
    if (style == VT_STYLE_WINDOWED) {
        int rect[4] = {0, 0, width, height};
        int x, y;
        VTPlatformSetWindowedStyle(window);
        VTApplicationCenterWindow(style, rect, &x, &y);
        VTPlatformPlaceWindow(window, x, y, width, height);
    }
    VTPlatformShowWindow(window);
}

void VTApplicationSetResolution(int w, int h)
{
    width = w;
    height = h;
    VTGraphicsSetViewport(w, h);
    // Leaving full screen first lets the display take the new size.
    if (fullScreen)
        VTPlatformLeaveFullScreen(window);
    VTApplicationSetFullScreen(fullScreen);
}

int VTApplicationGetWidth(void) { return width; }
int VTApplicationGetHeight(void) { return height; }
int VTApplicationIsFullScreen(void) { return fullScreen; }
int VTApplicationIsQuitting(void) { return quitting; }

void VTApplicationClose(int flag)
{
    if (flag && window) {
        closing = 1;
        Send(VT_WM_CLOSE, 0, 0);
        closing = 0;
    }
}

int VTApplicationShowCursor(int show)
{
    return VTPlatformShowCursor(show);
}

void VTApplicationSetFullScreenKeyHandler(VTFullScreenKeyHandler handler)
{
    fullScreenKeyHandler = handler;
}

// F11 comes as an ordinary key; Alt+Enter only as a system key, which the
// game's input never sees. A held key repeats its down message: only the
// first one toggles.
static void FullScreenKey(unsigned message, unsigned long key)
{
    int down = message == VT_WM_KEYDOWN || message == VT_WM_SYSKEYDOWN;
    int toggle = (message == VT_WM_KEYDOWN && key == VK_F11) || (message == VT_WM_SYSKEYDOWN && key == VK_RETURN);
    if (toggle && fullScreenKeyHeld != key) {
        fullScreenKeyHeld = key;
        if (fullScreenKeyHandler)
            fullScreenKeyHandler();
        else
            VTApplicationSetFullScreen(!fullScreen);
    } else if (!down && key == fullScreenKeyHeld) {
        fullScreenKeyHeld = 0;
    }
}

static int SignedLow(long value) { return (short)(value & 0xFFFF); }
static int SignedHigh(long value) { return (short)((value >> 16) & 0xFFFF); }

long VTApplicationWindowProc(VTWindow* target, unsigned message, unsigned long wParam, long lParam)
{
    long result = 0;
    switch (message) {
    case VT_WM_CREATE:
        VTGraphicsInit(target, width, height);
        break;
    case VT_WM_DESTROY:
        quitting = 1;
        window = NULL;
        break;
    case VT_WM_SIZE:
        // The window manager may size the window as it likes (tiling ones
        // always do): the layout keeps the designed size and the picture is
        // scaled into the window instead.
        if (window) {
            int clientWidth, clientHeight;
            VTPlatformGetClientSize(window, &clientWidth, &clientHeight);
            VTGraphicsSetWindowSize(clientWidth, clientHeight);
        }
        break;
    case VT_WM_CLOSE:
        if (closing) {
            VTGraphicsShutdown();
            VTPlatformDestroyWindow(window);
            Send(VT_WM_DESTROY, 0, 0);
        } else if (window) {
            // Closed by the window manager: the running state ends as if it
            // had quit, so its Shutdown and Unload run and its files are written.
            VTSMQuit(1);
        }
        break;
    case VT_WM_KILLFOCUS:
        // A key let go elsewhere sends no up here.
        fullScreenKeyHeld = 0;
        VTInputInterrupt();
        break;
    case VT_WM_KEYDOWN:
        FullScreenKey(message, wParam);
        VTInputSetKey(VTInputTranslateKey(wParam), 1);
        break;
    case VT_WM_KEYUP:
        FullScreenKey(message, wParam);
        VTInputSetKey(VTInputTranslateKey(wParam), 0);
        break;
    case VT_WM_SYSKEYDOWN:
    case VT_WM_SYSKEYUP:
        // Otherwise system keys take the default path: nothing.
        FullScreenKey(message, wParam);
        break;
    case VT_WM_MOUSEMOVE:
        VTInputSetMouseX(SignedLow(lParam));
        VTInputSetMouseY(SignedHigh(lParam));
        break;
    case VT_WM_LBUTTONDOWN: VTInputSetKey(VT_KEY_LBUTTON, 1); break;
    case VT_WM_LBUTTONUP: VTInputSetKey(VT_KEY_LBUTTON, 0); break;
    case VT_WM_RBUTTONDOWN: VTInputSetKey(VT_KEY_RBUTTON, 1); break;
    case VT_WM_RBUTTONUP: VTInputSetKey(VT_KEY_RBUTTON, 0); break;
    case VT_WM_MBUTTONDOWN: VTInputSetKey(VT_KEY_MBUTTON, 1); break;
    case VT_WM_MBUTTONUP: VTInputSetKey(VT_KEY_MBUTTON, 0); break;
    case VT_WM_MOUSEWHEEL: {
        // A notch is a press and a release at once; the deferred release
        // keeps it pressed and triggered for one frame.
        int delta = SignedHigh((long)wParam);
        int key = delta > 0 ? VT_KEY_WHEEL_UP : VT_KEY_WHEEL_DOWN;
        if (delta != 0) {
            VTInputSetKey(key, 1);
            VTInputSetKey(key, 0);
        }
        break;
    }
    default:
        break; // system keys and the rest take the default path: nothing

    }
    return result;
}
