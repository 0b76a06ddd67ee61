// vtpacing.cpp -- the frame pacer's decisions.
#include "platform/vtpacing.h"

void VTPacerReset(VTFramePacer* pacer)
{
    pacer->lastFrameEnd = -1.0;
    pacer->deadline = 0.0;
    pacer->fastFrames = 0;
    pacer->pacing = 0;
}

double VTPacerAfterSwap(VTFramePacer* pacer, double now, double period)
{
    if (!pacer->pacing) {
        if (pacer->lastFrameEnd >= 0.0 && now - pacer->lastFrameEnd < period * VT_PACER_FAST_FRACTION)
            pacer->fastFrames++;
        else
            pacer->fastFrames = 0;
        pacer->lastFrameEnd = now;
        if (pacer->fastFrames < VT_PACER_FAST_RUN)
            return now;
        pacer->pacing = 1;
        pacer->deadline = now;
    }
    // Deadlines advance by whole periods so the average rate is the display's;
    // a frame that ran long is made up by the next short ones, but a stall of
    // more than a period is forgiven instead of answered with a burst.
    pacer->deadline += period;
    if (pacer->deadline < now - period)
        pacer->deadline = now;
    double wake = pacer->deadline > now ? pacer->deadline : now;
    pacer->lastFrameEnd = wake;
    return wake;
}
