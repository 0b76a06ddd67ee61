// vtgraphics.h -- the OpenGL context of the game window, the two projections
// (a perspective camera over the z = 0 world plane and a pixel projection for
// screen overlays), the one quad every object is drawn with, and the frame
// brackets. World y grows upward; screen pixels count from the bottom-left.
#ifndef VTGRAPHICS_H
#define VTGRAPHICS_H

#include "platform/vtplatform.h"
#include "vtmath.h"

// C names: the benchmark watches these calls by their plain symbols.
extern "C" {

// --- context and frames -----------------------------------------------------------

// Once only, from the window's creation message: context, font lists, fixed
// state, viewport, default camera, extension loader, quad buffer.
void VTGraphicsInit(VTWindow* window, int width, int height);
// Creates the double-buffered RGBA context (32-bit depth where offered) and
// makes it current.
void VTGraphicsRenderContextInit(void);
// Deletes the quad buffer, the font lists and the context; then asserts that
// every texture was unloaded.
void VTGraphicsShutdown(void);
void VTGraphicsStartDraw(void); // context current, colour and depth cleared
void VTGraphicsEndDraw(void);   // buffers swapped (and the frame paced to the display)

// --- cameras -------------------------------------------------------------------

// Camera over (x, y) at height z (held within 2..999), the view rolled by roll
// radians about the z axis.
void VTGraphicsSetCamera(float x, float y, float z, float roll);
void VTGraphicsSetPerspectiveMatrix(double fieldOfView, double aspect, double nearPlane, double farPlane);
// The stored perspective and camera: for world objects.
void VTGraphicsSetToPerspective(void);
// Pixel units, origin bottom-left, model-view identity: for screen objects
// (their z must stay within -1..1).
void VTGraphicsSetToOrtho(void);
// New designed size (the resolution): aspect, projection, viewport and world
// corners follow; the camera stays.
void VTGraphicsSetViewport(int width, int height);
// The window's client size, whatever the window manager made it: the designed
// picture is scaled to fit it, centred, with black bars at its sides or above
// and below. Sizes of 0 are ignored.
void VTGraphicsSetWindowSize(int width, int height);
void VTGraphicsUpdateWorldCorners(void);
// The corners of the visible part of the z = 0 plane, in world units.
VTVec2 VTGraphicsGetWorldTopLeft(void);
VTVec2 VTGraphicsGetWorldTopRight(void);
VTVec2 VTGraphicsGetWorldBotLeft(void);
VTVec2 VTGraphicsGetWorldBotRight(void);

// --- drawing ----------------------------------------------------------------------

// The unit square (-0.5..0.5, texture v = 0 at the bottom) in one static buffer.
void VTGraphicsInitMesh(void);
// Draws the square once, transformed by matrix on top of the current view.
void VTGraphicsDraw(const VTMatrix4* matrix);
// Tint and alpha of the next draws; the texture colour is multiplied by it.
void VTGraphicsSetColor(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha);
void VTGraphicsSetTexture(unsigned textureId);
// Texture matrix: scale above 1 repeats the image, the offset shifts it.
void VTGraphicsSetTextureCoords(float scaleU, float scaleV, float angle, float offsetU, float offsetV);
// The 96 display lists of characters 32..127 from the engine's bitmap font.
void VTGraphicsBuildFont(void);
// First of the 96 font lists; list base + c - 32 draws character c at the
// raster position (0 before the font is built).
unsigned VTGraphicsGetFontBase(void);

// --- null draw (benchmarks and tests only) ----------------------------------------

// 1: VTGraphicsDraw, the clear in VTGraphicsStartDraw and the swap in
// VTGraphicsEndDraw do nothing, while cameras, projections, texture, colour and
// world corners are kept as usual, so frame logic can be timed without the
// rasterizer. 0 (the default) draws; the game never turns it on.
void VTGraphicsSetNullDraw(int on);
int VTGraphicsIsNullDraw(void);

// --- frame capture (tests, tools, screenshots) -----------------------------------

typedef struct VTCapture
{
    int width;             // the window's client size
    int height;
    unsigned char* pixels; // width x height RGB, bottom row first; free with VTGraphicsFreeCapture
} VTCapture;

// Reads what has been drawn into the back buffer so far, the whole window
// (bars included). 1 on success.
int VTGraphicsReadFrame(VTCapture* capture);
// The next VTGraphicsEndDraw reads its frame into capture just before the swap
// (capture->pixels stays NULL until then). NULL cancels a pending request.
void VTGraphicsCaptureNextFrame(VTCapture* capture);
void VTGraphicsFreeCapture(VTCapture* capture);
// Writes a capture to a real file path as an uncompressed 24-bit TGA (any
// size). 1 on success.
int VTGraphicsWriteCapture(const VTCapture* capture, const char* path);

}

#endif
