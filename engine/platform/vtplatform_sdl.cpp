// vtplatform_sdl.cpp -- window, messages, controller, timer, GL context and
// message boxes on SDL2. Owns the one window, the message queue, the opened
// controller and the scripted replacements the test harness installs.
#include "platform/vtplatform.h"

#include <SDL.h>
#include <errno.h>
#include <malloc.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include "platform/vtaudio.h"
#include "platform/vtfiles.h"
#include "platform/vtpacing.h"

struct VTWindow
{
    SDL_Window* sdl;
};

static VTWindow gameWindow;
static SDL_GLContext glContext;
static int sdlStarted;
static volatile sig_atomic_t displayChanged; // we switched the display's mode

static VTMessage* queue;
static int queueHead;
static int queueCount;
static int queueCapacity;

static SDL_GameController* controller;
static SDL_JoystickID controllerId = -1;

static int cursorCounter;

static VTPlatformFrameHook frameHook;
static void* frameHookContext;
static int virtualClock;
static long long virtualTicks;
static int padScripted;
static int scriptedPadConnected;
static VTPadState scriptedPad;
static VTPlatformBoxHook boxHook;
static int reportFocus = 1;
static VTFramePacer pacer = {-1.0, 0.0, 0, 0};
static int pacingAllowed = 1;

// --- the desktop's display mode, however the program ends ----------------------

static void RestoreDisplay(void)
{
    if (displayChanged && gameWindow.sdl) {
        SDL_SetWindowFullscreen(gameWindow.sdl, 0);
        displayChanged = 0;
    }
}

// A crash must not leave the desktop at the game's resolution: Windows undid
// a temporary mode change when the process died, X servers do not.
static void FatalSignal(int signalNumber)
{
    RestoreDisplay();
    raise(signalNumber); // the handler was reset: this is the default action
}

// SDL turns SIGINT and SIGTERM into a close of the window; a hang-up (the
// terminal closed, the session ended) asks for the same. The handler only
// notes it: the next message pump sends the close.
static volatile sig_atomic_t hangUp;

static void HangUp(int)
{
    hangUp = 1;
}

static void InstallSignalHandlers(void)
{
    static const int fatal[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP};
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = FatalSignal;
    action.sa_flags = (int)(SA_RESETHAND | SA_NODEFER);
    sigemptyset(&action.sa_mask);
    for (int signalNumber : fatal)
        sigaction(signalNumber, &action, NULL);
    // Started under nohup, a hang-up stays ignored.
    struct sigaction current;
    if (sigaction(SIGHUP, NULL, &current) == 0 && current.sa_handler != SIG_IGN) {
        action.sa_handler = HangUp;
        action.sa_flags = SA_RESTART;
        sigaction(SIGHUP, &action, NULL);
    }
    // A save that crosses a file-size limit then fails with EFBIG, keeping
    // the old file, instead of killing the game.
    signal(SIGXFSZ, SIG_IGN);
    atexit(RestoreDisplay);
}

void VTPlatformKeepFreedMemory(int keep)
{
    if (keep) {
        // Up to the common 512 x 512 picture; the few larger ones would
        // hold more than they save at the loading's peak.
        mallopt(M_MMAP_THRESHOLD, 1024 * 1024 + 64 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
        return;
    }
    // Decoded pictures are large, short-lived blocks. glibc would raise its
    // mmap threshold after the first was freed and serve the rest from the
    // heap, which keeps their pages once they are freed: a fixed threshold
    // hands every such block back to the system.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    malloc_trim(0);
}

void VTPlatformInit(void)
{
    if (!sdlStarted) {
        VTPlatformKeepFreedMemory(0);
        // Positional layout on Nintendo-style pads: the bottom button is A.
        SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        // Docks match the window to the desktop entry by its X11 class (the
        // entry's StartupWMClass) whatever the binary is called. SDL reads
        // only the variable, at video start; a player's own still wins.
        setenv("SDL_VIDEO_X11_WMCLASS", "kelvaro", 0);
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER | SDL_INIT_TIMER) != 0)
            fprintf(stderr, "kelvaro: SDL could not start: %s\n", SDL_GetError());
        SDL_StopTextInput();
        InstallSignalHandlers();
        sdlStarted = 1;
    }
}

