// harness.h -- runs code, or the whole game, in a child process so that
// every run starts from a fresh engine (its start-up functions work once per
// process), and hands results back through shared memory.
#ifndef HARNESS_H
#define HARNESS_H

#include <functional>
#include <string>
#include <vector>

#include "gamedata.h"
#include "platform/vtplatform.h"

// Runs body in a forked child. Returns the child's exit status (0 when body
// returned and no GoogleTest expectation failed inside it), or 128 + signal.
// Under AddressSanitizer a child whose body returned with memory leaked
// exits with CHILD_LEAKED after the leak report.
int RunInChild(const std::function<void()>& body);
enum { CHILD_LEAKED = 23 };

// Memory the child writes and the parent reads afterwards. Zero-filled.
template <typename T>
T* SharedBlock()
{
    extern void* AllocateShared(size_t size);
    return static_cast<T*>(AllocateShared(sizeof(T)));
}

// A scripted run of the real program: fixed frame time, scripted input, no
// real controller, no focus changes from the shared X server, message boxes
// answered by the script.
struct GameScript
{
    int frames = 3;          // frames to run before the window is closed
    double frameTime = 1.0 / 60.0;
    int boxAnswer = VT_ANSWER_NO;
    // 0: frames are run but not rasterized (the software rasterizer is most
    // of a frame's cost); a script may still turn drawing on for a frame.
    int draw = 0;
    // Called at every frame's message pump, before SDL's events: post
    // messages, script the pad, record what the frame saw.
    std::function<void(int frame, GameData* data)> onFrame;
};

// Inside a child: runs the program under the script and returns its result.
int RunGame(const GameScript& script);

// Boxes the program showed during RunGame (caption, text), in order.
const std::vector<std::pair<std::string, std::string>>& ShownBoxes();

// Message helpers for scripts.
void PostKey(unsigned long virtualKey, int down);
void PostMessage(unsigned message, unsigned long wParam, long lParam);

// Inside a child: starts the engine (window, graphics, state manager, timer,
// input) on a width x height window and registers the game's states, as the
// program does (none of them runs). The engine starts
// once per process: later calls keep the first window.
void StartTestEngine(int width, int height);

// Writes a TGA under /tmp for the loader and returns its path. pixels are as
// the file holds them: blue, green, red (, alpha), bottom row first.
std::string WriteTestTga(const char* name, int width, int height, int bits, const std::vector<unsigned char>& pixels);

// Temporary files of saves in a folder: each is a save that never finished.
int TemporaryFiles(const std::string& folder);

// A fresh $XDG_DATA_HOME for one test; removed with the object.
struct TempDataHome
{
    TempDataHome();
    ~TempDataHome();
    std::string path;           // the XDG_DATA_HOME folder
    std::string File(const char* name) const; // path of Data/<name>
    void Write(const char* name, const std::string& contents) const;
    std::string Read(const char* name) const; // "<missing>" when absent
};

#endif
