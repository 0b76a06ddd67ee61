// vtgraphics.cpp -- render context, cameras, the quad mesh and the frame
// brackets. Owns the window it draws to, the projection and camera values
// (64-bit, as the projections take them), the world corners, the quad buffer
// and the font lists.
#include "vtgraphics.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vtdebug.h"
#include "vttextureloading.h"

#define FONT_FIRST_CHAR 32
#define FONT_LIST_COUNT 96
#define FONT_CELL_WIDTH 14
#define FONT_CELL_HEIGHT 16

static VTWindow* window;
static int width;           // the designed picture: projections and layout
static int height;
static int windowWidth;     // the window's client area the picture is scaled into
static int windowHeight;
static double fieldOfView;
static double aspect;
static double nearPlane;
static double farPlane;
static double cameraX;
static double cameraY;
static double cameraZ;
static double cameraRoll;
static VTVec2 worldTopLeft;
static VTVec2 worldTopRight;
static VTVec2 worldBotLeft;
static VTVec2 worldBotRight;

static GLuint quadBuffer;
static int quadVertexCount;
static GLuint fontBase;

static VTCapture* pendingCapture;
static int initCalls;
static int nullDraw; // benchmark seam, see VTGraphicsSetNullDraw

// --- context and frames -----------------------------------------------------------

void VTGraphicsRenderContextInit(void)
{
    // The window was created with the pixel format (double-buffered RGBA,
    // 32-bit depth or 24 where the driver has no 32), so choosing and setting
    // it cannot fail apart from the window itself.
    VT_ASSERT(window != NULL, "Unable to chose PixelFormat. Your video card is out of date");
    VT_ASSERT(VTPlatformCreateGLContext(window), "Unable to Create Render Context. Your video card is out of date");
    VT_ASSERT(VTPlatformMakeCurrent(window), "Unable to Set Render Context. Your video card is out of date");
}

// Debian's GLEW looks for a GLX display after loading the entry points; on an
// EGL context (no X server, or Wayland) that last step fails although every
// GL function was found, so that one error counts as success as long as the
// buffer-object entry points are there.
static int InitExtensions(void)
{
    glewExperimental = GL_TRUE;
    GLenum status = glewInit();
    if (status != GLEW_OK && status != GLEW_ERROR_NO_GLX_DISPLAY)
        return 0;
    return glGenBuffers && glBindBuffer && glBufferData && glDeleteBuffers;
}

// The designed picture as large as the window allows at its own aspect
// ratio, centred; the clear colour fills the bars beside or above it.
static void ApplyViewport(void)
{
    double scale = fmin((double)windowWidth / width, (double)windowHeight / height);
    int w = (int)(width * scale + 0.5);
    int h = (int)(height * scale + 0.5);
    glViewport((windowWidth - w) / 2, (windowHeight - h) / 2, w, h);
}

void VTGraphicsInit(VTWindow* target, int w, int h)
{
    VT_ASSERT(++initCalls == 1, VT_MSG_NOT_STUDENTS);
    window = target;
    width = windowWidth = w;
    height = windowHeight = h;
    fieldOfView = 90.0;
    nearPlane = 1.0;
    farPlane = 1000.0;
    aspect = (double)width / (double)height;
    cameraX = 0.0;
    cameraY = 0.0;
    cameraZ = 60.0;
    cameraRoll = 0.0;

    VTGraphicsRenderContextInit();
    VTGraphicsBuildFont();

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_DEPTH_TEST);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);

    ApplyViewport();
    VTGraphicsSetPerspectiveMatrix(90.0, aspect, 1.0, 1000.0);
    VTGraphicsSetCamera(0.0f, 0.0f, 60.0f, 0.0f);

    VT_ASSERT(InitExtensions(), "Unable to load the OpenGL buffer functions. Your video card is out of date");
    VTGraphicsInitMesh();
}

void VTGraphicsShutdown(void)
{
    if (quadBuffer && glDeleteBuffers)
        glDeleteBuffers(1, &quadBuffer);
    quadBuffer = 0;
    if (fontBase)
        glDeleteLists(fontBase, FONT_LIST_COUNT);
    fontBase = 0;
    pendingCapture = NULL;
    VTPlatformDeleteGLContext();
    VT_ASSERT(VTGraphicsGetTextureCount() == 0, "Some textures were not unloaded.");
}

