// The committed pictures and sounds (KELVARO_TEST_ASSETS): exactly the
// manifest, the sounds decodable. The reference runs load every picture the
// screens use.
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
