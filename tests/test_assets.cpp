// The committed pictures and sounds (KELVARO_TEST_ASSETS): exactly the manifest,
// read by the engine's own TGA reader, laid out as the game needs, decodable.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <math.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../tools/assetgen/src/asset_manifest.h"
#include "harness.h"
#include "states.h"
#include "vtgraphics.h"
#include "vtstatemanager.h"
#include "platform/vtplatform.h"
#include "vttextureloading.h"

namespace {

std::string AssetPath(const std::string& relative)
{
    return std::string(KELVARO_TEST_ASSETS) + "/" + relative;
}

std::vector<std::string> ManifestWithSuffix(const std::string& suffix)
{
    std::vector<std::string> out;
    for (std::string p : kAssetManifest)
        if (p.size() >= suffix.size() && p.compare(p.size() - suffix.size(), suffix.size(), suffix) == 0)
            out.push_back(p);
    return out;
}

// As the engine's loader reads it: rows bottom to top, red, green, blue (, alpha).
struct Picture
{
    int width = 0, height = 0, bytesPerPixel = 0;
    std::vector<uint8_t> pixels;
    std::string error;

    const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * bytesPerPixel]; }
    int Alpha(int x, int y) const { return bytesPerPixel == 4 ? At(x, y)[3] : 255; }
};

std::string loadError;

int RecordLoadError(const char*, const char* text)
{
    const char* description = strstr(text, "Description: ");
    loadError = description ? std::string(description + 13, strcspn(description + 13, "\n")) : text;
    return VT_ANSWER_YES; // continue after the (ignored) break: the load returns 0
}

// Read by the engine's own TGA reader; a refusal comes back as text.
Picture LoadPicture(const std::string& relative)
{
    Picture pic;
    loadError.clear();
    VTPlatformSetMessageBoxHook(RecordLoadError);
    void (*previous)(int) = signal(SIGTRAP, SIG_IGN);
    VTImage image;
    memset(&image, 0, sizeof image);
    int loaded = VTGraphicsLoadTGA(&image, AssetPath(relative).c_str());
    signal(SIGTRAP, previous);
    VTPlatformSetMessageBoxHook(NULL);
    if (!loaded) {
        pic.error = loadError.empty() ? "not loaded" : loadError;
        return pic;
    }
    pic.width = image.width;
    pic.height = image.height;
    pic.bytesPerPixel = image.bytesPerPixel;
    pic.pixels.assign(image.pixels, image.pixels + image.size);
    free(image.pixels);
    return pic;
}

} // namespace

TEST(AssetManifest, IsSortedUniqueAndFreeOfCaseTwins)
{
    // Files match caselessly: of two case twins, which one loads would depend on the disk.
    std::set<std::string> folded;
    for (size_t i = 0; i < kAssetManifestCount; ++i) {
        std::string p = kAssetManifest[i], lower = p;
        for (char& c : lower)
            c = (char)tolower((unsigned char)c);
        if (i > 0) {
            EXPECT_LT(std::string(kAssetManifest[i - 1]), p) << "manifest not sorted at " << p;
        }
        EXPECT_TRUE(folded.insert(lower).second) << p << " differs from another path only in case";
        EXPECT_EQ(std::string::npos, p.find('\\')) << p;
        EXPECT_TRUE(p.rfind("Graphic_Assets/", 0) == 0 || p.rfind("Audio_Assets/", 0) == 0 ||
                    p.rfind("Icons/", 0) == 0)
            << p;
    }
}

TEST(AssetTree, HoldsExactlyTheManifestFilesWithinItsSizeBudget)
{
    namespace fs = std::filesystem;
    std::set<std::string> expected(kAssetManifest, kAssetManifest + kAssetManifestCount);
    uintmax_t total = 0;
    for (const std::string& p : expected) {
        bool found = fs::is_regular_file(AssetPath(p));
        EXPECT_TRUE(found) << "missing " << p;
        total += found ? fs::file_size(AssetPath(p)) : 0;
    }
    EXPECT_LE(total, 24u * 1024 * 1024) << "assets grew to " << total << " bytes";
    // A leftover would ship with the game and shadow a renamed file for the caseless lookup.
    for (const char* tree : {"Graphic_Assets", "Audio_Assets"})
        for (const auto& entry : fs::recursive_directory_iterator(AssetPath(tree))) {
            std::string rel = fs::relative(entry.path(), KELVARO_TEST_ASSETS).generic_string();
            EXPECT_TRUE(!entry.is_regular_file() || expected.count(rel)) << "stale file " << rel;
        }
}

