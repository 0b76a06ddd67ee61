// soundbank.h -- the game's music and effects. Every screen with sound makes
// the whole bank in its Init and releases it in its Shutdown, so its music
// starts from the beginning at each visit: the main system carries the
// music and most effects, the fuel system only the fuel pickup, so a rain of
// pickups never cuts off the other effects. Callers test soundOn == 1 before
// making the bank (so a player with sound off pays for no device and no
// decoded audio) and before playing; nothing here looks at the options.
// Releasing a bank never made is harmless.
#ifndef SOUNDBANK_H
#define SOUNDBANK_H

#include "platform/vtaudio.h"

// C names: the benchmark watches these calls by their plain symbols.
extern "C" {

extern VTSoundSystem* MainSoundSystem;
extern VTSoundSystem* FuelSoundSystem;

extern VTSound* GameMusicSound;       // looping
extern VTSound* MenuMusicSound;       // looping
extern VTSound* SelectingSound;
extern VTSound* MenuToStateSound;
extern VTSound* DieSound;
extern VTSound* BoosterSound;
extern VTSound* FuelSound;            // on FuelSoundSystem
extern VTSound* CollisionSound;
extern VTSound* WarpSound;
extern VTSound* BulletCollisionSound;
extern VTSound* AntigravitySound;

extern VTChannel* EffectChannel;
extern VTChannel* MenuMusicChannel;

// Both systems with four channels each, then the eleven sounds. A sound that
// cannot be made stays NULL and silent.
void SoundBankInit(void);
// Opens the device and decodes the bank's files in the background, so the
// first bank made (at the first screen change) does not wait for them.
void SoundBankPrefetch(void);
// Every sound, then the fuel and main systems; all the globals become NULL.
void SoundBankRelease(void);
// Leaving the main menu or the options screen.
void SoundBankReleaseMenu(void);

// The menu's cursor tick on the main system, into EffectChannel.
void SoundPlaySelecting(void);
// Starts sound on system; slot may be NULL.
void SoundPlay(VTSoundSystem* system, VTSound* sound, VTChannel** slot);

}

#endif
