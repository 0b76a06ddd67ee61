// The null draw that benchmarks time frame logic with: off unless asked for,
// and while on it leaves the frame untouched but keeps the cameras' books.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "harness.h"
#include "vtgraphics.h"
#include "vttextureloading.h"

namespace {

const int W = 640;
const int H = 480;

// The colour at the window's centre of what has been drawn so far.
void CentrePixel(unsigned char rgb[3])
{
    VTCapture capture;
    memset(rgb, 0, 3);
    if (VTGraphicsReadFrame(&capture)) {
        memcpy(rgb, capture.pixels + 3 * ((H / 2) * W + W / 2), 3);
        VTGraphicsFreeCapture(&capture);
    }
}

void FullScreenQuad(unsigned char red, unsigned char green, unsigned char blue)
{
    VTGraphicsSetToOrtho();
    VTGraphicsSetColor(red, green, blue, 255);
    VTMatrix4 m;
    VTMatrixTransform(&m, (float)W, (float)H, 0.0f, W / 2.0f, H / 2.0f, 0.0f);
    VTGraphicsDraw(&m);
}

} // namespace

TEST(NullDraw, OffByDefaultDrawsNothingWhenOnAndKeepsTheCamera)
{
    struct Seen
    {
        int onAtStart, onAfterSet, onAfterReset;
        unsigned char drawn[3], nullStart[3], nullDrawn[3], drawnAgain[3];
        float cornerTopY;
    };
    static Seen* seen;
    seen = SharedBlock<Seen>();
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(W, H);
        seen->onAtStart = VTGraphicsIsNullDraw();
        std::string path = WriteTestTga("nulldraw", 4, 4, 24, std::vector<unsigned char>(48, 255));
        unsigned white = VTGraphicsLoadTexture(path.c_str());
        remove(path.c_str());
        VTGraphicsSetTexture(white);
        VTGraphicsSetTextureCoords(1, 1, 0, 0, 0);

        VTGraphicsStartDraw();
        FullScreenQuad(255, 255, 255);
        CentrePixel(seen->drawn);

        VTGraphicsSetNullDraw(1);
        seen->onAfterSet = VTGraphicsIsNullDraw();
        VTGraphicsStartDraw(); // no clear: the white frame stays
        CentrePixel(seen->nullStart);
        FullScreenQuad(255, 0, 0);
        CentrePixel(seen->nullDrawn);
        VTGraphicsSetCamera(10.0f, 20.0f, 60.0f, 0.0f);
        seen->cornerTopY = VTGraphicsGetWorldTopLeft().y;
        VTGraphicsEndDraw();

        VTGraphicsSetNullDraw(0);
        seen->onAfterReset = VTGraphicsIsNullDraw();
        VTGraphicsStartDraw();
        FullScreenQuad(255, 0, 0);
        CentrePixel(seen->drawnAgain);
        VTGraphicsEndDraw();
        VTGraphicsUnloadTexture(white);
    }));
    EXPECT_EQ(0, seen->onAtStart);
    EXPECT_EQ(1, seen->onAfterSet);
    EXPECT_EQ(0, seen->onAfterReset);
    EXPECT_EQ(255, seen->drawn[0]);
    EXPECT_EQ(255, seen->drawn[1]);
    SCOPED_TRACE("while on, neither the clear nor the red quad reaches the frame");
    EXPECT_EQ(255, seen->nullStart[1]);
    EXPECT_EQ(255, seen->nullDrawn[1]);
    SCOPED_TRACE("the camera still moves: 640 x 480 at height 60 shows 60 units above its centre");
    EXPECT_FLOAT_EQ(80.0f, seen->cornerTopY);
    SCOPED_TRACE("off again, frames draw");
    EXPECT_EQ(255, seen->drawnAgain[0]);
    EXPECT_EQ(0, seen->drawnAgain[1]);
}
