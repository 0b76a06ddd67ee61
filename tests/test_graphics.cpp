// The renderer started with no X display (SDL's offscreen driver and EGL,
// where GLEW reports no GLX display yet loads everything): a quad still
// reaches the frame. What the game's screens put on screen is in the
// reference runs (test_references.cpp).
#include <gtest/gtest.h>
#include <stdlib.h>

#include "harness.h"
#include "vtgraphics.h"
#include "vttextureloading.h"

TEST(Graphics, StartsWithoutAnXDisplay)
{
    static int* centre;
    centre = SharedBlock<int>();
    EXPECT_EQ(0, RunInChild([] {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "offscreen", 1); // asked for: the game alone would refuse to run unseen
        VTPlatformSetMessageBoxHook([](const char*, const char* text) -> int {
            ADD_FAILURE() << text;
            return VT_ANSWER_NO;
        });
        StartTestEngine(64, 64);
        VTGraphicsStartDraw();
        std::string path = WriteTestTga("white", 4, 4, 24, std::vector<unsigned char>(48, 255));
        VTGraphicsSetTexture(VTGraphicsLoadTexture(path.c_str()));
        remove(path.c_str());
        VTGraphicsSetTextureCoords(1, 1, 0, 0, 0);
        VTGraphicsSetColor(255, 255, 255, 255);
        VTGraphicsSetToOrtho();
        VTMatrix4 m;
        VTMatrixTransform(&m, 20, 20, 0.0f, 32, 32, 0.0f);
        VTGraphicsDraw(&m);
        VTCapture capture;
        ASSERT_EQ(1, VTGraphicsReadFrame(&capture));
        const unsigned char* middle = capture.pixels + 3 * (32 * 64 + 32);
        const unsigned char* corner = capture.pixels + 3 * (2 * 64 + 2);
        *centre = middle[0] + middle[1] + middle[2] - corner[0] - corner[1] - corner[2];
        VTGraphicsFreeCapture(&capture);
        VTGraphicsEndDraw();
    }));
    EXPECT_EQ(3 * 255, *centre) << "a white quad on black";
}
