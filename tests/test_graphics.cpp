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

TEST(Graphics, CameraClampAndWorldCorners)
{
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(W, H);
        EXPECT_TRUE(glGenBuffers && glBindBuffer && glBufferData);
        auto expectCorners = [](float left, float top, float right, float bottom) {
            EXPECT_NEAR(left, VTGraphicsGetWorldTopLeft().x, 1e-3);
            EXPECT_NEAR(top, VTGraphicsGetWorldTopLeft().y, 1e-3);
            EXPECT_NEAR(right, VTGraphicsGetWorldBotRight().x, 1e-3);
            EXPECT_NEAR(bottom, VTGraphicsGetWorldBotRight().y, 1e-3);
            EXPECT_NEAR(right, VTGraphicsGetWorldTopRight().x, 1e-3);
            EXPECT_NEAR(left, VTGraphicsGetWorldBotLeft().x, 1e-3);
        };
        SCOPED_TRACE("640 x 480 at height 60 with a 90 degree view: 160 x 120 world units");
        expectCorners(-80, 60, 80, -60);
        SCOPED_TRACE("height clamped to 2..999");
        VTGraphicsSetCamera(10, 20, 1, 0);
        expectCorners(10 - 2 * 4.0f / 3, 22, 10 + 2 * 4.0f / 3, 18);
        VTGraphicsSetCamera(0, 0, 5000, 0);
        expectCorners(-999 * 4.0f / 3, 999, 999 * 4.0f / 3, -999);
        SCOPED_TRACE("a roll of pi turns every corner through the origin");
        VTGraphicsSetCamera(10, 20, 60, (float)M_PI);
        expectCorners(-(10 - 80), -(20 + 60), -(10 + 80), -(20 - 60));
        SCOPED_TRACE("a new viewport changes the aspect, not the camera; a size message alone changes neither");
        VTGraphicsSetCamera(3, 4, 60, 0);
        VTGraphicsSetViewport(1280, 720);
        expectCorners(3 - 60 * 16.0f / 9, 64, 3 + 60 * 16.0f / 9, -56);
        PostMessage(VT_WM_SIZE, 0, (480L << 16) | 640);
        VTApplicationProcessMessages();
        expectCorners(3 - 60 * 16.0f / 9, 64, 3 + 60 * 16.0f / 9, -56);
    }));
}

TEST(Graphics, QuadsInWorldAndScreenSpace)
{
    SCOPED_TRACE("identity quad seen from height 2 covers the middle 120 x 120 pixels");
    Frame* f = Render([] {
        VTGraphicsSetCamera(0, 0, 2, 0);
        Quad(0, 0, 1, 1);
    });
    // Visible: 4 units high, so 1 unit = 120 px; the quad spans 260..380 x 180..300.
    ExpectSpots(f, {{262, 182, WHITE}, {377, 297, WHITE}, {257, 240, BLACK}, {383, 240, BLACK}, {320, 177, BLACK},
                    {320, 303, BLACK}});

    SCOPED_TRACE("the default camera sees 120 units top to bottom");
    f = Render([] {
        VTGraphicsSetToPerspective();
        Quad(0, 55, 2, 2);    // rows 456..464
        Quad(0, -55, 2, 2);   // rows 16..24
        Quad(-70, 0, 2, 2);   // columns 36..44
        Quad(0, 61.5f, 2, 1); // wholly above the top edge
    });
    ExpectSpots(f, {{320, 460, WHITE}, {320, 20, WHITE}, {40, 240, WHITE}, {320, 467, BLACK}, {320, 479, BLACK}});

    SCOPED_TRACE("a screen-space quad of the window's size covers every pixel");
    f = Render([] { ScreenQuad(W / 2.0f, H / 2.0f, W, H); });
    int white = 0;
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            white += Pixel(f, x, y) == WHITE;
    EXPECT_EQ(W * H, white);

    SCOPED_TRACE("roll of pi: a world point shows at its mirror through the centre");
    f = Render([] {
        VTGraphicsSetCamera(0, 0, 60, (float)M_PI);
        Quad(40, 30, 4, 4);
    });
    // (40, 30) is 160 px right and 120 px up of the centre without the roll.
    ExpectSpots(f, {{320 - 160, 240 - 120, WHITE}, {320 + 160, 240 + 120, BLACK}});
}

