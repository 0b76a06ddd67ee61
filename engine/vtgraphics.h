// vtgraphics.h -- the OpenGL context of the game window and the frame brackets.
#ifndef VTGRAPHICS_H
#define VTGRAPHICS_H

#include "platform/vtplatform.h"

// Once only, from the window's creation message: context, fixed state, viewport.
void VTGraphicsInit(VTWindow* window, int width, int height);
// Deletes the context; asserts when textures are still loaded.
void VTGraphicsShutdown(void);
void VTGraphicsStartDraw(void); // context current, colour and depth cleared
void VTGraphicsEndDraw(void);   // buffers swapped
void VTGraphicsSetViewport(int width, int height);
// Textures alive now; every state unloads what it loaded.
int VTGraphicsGetLoadedTextureCount(void);

#endif
