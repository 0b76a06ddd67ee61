// vtgraphics.cpp -- the render context and the clear/swap of every frame.
// Owns the window it draws to, the viewport size and the texture count.
#include "vtgraphics.h"

#include <GL/glew.h>
#include <stdio.h>

#include "vtdebug.h"

static VTWindow* window;
static int width;
static int height;
static int loadedTextures;
static int initCalls;

static void RenderContextInit(void)
{
    VT_ASSERT(VTPlatformCreateGLContext(window), "Unable to Create Render Context. Your video card is out of date",
              "VTGraphicsRenderContextInit");
    VT_ASSERT(VTPlatformMakeCurrent(window), "Unable to Set Render Context. Your video card is out of date",
              "VTGraphicsRenderContextInit");
}

// GLEW's loader looks for a GLX display after loading the core entry points;
// on an EGL context (no X server, or Wayland) that last step fails although
// every GL function was found, so that one error counts as success.
static int InitExtensions(void)
{
    glewExperimental = GL_TRUE;
    GLenum status = glewInit();
    return (status == GLEW_OK || status == GLEW_ERROR_NO_GLX_DISPLAY) && glGenBuffers != NULL;
}

void VTGraphicsInit(VTWindow* target, int w, int h)
{
    VT_ASSERT(++initCalls == 1, VT_MSG_NOT_STUDENTS, "VTGraphicsInit");
    window = target;
    width = w;
    height = h;
    RenderContextInit();
    if (!InitExtensions())
        fprintf(stderr, "kelvaro: OpenGL extensions could not be loaded\n");
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glViewport(0, 0, width, height);
}

void VTGraphicsShutdown(void)
{
    VTPlatformDeleteGLContext();
    VT_ASSERT(loadedTextures == 0, "Some textures were not unloaded.", "VTGraphicsShutdown");
}

void VTGraphicsStartDraw(void)
{
    VTPlatformMakeCurrent(window);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void VTGraphicsEndDraw(void)
{
    VTPlatformSwapBuffers(window);
}

void VTGraphicsSetViewport(int w, int h)
{
    width = w;
    height = h;
    glViewport(0, 0, width, height);
}

int VTGraphicsGetLoadedTextureCount(void)
{
    return loadedTextures;
}