void VTGraphicsStartDraw(void)
{
    VTPlatformMakeCurrent(window);
    if (!nullDraw)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void VTGraphicsEndDraw(void)
{
    if (pendingCapture) {
        VTGraphicsReadFrame(pendingCapture);
        pendingCapture = NULL;
    }
    if (!nullDraw)
        VTPlatformSwapBuffers(window);
}

void VTGraphicsSetNullDraw(int on)
{
    nullDraw = on != 0;
}

int VTGraphicsIsNullDraw(void)
{
    return nullDraw;
}

// --- cameras -------------------------------------------------------------------

void VTGraphicsSetCamera(float x, float y, float z, float roll)
{
    z = VTClamp(z, 2.0f, 999.0f);
    cameraX = x;
    cameraY = y;
    cameraZ = z;
    cameraRoll = roll;

    VTMatrix4 rotation;
    VTMatrixRotationZ(&rotation, roll);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(cameraX, cameraY, cameraZ, cameraX, cameraY, 0.0, 0.0, 1.0, 0.0);
    glMultMatrixf(rotation.m);
    VTGraphicsUpdateWorldCorners();
}

void VTGraphicsSetPerspectiveMatrix(double fov, double ratio, double nearDistance, double farDistance)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, ratio, nearDistance, farDistance);
    glMatrixMode(GL_MODELVIEW);
}

void VTGraphicsSetToPerspective(void)
{
    VTGraphicsSetPerspectiveMatrix(fieldOfView, aspect, nearPlane, farPlane);
    VTGraphicsSetCamera((float)cameraX, (float)cameraY, (float)cameraZ, (float)cameraRoll);
}

void VTGraphicsSetToOrtho(void)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, width, 0.0, height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void VTGraphicsSetViewport(int w, int h)
{
    width = w;
    height = h;
    aspect = (double)width / (double)height;
    VTGraphicsSetPerspectiveMatrix(fieldOfView, aspect, nearPlane, farPlane);
    ApplyViewport();
    VTGraphicsUpdateWorldCorners();
}

void VTGraphicsSetWindowSize(int w, int h)
{
    // A minimised window reports nothing to draw into; keep the last size.
    if (w > 0 && h > 0) {
        windowWidth = w;
        windowHeight = h;
        if (initCalls)
            ApplyViewport();
    }
}

static VTVec2 Rotated(const VTMatrix4* r, double x, double y)
{
    VTVec2 corner;
    corner.x = (float)(r->m[0] * x + r->m[4] * y);
    corner.y = (float)(r->m[1] * x + r->m[5] * y);
    return corner;
}

void VTGraphicsUpdateWorldCorners(void)
{
    float t = (float)tan(VTDegreeToRadian((float)(fieldOfView * 0.5)));
    double halfHeight = t * cameraZ;
    double halfWidth = aspect * halfHeight;
    double top = cameraY + halfHeight;
    double bottom = cameraY - halfHeight;
    double right = cameraX + halfWidth;
    double left = cameraX - halfWidth;

    // The view is rolled about the world origin, so the corners turn back
    // by the same angle.
    VTMatrix4 r;
    VTMatrixRotationZ(&r, (float)-cameraRoll);
    worldTopLeft = Rotated(&r, left, top);
    worldTopRight = Rotated(&r, right, top);
    worldBotLeft = Rotated(&r, left, bottom);
    worldBotRight = Rotated(&r, right, bottom);
}

VTVec2 VTGraphicsGetWorldTopLeft(void) { return worldTopLeft; }
VTVec2 VTGraphicsGetWorldTopRight(void) { return worldTopRight; }
VTVec2 VTGraphicsGetWorldBotLeft(void) { return worldBotLeft; }
VTVec2 VTGraphicsGetWorldBotRight(void) { return worldBotRight; }

// --- drawing ----------------------------------------------------------------------

typedef struct QuadVertex
{
    float x, y, z;
    float u, v;
} QuadVertex;

