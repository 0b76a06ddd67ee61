// Sound on SDL's dummy driver (real time), a fresh process a case: systems sharing
// one device, the game's bank across screen changes, and the silent paths.
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "harness.h"
#include "platform/vtaudio.h"
#include "soundbank.h"

namespace
{

// 16-bit stereo at the device's rate: a 440 Hz tone.
void WriteWav(const std::string& path, int milliseconds)
{
    uint32_t frames = 44100u * (uint32_t)milliseconds / 1000, bytes = frames * 4;
    uint32_t header[11] = {0x46464952, 36 + bytes, 0x45564157, 0x20746d66, 16, 0x00020001, 44100, 44100 * 4,
                           0x00100004, 0x61746164, bytes}; // RIFF, WAVE, "fmt ", PCM, "data"
    std::vector<int16_t> samples(frames * 2);
    for (uint32_t i = 0; i < samples.size(); ++i)
        samples[i] = (int16_t)(3000 * sin(i / 2 * 2 * M_PI * 440 / 44100));
    FILE* file = fopen(path.c_str(), "wb");
    fwrite(header, sizeof header, 1, file);
    fwrite(samples.data(), bytes, 1, file);
    fclose(file);
}

// Sounds a test makes, released when its child ends (the leak check runs then).
std::vector<VTSound*> keptSounds;
VTSound* Keep(VTSound* sound)
{
    keptSounds.push_back(sound);
    return sound;
}

// In a child on the dummy device; the systems start open with four channels.
// A body that releases the second system itself sets it to NULL.
int InChild(const std::function<void(VTSoundSystem*, VTSoundSystem*&)>& body)
{
    return RunInChild([&] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        VTSoundSystem* a = VTAudioCreateSystem();
        VTSoundSystem* b = VTAudioCreateSystem();
        if (VTAudioInitSystem(a, 4) && VTAudioInitSystem(b, 4))
            body(a, b);
        else
            ADD_FAILURE() << "no dummy device";
        for (VTSound* sound : keptSounds)
            VTAudioReleaseSound(sound);
        VTAudioReleaseSystem(a);
        VTAudioReleaseSystem(b);
        VTAudioShutdown();
    });
}

class SoundSystems : public ::testing::Test
{
protected:
    std::string folder = "/tmp/kelvaro_sound_XXXXXX", shortWav, longWav, notAudio;
    void SetUp() override
    {
        ASSERT_NE(nullptr, mkdtemp(&folder[0]));
        WriteWav(shortWav = folder + "/short.wav", 100);
        WriteWav(longWav = folder + "/long.wav", 3000); // outlives every check
        FILE* file = fopen((notAudio = folder + "/garbage.wav").c_str(), "wb");
        fputs("not a sound", file);
        fclose(file);
    }
    void TearDown() override
    {
        for (const std::string& path : {shortWav, longWav, notAudio})
            remove(path.c_str());
        rmdir(folder.c_str());
    }
};

} // namespace

TEST_F(SoundSystems, FourOverlapThenEachStartTakesOverItsOwnSystemsOldestOneShotBeforeAnyLoop)
{
    EXPECT_EQ(0, InChild([&](VTSoundSystem* mainSystem, VTSoundSystem*& fuel) {
        VTSound* effect = Keep(VTAudioCreateSound(mainSystem, longWav.c_str(), 0));
        VTSound* loop = Keep(VTAudioCreateSound(mainSystem, longWav.c_str(), 1));
        VTChannel *fuelChannel = NULL, *music = NULL, *channels[6] = {}, *loops[3] = {};
        ASSERT_EQ(1, VTAudioPlay(fuel, Keep(VTAudioCreateSound(fuel, longWav.c_str(), 0)), &fuelChannel));
        ASSERT_EQ(1, VTAudioPlay(mainSystem, loop, &music));
        for (VTChannel*& channel : channels) // all within a millisecond, as in one frame
            ASSERT_EQ(1, VTAudioPlay(mainSystem, effect, &channel));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(i >= 3, VTAudioIsPlaying(channels[i])) << i;
        EXPECT_TRUE(VTAudioIsPlaying(music));
        EXPECT_EQ(4, VTAudioSystemPlayingCount(mainSystem));
        EXPECT_TRUE(VTAudioIsPlaying(fuelChannel));

        SCOPED_TRACE("only loops left: the oldest loop goes");
        for (VTChannel*& channel : loops)
            VTAudioPlay(mainSystem, loop, &channel);
        VTAudioPlay(mainSystem, effect, &channels[0]);
        EXPECT_FALSE(VTAudioIsPlaying(music));
        EXPECT_TRUE(VTAudioIsPlaying(channels[0]) && VTAudioIsPlaying(loops[0]) && VTAudioIsPlaying(loops[2]));
    }));
}

