// vtaudio.h -- sound systems of a few channels each, sounds and channels, as
// plain handles. The game thinks in "sound systems": each owns a handful of
// channels, starts every effect as a new instance on a free one, and when all
// are busy takes over its own oldest one-shot (its oldest loop only when
// every channel holds a loop), so a burst of effects never cuts off the
// music nor another system's sounds.
//
// Every function accepts NULL handles and works without an audio device: the
// game then simply stays silent. Nothing here shows a message box.
#ifndef VTAUDIO_H
#define VTAUDIO_H

// C names: the reference runs watch which sounds start by the plain symbol.
extern "C" {

typedef struct VTSoundSystem VTSoundSystem;
typedef struct VTSound VTSound;
// Names one start of one sound; it goes stale (plays no more) once that
// instance ends or its channel is taken over. Only ever stored and compared.
typedef struct VTChannel VTChannel;

// A new, silent system. Touches no device.
VTSoundSystem* VTAudioCreateSystem(void);
// Opens the audio device on first use (it then stays open until
// VTAudioShutdown) and gives the system this many channels of its own.
// 1 on success (also when it was already initialised); 0 when there is no
// device or not enough free channels, and the system stays silent.
int VTAudioInitSystem(VTSoundSystem* system, int channels);
// Stops what its channels play and hands them back; the system is silent
// until initialised again.
void VTAudioCloseSystem(VTSoundSystem* system);
// Closes the system if it is still open and frees the handle.
void VTAudioReleaseSystem(VTSoundSystem* system);

// A sound from a game path ("Audio_Assets//SE//SE_Die.wav"); looping sounds
// repeat until stopped. The decoded audio is kept for the whole run, so only
// the first sound made from a file pays for decoding it. NULL when the file
// is missing or unreadable or the system has no device.
VTSound* VTAudioCreateSound(VTSoundSystem* system, const char* gamePath, int looping);
// A looping music track that is decoded as it plays instead of being held
// whole. It takes none of the system's channels, so no effect can take its
// place; but there is one music stream for the whole device, so starting a
// music stops any other music playing, on whichever system. Closing its
// system or releasing the sound stops it. NULL as for VTAudioCreateSound.
VTSound* VTAudioCreateMusic(VTSoundSystem* system, const char* gamePath);
// Stops every instance of this sound still playing and frees the handle.
void VTAudioReleaseSound(VTSound* sound);

// Opens the device and decodes these files on a thread of its own, so the
// first systems and sounds made later find everything ready instead of
// stalling a screen change. Every other call here first waits for it to end.
// Does nothing when a prefetch is running or the device was already tried.
void VTAudioPrefetch(const char* const* gamePaths, int count);

// Starts a new instance of the sound on one of the system's channels (a
// music from its beginning on the music stream) at once and stores its
// channel in *channelSlot (NULL when nothing started; the slot itself may be
// NULL). 1 when something started.
int VTAudioPlay(VTSoundSystem* system, VTSound* sound, VTChannel** channelSlot);

// 1 while the instance this channel names is still playing.
int VTAudioIsPlaying(const VTChannel* channel);
// Channels of the system currently playing something, its music included.
int VTAudioSystemPlayingCount(const VTSoundSystem* system);

// Diagnostics: files decoded so far in this process, and channels no system
// holds (0 without a device).
int VTAudioDecodeCount(void);
int VTAudioFreeChannelCount(void);

// End of the program: stops everything, frees the decoded audio and closes
// the device. Handles made before stay safe to pass (they are silent).
void VTAudioShutdown(void);

}

#endif
