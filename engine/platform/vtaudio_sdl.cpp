// vtaudio_sdl.cpp -- sound systems on SDL2_mixer. Owns the audio device, the
// pool of mixer channels every system draws from, and the decoded sounds.
//
// SDL_mixer has one device and one array of channels, so a system is a group
// tag over a few channels of a fixed pool. Beside them runs SDL_mixer's one
// music stream: the music is decoded as it plays instead of held whole, and
// no effect can ever take its place. The whole pool is reserved and
// every start names its channel, so SDL_mixer never hands one system's
// channel to another. The pool is fixed rather than grown on demand so that a
// bank that forgets to close its systems runs out of channels in testing
// instead of slowly adding mixer work.
#include "platform/vtaudio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <limits.h>
#include <stdio.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/vtfiles.h"

enum {
    POOL_SIZE = 16, // the game holds two systems of four, briefly twice that
    PATH_SIZE = 4096,
    // Channel handles pack the channel number (plus one) below the start count.
    CHANNEL_BITS = 8,
    CHANNEL_MASK = (1 << CHANNEL_BITS) - 1,
    STREAM_CHANNEL = CHANNEL_MASK, // in a handle: the music stream
};

struct VTSoundSystem
{
    int tag;         // SDL_mixer group of its channels; 0 while closed
    unsigned device; // the device opening its channels belong to
};

struct VTSound
{
    Mix_Chunk* chunk; // shared by every sound made from the same file; NULL for music
    Mix_Music* music; // a streamed loop, this sound's own
    unsigned device;  // chunk and music stay valid only while this opening lasts
    int looping;
};

struct PoolChannel
{
    const VTSoundSystem* holder; // NULL while free
    const VTSound* sound;        // the sound last started on it
    uintptr_t start;             // which start that was; 0 for none
    int looping;                 // whether that start repeats
};

enum DeviceState { DEVICE_UNTRIED, DEVICE_OPEN, DEVICE_MISSING };

static DeviceState deviceState = DEVICE_UNTRIED;
// Bumped by every shutdown: handles made before it turn silent instead of
// reaching freed chunks or channels another system now holds.
static unsigned deviceOpening = 1;
static int poolSize;
static PoolChannel pool[POOL_SIZE];
// Never reset, so a handle from before a shutdown cannot match a later start.
static uintptr_t startCount;
static int nextTag = 1;
static int decodeCount;
// Resolved path -> decoded audio, NULL for a file that would not decode.
static std::unordered_map<std::string, Mix_Chunk*> decoded;
// Every music sound not yet released, and who plays the one stream now.
static std::vector<VTSound*> musicSounds;
static const VTSoundSystem* streamHolder; // NULL while the stream is silent
static const VTSound* streamSound;
static uintptr_t streamStart;
static int audioSubsystemUp; // SDL's audio initialised by us, device or not
// The prefetch thread owns everything above while it runs; every entry point
// waits for it first, so nothing here is ever touched by two threads at once.
static SDL_Thread* prefetcher;
static std::vector<std::string> prefetchPaths; // resolved before the thread starts

// SDL_mixer is opened only once sound is wanted: with the codec libraries it
// brings (FluidSynth alone pulls in GLib and a dozen more) it costs about
// 4 MB, which a player with sound off should not pay.
#define VT_MIXER_CALLS(X)                                                                                    \
    X(AllocateChannels) X(CloseAudio) X(FreeChunk) X(FreeMusic) X(GroupAvailable) X(GroupChannel)          \
    X(HaltChannel) X(HaltGroup) X(HaltMusic) X(Init) X(LoadMUS) X(LoadWAV_RW) X(OpenAudio) X(PlayChannel) \
    X(PlayMusic) X(Playing) X(PlayingMusic) X(Quit) X(ReserveChannels)

static struct MixerCalls
{
#define VT_MIXER_POINTER(name) decltype(&Mix_##name) name;
    VT_MIXER_CALLS(VT_MIXER_POINTER)
#undef VT_MIXER_POINTER
} mix;
static void* mixerLibrary;

