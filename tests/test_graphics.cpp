// The renderer on a real window and context: cameras and world corners as
// numbers, and what quads, textures, colours and the font put on screen.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "harness.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vttextureloading.h"

namespace {

const int W = 640;
const int H = 480;

struct Frame
{
    int ok;
    int width, height;
    unsigned char rgb[W * H * 3];
};

struct Rgb
{
    int r, g, b;
    bool operator==(const Rgb& o) const { return abs(r - o.r) <= 2 && abs(g - o.g) <= 2 && abs(b - o.b) <= 2; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb Pixel(const Frame* f, int x, int y)
{
    const unsigned char* p = f->rgb + 3 * (y * W + x);
    return Rgb{p[0], p[1], p[2]};
}

// Each spot (x, y) of the frame shows its colour.
struct Spot { int x, y; Rgb colour; };
void ExpectSpots(const Frame* f, std::initializer_list<Spot> spots)
{
    for (const Spot& s : spots)
        EXPECT_EQ(s.colour, Pixel(f, s.x, s.y)) << "at " << s.x << ", " << s.y;
}

const Rgb BLACK{0, 0, 0};
const Rgb WHITE{255, 255, 255};
const Rgb RED{255, 0, 0};
const Rgb BLUE{0, 0, 255};

// Writes, loads and removes a w x h 24-bit TGA of bgr pixels (bottom row first).
unsigned Texture(const char* name, int w, int h, const std::vector<unsigned char>& bgr)
{
    std::string path = WriteTestTga(name, w, h, 24, bgr);
    unsigned id = VTGraphicsLoadTexture(path.c_str());
    remove(path.c_str());
    return id;
}

unsigned WhiteTexture()
{
    return Texture("white", 4, 4, std::vector<unsigned char>(48, 255));
}

// 64 x 64: left half red, right half blue.
unsigned HalvesTexture()
{
    std::vector<unsigned char> bgr;
    for (int i = 0; i < 64 * 64; i++)
        bgr.insert(bgr.end(), {(unsigned char)(i % 64 < 32 ? 0 : 255), 0, (unsigned char)(i % 64 < 32 ? 255 : 0)});
    return Texture("halves", 64, 64, bgr);
}

// A w x h quad centred at (x, y) in the current space.
void Quad(float x, float y, float w, float h)
{
    VTMatrix4 m;
    VTMatrixTransform(&m, w, h, 0.0f, x, y, 0.0f);
    VTGraphicsDraw(&m);
}

// In screen space, in pixels.
void ScreenQuad(float x, float y, float w, float h)
{
    VTGraphicsSetToOrtho();
    Quad(x, y, w, h);
}

// In a fresh engine (setup runs before it starts): draw, with a white texture
// bound, between the frame brackets; returns the frame as it stood before the swap.
Frame* Render(const std::function<void()>& draw, const std::function<void()>& setup = [] {})
{
    static Frame* frame;
    frame = SharedBlock<Frame>();
    static const std::function<void()>* body;
    body = &draw;
    static const std::function<void()>* before;
    before = &setup;
    EXPECT_EQ(0, RunInChild([] {
        (*before)();
        StartTestEngine(W, H);
        VTGraphicsStartDraw();
        VTGraphicsSetTexture(WhiteTexture());
        VTGraphicsSetTextureCoords(1, 1, 0, 0, 0);
        VTGraphicsSetColor(255, 255, 255, 255);
        (*body)();
        VTCapture capture;
        frame->ok = VTGraphicsReadFrame(&capture);
        frame->width = capture.width;
        frame->height = capture.height;
        memcpy(frame->rgb, capture.pixels, sizeof frame->rgb);
        VTGraphicsFreeCapture(&capture);
        VTGraphicsEndDraw();
    }));
    EXPECT_EQ(1, frame->ok);
    EXPECT_EQ(W, frame->width);
    EXPECT_EQ(H, frame->height);
    return frame;
}

} // namespace

TEST(Graphics, TextureCountAndShutdown)
{
    for (int leaveOne = 0; leaveOne < 2; leaveOne++) {
        static int left;
        left = leaveOne;
        int status = RunInChild([] {
            VTPlatformSetMessageBoxHook([](const char*, const char* text) -> int {
                EXPECT_NE(nullptr, strstr(text, "Function: VTGraphicsShutdown\n\n Description: Some textures were "
                                                "not unloaded.\n"))
                    << text;
                fflush(stdout);
                _exit(::testing::Test::HasFailure() || !left ? 1 : 42);
                return (int)VT_ANSWER_NO;
            });
            StartTestEngine(W, H);
            EXPECT_EQ(0, VTGraphicsGetTextureCount());
            unsigned a = WhiteTexture();
            unsigned b = HalvesTexture();
            EXPECT_EQ(2, VTGraphicsGetTextureCount());
            VTGraphicsUnloadTexture(b);
            EXPECT_EQ(1, VTGraphicsGetTextureCount());
            if (!left)
                VTGraphicsUnloadTexture(a);
            EXPECT_EQ(left, VTGraphicsGetTextureCount());
            VTApplicationClose(1);
        });
        EXPECT_EQ(leaveOne ? 42 : 0, status) << "a texture left loaded is reported at shutdown, and only then";
    }
}

TEST(Graphics, StartsWithoutAnXDisplay)
{
    // SDL's offscreen driver gives EGL, where GLEW reports no GLX display yet loads everything.
    Frame* f = Render(
        [] { ScreenQuad(W / 2.0f, H / 2.0f, 100, 100); }, [] {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            VTPlatformSetMessageBoxHook([](const char*, const char* text) -> int {
                ADD_FAILURE() << text;
                return VT_ANSWER_NO;
            });
        });
    ExpectSpots(f, {{W / 2, H / 2, WHITE}, {10, 10, BLACK}});
}