TEST(Graphics, TexturesColoursAndText)
{
    SCOPED_TRACE("texture coordinates: scale 2 repeats, offset 0.5 shifts half a width");
    Frame* f = Render([] {
        VTGraphicsSetTexture(HalvesTexture());
        VTGraphicsSetTextureCoords(2, 1, 0, 0, 0);
        ScreenQuad(128, 128, 256, 256);
        VTGraphicsSetTextureCoords(1, 1, 0, 0.5f, 0);
        ScreenQuad(384 + 64, 128, 256, 256);
    });
    ExpectSpots(f, {{32, 128, RED}, {96, 128, BLUE}, {160, 128, RED}, {224, 128, BLUE}, {320 + 64, 128, BLUE},
                    {320 + 192, 128, RED}});

    SCOPED_TRACE("colour multiplies the texture; alpha 0 draws nothing, 128 half");
    f = Render([] {
        VTGraphicsSetColor(255, 0, 0, 255);
        ScreenQuad(100, 100, 100, 100);
        VTGraphicsSetColor(255, 255, 255, 0);
        ScreenQuad(300, 100, 100, 100);
        VTGraphicsSetColor(255, 255, 255, 128);
        ScreenQuad(500, 100, 100, 100);
    });
    ExpectSpots(f, {{100, 100, RED}, {300, 100, BLACK}, {500, 100, Rgb{128, 128, 128}}});

    SCOPED_TRACE("a 2 x 2 24-bit texture uploads with its rows unpadded");
    f = Render([] {
        // File order blue, green, red; bottom row first: red, green / blue, white.
        VTGraphicsSetTexture(Texture("tiny", 2, 2, {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}));
        ScreenQuad(128, 128, 256, 256);
    });
    // Texel centres sit a quarter of the way in from each edge.
    ExpectSpots(f, {{64, 64, RED}, {192, 64, Rgb{0, 255, 0}}, {64, 192, BLUE}, {192, 192, WHITE}});

    SCOPED_TRACE("the font lists draw letters at the raster position");
    f = Render([] {
        glDisable(GL_TEXTURE_2D);
        VTGraphicsSetToOrtho();
        glColor3ub(255, 255, 255);
        glRasterPos2i(100, 100);
        glListBase(VTGraphicsGetFontBase() - 32);
        glCallLists(3, GL_UNSIGNED_BYTE, "I I");
    });
    // "I": a 2-pixel-wide stem in the cell's middle column, with serifs; the space draws nothing.
    ExpectSpots(f, {{100 + 6, 108, WHITE}, {100 + 28 + 6, 108, WHITE}, {100 + 14 + 6, 108, BLACK}, {101, 108, BLACK}});
}

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

TEST(Graphics, CapturesTheFrameAtItsEnd)
{
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(256, 128);
        VTCapture capture;
        VTGraphicsCaptureNextFrame(&capture);
        VTGraphicsStartDraw();
        VTGraphicsSetTexture(WhiteTexture());
        VTGraphicsSetTextureCoords(1, 1, 0, 0, 0);
        VTGraphicsSetColor(10, 20, 30, 255);
        ScreenQuad(1, 1, 2, 2);
        VTGraphicsEndDraw();
        ASSERT_TRUE(capture.pixels != NULL && capture.width == 256 && capture.height == 128);
        EXPECT_EQ(10, capture.pixels[0]);
        EXPECT_EQ(30, capture.pixels[2]);
        std::string path = "/tmp/kelvaro-capture-" + std::to_string(getpid()) + ".tga";
        EXPECT_EQ(1, VTGraphicsWriteCapture(&capture, path.c_str()));
        VTGraphicsFreeCapture(&capture);
        unsigned char head[21] = {};
        FILE* in = fopen(path.c_str(), "rb");
        EXPECT_EQ(21u, fread(head, 1, 21, in));
        fseek(in, 0, SEEK_END);
        EXPECT_EQ(18 + 256 * 128 * 3, ftell(in));
        fclose(in);
        remove(path.c_str());
        // Uncompressed true colour, 256 wide, 24 bits, blue first.
        const unsigned char expected[][2] = {{2, 2}, {12, 0}, {13, 1}, {16, 24}, {18, 30}, {20, 10}};
        for (const auto& byte : expected)
            EXPECT_EQ(byte[1], head[byte[0]]) << "header byte " << (int)byte[0];
    }));
}

TEST(Graphics, StartsWithoutAnXDisplay)
{
    // SDL's offscreen driver gives EGL, where GLEW reports no GLX display yet loads everything.
    Frame* f = Render(
        [] { ScreenQuad(W / 2.0f, H / 2.0f, 100, 100); }, [] {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            setenv("SDL_VIDEODRIVER", "offscreen", 1); // asked for: the game alone would refuse to run unseen
            VTPlatformSetMessageBoxHook([](const char*, const char* text) -> int {
                ADD_FAILURE() << text;
                return VT_ANSWER_NO;
            });
        });
    ExpectSpots(f, {{W / 2, H / 2, WHITE}, {10, 10, BLACK}});
}
