// vtpacing.h -- keeping frames to the display's rate when vsync is ignored.
// Many of the game's rules count frames (menu repeats, damping, blinking),
// so a driver whose swaps never wait (Xvfb, some virtual machines) would
// change how the game plays and burn a core. The pacer notices swaps that
// come back far sooner than the display refreshes and from then on holds
// each frame to one refresh period. Pure arithmetic on seconds: the caller
// owns the clock and the sleeping.
#ifndef VTPACING_H
#define VTPACING_H

typedef struct VTFramePacer
{
    double lastFrameEnd; // when the previous frame was handed over; < 0 before the first
    double deadline;     // when the current frame may be handed over
    int fastFrames;      // consecutive frames far shorter than a period
    int pacing;          // 1 once vsync has been seen not to hold
} VTFramePacer;

// Frames shorter than this part of a period count as unpaced...
#define VT_PACER_FAST_FRACTION 0.75
// ...and this many in a row switch pacing on. One slow frame resets the run.
#define VT_PACER_FAST_RUN 8

void VTPacerReset(VTFramePacer* pacer);
// Called right after a swap returned at now (seconds). Returns the time to
// wait until before the next frame starts; a time <= now means go at once.
double VTPacerAfterSwap(VTFramePacer* pacer, double now, double period);

#endif