static int LoadMixer(void)
{
    if (mixerLibrary)
        return 1;
    void* library = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    int found = library != NULL;
#define VT_MIXER_RESOLVE(name) \
    found = found && (mix.name = reinterpret_cast<decltype(mix.name)>(dlsym(library, "Mix_" #name))) != NULL;
    VT_MIXER_CALLS(VT_MIXER_RESOLVE)
#undef VT_MIXER_RESOLVE
    if (!found) {
        fprintf(stderr, "kelvaro: no sound: %s\n", library ? "SDL_mixer is too old" : dlerror());
        if (library)
            dlclose(library);
        return 0;
    }
    mixerLibrary = library;
    return 1;
}

// Only once nothing of SDL_mixer is open or playing: no device, no chunk.
static void UnloadMixer(void)
{
    if (mixerLibrary)
        dlclose(mixerLibrary);
    mixerLibrary = NULL;
    memset(&mix, 0, sizeof mix);
}

// Opens the device once. A missing device is remembered as well: probing for
// it again at every screen change would cost time and find nothing.
static int OpenDevice(void)
{
    if (deviceState == DEVICE_UNTRIED) {
        deviceState = DEVICE_MISSING;
        if (LoadMixer() && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            audioSubsystemUp = 1;
            mix.Init(MIX_INIT_MP3); // a build without MP3 still plays the effects
            if (mix.OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0) {
                poolSize = mix.AllocateChannels(POOL_SIZE);
                if (poolSize > POOL_SIZE)
                    poolSize = POOL_SIZE;
                mix.ReserveChannels(poolSize);
                memset(pool, 0, sizeof pool);
                deviceState = DEVICE_OPEN;
            } else {
                // The audio subsystem stays up until shutdown: quitting it
                // here waits up to 100 ms on SDL's device-watching thread,
                // at the first screen change of every run without a device.
                mix.Quit();
            }
        }
        if (deviceState == DEVICE_MISSING)
            UnloadMixer();
    }
    return deviceState == DEVICE_OPEN;
}

static int IsOpen(const VTSoundSystem* system)
{
    return system && system->tag != 0 && system->device == deviceOpening && deviceState == DEVICE_OPEN;
}

static Mix_Chunk* Decoded(const char* path)
{
    auto found = decoded.find(path);
    if (found != decoded.end())
        return found->second;
    // The file is opened and closed here: SDL_mixer 2.6 leaves it open when
    // it refuses some damaged files. Only a regular file is read; a named
    // pipe would hold the loading thread, and the game with it, for ever.
    FILE* opened = VTFileOpenRegular(path, "rb");
    SDL_RWops* file = opened ? SDL_RWFromFP(opened, SDL_TRUE) : NULL;
    if (opened && !file)
        fclose(opened);
    Mix_Chunk* chunk = file ? mix.LoadWAV_RW(file, 0) : NULL;
    if (file)
        SDL_RWclose(file);
    ++decodeCount;
    decoded.emplace(path, chunk); // a file that failed is not tried again either
    return chunk;
}

static int Prefetch(void*)
{
    if (OpenDevice()) {
        for (const std::string& path : prefetchPaths)
            Decoded(path.c_str());
    }
    return 0;
}

static void WaitForPrefetch(void)
{
    if (prefetcher) {
        SDL_WaitThread(prefetcher, NULL);
        prefetcher = NULL;
        prefetchPaths.clear();
    }
}

void VTAudioPrefetch(const char* const* gamePaths, int count)
{
    if (prefetcher || deviceState != DEVICE_UNTRIED)
        return;
    char path[PATH_SIZE];
    // Resolved here: the file layer finds its roots lazily and is not meant
    // for two threads.
    for (int i = 0; gamePaths && i < count; ++i) {
        if (gamePaths[i] && VTFileResolve(gamePaths[i], path, sizeof path))
            prefetchPaths.push_back(path);
    }
    prefetcher = SDL_CreateThread(Prefetch, "vtaudio-prefetch", NULL);
    if (!prefetcher)
        prefetchPaths.clear(); // the first system opens the device as before
}

// The system's channel to take over when all are busy: its oldest one-shot,
// and its oldest loop only when it plays nothing but loops, so a burst of
// effects never silences a loop. SDL_mixer's own Mix_GroupOldest knows
// nothing of loops, compares start times in whole milliseconds and, on a
// tie, answers the newest channel, so effects started in the same frame would
// replace the latest one; counting starts keeps the real order. A channel
// that has just fallen silent is the best choice of all.
static int OldestChannel(const VTSoundSystem* system)
{
    int oldest = -1, oldestLooping = 1;
    uintptr_t oldestStart = 0;
    for (int i = 0; i < poolSize; ++i) {
        if (pool[i].holder == system) {
            int playing = mix.Playing(i);
            uintptr_t start = playing ? pool[i].start : 0;
            int looping = playing && pool[i].looping;
            if (oldest < 0 || looping < oldestLooping || (looping == oldestLooping && start < oldestStart)) {
                oldest = i;
                oldestStart = start;
                oldestLooping = looping;
            }
        }
    }
    return oldest;
}

static void StopStream(void)
{
    if (streamHolder)
        mix.HaltMusic();
    streamHolder = NULL;
    streamSound = NULL;
}

VTSoundSystem* VTAudioCreateSystem(void)
{
    return static_cast<VTSoundSystem*>(calloc(1, sizeof(VTSoundSystem)));
}

int VTAudioInitSystem(VTSoundSystem* system, int channels)
{
    WaitForPrefetch();
    if (!system || channels <= 0)
        return 0;
    if (IsOpen(system))
        return 1;
    // All or nothing: a system with fewer channels than asked would cut its
    // effects off in ways nobody chose.
    if (!OpenDevice() || VTAudioFreeChannelCount() < channels)
        return 0;
    system->tag = nextTag;
    system->device = deviceOpening;
    nextTag = nextTag == INT_MAX ? 1 : nextTag + 1;
    for (int i = 0; i < poolSize && channels > 0; ++i) {
        if (!pool[i].holder) {
            pool[i].holder = system;
            pool[i].sound = NULL;
            pool[i].start = 0;
            mix.GroupChannel(i, system->tag);
            --channels;
        }
    }
    return 1;
}

void VTAudioCloseSystem(VTSoundSystem* system)
{
    WaitForPrefetch();
    if (!system)
        return;
    if (IsOpen(system)) {
        if (streamHolder == system)
            StopStream();
        mix.HaltGroup(system->tag);
        for (int i = 0; i < poolSize; ++i) {
            if (pool[i].holder == system) {
                mix.GroupChannel(i, -1);
                memset(&pool[i], 0, sizeof pool[i]);
            }
        }
    }
    system->tag = 0;
}

void VTAudioReleaseSystem(VTSoundSystem* system)
{
    VTAudioCloseSystem(system);
    free(system);
}

VTSound* VTAudioCreateSound(VTSoundSystem* system, const char* gamePath, int looping)
{
    WaitForPrefetch();
    char path[PATH_SIZE];
    if (!system || !gamePath || deviceState != DEVICE_OPEN || !VTFileResolve(gamePath, path, sizeof path))
        return NULL;
    Mix_Chunk* chunk = Decoded(path);
    if (!chunk)
        return NULL;
    VTSound* sound = static_cast<VTSound*>(malloc(sizeof(VTSound)));
    if (sound) {
        sound->chunk = chunk;
        sound->music = NULL;
        sound->device = deviceOpening;
        sound->looping = looping != 0;
    }
    return sound;
}

VTSound* VTAudioCreateMusic(VTSoundSystem* system, const char* gamePath)
{
    WaitForPrefetch();
    char path[PATH_SIZE];
    if (!system || !gamePath || deviceState != DEVICE_OPEN || !VTFileResolve(gamePath, path, sizeof path))
        return NULL;
    Mix_Music* music = mix.LoadMUS(path); // reads the header only
    if (!music)
        return NULL;
    VTSound* sound = static_cast<VTSound*>(calloc(1, sizeof(VTSound)));
    if (!sound) {
        mix.FreeMusic(music);
        return NULL;
    }
    sound->music = music;
    sound->device = deviceOpening;
    sound->looping = 1;
    musicSounds.push_back(sound);
    return sound;
}

void VTAudioReleaseSound(VTSound* sound)
{
    WaitForPrefetch();
    if (!sound)
        return;
    if (streamSound == sound)
        StopStream();
    if (sound->music) {
        mix.FreeMusic(sound->music);
        for (size_t i = 0; i < musicSounds.size(); ++i) {
            if (musicSounds[i] == sound) {
                musicSounds.erase(musicSounds.begin() + (long)i);
                break;
            }
        }
    }
    for (int i = 0; i < poolSize; ++i) {
        if (pool[i].sound == sound) {
            if (deviceState == DEVICE_OPEN && mix.Playing(i))
                mix.HaltChannel(i);
            pool[i].sound = NULL;
        }
    }
    free(sound);
}

int VTAudioPlay(VTSoundSystem* system, VTSound* sound, VTChannel** channelSlot)
{
    WaitForPrefetch();
    uintptr_t handle = 0;
    if (IsOpen(system) && sound && sound->device == deviceOpening && sound->music) {
        // Mix_PlayMusic stops whatever the stream played before.
        if (mix.PlayMusic(sound->music, -1) == 0) {
            streamHolder = system;
            streamSound = sound;
            streamStart = ++startCount;
            handle = (streamStart << CHANNEL_BITS) | STREAM_CHANNEL;
        } else {
            StopStream();
        }
    } else if (IsOpen(system) && sound && sound->device == deviceOpening) {
        int channel = mix.GroupAvailable(system->tag);
        if (channel < 0)
            channel = OldestChannel(system);
        // A loop count of -1 repeats about 65000 times: for hours even for
        // the shortest effect, which is as good as until stopped.
        if (channel >= 0 && mix.PlayChannel(channel, sound->chunk, sound->looping ? -1 : 0) == channel) {
            pool[channel].sound = sound;
            pool[channel].start = ++startCount;
            pool[channel].looping = sound->looping;
            handle = (pool[channel].start << CHANNEL_BITS) | (uintptr_t)(channel + 1);
        }
    }
    if (channelSlot)
        *channelSlot = reinterpret_cast<VTChannel*>(handle);
    return handle != 0;
}

int VTAudioIsPlaying(const VTChannel* channel)
{
    WaitForPrefetch();
    uintptr_t handle = reinterpret_cast<uintptr_t>(channel);
    int index = (int)(handle & CHANNEL_MASK) - 1;
    uintptr_t start = handle >> CHANNEL_BITS;
    if ((handle & CHANNEL_MASK) == STREAM_CHANNEL)
        return deviceState == DEVICE_OPEN && streamHolder && start == streamStart && mix.PlayingMusic();
    return deviceState == DEVICE_OPEN && index >= 0 && index < poolSize && start != 0 && pool[index].holder
        && pool[index].start == start && mix.Playing(index);
}

int VTAudioSystemPlayingCount(const VTSoundSystem* system)
{
    WaitForPrefetch();
    int playing = 0;
    if (IsOpen(system)) {
        for (int i = 0; i < poolSize; ++i)
            playing += pool[i].holder == system && mix.Playing(i);
        playing += streamHolder == system && mix.PlayingMusic();
    }
    return playing;
}

int VTAudioDecodeCount(void)
{
    WaitForPrefetch();
    return decodeCount;
}

int VTAudioFreeChannelCount(void)
{
    WaitForPrefetch();
    int idle = 0;
    if (deviceState == DEVICE_OPEN) {
        for (int i = 0; i < poolSize; ++i)
            idle += pool[i].holder == NULL;
    }
    return idle;
}

void VTAudioShutdown(void)
{
    WaitForPrefetch();
    if (deviceState == DEVICE_OPEN) {
        StopStream();
        mix.HaltChannel(-1);
        for (VTSound* sound : musicSounds) {
            mix.FreeMusic(sound->music);
            sound->music = NULL;
        }
        for (auto& entry : decoded) {
            if (entry.second)
                mix.FreeChunk(entry.second);
        }
        mix.CloseAudio();
        mix.Quit();
    }
    UnloadMixer();
    if (audioSubsystemUp)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioSubsystemUp = 0;
    decoded.clear();
    musicSounds.clear();
    memset(pool, 0, sizeof pool);
    poolSize = 0;
    deviceState = DEVICE_UNTRIED;
    ++deviceOpening;
}
