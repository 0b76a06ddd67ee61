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
std::vector<int> CentrePixel()
{
    VTCapture capture;
    if (!VTGraphicsReadFrame(&capture))
        return {};
    const unsigned char* p = capture.pixels + 3 * ((H / 2) * W + W / 2);
    std::vector<int> rgb = {p[0], p[1], p[2]};
    VTGraphicsFreeCapture(&capture);
    return rgb;
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
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(W, H);
        EXPECT_EQ(0, VTGraphicsIsNullDraw());
        std::string path = WriteTestTga("nulldraw", 4, 4, 24, std::vector<unsigned char>(48, 255));
        unsigned white = VTGraphicsLoadTexture(path.c_str());
        remove(path.c_str());
        VTGraphicsSetTexture(white);
        VTGraphicsSetTextureCoords(1, 1, 0, 0, 0);
        const std::vector<int> WHITE = {255, 255, 255}, RED = {255, 0, 0};

        VTGraphicsStartDraw();
        FullScreenQuad(255, 255, 255);
        EXPECT_EQ(WHITE, CentrePixel());

        SCOPED_TRACE("while on, neither the clear nor the red quad reaches the frame");
        VTGraphicsSetNullDraw(1);
        EXPECT_EQ(1, VTGraphicsIsNullDraw());
        VTGraphicsStartDraw();
        EXPECT_EQ(WHITE, CentrePixel());
        FullScreenQuad(255, 0, 0);
        EXPECT_EQ(WHITE, CentrePixel());
        // The camera still moves: 640 x 480 at height 60 shows 60 units above its centre.
        VTGraphicsSetCamera(10.0f, 20.0f, 60.0f, 0.0f);
        EXPECT_FLOAT_EQ(80.0f, VTGraphicsGetWorldTopLeft().y);
        VTGraphicsEndDraw();

        SCOPED_TRACE("off again, frames draw");
        VTGraphicsSetNullDraw(0);
        EXPECT_EQ(0, VTGraphicsIsNullDraw());
        VTGraphicsStartDraw();
        FullScreenQuad(255, 0, 0);
        EXPECT_EQ(RED, CentrePixel());
        VTGraphicsEndDraw();
        VTGraphicsUnloadTexture(white);
    }));
}