// Whether SDL's video driver shows a window: with no display SDL falls back
// to drivers that show nothing, which count only when SDL_VIDEODRIVER (a
// list) names them: tests, tools.
static int DriverShows(void)
{
    const char* driver = SDL_GetCurrentVideoDriver();
    int display = driver != NULL;
    if (driver && (SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0)) {
        const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
        size_t length = strlen(driver);
        display = 0;
        while (asked && *asked) {
            size_t name = strcspn(asked, ",");
            if (name == length && SDL_strncasecmp(asked, driver, length) == 0)
                display = 1;
            asked += name;
            if (*asked == ',')
                asked++;
        }
    }
    return display;
}

int VTPlatformHasDisplay(void)
{
    VTPlatformInit();
    int display = DriverShows();
    // A display that is named but refused the connection for a moment (a
    // busy server's full backlog) is asked again before the game gives up.
    for (int tries = 0; !display && tries < 5 && (getenv("DISPLAY") || getenv("WAYLAND_DISPLAY")); tries++) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Delay(100);
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        display = DriverShows();
    }
    return display;
}

void VTPlatformShutdown(void)
{
    RestoreDisplay();
    if (controller)
        SDL_GameControllerClose(controller);
    controller = NULL;
    controllerId = -1;
    VTAudioShutdown(); // the mixer first: it ends SDL's audio itself
    if (sdlStarted)
        SDL_Quit();
    sdlStarted = 0;
    free(queue);
    queue = NULL;
    queueHead = queueCount = queueCapacity = 0;
}

// --- window -----------------------------------------------------------------------

static SDL_Window* CreateGLWindow(const char* title, int width, int height, int depthBits)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    return SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

// The icon task bars and docks show for the window (SDL reads BMP itself).
static void SetWindowIcon(SDL_Window* window)
{
    char path[4096];
    SDL_Surface* icon = VTFileResolve("Graphic_Assets\\WindowIcon.bmp", path, sizeof path) ? SDL_LoadBMP(path) : NULL;
    if (icon) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
}

VTWindow* VTPlatformCreateWindow(const char* title, int width, int height)
{
    VTPlatformInit();
    // The GL visual is chosen with the window: ask for a 32-bit depth buffer
    // and settle for 24 where the driver has none.
    SDL_Window* window = CreateGLWindow(title, width, height, 32);
    if (!window)
        window = CreateGLWindow(title, width, height, 24);
    if (!window)
        fprintf(stderr, "kelvaro: no window: %s\n", SDL_GetError());
    else
        SetWindowIcon(window);
    gameWindow.sdl = window;
    return window ? &gameWindow : NULL;
}

void VTPlatformDestroyWindow(VTWindow* window)
{
    if (window && window->sdl) {
        RestoreDisplay();
        SDL_DestroyWindow(window->sdl);
        window->sdl = NULL;
    }
}

void VTPlatformShowWindow(VTWindow* window)
{
    if (window && window->sdl) {
        SDL_ShowWindow(window->sdl);
        SDL_RaiseWindow(window->sdl);
    }
}

void VTPlatformSetWindowedStyle(VTWindow* window)
{
    if (window && window->sdl) {
        SDL_SetWindowBordered(window->sdl, SDL_TRUE);
        SDL_SetWindowResizable(window->sdl, SDL_FALSE);
    }
}

void VTPlatformGetFrameSize(VTWindow* window, int* left, int* top, int* right, int* bottom)
{
    *left = *top = *right = *bottom = 0;
    if (window && window->sdl && !(SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_FULLSCREEN)) {
        if (SDL_GetWindowBordersSize(window->sdl, top, left, bottom, right) != 0)
            *left = *top = *right = *bottom = 0;
    }
}

void VTPlatformPlaceWindow(VTWindow* window, int x, int y, int width, int height)
{
    if (window && window->sdl) {
        int left, top, right, bottom;
        VTPlatformGetFrameSize(window, &left, &top, &right, &bottom);
        SDL_SetWindowSize(window->sdl, width, height);
        // SDL places the client area; the caller placed the frame.
        SDL_SetWindowPosition(window->sdl, x + left, y + top);
    }
}

void VTPlatformGetClientSize(VTWindow* window, int* width, int* height)
{
    *width = *height = 0;
    if (window && window->sdl)
        SDL_GetWindowSize(window->sdl, width, height);
}

