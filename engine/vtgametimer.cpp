// vtgametimer.cpp -- frame timer on the platform's performance counter.
// Owns the counter frequency and the two ends of the current frame.
#include "vtgametimer.h"

#include "platform/vtplatform.h"
#include "vtdebug.h"

static long long frequency; // ticks per second; 0 before VTTimerInit
static long long frameStart;
static long long frameEnd;
static int initCalls;
static int shutdownCalls;

void VTTimerInit(void)
{
    VT_ASSERT(++initCalls == 1, VT_MSG_NOT_STUDENTS);
    frequency = VTPlatformCounterFrequency();
    frameStart = 0;
    frameEnd = 0;
}

void VTTimerStartFrame(void)
{
    frameStart = VTPlatformCounter();
}

float VTTimerEndFrame(void)
{
    frameEnd = VTPlatformCounter();
    // The difference stays 64-bit; only the result is narrowed, as the
    // frame's length is small even when the counter is large.
    float ticks = (float)(double)(frameEnd - frameStart);
    return ticks / (float)frequency;
}

void VTTimerShutdown(void)
{
    VT_ASSERT(++shutdownCalls == 1, VT_MSG_NOT_STUDENTS);
    frequency = 0;
    frameStart = 0;
    frameEnd = 0;
}
