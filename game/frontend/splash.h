// splash.h -- the two timed logo screens before the main menu: STATE_SPLASH
// (our logo, 2 s) and STATE_LOGO (the team logo, then the sound library's,
// 2 s each). No input, no sound.
#ifndef SPLASH_H
#define SPLASH_H

#include "objects.h"

// The two states' list heads; null outside them.
extern GameObject* splashList;
extern GameObject* logoList;

extern ObjectType SplashLogoType, TeamLogoType, FmodLogoType;

void SplashLoad(GameData* data);
void SplashInit(GameData* data);
// Counts stateTimer; past 2 s the logo screen follows.
void SplashUpdate(GameData* data, float dt);
void SplashShutdown(GameData* data);
void SplashUnload(GameData* data);

void LogoLoad(GameData* data);
void LogoInit(GameData* data);
// Counts stateTimer; past 4 s the main menu follows.
void LogoUpdate(GameData* data, float dt);
void LogoShutdown(GameData* data);
void LogoUnload(GameData* data);

// Past 2 s the team logo becomes the sound library's, half as high.
void TeamLogoLogic(GameObject* logo, GameData* data, float dt);

#endif
