// The committed pictures and sounds (KELVARO_TEST_ASSETS): exactly the
// manifest, the sounds decodable. The reference runs load every picture the
// screens use.
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

} // namespace

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