TEST_F(SoundSystems, MusicStreamsBesideTheChannelsUntilItsSystemClosesOrAnotherMusicStarts)
{
    EXPECT_EQ(0, InChild([&](VTSoundSystem* mainSystem, VTSoundSystem*& fuel) {
        VTSound* effect = Keep(VTAudioCreateSound(mainSystem, longWav.c_str(), 0));
        VTSound* music = VTAudioCreateMusic(mainSystem, shortWav.c_str());
        VTChannel *first = NULL, *second = NULL;
        ASSERT_EQ(1, VTAudioPlay(mainSystem, music, &first));
        for (int i = 0; i < 6; ++i)
            VTAudioPlay(mainSystem, effect, NULL);
        usleep(300000); // three lengths of the track
        EXPECT_TRUE(VTAudioIsPlaying(first));
        EXPECT_EQ(5, VTAudioSystemPlayingCount(mainSystem));
        EXPECT_EQ(1, VTAudioDecodeCount()) << "the effect only";

        ASSERT_EQ(1, VTAudioPlay(fuel, music, &second));
        EXPECT_FALSE(VTAudioIsPlaying(first)) << "one stream for the device";
        VTAudioCloseSystem(fuel);
        EXPECT_FALSE(VTAudioIsPlaying(second));
        EXPECT_EQ(4, VTAudioSystemPlayingCount(mainSystem));
        VTAudioPlay(mainSystem, music, &first);
        VTAudioReleaseSound(music);
        EXPECT_FALSE(VTAudioIsPlaying(first));

        VTSound* late = VTAudioCreateMusic(mainSystem, longWav.c_str());
        VTAudioPlay(mainSystem, late, &first);
        VTAudioShutdown();
        EXPECT_FALSE(VTAudioIsPlaying(first));
        VTAudioReleaseSound(late); // after the shutdown freed its stream
    }));
}

TEST_F(SoundSystems, OneShotEndsAfterItsLengthWhileALoopRepeats)
{
    EXPECT_EQ(0, InChild([&](VTSoundSystem* system, VTSoundSystem*&) {
        VTChannel *once = NULL, *loop = NULL;
        VTAudioPlay(system, Keep(VTAudioCreateSound(system, shortWav.c_str(), 0)), &once);
        VTAudioPlay(system, Keep(VTAudioCreateSound(system, shortWav.c_str(), 1)), &loop);
        EXPECT_TRUE(VTAudioIsPlaying(once));
        usleep(600000); // six lengths
        EXPECT_FALSE(VTAudioIsPlaying(once));
        EXPECT_TRUE(VTAudioIsPlaying(loop));
    }));
}

