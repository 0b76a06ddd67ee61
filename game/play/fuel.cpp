// fuel.cpp -- fuel pickups, the fuel gauge and fading particles.
#include "fuel.h"

#include <math.h>

#include "soundbank.h"
#include "vtmath.h"

void FuelPickupLogic(GameObject* object, GameData* data, float dt)
{
    Transform* t = object->transform;
    // Pickups fade as the black hole closes in.
    if (object->appearance)
        object->appearance->alpha =
            data->blackHoleDistance < 100.0f ? data->blackHoleDistance / 100.0f * 255.0f : 255.0f;

    VTVec2 centre = {t->x, t->y};
    VTVec2 ship = {data->focusX, data->focusY - FOCUS_LEAD};
    if (!VTCircleCircleCollision(&centre, t->scaleX, &ship, 500.0f)) {
        object->visible = 0;
        return;
    }
    // A dead ship collects nothing: gameOverPending drops with the save.
    if (VTCircleCircleCollision(&centre, t->scaleX / 2.0f, &ship, data->shipRadius) && data->gameOverPending != 0) {
        if (data->soundOn == 1 && data->warpOpen == 0)
            SoundPlay(FuelSoundSystem, FuelSound, &EffectChannel);
        data->fuel += (float)object->timer->number;
        if (data->level >= 0) {
            data->combo += 1;
            data->score += (float)(data->level * 10);
        }
        object->visible = 0;
    }

    ObjectState* s = object->state;
    s->accelX = cosf(s->angle) * s->thrustX + s->pushX;
    s->accelY = sinf(s->angle) * s->thrustY + s->pushY;
    ApplyAcceleration(object, data, dt);
    t->x += s->velX * dt;
    t->y += s->velY * dt;
}

static const int GAUGE_WIDTH = 285; // the bar's, full

void AddFuelGauge(GameObject** anchor, const GameData* data, float fuel)
{
    // At the top: the trailing camera keeps the ship in the lower part of the view.
    static const PlacementRow bar = {&FuelGaugeFullType, PLACE_SCREEN | PLACE_TIMER | PLACE_APPEARANCE | PLACE_STATE,
                                     OfW(1, 2), OfH(0.95f), 0.0f, 24.0f, 0.0f, GAUGE_WIDTH, 0.0f};
    static const PlacementRow frame = {&FuelGaugeEmptyType, PLACE_SCREEN | PLACE_TIMER | PLACE_APPEARANCE,
                                       OfW(1, 2), OfH(0.95f), 300.0f, 40.0f, 0.0f, 0, 0.0f};
    GameObject* o = PlaceRow(anchor, &bar, data);
    o->transform->scaleX = (float)GAUGE_WIDTH * fuel / FULL_FUEL;
    o->state->angle = data->screenWidth / 2; // the bar's anchor
    PlaceRow(anchor, &frame, data);
}

// The gauge shows once the launch zoom has finished, over half a second.
static void FadeIn(GameObject* object, const GameData* data, float dt)
{
    Timer* timer = object->timer;
    if (data->cameraHeight == CRUISE_HEIGHT && timer->time < 255.0f) {
        timer->time += 510.0f * dt;
        object->appearance->alpha = (float)(int)timer->time;
    }
    if (timer->time > 255.0f)
        object->appearance->alpha = 255.0f;
}

void FuelGaugeLogic(GameObject* object, GameData* data, float dt)
{
    FadeIn(object, data, dt);
    Transform* t = object->transform;
    if (data->fuel == 0.0f) {
        t->scaleX = 0.0f;
        return;
    }
    float f = 1.0f;
    if (data->fuel < 0.0f)
        f = 0.0f;
    else if (data->fuel < FULL_FUEL)
        f = data->fuel / FULL_FUEL;

    // Anchored on its left end; placed from the width still shown, so the
    // position trails a change by one frame.
    int fullWidth = object->timer->number;
    t->x = object->state->angle - ((float)fullWidth - t->scaleX) / 2.0f;
    float width = (float)fullWidth * f;

    // The flash marks every change once fuel matters to the player.
    if (t->scaleX != width && (data->level > 0 || (data->level == -1 && data->tutorialStep >= 5))) {
        GameObject* flash = AddScreenPicture(object, &FuelIndicatorType, t->x + t->scaleX / 2.0f, t->y, 30.0f, 50.0f);
        flash->transform->z = t->z;
        AddTimer(flash);
        flash->timer->time = 5.0f;
    }
    // Cropped, not squeezed.
    object->appearance->texScaleU = f;
    t->scaleX = width;
}

void FuelGaugeFrameLogic(GameObject* object, GameData* data, float dt)
{
    FadeIn(object, data, dt);
}

void FadeParticleLogic(GameObject* object, GameData* data, float dt)
{
    if (object->type == &Ship1AfterimageType) {
        // Follows the ship's shrinking, just behind it.
        object->transform->scaleX = data->shipScaleRatio * 20.0f;
        object->transform->scaleY = data->shipScaleRatio * 10.0f;
        object->transform->z = data->shipDepth - 0.1f;
    }
    Appearance* a = object->appearance;
    if (a->alpha > 0.0f)
        a->alpha -= object->timer->time * 255.0f * dt;
    // A fade that lands exactly on 0 ends too; it would otherwise linger unseen.
    if (a->alpha <= 0.0f) {
        object->visible = 0;
        a->alpha = 0.0f;
    }
}
