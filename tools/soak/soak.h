// soak.h -- the real program played for a long stretch of game time by a
// scripted player that goes everywhere a person would: menus, options,
// credits, the tutorial, five levels through the warp cheat, pauses, deaths
// and retries. Watches memory, the object lists and every float it can reach.
#ifndef SOAK_H
#define SOAK_H

#include <stdio.h>

#include "states.h"

enum { SOAK_MAX_MINUTES = 240 };

struct SoakMinute
{
    long peakRssKb;    // the process's high-water mark at the minute's end
    long rssKb;        // resident then
    long heapKb;       // malloc'd bytes in use then
    int objectsMax;    // largest object list seen during the minute
    int textures;      // textures loaded at the minute's end
};

struct SoakReport
{
    int minutes, frames;   // asked for; frames actually run
    int status;            // the child's exit status
    int exitCode;          // what the program returned
    int boxes;             // message boxes shown
    char firstBox[512];
    int texturesAtExit;
    int nonFinite;         // frames with a NaN or infinite float
    char firstNonFinite[160];
    int visits[STATE_COUNT];
    int deaths, retries, warps, maxLevel, pauses, pauseExits;
    int soundToggles, resolutionChanges, tutorialSkips, resets, shipsFlown[4];
    int menuHeapSamples;   // malloc'd bytes in use each time the menu settles
    long menuHeapKb[256];
    SoakMinute minute[SOAK_MAX_MINUTES];
};

// Runs the program in a child for minutes of game time at 60 frames a second
// (drawing one frame in renderEvery; the rest skip the rasterizer). Fresh
// saved files, SDL's dummy sound device. Returns the report in shared memory.
SoakReport* RunSoak(int minutes, int renderEvery);

// Problems found (non-empty text per problem); empty when the run was clean.
// checkMemory: also hold the memory series flat after the first minute.
int SoakProblems(const SoakReport* report, int checkMemory, char problems[][160], int capacity);

void PrintSoakReport(const SoakReport* report, FILE* out);

#endif