TEST_F(SoundSystems, ReleasingASoundOrClosingASystemStopsItAndFreesChannels)
{
    EXPECT_EQ(0, InChild([&](VTSoundSystem* mainSystem, VTSoundSystem*& fuel) {
        // Two sounds of one file share decoded data, not playback.
        VTSound* loop = VTAudioCreateSound(mainSystem, shortWav.c_str(), 1);
        VTSound* effect = Keep(VTAudioCreateSound(mainSystem, longWav.c_str(), 0));
        VTSound* sameFile = VTAudioCreateSound(mainSystem, longWav.c_str(), 0);
        VTChannel *kept = NULL, *other = NULL, *slot = NULL;
        VTAudioPlay(mainSystem, loop, NULL);
        VTAudioPlay(mainSystem, loop, NULL);
        VTAudioPlay(mainSystem, effect, &kept);
        VTAudioPlay(mainSystem, sameFile, NULL);
        VTAudioPlay(fuel, effect, &other);
        VTAudioReleaseSound(loop);
        VTAudioReleaseSound(sameFile);
        EXPECT_EQ(1, VTAudioSystemPlayingCount(mainSystem));
        EXPECT_TRUE(VTAudioIsPlaying(kept));

        int idle = VTAudioFreeChannelCount();
        VTAudioCloseSystem(mainSystem);
        EXPECT_FALSE(VTAudioIsPlaying(kept));
        EXPECT_TRUE(VTAudioIsPlaying(other));
        EXPECT_EQ(idle + 4, VTAudioFreeChannelCount());
        EXPECT_EQ(0, VTAudioPlay(mainSystem, effect, &slot));
        EXPECT_EQ(nullptr, slot);

        VTAudioReleaseSystem(fuel); // still open: closed first
        fuel = NULL;
        EXPECT_FALSE(VTAudioIsPlaying(other));
        EXPECT_EQ(idle + 8, VTAudioFreeChannelCount());
        EXPECT_EQ(1, VTAudioInitSystem(mainSystem, 4));
        EXPECT_EQ(1, VTAudioPlay(mainSystem, effect, NULL));
    }));
}

TEST_F(SoundSystems, MissingOrUndecodableFilesAndStaleHandlesAreSilent)
{
    EXPECT_EQ(0, InChild([&](VTSoundSystem* system, VTSoundSystem*&) {
        for (int i = 0; i < 2; ++i) {
            VTChannel* slot = NULL;
            EXPECT_EQ(0, VTAudioPlay(system, Keep(VTAudioCreateSound(system, "Audio_Assets//SE//SE_None.wav", 0)), &slot));
            EXPECT_EQ(0, VTAudioPlay(system, Keep(VTAudioCreateSound(system, notAudio.c_str(), 0)), &slot));
            EXPECT_EQ(0, VTAudioPlay(system, Keep(VTAudioCreateMusic(system, notAudio.c_str())), &slot));
            EXPECT_EQ(nullptr, slot);
        }
        EXPECT_EQ(1, VTAudioDecodeCount()) << "a file that fails is not decoded again";
        EXPECT_NE(nullptr, Keep(VTAudioCreateSound(system, "audio_assets\\se\\SE_DIE.WAV", 0)));

        // A shutdown frees the decoded data: earlier sounds must never start.
        VTSound* sound = Keep(VTAudioCreateSound(system, longWav.c_str(), 1));
        VTChannel *before = NULL, *after = NULL;
        VTAudioPlay(system, sound, &before);
        VTAudioShutdown();
        ASSERT_EQ(1, VTAudioInitSystem(system, 4));
        EXPECT_EQ(0, VTAudioPlay(system, sound, &after));
        EXPECT_EQ(1, VTAudioPlay(system, Keep(VTAudioCreateSound(system, longWav.c_str(), 1)), &after));
        EXPECT_FALSE(VTAudioIsPlaying(before)) << "an old handle never names a new start";
    }));
}

