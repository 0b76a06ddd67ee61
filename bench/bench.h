// bench.h -- the benchmark program's shared pieces: clocks, child processes,
// the observers wrapped around engine calls at link time, and the draw list
// recorder whose replay is the floor every frame figure is compared with.
#ifndef KELVARO_BENCH_H
#define KELVARO_BENCH_H

#include <string>
#include <vector>

#include "vtmath.h"

// --- clocks and figures ------------------------------------------------------------

double Now(void);    // CLOCK_MONOTONIC seconds, comparable across processes
double CpuNow(void); // this process's user + system seconds, every thread
double Median(std::vector<double> values);
// Resident and peak resident memory of this process, in MB (VmRSS, VmHWM).
void ReadMemory(double* rssMb, double* peakMb);

// --- child processes -------------------------------------------------------------------

// Shared, zero-filled memory a child writes and the parent reads afterwards.
void* SharedMemory(size_t size);
template <typename T>
T* SharedBlock()
{
    return static_cast<T*>(SharedMemory(sizeof(T)));
}
// Runs body in a forked child with a fresh $XDG_DATA_HOME holding the given
// option string ("001": windowed, sound off, 1280x720) and no tutorial
// pending. Returns the child's exit status, or 128 + signal.
int RunChild(const char* options, void (*body)(void* context), void* context);
// The same folder for a process started some other way; removed afterwards.
std::string MakeDataHome(const char* options);
void RemoveDataHome(const std::string& home);
// Waits for a child; its exit status, or 128 + signal.
int WaitChild(int pid);
// The engine's assertion boxes, answered NO and counted (a run that saw one
// is reported as broken).
void InstallBoxCounter(void);
int BoxesShown(void);

// --- observers of the game's engine calls (wrapped at link time) -------------------

// One quad as the game drew it: projection, camera, texture, texture window,
// colour and model matrix.
struct DrawCall
{
    int ortho;           // 1: pixel projection; 0: perspective through camera
    float camera[4];     // x, y, z, roll
    unsigned texture;
    float texCoords[5];  // scaleU, scaleV, angle, offsetU, offsetV
    unsigned char colour[4];
    VTMatrix4 matrix;
};

// Records every draw until RecordStop; the list is what the frame drew.
void RecordStart(void);
std::vector<DrawCall> RecordStop(void);
// Draws the list again through the engine's own calls, setting the projection
// only where it changes: one bare frame, cleared and swapped as the game's are
// (nothing is drawn, cleared or swapped under the null draw).
void ReplayFrame(const std::vector<DrawCall>& draws);

// Every VTGraphicsEndDraw the game makes.
struct FrameObserver
{
    virtual ~FrameObserver() {}
    virtual void FrameEnded(double when) = 0;
};
void SetFrameObserver(FrameObserver* observer);

// State requests, texture loads, the sound bank and application start-up.
struct FlowObserver
{
    virtual ~FlowObserver() {}
    virtual void Requested(double /*when*/, int /*nextState*/, int /*restart*/) {}
    virtual void TextureLoaded(const char* /*path*/, double /*seconds*/) {}
    virtual void SoundBank(double /*seconds*/) {}
    virtual void ApplicationStarted(double /*when*/) {}
};
void SetFlowObserver(FlowObserver* observer);

#endif
