// flows.h -- records of the real program's runs: state changes, start-up and
// CPU use.
#ifndef KELVARO_BENCH_FLOWS_H
#define KELVARO_BENCH_FLOWS_H

#include "scenes.h"

enum { MAX_SAMPLES = 16 };

struct Sample
{
    double totalMs;      // request to the end of the new state's first frame
    double afterFrameMs; // the same, from the end of the frame that asked
    double textureMs;    // of which reading and uploading textures
    double bankMs;       // of which making and releasing the sound bank
};

struct ChangeResult
{
    char name[40];
    int samples;
    Sample sample[MAX_SAMPLES];
    int textures;    // files the change loads
    double floorMs;  // loading and unloading the same files in a bare loop
    double decodeMs; // only reading them
};

struct ChangeResults
{
    int count;
    ChangeResult changes[MAX_CHANGES];
    double startRssMb; // right after the window and graphics are up
    double menuRssMb;
    double playPeakMb;
    double peakMb;
    int finished;
};

struct CpuWindow
{
    double cpuPercent;    // of one core, this process with its driver threads
    double serverPercent; // the X server's, -1 when not found
    double fps;
    int pacing;
};

struct CpuResults
{
    CpuWindow menu;
    CpuWindow play;
    int finished;
};

// In a child: the program from launch to quit, round the script iterations
// times, on the virtual clock; verbose lists every sound bank call.
void RunStateChanges(int iterations, int verbose, ChangeResults* out);
// In a freshly executed child: the program until its first frame; writes the
// CLOCK_MONOTONIC times of main, of the window and graphics being up and of
// the first drawn frame to fd, then closes.
int RunStartupChild(int fd);
// In a child: the program on the real clock with the frame pacing on; menu
// and level 1 for the given seconds each.
void RunCpu(double seconds, CpuResults* out);

#endif
