// soundbank.cpp -- making and releasing the bank. Decoding is cached below
// this layer, so making all eleven sounds at every screen change is cheap.
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

    GameMusicSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//BGM//BGM_GAME.mp3", 1);
    MenuMusicSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//BGM//BGM_MENU.mp3", 1);
    SelectingSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//SE//SE_Selecting.wav", 0);
    MenuToStateSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//SE//SE_MenuToState.wav", 0);
    DieSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//SE//SE_Die.wav", 0);
    BoosterSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//SE//SE_Booster.wav", 0);
    FuelSound = VTAudioCreateSound(FuelSoundSystem, "Audio_Assets//SE//SE_Fuel.wav", 0);
    CollisionSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//SE//SE_Collision.wav", 0);
    WarpSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//SE//SE_WarpSound.wav", 0);
    BulletCollisionSound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//SE//SE_BulletCollision.wav", 0);
    AntigravitySound = VTAudioCreateSound(MainSoundSystem, "Audio_Assets//SE//SE_Antigravity.wav", 0);
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
