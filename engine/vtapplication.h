// vtapplication.h -- the application shell: the one game window, display
// modes, the message pump and the outer loop that runs the states.
#ifndef VTAPPLICATION_H
#define VTAPPLICATION_H

#include "platform/vtplatform.h"

// C names: the benchmark watches these calls by their plain symbols.
extern "C" {

typedef struct VTApplicationInitInfo
{
    void* instance;      // unused on this platform; kept for the record's shape
    const char* title;   // window caption
    void* gameData;      // the initial game record, copied by the state manager
    int gameDataSize;    // its size in bytes
    int height;          // client height in pixels
    int width;           // client width in pixels
    int fullScreen;      // always 0: the saved option is applied after start-up
} VTApplicationInitInfo;

// Once only: window, graphics (through VT_WM_CREATE), state manager, timer, input.
// With no display to show the window on, says so on standard error and ends
// the process with status 1.
void VTApplicationInit(const VTApplicationInitInfo* info);
// Runs states until the window is gone.
void VTApplicationUpdate(void);
// Restores the desktop mode if full screen, frees input, timer and state manager.
void VTApplicationShutdown(void);
// Drains every pending window message into VTApplicationWindowProc; never blocks.
void VTApplicationProcessMessages(void);
// 1: real display-mode change to the client size; 0: back to the desktop mode.
// A refused mode falls back to windowed with a notice.
void VTApplicationSetFullScreen(int flag);
// Stores the size, sets the viewport and re-applies the current full-screen flag.
void VTApplicationSetResolution(int width, int height);
// The designed size (the resolution) the layout uses; a window the window
// manager sized otherwise shows it scaled.
int VTApplicationGetWidth(void);
int VTApplicationGetHeight(void);
int VTApplicationIsFullScreen(void);
int VTApplicationIsQuitting(void);
// Nonzero: closes the window synchronously (graphics shut down, window destroyed).
void VTApplicationClose(int flag);
// Passes the flag to the cursor counter; returns the counter (visible while >= 0).
int VTApplicationShowCursor(int show);
// Enlarges rect (left, top, right, bottom: the client area) by the window frame
// of the given style and returns the frame's centred top-left in x, y.
void VTApplicationCenterWindow(unsigned style, int rect[4], int* x, int* y);
// F11, and Enter with Alt held, toggle full screen from any state: a key
// down calls the handler once (its auto-repeat does not). With no handler
// the shell toggles its own flag with VTApplicationSetFullScreen.
typedef void (*VTFullScreenKeyHandler)(void);
void VTApplicationSetFullScreenKeyHandler(VTFullScreenKeyHandler handler);
long VTApplicationWindowProc(VTWindow* window, unsigned message, unsigned long wParam, long lParam);

#define VT_STYLE_WINDOWED 0x80C00000u
#define VT_STYLE_FULLSCREEN 0x90000000u

}

#endif