TEST(AssetPictures, EveryOneLoadsUnderTheEngineRules)
{
    for (const std::string& p : ManifestWithSuffix(".tga")) {
        Picture pic = LoadPicture(p);
        EXPECT_EQ("", pic.error) << p;
        if (!pic.error.empty() || pic.bytesPerPixel != 4)
            continue;
        // 32 bits are chosen for a shape: alpha must be see-through somewhere and solid somewhere.
        int lo = 255, hi = 0;
        for (size_t i = 3; i < pic.pixels.size(); i += 4) {
            lo = std::min<int>(lo, pic.pixels[i]);
            hi = std::max<int>(hi, pic.pixels[i]);
        }
        EXPECT_LT(lo, 128) << p << " has no transparent part";
        EXPECT_GT(hi, 128) << p << " has nothing visible";
    }
}

TEST(AssetPictures, DigitStripHasTenSeparateCells)
{
    // A digit shows one tenth of the strip (offset digit/10): one digit a tenth, clear borders.
    Picture dials = LoadPicture("Graphic_Assets/Message/dials.tga");
    ASSERT_EQ("", dials.error);
    ASSERT_EQ(4, dials.bytesPerPixel);
    std::set<std::vector<uint8_t>> shapes;
    for (int cell = 0; cell < 10; ++cell) {
        int x0 = cell * dials.width / 10, x1 = (cell + 1) * dials.width / 10;
        std::vector<uint8_t> shape;
        for (int y = 0; y < dials.height; ++y) {
            for (int x = x0; x < x1; ++x)
                shape.push_back(dials.Alpha(x, y) > 128);
            EXPECT_EQ(0, dials.Alpha(x0, y)) << "cell " << cell << " touches its left border";
            EXPECT_EQ(0, dials.Alpha(x1 - 1, y)) << "cell " << cell << " touches its right border";
        }
        EXPECT_GT(std::count(shape.begin(), shape.end(), 1), dials.width * dials.height / 400)
            << "cell " << cell << " is empty";
        shapes.insert(shape);
    }
    EXPECT_EQ(10u, shapes.size()) << "two cells show the same digit";
}

TEST(AssetPictures, TintedPicturesAreLightSoTheTintShows)
{
    // The game multiplies these by a colour: a dark picture would stay dark whatever the tint.
    for (const char* name : {"Particle/astroid1af", "Particle/astroid2af", "Particle/astroid3af", "Particle/planetaf",
                             "Particle/sateliteaf", "Particle/satelite_parts1af", "Particle/satelite_parts2af",
                             "Particle/satelite_parts3af", "Particle/fuelindicator", "Particle/collide",
                             "Obstacle/fuel", "Obstacle/warning", "Message/dials", "Message/combo1",
                             "Message/trynew1", "Background/X", "Background/ComboBack", "Menu/left", "Menu/right"}) {
        Picture pic = LoadPicture(std::string("Graphic_Assets/") + name + ".tga");
        ASSERT_EQ("", pic.error) << name;
        // Mean brightness of the visible pixels, weighted by alpha.
        double sum = 0, weight = 0;
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x) {
                double a = pic.Alpha(x, y) / 255.0;
                sum += a * (pic.At(x, y)[0] + pic.At(x, y)[1] + pic.At(x, y)[2]) / (3 * 255.0);
                weight += a;
            }
        EXPECT_GT(weight > 0 ? sum / weight : 0, 0.6) << name;
    }
}

TEST(AssetPictures, BlackCoverIsBlackAndBackgroundTilesSeamlessly)
{
    Picture black = LoadPicture("Graphic_Assets/black.tga");
    ASSERT_EQ("", black.error);
    for (int y = 0; y < black.height; ++y)
        for (int x = 0; x < black.width; ++x) {
            const uint8_t* px = black.At(x, y);
            EXPECT_EQ(0, px[0] | px[1] | px[2]) << x << "," << y;
            EXPECT_EQ(255, black.Alpha(x, y));
        }

    // Tiles lie edge to edge: the step across the border must look like any other.
    Picture bg = LoadPicture("Graphic_Assets/Background/background.tga");
    ASSERT_EQ("", bg.error);
    EXPECT_EQ(3, bg.bytesPerPixel) << "the background covers the view and needs no alpha";
    // Mean colour difference between columns a and b, or rows a and b.
    auto step = [&](bool rows, int a, int b) {
        int n = rows ? bg.width : bg.height;
        double d = 0;
        for (int i = 0; i < n; ++i)
            for (int c = 0; c < 3; ++c)
                d += abs(rows ? bg.At(i, a)[c] - bg.At(i, b)[c] : bg.At(a, i)[c] - bg.At(b, i)[c]);
        return d / n;
    };
    double inner = (step(false, 100, 101) + step(false, 300, 301) + step(true, 100, 101) + step(true, 300, 301)) / 4;
    EXPECT_LT(step(false, bg.width - 1, 0), inner * 2 + 1);
    EXPECT_LT(step(true, bg.height - 1, 0), inner * 2 + 1);
}