TEST(SoundBank, ManyScreenChangesLeaveNothingPlayingNoChannelHeldAndDecodeOnce)
{
    EXPECT_EQ(0, RunInChild([] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SoundBankPrefetch();
        EXPECT_EQ(9, VTAudioDecodeCount()) << "the background decoding is waited for; the music streams";
        SoundBankPrefetch(); // the device was tried: nothing more to do
        for (int cycle = 0; cycle < 50; ++cycle) {
            SoundBankInit();
            static int pool = VTAudioFreeChannelCount() + 8;
            for (VTSound* sound : {GameMusicSound, MenuMusicSound, SelectingSound, MenuToStateSound, DieSound,
                                   BoosterSound, FuelSound, CollisionSound, WarpSound, BulletCollisionSound,
                                   AntigravitySound})
                ASSERT_NE(nullptr, sound) << cycle;
            SoundPlay(MainSoundSystem, MenuMusicSound, &MenuMusicChannel);
            SoundPlaySelecting();
            VTChannel* music = MenuMusicChannel;
            SoundPlay(FuelSoundSystem, FuelSound, NULL);
            ASSERT_EQ(2, VTAudioSystemPlayingCount(MainSoundSystem)) << cycle;
            ASSERT_EQ(1, VTAudioSystemPlayingCount(FuelSoundSystem)) << cycle;
            (cycle % 2 ? SoundBankReleaseMenu : SoundBankRelease)();
            ASSERT_FALSE(VTAudioIsPlaying(music)) << cycle;
            ASSERT_EQ(pool, VTAudioFreeChannelCount()) << cycle;
            ASSERT_TRUE(!MainSoundSystem && !FuelSoundSystem && !MenuMusicSound && !AntigravitySound);
        }
        EXPECT_EQ(9, VTAudioDecodeCount());
        VTAudioShutdown();
    }));
}

TEST(SoundBank, EachMusicPlaysOnThroughABurstOfEveryEffect)
{
    EXPECT_EQ(0, RunInChild([] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        for (VTSound** musicSound : {&GameMusicSound, &MenuMusicSound}) {
            SoundBankInit();
            VTChannel* music = NULL;
            SoundPlay(MainSoundSystem, *musicSound, &music);
            for (int round = 0; round < 3; ++round) {
                for (VTSound* sound : {SelectingSound, MenuToStateSound, DieSound, BoosterSound, CollisionSound,
                                       WarpSound, BulletCollisionSound, AntigravitySound})
                    SoundPlay(MainSoundSystem, sound, &EffectChannel);
                EXPECT_TRUE(VTAudioIsPlaying(EffectChannel));
                EXPECT_TRUE(VTAudioIsPlaying(music)) << round;
                usleep(100000);
            }
            EXPECT_EQ(5, VTAudioSystemPlayingCount(MainSoundSystem)) << "four effects beside the music";
            SoundBankRelease();
        }
        VTAudioShutdown();
    }));
}

TEST(AudioWithoutDevice, EverythingIsSilentAndNothingCrashes)
{
    EXPECT_EQ(0, RunInChild([] {
        setenv("SDL_AUDIODRIVER", "kelvaro_no_such_driver", 1);
        SoundBankPrefetch();
        VTAudioShutdown(); // while the background probe may still run
        SoundBankPrefetch();
        for (int visit = 0; visit < 2; ++visit) {
            SoundBankInit();
            EXPECT_EQ(nullptr, GameMusicSound);
            SoundPlaySelecting();
            SoundPlay(MainSoundSystem, MenuMusicSound, &MenuMusicChannel);
            EXPECT_TRUE(!EffectChannel && !MenuMusicChannel);
            EXPECT_EQ(0, VTAudioSystemPlayingCount(MainSoundSystem) + VTAudioFreeChannelCount());
            (visit ? SoundBankReleaseMenu : SoundBankRelease)();
        }
        EXPECT_EQ(0, VTAudioPlay(NULL, NULL, NULL) + VTAudioIsPlaying(NULL) + VTAudioDecodeCount());
        VTAudioCloseSystem(NULL);
        VTAudioReleaseSystem(NULL);
        VTAudioReleaseSound(NULL);
        VTAudioShutdown();
        VTAudioShutdown();
    }));
}
