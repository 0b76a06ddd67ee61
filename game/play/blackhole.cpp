// blackhole.cpp -- the chase, its banner and the warp.
#include "blackhole.h"

#include <stdlib.h>

#include "savedfiles.h"
#include "vtgraphics.h"
#include "vtmath.h"


void BlackHoleLogic(GameObject* blackHole, GameData* data, float dt)
{
    // The chase line lives in the timer of the node behind the black hole
    // (the home planet), which the play world places there.
    GameObject* keeper = blackHole->next;
    if (!keeper || !keeper->timer)
        return;
    float* chaseLine = &keeper->timer->time;
    Transform* t = blackHole->transform;

    if (data->gameOver == 0) {
        t->x = data->focusX;
        // Judged on last frame's distance, so the save runs one frame after it.
        if (data->blackHoleDistance < 0.0f && data->gameOverPending != 0) {
            GameDataSaveOnGameOver(data);
            data->gameOverPending = 0;
        }
    }
    *chaseLine += 80.0f * dt;
    data->blackHoleDistance = data->focusY - *chaseLine;
    // The picture approaches three times faster than the line itself.
    t->y = data->focusY - 3.0f * data->blackHoleDistance;
    if (data->blackHoleDistance >= 300.0f)
        *chaseLine = data->focusY - 300.0f;
    else if (data->blackHoleDistance < 0.0f)
        *chaseLine = data->focusY;
}

void BlackHoleWarningLogic(GameObject* banner, GameData* data, float dt)
{
    Timer* timer = banner->timer;
    Appearance* a = banner->appearance;
    float distance = data->blackHoleDistance;

    // Once the run is over there is nothing left to flee, and the banner
    // would cover the game-over screen.
    if (data->level == 0) {
        banner->visible = 0;
        return;
    }
    if (distance < 100.0f && timer->stage >= 3.0f) {
        timer->stage = 0.0f;
    } else if (timer->stage >= 2.0f) {
        if (a->alpha != 0.0f) {
            // Per frame: a paused frame (dt 0) clears it at once.
            a->alpha -= dt != 0.0f ? 0.25f / dt : a->alpha;
            if (a->alpha < 0.0f)
                a->alpha = 0.0f;
        }
        if (a->alpha == 0.0f && distance >= 100.0f) {
            timer->stage = 3.0f;
            banner->visible = 0;
        }
    }
    if (timer->stage < 2.0f) {
        banner->visible = 1;
        if (dt != 0.0f) {
            // The blink runs per frame; a near-zero frame cannot push the
            // counter past what an int holds.
            float step = -0.25f / dt;
            if (step < -1000.0f)
                step = -1000.0f;
            timer->number += (int)step;
        }
        if (timer->number < -255) {
            timer->number = 255;
            timer->stage += 1.0f;
        }
        a->alpha = (float)abs(timer->number);
    }
}

static const float WARP_FALL = 2000.0f; // units a second

GameObject* AddWarpStreak(GameObject** anchor, ObjectType* kind, float x, float y, const GameData* data)
{
    float viewWidth = VTGraphicsGetWorldTopRight().x - VTGraphicsGetWorldTopLeft().x;
    GameObject* streak = AddPlacedObject(anchor, kind, x, y, viewWidth + 200.0f, data->screenHeight);
    streak->transform->z = 15.0f;
    AddAppearance(streak);
    streak->appearance->alpha = 150.0f;
    return streak;
}

void WarpLogic(GameObject* warp, GameData* data, float dt)
{
    Transform* t = warp->transform;
    if (warp->type == &WarpType) {
        t->y -= WARP_FALL * dt;
        return;
    }
    float q = 0.2f * t->scaleY;
    Timer* timer = warp->timer;
    if (timer->time == 0.0f)
        timer->time = 0.85f * t->scaleY;
    if (data->warpOpen && data->shipAngle == VT_HALF_PI) {
        warp->visible = 1;
        t->y -= WARP_FALL * dt;
        VTVec2 topLeft = VTGraphicsGetWorldTopLeft();
        if (timer->time + topLeft.y + q > t->y + t->scaleY / 2.0f) {
            GameObject* anchor = warp;
            AddWarpStreak(&anchor, &WarpType, t->x, t->y + timer->time, data);
            timer->time += t->scaleY - q;
        }
    } else {
        t->y = data->focusY + 2000.0f; // parked out of sight above
    }
    t->x = data->focusX;
}