static int DisplayOf(void)
{
    int display = gameWindow.sdl ? SDL_GetWindowDisplayIndex(gameWindow.sdl) : 0;
    return display < 0 ? 0 : display;
}

void VTPlatformGetDesktopSize(int* width, int* height)
{
    SDL_DisplayMode mode;
    *width = *height = 0;
    if (SDL_GetCurrentDisplayMode(DisplayOf(), &mode) == 0) {
        *width = mode.w;
        *height = mode.h;
    }
}

int VTPlatformCountDisplayModes(void)
{
    int modes = SDL_GetNumDisplayModes(DisplayOf());
    return modes > 0 ? modes : 0;
}

// The display's mode of exactly this size with the desktop's pixel format
// when there is one; 0 when the display has no such mode.
static int FindMode(int display, int width, int height, SDL_DisplayMode* found)
{
    SDL_DisplayMode desktop;
    int result = 0;
    int haveDesktop = SDL_GetDesktopDisplayMode(display, &desktop) == 0;
    int modes = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < modes; i++) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) != 0 || mode.w != width || mode.h != height)
            continue;
        int sameFormat = haveDesktop && SDL_BITSPERPIXEL(mode.format) == SDL_BITSPERPIXEL(desktop.format);
        if (!result || sameFormat) {
            *found = mode;
            result = 1;
            if (sameFormat)
                break;
        }
    }
    return result;
}

int VTPlatformEnterFullScreen(VTWindow* window, int width, int height)
{
    int display = DisplayOf();
    SDL_DisplayMode mode;
    int ok = window && window->sdl && FindMode(display, width, height, &mode);
    if (ok) {
        SDL_SetWindowSize(window->sdl, width, height);
        ok = SDL_SetWindowDisplayMode(window->sdl, &mode) == 0
             && SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN) == 0;
        displayChanged = 1;
        // Some servers report success and change nothing: believe the mode
        // the display is in, not the return value.
        SDL_DisplayMode current;
        if (ok)
            ok = SDL_GetCurrentDisplayMode(display, &current) == 0 && current.w == width && current.h == height;
        if (!ok) {
            SDL_SetWindowFullscreen(window->sdl, 0);
            displayChanged = 0;
        }
    }
    return ok;
}

void VTPlatformLeaveFullScreen(VTWindow* window)
{
    if (window && window->sdl && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_FULLSCREEN))
        SDL_SetWindowFullscreen(window->sdl, 0);
    displayChanged = 0;
}