void VTGraphicsInitMesh(void)
{
    // Two counter-clockwise triangles; v = 0 is the bottom edge, as the image
    // rows are stored bottom first.
    static const QuadVertex quad[6] = {
        {0.5f, 0.5f, 0.0f, 1.0f, 1.0f},   {-0.5f, 0.5f, 0.0f, 0.0f, 1.0f}, {-0.5f, -0.5f, 0.0f, 0.0f, 0.0f},
        {-0.5f, -0.5f, 0.0f, 0.0f, 0.0f}, {0.5f, -0.5f, 0.0f, 1.0f, 0.0f}, {0.5f, 0.5f, 0.0f, 1.0f, 1.0f},
    };
    glGenBuffers(1, &quadBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    quadVertexCount = 6;
}

void VTGraphicsDraw(const VTMatrix4* matrix)
{
    if (nullDraw)
        return;
    glPushMatrix();
    glMultMatrixf(matrix->m);
    glVertexPointer(3, GL_FLOAT, sizeof(QuadVertex), (const void*)0);
    glTexCoordPointer(2, GL_FLOAT, sizeof(QuadVertex), (const void*)(3 * sizeof(float)));
    glDrawArrays(GL_TRIANGLES, 0, quadVertexCount);
    glPopMatrix();
}

void VTGraphicsSetColor(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha)
{
    glColor4ub(red, green, blue, alpha);
}

void VTGraphicsSetTexture(unsigned textureId)
{
    glBindTexture(GL_TEXTURE_2D, textureId);
}

void VTGraphicsSetTextureCoords(float scaleU, float scaleV, float angle, float offsetU, float offsetV)
{
    VTMatrix4 matrix;
    VTMatrixTransform(&matrix, scaleU, scaleV, angle, offsetU, offsetV, 0.0f);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(matrix.m);
    glMatrixMode(GL_MODELVIEW);
}

// The engine's own 5 x 7 letters, characters 32..127, one row per byte from
// the top, bit 4 the leftmost column.
static const unsigned char fontGlyphs[FONT_LIST_COUNT][7] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // space
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}, // !
    {0x0A, 0x0A, 0x0A, 0x00, 0x00, 0x00, 0x00}, // "
    {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}, // #
    {0x04, 0x0F, 0x14, 0x0E, 0x05, 0x1E, 0x04}, // $
    {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}, // %
    {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}, // &
    {0x0C, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}, // '
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}, // (
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}, // )
    {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}, // *
    {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}, // +
    {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}, // ,
    {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}, // -
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}, // .
    {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}, // /
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // 9
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}, // :
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x04, 0x08}, // ;
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}, // <
    {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}, // =
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08}, // >
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}, // ?
    {0x0E, 0x11, 0x01, 0x0D, 0x15, 0x15, 0x0E}, // @
    {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11}, // A
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}, // B
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, // C
    {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}, // D
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, // E
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}, // F
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, // G
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // H
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // I
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}, // J
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, // K
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}, // L
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, // M
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}, // N
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // O
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}, // P
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, // Q
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, // R
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, // S
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // T
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // U
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}, // V
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, // W
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}, // X
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, // Y
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}, // Z
    {0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0E}, // [
    {0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00}, // backslash
    {0x0E, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0E}, // ]
    {0x04, 0x0A, 0x11, 0x00, 0x00, 0x00, 0x00}, // ^
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F}, // _
    {0x08, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00}, // `
    {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}, // a
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E}, // b
    {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E}, // c
    {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}, // d
    {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}, // e
    {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}, // f
    {0x00, 0x0F, 0x11, 0x11, 0x0F, 0x01, 0x0E}, // g
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}, // h
    {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}, // i
    {0x02, 0x00, 0x06, 0x02, 0x02, 0x12, 0x0C}, // j
    {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}, // k
    {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // l
    {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}, // m
    {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}, // n
    {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}, // o
    {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10}, // p
    {0x00, 0x00, 0x0D, 0x13, 0x0F, 0x01, 0x01}, // q
    {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}, // r
    {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}, // s
    {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}, // t
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}, // u
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}, // v
    {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A}, // w
    {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}, // x
    {0x00, 0x00, 0x11, 0x11, 0x0F, 0x01, 0x0E}, // y
    {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}, // z
    {0x02, 0x04, 0x04, 0x08, 0x04, 0x04, 0x02}, // {
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // |
    {0x08, 0x04, 0x04, 0x02, 0x04, 0x04, 0x08}, // }
    {0x00, 0x00, 0x08, 0x15, 0x02, 0x00, 0x00}, // ~
    {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F}, // DEL
};

