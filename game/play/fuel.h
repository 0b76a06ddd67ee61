// fuel.h -- the fuel pickups, the two-layer fuel gauge with the flash that
// marks each change, and the fading particles most short-lived effects use.
#ifndef FUEL_H
#define FUEL_H

#include "objects.h"

// Timer number: the fuel this pickup gives.
void FuelPickupLogic(GameObject* object, GameData* data, float dt);
// The gauge directly after the anchor, faded out: its frame, drawn first,
// and the bar over it showing fuel (0..100) of its full width.
void AddFuelGauge(GameObject** anchor, const GameData* data, float fuel);
// The full bar. Timer number is its full width, Timer time its fade-in and
// ObjectState angle the x of its centre at full width.
void FuelGaugeLogic(GameObject* object, GameData* data, float dt);
// The empty frame behind the bar: fades in with it.
void FuelGaugeFrameLogic(GameObject* object, GameData* data, float dt);
// Timer time is the fade rate: a particle at full opacity lives 1 / time s.
void FadeParticleLogic(GameObject* object, GameData* data, float dt);

#endif