// Each state's own Load finds every picture it names; Unload gives all back.
TEST(AssetPictures, EveryStateLoadsWhatItsTablesName)
{
    EXPECT_EQ(0, RunInChild([] {
        VTPlatformSetMessageBoxHook([](const char*, const char* text) -> int {
            ADD_FAILURE() << text;
            return VT_ANSWER_NO;
        });
        StartTestEngine(640, 480);
        GameData* data = VTSMGetGameData();
        for (int state = 0; state < STATE_COUNT; state++) {
            stateTable[state].Load(data);
            EXPECT_GT(VTGraphicsGetTextureCount(), 0) << "state " << state;
            stateTable[state].Unload(data);
            EXPECT_EQ(0, VTGraphicsGetTextureCount()) << "state " << state;
        }
    }));
}

// What the heads-up pictures cover must still show: the ship under the black
// hole banner and under the glass of a combo of 8000, the tutorial's marker
// under its dialogue panel. Drawn over the star field at the designed sizes
// and places, the subject's pixels (the frame with it minus the frame
// without it) must keep most of their contrast when the picture is on top.
TEST(AssetPictures, HeadsUpPicturesLeaveTheShipAndMarkerVisible)
{
    static const int sizes[3][2] = {{1024, 768}, {1280, 720}, {1920, 1080}};
    for (const auto& size : sizes) {
        static int W, H;
        W = size[0];
        H = size[1];
        SCOPED_TRACE(std::to_string(W) + " x " + std::to_string(H));
        static double* kept;
        kept = SharedBlock<double[3]>()[0];
        EXPECT_EQ(0, RunInChild([] {
            StartTestEngine(W, H);
            auto load = [](const char* p) { return VTGraphicsLoadTexture(AssetPath(p).c_str()); };
            unsigned stars = load("Graphic_Assets/Background/background.tga");
            struct Sprite { unsigned texture; float x, y, w, h, rotation; unsigned char tint; };
            auto draw = [](const Sprite& s) {
                VTMatrix4 m;
                VTMatrixTransform(&m, s.w, s.h, s.rotation, s.x, s.y, 0.0f);
                VTGraphicsSetTexture(s.texture);
                VTGraphicsSetColor(s.tint, s.tint, s.tint, 255);
                VTGraphicsDraw(&m);
            };
            auto frame = [&](const Sprite* subject, const Sprite* hud) {
                VTGraphicsStartDraw();
                VTGraphicsSetToOrtho();
                VTGraphicsSetTextureCoords(1, 1, 0, 0, 0);
                draw({stars, W / 2.0f, H / 2.0f, (float)W, (float)H, 0, 255});
                if (subject)
                    draw(*subject);
                if (hud)
                    draw(*hud);
                VTCapture c;
                EXPECT_EQ(1, VTGraphicsReadFrame(&c));
                std::vector<uint8_t> rgb(c.pixels, c.pixels + W * H * 3);
                VTGraphicsFreeCapture(&c);
                VTGraphicsEndDraw();
                return rgb;
            };
            // The subject's contrast with the picture on top over its contrast without.
            auto keptContrast = [&](const Sprite& subject, const Sprite& hud) {
                std::vector<uint8_t> a = frame(&subject, &hud), b = frame(NULL, &hud);
                std::vector<uint8_t> c = frame(&subject, NULL), d = frame(NULL, NULL);
                double seen = 0, alone = 0;
                float r = std::max(subject.w, subject.h) / 2;
                for (int y = std::max(0, (int)(subject.y - r)); y < std::min(H, (int)(subject.y + r)); y++)
                    for (int x = std::max(0, (int)(subject.x - r)); x < std::min(W, (int)(subject.x + r)); x++)
                        for (int k = 0; k < 3; k++) {
                            size_t i = (static_cast<size_t>(y) * W + x) * 3 + k;
                            seen += abs(a[i] - b[i]);
                            alone += abs(c[i] - d[i]);
                        }
                return seen / alone;
            };
            // The camera sees 400 world units top to bottom; the ship flies a
            // quarter of the height up, or anywhere sideways.
            float unit = H / 400.0f;
            unsigned ship = load("Graphic_Assets/SpaceShip/ship1.tga");
            float comboW = 0.05f * 8000 + 0.2f * W, comboH = 0.05f * 8000 + 0.2f * H;
            kept[0] = keptContrast({ship, W / 2.0f, H / 4.0f, 16 * unit, 8 * unit, 1.5708f, 255},
                                   {load("Graphic_Assets/Background/warningBH.tga"), W / 2.0f, W / 8.0f, (float)W,
                                    W / 4.0f, 0, 255});
            kept[1] = keptContrast({ship, 0.75f * W, 0.4f * H, 16 * unit, 8 * unit, 1.5708f, 255},
                                   {load("Graphic_Assets/Background/ComboBack.tga"), W - comboW / 2, H / 2.0f, comboW,
                                    comboH, 0, 170});
            kept[2] = keptContrast({load("Graphic_Assets/Background/quest.tga"), W / 2.0f + 150, 5 * H / 7.0f,
                                    50 * unit, 50 * unit, 0.5f, 255},
                                   {load("Graphic_Assets/Message/talk3.tga"), W / 2.0f, 5 * H / 7.0f, 800, 200, 0, 255});
        }));
        EXPECT_GT(kept[0], 0.8) << "the ship under the black hole banner";
        EXPECT_GT(kept[1], 0.8) << "the ship under the combo box";
        EXPECT_GT(kept[2], 0.4) << "the marker under the tutorial panel";
    }
}