int VTPlatformShowCursor(int show)
{
    cursorCounter += show ? 1 : -1;
    if (sdlStarted)
        SDL_ShowCursor(cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCounter;
}

// --- messages -------------------------------------------------------------------

static VTPlatformOutOfMemoryHook outOfMemory;

void VTPlatformSetOutOfMemoryHook(VTPlatformOutOfMemoryHook hook)
{
    outOfMemory = hook;
}

void VTPlatformPostMessage(const VTMessage* message)
{
    if (queueCount == queueCapacity) {
        int grownCapacity = queueCapacity ? queueCapacity * 2 : 64;
        VTMessage* grown = (VTMessage*)malloc((size_t)grownCapacity * sizeof *grown);
        if (!grown) {
            if (!outOfMemory)
                VTPlatformExitNow(-1);
            outOfMemory(__func__, __FILE__, __LINE__);
            return; // the debugger was chosen and the program went on
        }
        for (int i = 0; i < queueCount; i++)
            grown[i] = queue[(queueHead + i) % queueCapacity];
        free(queue);
        queue = grown;
        queueHead = 0;
        queueCapacity = grownCapacity;
    }
    queue[(queueHead + queueCount) % queueCapacity] = *message;
    queueCount++;
}

int VTPlatformNextMessage(VTMessage* message)
{
    int available = queueCount > 0;
    if (available) {
        *message = queue[queueHead];
        queueHead = (queueHead + 1) % queueCapacity;
        queueCount--;
    }
    return available;
}

static void Post(unsigned message, unsigned long wParam, long lParam)
{
    VTMessage m;
    m.window = gameWindow.sdl ? &gameWindow : NULL;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    VTPlatformPostMessage(&m);
}

static long PackPoint(int x, int y)
{
    return (long)(((unsigned long)(y & 0xFFFF) << 16) | (unsigned long)(x & 0xFFFF));
}

// Windows virtual-key codes for SDL's keys. Both Ctrl keys are 17 and both
// Shift keys 16, as Windows key messages never tell left from right.
static unsigned long VirtualKey(SDL_Keycode key)
{
    static const struct { SDL_Keycode key; unsigned long vk; } table[] = {
        {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9}, {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13},
        {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16}, {SDLK_LCTRL, 17}, {SDLK_RCTRL, 17},
        {SDLK_LALT, 18}, {SDLK_RALT, 18}, {SDLK_PAUSE, 19}, {SDLK_CAPSLOCK, 20},
        {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32}, {SDLK_PAGEUP, 33}, {SDLK_PAGEDOWN, 34},
        {SDLK_END, 35}, {SDLK_HOME, 36}, {SDLK_LEFT, 37}, {SDLK_UP, 38},
        {SDLK_RIGHT, 39}, {SDLK_DOWN, 40}, {SDLK_PRINTSCREEN, 44}, {SDLK_INSERT, 45},
        {SDLK_DELETE, 46}, {SDLK_LGUI, 91}, {SDLK_RGUI, 92}, {SDLK_APPLICATION, 93},
        {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107}, {SDLK_KP_MINUS, 109},
        {SDLK_KP_PERIOD, 110}, {SDLK_KP_DIVIDE, 111}, {SDLK_NUMLOCKCLEAR, 144},
        {SDLK_SCROLLLOCK, 145}, {SDLK_SEMICOLON, 186}, {SDLK_EQUALS, 187},
        {SDLK_COMMA, 188}, {SDLK_MINUS, 189}, {SDLK_PERIOD, 190}, {SDLK_SLASH, 191},
        {SDLK_BACKQUOTE, 192}, {SDLK_LEFTBRACKET, 219}, {SDLK_BACKSLASH, 220},
        {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
    };
    unsigned long vk = VT_VK_UNKNOWN;
    if (key >= SDLK_0 && key <= SDLK_9)
        vk = 48 + (unsigned long)(key - SDLK_0);
    else if (key >= SDLK_a && key <= SDLK_z)
        vk = 65 + (unsigned long)(key - SDLK_a);
    else if (key >= SDLK_F1 && key <= SDLK_F12)
        vk = 112 + (unsigned long)(key - SDLK_F1);
    else if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        vk = 97 + (unsigned long)(key - SDLK_KP_1);
    else if (key == SDLK_KP_0)
        vk = 96;
    else {
        for (const auto& entry : table) {
            if (entry.key == key) {
                vk = entry.vk;
                break;
            }
        }
    }
    return vk;
}

static void TranslateKey(const SDL_KeyboardEvent* key)
{
    unsigned long vk = VirtualKey(key->keysym.sym);
    int alt = vk == 18 || (key->keysym.mod & KMOD_ALT);
    if (key->type == SDL_KEYDOWN)
        // Alt combinations are system keys on Windows: the game never sees them.
        Post(alt ? VT_WM_SYSKEYDOWN : VT_WM_KEYDOWN, vk, 0);
    else
        // Ups always arrive, so a key held while Alt went down is not stuck.
        Post(vk == 18 ? VT_WM_SYSKEYUP : VT_WM_KEYUP, vk, 0);
}

static void OpenFirstController(void)
{
    for (int i = 0; !controller && i < SDL_NumJoysticks(); i++) {
        if (SDL_IsGameController(i)) {
            controller = SDL_GameControllerOpen(i);
            if (controller)
                controllerId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
        }
    }
}

static void TranslateEvent(const SDL_Event* event)
{
    switch (event->type) {
    case SDL_QUIT:
        Post(VT_WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        if (event->window.event == SDL_WINDOWEVENT_CLOSE)
            Post(VT_WM_CLOSE, 0, 0);
        else if (event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            Post(VT_WM_SIZE, 0, PackPoint(event->window.data1, event->window.data2));
        else if (event->window.event == SDL_WINDOWEVENT_FOCUS_LOST && reportFocus)
            Post(VT_WM_KILLFOCUS, 0, 0);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(&event->key);
        break;
    case SDL_MOUSEMOTION:
        Post(VT_WM_MOUSEMOVE, 0, PackPoint(event->motion.x, event->motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int down = event->type == SDL_MOUSEBUTTONDOWN;
        long point = PackPoint(event->button.x, event->button.y);
        if (event->button.button == SDL_BUTTON_LEFT)
            Post(down ? VT_WM_LBUTTONDOWN : VT_WM_LBUTTONUP, 0, point);
        else if (event->button.button == SDL_BUTTON_RIGHT)
            Post(down ? VT_WM_RBUTTONDOWN : VT_WM_RBUTTONUP, 0, point);
        else if (event->button.button == SDL_BUTTON_MIDDLE)
            Post(down ? VT_WM_MBUTTONDOWN : VT_WM_MBUTTONUP, 0, point);
        break;
    }
    case SDL_MOUSEWHEEL: {
        int notches = event->wheel.y;
        if (event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        // One notch is 120 on Windows; the delta rides in the high 16 bits.
        long delta = (long)notches * 120;
        if (delta > 32767)
            delta = 32767;
        if (delta < -32768)
            delta = -32768;
        if (delta != 0)
            Post(VT_WM_MOUSEWHEEL, ((unsigned long)delta & 0xFFFF) << 16, 0);
        break;
    }
    case SDL_CONTROLLERDEVICEADDED:
        OpenFirstController();
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (controller && event->cdevice.which == controllerId) {
            SDL_GameControllerClose(controller);
            controller = NULL;
            controllerId = -1;
            OpenFirstController();
        }
        break;
    default:
        break;
    }
}

void VTPlatformPumpMessages(void)
{
    if (frameHook)
        frameHook(frameHookContext);
    if (sdlStarted) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            TranslateEvent(&event);
    }
    if (hangUp) {
        hangUp = 0;
        Post(VT_WM_CLOSE, 0, 0);
    }
}

// --- gamepad ------------------------------------------------------------------

static short FlipY(Sint16 value)
{
    // SDL's y grows downward; ~v is -v-1, which cannot overflow at -32768.
    return (short)~value;
}

int VTPlatformReadPad(VTPadState* pad)
{
    static const struct { SDL_GameControllerButton button; unsigned short bit; } buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, VT_PAD_DPAD_UP}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VT_PAD_DPAD_DOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VT_PAD_DPAD_LEFT}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VT_PAD_DPAD_RIGHT},
        {SDL_CONTROLLER_BUTTON_START, VT_PAD_START}, {SDL_CONTROLLER_BUTTON_BACK, VT_PAD_BACK},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, VT_PAD_LEFT_THUMB}, {SDL_CONTROLLER_BUTTON_RIGHTSTICK, VT_PAD_RIGHT_THUMB},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, VT_PAD_LEFT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, VT_PAD_RIGHT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_A, VT_PAD_A}, {SDL_CONTROLLER_BUTTON_B, VT_PAD_B},
        {SDL_CONTROLLER_BUTTON_X, VT_PAD_X}, {SDL_CONTROLLER_BUTTON_Y, VT_PAD_Y},
    };
    static unsigned long packet;
    int connected = 0;
    memset(pad, 0, sizeof *pad);
    if (padScripted) {
        connected = scriptedPadConnected;
        if (connected)
            *pad = scriptedPad;
    } else if (controller && SDL_GameControllerGetAttached(controller)) {
        connected = 1;
        for (const auto& entry : buttons) {
            if (SDL_GameControllerGetButton(controller, entry.button))
                pad->buttons |= entry.bit;
        }
        // SDL's triggers run 0..32767; rounding hits 0 and 255 exactly.
        int left = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
        int right = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
        pad->leftTrigger = (unsigned char)((SDL_max(left, 0) * 255 + 16383) / 32767);
        pad->rightTrigger = (unsigned char)((SDL_max(right, 0) * 255 + 16383) / 32767);
        pad->thumbLX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
        pad->thumbLY = FlipY(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
        pad->thumbRX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTX);
        pad->thumbRY = FlipY(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTY));
        pad->packetNumber = ++packet;
    }
    return connected;
}

