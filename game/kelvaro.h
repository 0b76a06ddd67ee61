// kelvaro.h -- the program: start-up, the states' run, shutdown.
#ifndef KELVARO_H
#define KELVARO_H

// Client size for a resolution option: 0 1024x768, 2 1920x1080, else 1280x720.
void ResolutionToSize(int resolution, int* width, int* height);
// Runs the whole game from the first splash screen to the end; returns 0.
int KelvaroMain(void);

#endif