// Runs body in a child with SDL_mixer open on the dummy device.
static void WithMixer(void (*body)())
{
    EXPECT_EQ(0, RunInChild([body] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0)
            << "dummy audio device: " << Mix_GetError();
        body();
        Mix_CloseAudio();
    }));
}

TEST(AssetSounds, EffectsAreSixteenBitPcmAndDecode)
{
    WithMixer([] {
        for (const std::string& p : ManifestWithSuffix(".wav")) {
            uint8_t f[44] = {};
            FILE* file = fopen(AssetPath(p).c_str(), "rb");
            ASSERT_TRUE(file && fread(f, 1, sizeof f, file) == sizeof f) << p;
            fclose(file);
            EXPECT_EQ(0, memcmp(f, "RIFF", 4)) << p;
            EXPECT_EQ(0, memcmp(f + 8, "WAVEfmt ", 8)) << p;
            EXPECT_EQ(1, f[20] | (f[21] << 8)) << p << " is not plain PCM";
            EXPECT_EQ(16, f[34] | (f[35] << 8)) << p << " is not 16-bit";

            Mix_Chunk* chunk = Mix_LoadWAV(AssetPath(p).c_str());
            ASSERT_NE(nullptr, chunk) << p << ": " << Mix_GetError();
            // Effects start and stop at silence: a jump there clicks at every play.
            const Sint16* s = reinterpret_cast<const Sint16*>(chunk->abuf);
            size_t samples = chunk->alen / 2;
            ASSERT_GT(samples, 4410u) << p << " is shorter than 50 ms";
            EXPECT_LT(abs(s[0]), 300) << p;
            EXPECT_LT(abs(s[samples - 1]), 300) << p;
            int peak = 0;
            for (size_t i = 0; i < samples; ++i)
                peak = std::max(peak, abs(static_cast<int>(s[i])));
            EXPECT_GT(peak, 8000) << p << " is nearly silent";
            Mix_FreeChunk(chunk);
        }
    });
}

TEST(AssetSounds, MusicLoopsRunIntoTheirStartAtFullLevel)
{
    WithMixer([] {
        for (const std::string& p : ManifestWithSuffix(".mp3")) {
            Mix_Music* music = Mix_LoadMUS(AssetPath(p).c_str());
            ASSERT_NE(nullptr, music) << p << ": " << Mix_GetError();
            EXPECT_GE(Mix_MusicDuration(music), 30.0) << p;
            Mix_FreeMusic(music);

            // Decoded as the game plays it, the loop read round its join: the
            // last and first quarter second sound as loud as the two seconds
            // on their side, so there is no dip (a fade, a gap) when it repeats.
            Mix_Chunk* chunk = Mix_LoadWAV(AssetPath(p).c_str());
            ASSERT_NE(nullptr, chunk) << p << ": " << Mix_GetError();
            const Sint16* s = reinterpret_cast<const Sint16*>(chunk->abuf);
            long frames = (long)chunk->alen / 4;
            ASSERT_GT(frames, 44100L * 30) << p;
            auto level = [&](double from, double to) { // seconds from the join, dB
                double sum = 0;
                long a = (long)(from * 44100), b = (long)(to * 44100);
                for (long i = a; i < b; ++i) {
                    long f = (i % frames + frames) % frames;
                    sum += (double)s[2 * f] * s[2 * f] + (double)s[2 * f + 1] * s[2 * f + 1];
                }
                return 10 * log10(sum / (2.0 * (b - a)) + 1e-9);
            };
            EXPECT_NEAR(level(-2.25, -0.25), level(-0.25, 0), 3.0) << p << " fades out at its end";
            EXPECT_NEAR(level(0.25, 2.25), level(0, 0.25), 3.0) << p << " fades in at its start";
            EXPECT_NEAR(level(-2, 2), level(-0.05, 0.05), 3.0) << p << " dips at the join";
            Mix_FreeChunk(chunk);
        }
    });
}