// --- timer --------------------------------------------------------------------

long long VTPlatformCounter(void)
{
    return virtualClock ? virtualTicks : (long long)SDL_GetPerformanceCounter();
}

long long VTPlatformCounterFrequency(void)
{
    return virtualClock ? 1000000000LL : (long long)SDL_GetPerformanceFrequency();
}

// --- OpenGL context -------------------------------------------------------------

int VTPlatformCreateGLContext(VTWindow* window)
{
    if (window && window->sdl && !glContext) {
        glContext = SDL_GL_CreateContext(window->sdl);
        if (!glContext)
            fprintf(stderr, "kelvaro: no OpenGL context: %s\n", SDL_GetError());
        // Frames follow the display: adaptive vsync where offered, else plain.
        else if (SDL_GL_SetSwapInterval(-1) != 0)
            SDL_GL_SetSwapInterval(1);
    }
    return glContext != NULL;
}

int VTPlatformMakeCurrent(VTWindow* window)
{
    return window && window->sdl && glContext && SDL_GL_MakeCurrent(window->sdl, glContext) == 0;
}

static double MonotonicSeconds(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

static double RefreshPeriod(SDL_Window* window)
{
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0)
        return 1.0 / mode.refresh_rate;
    return 1.0 / 60.0;
}

void VTPlatformSwapBuffers(VTWindow* window)
{
    if (!window || !window->sdl || !glContext)
        return;
    SDL_GL_SwapWindow(window->sdl);
    // Scripted runs have their own clock and must not wait on the real one.
    if (!pacingAllowed || virtualClock)
        return;
    double now = MonotonicSeconds();
    double wake = VTPacerAfterSwap(&pacer, now, RefreshPeriod(window->sdl));
    if (wake > now) {
        struct timespec until;
        until.tv_sec = (time_t)wake;
        until.tv_nsec = (long)((wake - (double)until.tv_sec) * 1e9);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, NULL) == EINTR) {
        }
    }
}