void VTGraphicsBuildFont(void)
{
    fontBase = glGenLists(FONT_LIST_COUNT);
    // Each letter is drawn at twice its size in a 14 x 16 cell: 10 x 14 ink,
    // two columns and one row of margin. Bitmap rows run bottom to top and
    // are padded to four bytes, the default unpack alignment.
    for (int c = 0; c < FONT_LIST_COUNT; c++) {
        unsigned char bitmap[FONT_CELL_HEIGHT][4];
        memset(bitmap, 0, sizeof bitmap);
        for (int row = 0; row < 7; row++) {
            for (int col = 0; col < 5; col++) {
                if (!(fontGlyphs[c][row] & (0x10 >> col)))
                    continue;
                for (int dy = 0; dy < 2; dy++) {
                    int y = FONT_CELL_HEIGHT - 2 - (2 * row + dy);
                    for (int dx = 0; dx < 2; dx++) {
                        int x = 2 + 2 * col + dx;
                        bitmap[y][x / 8] |= (unsigned char)(0x80 >> (x % 8));
                    }
                }
            }
        }
        glNewList(fontBase + c, GL_COMPILE);
        glBitmap(FONT_CELL_WIDTH, FONT_CELL_HEIGHT, 0.0f, 0.0f, (float)FONT_CELL_WIDTH, 0.0f, &bitmap[0][0]);
        glEndList();
    }
}

unsigned VTGraphicsGetFontBase(void)
{
    return fontBase;
}

// --- frame capture ------------------------------------------------------------------

int VTGraphicsReadFrame(VTCapture* capture)
{
    capture->width = windowWidth;
    capture->height = windowHeight;
    capture->pixels = (unsigned char*)malloc((size_t)windowWidth * (size_t)windowHeight * 3);
    if (!capture->pixels)
        return 0;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, capture->pixels);
    return glGetError() == GL_NO_ERROR;
}

void VTGraphicsCaptureNextFrame(VTCapture* capture)
{
    if (capture)
        capture->pixels = NULL;
    pendingCapture = capture;
}

void VTGraphicsFreeCapture(VTCapture* capture)
{
    free(capture->pixels);
    capture->pixels = NULL;
}

int VTGraphicsWriteCapture(const VTCapture* capture, const char* path)
{
    if (!capture->pixels || capture->width <= 0 || capture->height <= 0 || capture->width > 65535 ||
        capture->height > 65535)
        return 0;
    size_t pixelCount = (size_t)capture->width * (size_t)capture->height;
    size_t size = 18 + pixelCount * 3;
    unsigned char* file = (unsigned char*)malloc(size);
    if (!file)
        return 0;
    memset(file, 0, 18);
    file[2] = 2; // uncompressed true colour, rows bottom first
    file[12] = (unsigned char)(capture->width & 0xFF);
    file[13] = (unsigned char)(capture->width >> 8);
    file[14] = (unsigned char)(capture->height & 0xFF);
    file[15] = (unsigned char)(capture->height >> 8);
    file[16] = 24;
    for (size_t i = 0; i < pixelCount; i++) {
        file[18 + 3 * i + 0] = capture->pixels[3 * i + 2];
        file[18 + 3 * i + 1] = capture->pixels[3 * i + 1];
        file[18 + 3 * i + 2] = capture->pixels[3 * i + 0];
    }
    // A real path, not a game path: captures go wherever the tool asks.
    FILE* out = fopen(path, "wb");
    int written = out && fwrite(file, 1, size, out) == size;
    if (out && fclose(out) != 0)
        written = 0;
    free(file);
    return written;
}
