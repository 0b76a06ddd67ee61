// The committed pictures and sounds (KELVARO_TEST_ASSETS): exactly the manifest,
// read by the engine's own TGA reader, laid out as the game needs, decodable.
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