void VTPlatformSetFramePacing(int allowed)
{
    pacingAllowed = allowed;
    VTPacerReset(&pacer);
}

int VTPlatformIsPacingFrames(void)
{
    return pacingAllowed && pacer.pacing;
}

void VTPlatformDeleteGLContext(void)
{
    if (glContext)
        SDL_GL_DeleteContext(glContext);
    glContext = NULL;
}

// --- message boxes and fatal ends -------------------------------------------------

int VTPlatformMessageBox(const char* caption, const char* text)
{
    // The text also goes to standard error, so logs keep what the box said.
    fprintf(stderr, "%s\n%s\n", caption, text);
    int answer = VT_ANSWER_NO;
    if (boxHook) {
        answer = boxHook(caption, text);
    } else if (sdlStarted && SDL_WasInit(SDL_INIT_VIDEO)) {
        static const SDL_MessageBoxButtonData buttons[] = {
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, VT_ANSWER_NO, "No"},
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, VT_ANSWER_YES, "Yes"},
        };
        SDL_MessageBoxData data;
        memset(&data, 0, sizeof data);
        data.flags = SDL_MESSAGEBOX_ERROR;
        data.title = caption;
        data.message = text;
        data.numbuttons = 2;
        data.buttons = buttons;
        int pressed = VT_ANSWER_NO;
        if (SDL_ShowMessageBox(&data, &pressed) == 0 && pressed == VT_ANSWER_YES)
            answer = VT_ANSWER_YES;
    }
    return answer;
}

void VTPlatformDebugBreak(void)
{
    raise(SIGTRAP);
}

void VTPlatformExitNow(int status)
{
    RestoreDisplay();
    fflush(stderr);
    _exit(status);
}

// --- scripted runs --------------------------------------------------------------

void VTPlatformSetFrameHook(VTPlatformFrameHook hook, void* context)
{
    frameHook = hook;
    frameHookContext = context;
}

void VTPlatformReportFocus(int report)
{
    reportFocus = report;
}

void VTPlatformUseVirtualClock(void)
{
    virtualClock = 1;
}

void VTPlatformAdvanceClock(double seconds)
{
    virtualTicks += (long long)(seconds * 1e9 + 0.5);
}

void VTPlatformScriptPad(const VTPadState* pad)
{
    padScripted = 1;
    scriptedPadConnected = pad != NULL;
    if (pad)
        scriptedPad = *pad;
}

void VTPlatformUseRealPad(void)
{
    padScripted = 0;
}

void VTPlatformSetMessageBoxHook(VTPlatformBoxHook hook)
{
    boxHook = hook;
}
