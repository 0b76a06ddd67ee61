// The committed pictures and sounds: every file the generator's manifest
// names is there (and nothing stale beside them), the engine's own texture
// reader reads every picture, the pictures whose layout the game relies on
// have it, and every sound decodes through SDL_mixer. KELVARO_TEST_ASSETS is
// the source tree's assets folder.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

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

#ifndef KELVARO_TEST_ASSETS
#error "KELVARO_TEST_ASSETS must name the source tree's assets folder"
#endif

namespace
{

std::string AssetPath(const std::string& relative)
{
    return std::string(KELVARO_TEST_ASSETS) + "/" + relative;
}

std::vector<std::string> ManifestWithSuffix(const char* suffix)
{
    std::vector<std::string> out;
    for (const char* p : kAssetManifest)
    {
        std::string s = p;
        if (s.size() >= strlen(suffix) && s.compare(s.size() - strlen(suffix), std::string::npos, suffix) == 0)
            out.push_back(s);
    }
    return out;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

// A picture as the engine's loader reads it: rows bottom to top, pixels red,
// green, blue (, alpha).
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

// Read by the engine's own TGA reader, refusals reported as text instead of
// ending the test.
Picture LoadPicture(const std::string& relative)
{
    Picture pic;
    loadError.clear();
    VTPlatformSetMessageBoxHook(RecordLoadError);
    void (*previous)(int) = signal(SIGTRAP, SIG_IGN);
    VTImage image;
    memset(&image, 0, sizeof image);
    // Game paths ("Graphic_Assets\\...") resolve from the asset root as in the game.
    std::string path = relative.find('\\') != std::string::npos ? relative : AssetPath(relative);
    int loaded = VTGraphicsLoadTGA(&image, path.c_str());
    signal(SIGTRAP, previous);
    VTPlatformSetMessageBoxHook(NULL);
    if (!loaded)
    {
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

// Mean brightness (0..1) of the visible pixels, weighted by alpha.
double VisibleBrightness(const Picture& p)
{
    double sum = 0, weight = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
        {
            const uint8_t* px = p.At(x, y);
            double a = p.Alpha(x, y) / 255.0;
            sum += a * (px[0] + px[1] + px[2]) / (3 * 255.0);
            weight += a;
        }
    return weight > 0 ? sum / weight : 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// The manifest and the tree

TEST(AssetManifest, IsSortedUniqueAndFreeOfCaseTwins)
{
    // The file layer matches names case-insensitively, so two paths that
    // differ only in case would make which one loads depend on the disk.
    std::set<std::string> folded;
    for (size_t i = 0; i < kAssetManifestCount; ++i)
    {
        std::string p = kAssetManifest[i];
        if (i > 0)
        {
            EXPECT_LT(std::string(kAssetManifest[i - 1]), p) << "manifest not sorted at " << p;
        }
        EXPECT_TRUE(folded.insert(Lower(p)).second) << p << " differs from another path only in case";
        EXPECT_EQ(std::string::npos, p.find('\\')) << p;
        EXPECT_TRUE(p.rfind("Graphic_Assets/", 0) == 0 || p.rfind("Audio_Assets/", 0) == 0 ||
                    p.rfind("Icons/", 0) == 0)
            << p;
    }
}

TEST(AssetTree, HoldsExactlyTheManifestFiles)
{
    namespace fs = std::filesystem;
    std::set<std::string> expected(kAssetManifest, kAssetManifest + kAssetManifestCount);
    for (const std::string& p : expected)
        EXPECT_TRUE(fs::is_regular_file(AssetPath(p))) << "missing " << p;
    // A leftover from an older generator would ship with the game and, worse,
    // shadow a renamed file for the case-insensitive lookup.
    for (const char* tree : {"Graphic_Assets", "Audio_Assets"})
    {
        for (const auto& entry : fs::recursive_directory_iterator(AssetPath(tree)))
        {
            if (!entry.is_regular_file())
                continue;
            std::string rel = fs::relative(entry.path(), KELVARO_TEST_ASSETS).generic_string();
            EXPECT_TRUE(expected.count(rel)) << "stale file " << rel;
        }
    }
}

TEST(AssetTree, StaysWithinItsSizeBudget)
{
    uintmax_t total = 0;
    for (const char* p : kAssetManifest)
        total += std::filesystem::file_size(AssetPath(p));
    EXPECT_LE(total, 24u * 1024 * 1024) << "assets grew to " << total << " bytes";
}

// ---------------------------------------------------------------------------
// Pictures

TEST(AssetPictures, EveryOneLoadsUnderTheEngineRules)
{
    for (const std::string& p : ManifestWithSuffix(".tga"))
    {
        Picture pic = LoadPicture(p);
        EXPECT_EQ("", pic.error) << p;
        if (!pic.error.empty() || pic.bytesPerPixel != 4)
            continue;
        // A 32-bit picture is chosen for its shape: it must really use alpha,
        // both see-through and solid somewhere.
        int lo = 255, hi = 0;
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x)
            {
                lo = std::min(lo, pic.Alpha(x, y));
                hi = std::max(hi, pic.Alpha(x, y));
            }
        EXPECT_LT(lo, 128) << p << " has no transparent part";
        EXPECT_GT(hi, 128) << p << " has nothing visible";
    }
}

TEST(AssetPictures, DigitStripHasTenSeparateCells)
{
    // A digit object shows one tenth of the strip (texture offset digit/10),
    // so each tenth holds one digit and the borders between them are clear.
    Picture dials = LoadPicture("Graphic_Assets/Message/dials.tga");
    ASSERT_EQ("", dials.error);
    ASSERT_EQ(4, dials.bytesPerPixel);
    std::set<std::vector<uint8_t>> shapes;
    for (int cell = 0; cell < 10; ++cell)
    {
        int x0 = cell * dials.width / 10, x1 = (cell + 1) * dials.width / 10;
        int ink = 0;
        std::vector<uint8_t> shape;
        for (int y = 0; y < dials.height; ++y)
            for (int x = x0; x < x1; ++x)
            {
                ink += dials.Alpha(x, y) > 128;
                shape.push_back(dials.Alpha(x, y) > 128);
            }
        EXPECT_GT(ink, dials.width * dials.height / 400) << "cell " << cell << " is empty";
        shapes.insert(shape);
        for (int y = 0; y < dials.height; ++y)
        {
            EXPECT_EQ(0, dials.Alpha(x0, y)) << "cell " << cell << " touches its left border";
            EXPECT_EQ(0, dials.Alpha(x1 - 1, y)) << "cell " << cell << " touches its right border";
        }
    }
    EXPECT_EQ(10u, shapes.size()) << "two cells show the same digit";
}

TEST(AssetPictures, TintedPicturesAreLightSoTheTintShows)
{
    // The game multiplies these by a colour (debris glows orange, pickups
    // cyan, warning rings blue, combo pieces by the combo's colour): a dark
    // picture would stay dark whatever the tint.
    const char* tinted[] = {
        "Graphic_Assets/Particle/astroid1af.tga",        "Graphic_Assets/Particle/astroid2af.tga",
        "Graphic_Assets/Particle/astroid3af.tga",        "Graphic_Assets/Particle/planetaf.tga",
        "Graphic_Assets/Particle/sateliteaf.tga",        "Graphic_Assets/Particle/satelite_parts1af.tga",
        "Graphic_Assets/Particle/satelite_parts2af.tga", "Graphic_Assets/Particle/satelite_parts3af.tga",
        "Graphic_Assets/Particle/fuelindicator.tga",     "Graphic_Assets/Particle/collide.tga",
        "Graphic_Assets/Obstacle/fuel.tga",              "Graphic_Assets/Obstacle/warning.tga",
        "Graphic_Assets/Message/dials.tga",              "Graphic_Assets/Message/combo1.tga",
        "Graphic_Assets/Background/X.tga",               "Graphic_Assets/Background/ComboBack.tga",
        "Graphic_Assets/Menu/left.tga",                  "Graphic_Assets/Menu/right.tga",
        "Graphic_Assets/Message/trynew1.tga",
    };
    for (const char* p : tinted)
    {
        Picture pic = LoadPicture(p);
        ASSERT_EQ("", pic.error) << p;
        EXPECT_GT(VisibleBrightness(pic), 0.6) << p;
    }
}

TEST(AssetPictures, BlackCoverIsBlackAndBackgroundTilesSeamlessly)
{
    Picture black = LoadPicture("Graphic_Assets/black.tga");
    ASSERT_EQ("", black.error);
    for (int y = 0; y < black.height; ++y)
        for (int x = 0; x < black.width; ++x)
        {
            const uint8_t* px = black.At(x, y);
            EXPECT_EQ(0, px[0] | px[1] | px[2]) << x << "," << y;
            EXPECT_EQ(255, black.Alpha(x, y));
        }

    // Tiles are laid edge to edge: the step across the tile's own border
    // must look like any step between neighbouring columns or rows.
    Picture bg = LoadPicture("Graphic_Assets/Background/background.tga");
    ASSERT_EQ("", bg.error);
    EXPECT_EQ(3, bg.bytesPerPixel) << "the background covers the view and needs no alpha";
    auto columnStep = [&](int a, int b) {
        double d = 0;
        for (int y = 0; y < bg.height; ++y)
            for (int c = 0; c < 3; ++c)
                d += abs(bg.At(a, y)[c] - bg.At(b, y)[c]);
        return d / bg.height;
    };
    auto rowStep = [&](int a, int b) {
        double d = 0;
        for (int x = 0; x < bg.width; ++x)
            for (int c = 0; c < 3; ++c)
                d += abs(bg.At(x, a)[c] - bg.At(x, b)[c]);
        return d / bg.width;
    };
    double inner = (columnStep(100, 101) + columnStep(300, 301) + rowStep(100, 101) + rowStep(300, 301)) / 4;
    EXPECT_LT(columnStep(bg.width - 1, 0), inner * 2 + 1);
    EXPECT_LT(rowStep(bg.height - 1, 0), inner * 2 + 1);
}

// ---------------------------------------------------------------------------
// Sounds

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
        for (const std::string& p : ManifestWithSuffix(".wav"))
        {
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
            // Effects start and stop at silence: a jump there clicks every time
            // the sound plays.
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

TEST(AssetSounds, MusicLoopsAreLongAndJoinQuietly)
{
    WithMixer([] {
        for (const std::string& p : ManifestWithSuffix(".mp3"))
        {
            Mix_Music* music = Mix_LoadMUS(AssetPath(p).c_str());
            ASSERT_NE(nullptr, music) << p << ": " << Mix_GetError();
            EXPECT_GE(Mix_MusicDuration(music), 30.0) << p;
            Mix_FreeMusic(music);

            // Decoded whole, the loop's two ends meet: both lie near silence so
            // the join is inaudible even where a decoder pads the stream.
            Mix_Chunk* chunk = Mix_LoadWAV(AssetPath(p).c_str());
            ASSERT_NE(nullptr, chunk) << p << ": " << Mix_GetError();
            const Sint16* s = reinterpret_cast<const Sint16*>(chunk->abuf);
            size_t samples = chunk->alen / 2;
            ASSERT_GT(samples, 44100u * 2 * 30) << p;
            for (int ch = 0; ch < 2; ++ch)
            {
                EXPECT_LT(abs(s[ch]), 1000) << p << " starts loud";
                EXPECT_LT(abs(s[samples - 2 + ch]), 1000) << p << " ends loud";
            }
            Mix_FreeChunk(chunk);
        }
    });
}

// Every state's own Load, as the game runs it: each picture its tables name
// is found and read (a missing one would raise the loader's assertion), and
// Unload gives every texture back.
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
