// soundbank.cpp -- making and releasing the bank. The effects' decoding is
// cached below this layer and the music only streams, so making all eleven
// sounds at every screen change is cheap.
#include "soundbank.h"

#include <stddef.h>

VTSoundSystem* MainSoundSystem;
VTSoundSystem* FuelSoundSystem;

VTSound* GameMusicSound;
VTSound* MenuMusicSound;
VTSound* SelectingSound;
VTSound* MenuToStateSound;
VTSound* DieSound;
VTSound* BoosterSound;
VTSound* FuelSound;
VTSound* CollisionSound;
VTSound* WarpSound;
VTSound* BulletCollisionSound;
VTSound* AntigravitySound;

VTChannel* EffectChannel;
VTChannel* MenuMusicChannel;

enum { SOUND_SYSTEM_CHANNELS = 4 };

// Every sound in the order the bank makes and releases them.
static VTSound** const bankSounds[] = {
    &GameMusicSound, &MenuMusicSound, &SelectingSound, &MenuToStateSound,
    &DieSound, &BoosterSound, &FuelSound, &CollisionSound,
    &WarpSound, &BulletCollisionSound, &AntigravitySound,
};

struct BankEntry
{
    VTSound** sound;
    const char* path;
    int music; // a loop streamed as it plays; the effects are decoded once and kept
    int onFuelSystem;
};

// In the order the bank makes them.
static const BankEntry bank[] = {
    {&GameMusicSound, "Audio_Assets//BGM//BGM_GAME.mp3", 1, 0},
    {&MenuMusicSound, "Audio_Assets//BGM//BGM_MENU.mp3", 1, 0},
    {&SelectingSound, "Audio_Assets//SE//SE_Selecting.wav", 0, 0},
    {&MenuToStateSound, "Audio_Assets//SE//SE_MenuToState.wav", 0, 0},
    {&DieSound, "Audio_Assets//SE//SE_Die.wav", 0, 0},
    {&BoosterSound, "Audio_Assets//SE//SE_Booster.wav", 0, 0},
    {&FuelSound, "Audio_Assets//SE//SE_Fuel.wav", 0, 1},
    {&CollisionSound, "Audio_Assets//SE//SE_Collision.wav", 0, 0},
    {&WarpSound, "Audio_Assets//SE//SE_WarpSound.wav", 0, 0},
    {&BulletCollisionSound, "Audio_Assets//SE//SE_BulletCollision.wav", 0, 0},
    {&AntigravitySound, "Audio_Assets//SE//SE_Antigravity.wav", 0, 0},
};

static void ReleaseSound(VTSound** sound)
{
    VTAudioReleaseSound(*sound);
    *sound = NULL;
}

static void ReleaseSystem(VTSoundSystem** system)
{
    VTAudioCloseSystem(*system);
    VTAudioReleaseSystem(*system);
    *system = NULL;
}

static void ForgetChannels(void)
{
    EffectChannel = NULL;
    MenuMusicChannel = NULL;
}

void SoundBankInit(void)
{
    MainSoundSystem = VTAudioCreateSystem();
    FuelSoundSystem = VTAudioCreateSystem();
    VTAudioInitSystem(MainSoundSystem, SOUND_SYSTEM_CHANNELS);
    VTAudioInitSystem(FuelSoundSystem, SOUND_SYSTEM_CHANNELS);

    for (const BankEntry& e : bank) {
        VTSoundSystem* system = e.onFuelSystem ? FuelSoundSystem : MainSoundSystem;
        *e.sound = e.music ? VTAudioCreateMusic(system, e.path) : VTAudioCreateSound(system, e.path, 0);
    }
}

void SoundBankPrefetch(void)
{
    const char* paths[sizeof bank / sizeof bank[0]];
    int count = 0;
    for (const BankEntry& e : bank) {
        if (!e.music)
            paths[count++] = e.path;
    }
    VTAudioPrefetch(paths, count);
}

void SoundBankRelease(void)
{
    for (VTSound** sound : bankSounds)
        ReleaseSound(sound);
    ReleaseSystem(&FuelSoundSystem);
    ReleaseSystem(&MainSoundSystem);
    ForgetChannels();
}

// Leaving the menu only needs the menu music and the main system gone, but
// the next screen makes a whole new bank: giving back just those would leave
// the other ten sounds and the fuel system's channels behind at every visit.
// So everything goes, the menu music and the main system first.
void SoundBankReleaseMenu(void)
{
    ReleaseSound(&MenuMusicSound);
    ReleaseSystem(&MainSoundSystem);
    for (VTSound** sound : bankSounds)
        ReleaseSound(sound);
    ReleaseSystem(&FuelSoundSystem);
    ForgetChannels();
}

void SoundPlaySelecting(void)
{
    VTAudioPlay(MainSoundSystem, SelectingSound, &EffectChannel);
}

void SoundPlay(VTSoundSystem* system, VTSound* sound, VTChannel** slot)
{
    VTAudioPlay(system, sound, slot);
}
