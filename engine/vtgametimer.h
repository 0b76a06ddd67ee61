// vtgametimer.h -- frame timer: how long the last frame took, in seconds.
#ifndef VTGAMETIMER_H
#define VTGAMETIMER_H

void VTTimerInit(void);       // once only; reads the counter's frequency
void VTTimerStartFrame(void); // top of every frame
float VTTimerEndFrame(void);  // seconds since VTTimerStartFrame; not clamped
void VTTimerShutdown(void);   // once only

#endif
