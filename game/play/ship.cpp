// ship.cpp -- the ship in flight and in its warp-out, and the small objects
// that follow it.
#include "ship.h"

#include <math.h>

#include "combo.h"
#include "soundbank.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtmath.h"
#include "vtstatemanager.h"

static const float THRUST = 1500.0f;
static const float CAMERA_FOLLOW = 3.0f; // share of the gap to the focus closed per second

static float nearMissLatch;   // the graze distance last seen
static float trailAccumulator;
static int rightTriggerLatch;
static unsigned long rightTriggerFrame; // input frame + 1 of the last answer; 0: none yet
static int rightTriggerAnswer;

void ShipResetLatches(void)
{
    nearMissLatch = 0.0f;
    trailAccumulator = 0.0f;
    rightTriggerLatch = 0;
    rightTriggerFrame = 0;
}

void AddShip(GameObject** anchor, const GameData* data)
{
    static const PlacementRow ships[] = {
        {&Ship1Type, PLACE_TIMER | PLACE_STATE, 0.0f, 0.0f, 16.0f, 8.0f, FLIGHT_Z},
        {&Ship2Type, PLACE_TIMER | PLACE_STATE, 0.0f, 0.0f, 24.0f, 12.0f, FLIGHT_Z},
        {&Ship3Type, PLACE_TIMER | PLACE_STATE, 0.0f, 0.0f, 50.0f, 50.0f, FLIGHT_Z},
    };
    int type = data->shipType;
    GameObject* ship = PlaceRow(anchor, &ships[type == 2 || type == 3 ? type - 1 : 0], data);
    ship->transform->rotation = VT_HALF_PI;
    ship->state->power = 100.0f;
    ship->state->angle = VT_HALF_PI;
    ship->state->baseScaleX = ship->transform->scaleX;
    ship->state->baseScaleY = ship->transform->scaleY;
}

static float WrapOnce(float angle)
{
    if (angle > VT_TWO_PI)
        angle -= VT_TWO_PI;
    else if (angle < 0.0f)
        angle += VT_TWO_PI;
    return angle;
}

static void PlayEffect(GameData* data, VTSound* sound)
{
    if (data->soundOn == 1)
        SoundPlay(MainSoundSystem, sound, &EffectChannel);
}

static int AnyPressed(const int* keys, int count)
{
    for (int i = 0; i < count; i++)
        if (VTInputIsPressed(keys[i]))
            return 1;
    return 0;
}

static const int leftKeys[] = {VT_KEY_LEFT, VT_KEY_PAD_LEFT, VT_KEY_PAD_LSHOULDER};
static const int rightKeys[] = {VT_KEY_RIGHT, VT_KEY_PAD_RIGHT, VT_KEY_PAD_RSHOULDER};

// --- input ------------------------------------------------------------------------

int RightTriggerPulled(void)
{
    // The ship's ability and the tutorial's ability panel both ask in the
    // same frame: a pull counts for every reader of its frame, as a key's
    // press does, rather than for whichever asks first.
    unsigned long frame = VTInputGetFrame() + 1;
    if (frame == rightTriggerFrame)
        return rightTriggerAnswer;
    rightTriggerFrame = frame;
    rightTriggerAnswer = 0;
    float trigger = VTInputGetRightTrigger();
    if (rightTriggerLatch == 0) {
        if (trigger != 0.0f) {
            rightTriggerLatch = 1;
            rightTriggerAnswer = 1;
        }
    } else if (trigger <= 0.5f) {
        rightTriggerLatch = 0;
    }
    return rightTriggerAnswer;
}

int ReadActionInput(void)
{
    static const int thrustKeys[] = {VT_KEY_PAD_A, VT_KEY_UP};
    static const int abilityKeys[] = {VT_KEY_CONTROL, VT_KEY_PAD_B, VT_KEY_PAD_X};
    if (AnyPressed(thrustKeys, 2) || VTInputGetLeftTrigger() != 0.0f)
        return ACTION_THRUST;
    if (AnyPressed(abilityKeys, 3))
        return ACTION_ABILITY;
    if (AnyPressed(rightKeys, 3))
        return ACTION_RIGHT;
    if (AnyPressed(leftKeys, 3))
        return ACTION_LEFT;
    if (VTInputIsTriggered(VT_KEY_PAD_BACK) || VTInputIsTriggered(VT_KEY_ESCAPE))
        return ACTION_BACK;
    if (VTInputIsTriggered(VT_KEY_PAD_START) || VTInputIsTriggered(VT_KEY_R))
        return ACTION_RETRY;
    return ACTION_NONE;
}

// --- controls -----------------------------------------------------------------------

void ShipThrustControl(GameObject* ship, GameData* data)
{
    ObjectState* s = ship->state;
    s->noSpeedLimit = 0;
    if (data->cameraHeight < CRUISE_HEIGHT) {
        // The launch: the ship, pointing up, climbs by itself.
        s->thrustX = s->thrustY = THRUST;
    } else if (!VTInputIsPressed(VT_KEY_PAD_A) && !VTInputIsPressed(VT_KEY_PAD_B) && !VTInputIsPressed(VT_KEY_UP) &&
               VTInputGetLeftTrigger() == 0.0f) {
        s->thrustX = s->thrustY = 0.0f;
        // Damped per frame, as the game was tuned.
        s->velX *= 0.98f;
        s->velY *= 0.98f;
    } else {
        s->thrustX = s->thrustY = THRUST;
    }
}

void ShipSteering(GameObject* ship, GameData* data, float dt)
{
    ObjectState* s = ship->state;
    int turnsBody = ship->type != &Ship3Type; // ship 3's body spins; its cover shows the heading
    if (data->boosting == 0 && data->cameraHeight == CRUISE_HEIGHT) {
        float step = VTDegreeToRadian(200.0f * dt);
        float factor = ship->type == &Ship2Type ? 1.2f : 1.0f;
        float lx = VTInputGetLeftStickX(), ly = VTInputGetLeftStickY();
        float rx = VTInputGetRightStickX(), ry = VTInputGetRightStickY();
        VTVec2 left = {lx, ly};
        VTVec2 right = {rx, ry};
        if (VTVec2Length(&left) != 0.0f) {
            s->angle -= step * lx * factor;
            if (turnsBody)
                ship->transform->rotation = s->angle;
        }
        if (VTVec2Length(&right) != 0.0f) {
            s->angle -= step * rx * factor;
            if (turnsBody)
                ship->transform->rotation = s->angle;
        }
        if (AnyPressed(leftKeys, 3)) {
            s->angle += step * factor;
            if (turnsBody)
                ship->transform->rotation = s->angle;
        }
        if (AnyPressed(rightKeys, 3)) {
            s->angle -= step * factor;
            if (turnsBody)
                ship->transform->rotation = s->angle;
        }
    }
    s->angle = WrapOnce(s->angle);
}

static void FireTwinShot(GameObject* ship)
{
    const Transform* t = ship->transform;
    float rotation = t->rotation + VT_HALF_PI;
    for (int side = 1; side >= -1; side -= 2) {
        GameObject* anchor = ship;
        GameObject* bullet = AddPlacedObject(&anchor, &BulletType, t->x + side * 3.0f * cosf(rotation),
                                             t->y + side * 3.0f * sinf(rotation), 10.0f, 20.0f);
        bullet->transform->z = t->z;
        bullet->transform->rotation = rotation;
        AddAppearance(bullet);
        AddTimer(bullet);
        AddObjectState(bullet);
        bullet->state->angle = ship->state->angle;
        bullet->state->velX = 400.0f * cosf(ship->state->angle);
        bullet->state->velY = 400.0f * sinf(ship->state->angle);
        bullet->state->power = ship->state->power;
    }
}

static void BlowWind(GameObject* ship)
{
    const Transform* t = ship->transform;
    GameObject* anchor = ship;
    GameObject* wind = AddPlacedObject(&anchor, &WindType, 0.0f, 0.0f, 0.0f, 0.0f);
    *wind->transform = *t;
    wind->transform->rotation = t->rotation + VT_HALF_PI;
    AddAppearance(wind);
    AddTimer(wind);
    AddObjectState(wind);
    wind->state->angle = ship->state->angle;
    wind->state->velX = ship->state->velX;
    wind->state->velY = ship->state->velY;
    wind->state->accelX = ship->state->accelX;
    wind->state->accelY = ship->state->accelY;
}

void ShipAbility(GameObject* ship, GameData* data, float dt)
{
    ObjectState* s = ship->state;
    float* t = &ship->timer->time; // 0 ready, below 0 acting, above 0 cooling down
    if (*t == 0.0f && data->cameraHeight == CRUISE_HEIGHT &&
        (VTInputIsTriggered(VT_KEY_CONTROL) || VTInputIsTriggered(VT_KEY_PAD_B) || VTInputIsTriggered(VT_KEY_PAD_X) ||
         RightTriggerPulled())) {
        *t = -0.2f;
        PlayEffect(data, ship->type == &Ship3Type ? AntigravitySound : BoosterSound);
    }
    if (*t > 0.0f) {
        *t -= dt;
        if (*t < 0.0f)
            *t = 0.0f;
        data->boosting = 0;
    } else if (*t < 0.0f && !data->paused) {
        if (ship->type == &Ship2Type) {
            FireTwinShot(ship);
            data->boosting = 1;
            *t = 0.3f;
        } else if (ship->type == &Ship3Type) {
            BlowWind(ship);
            data->boosting = 1;
            data->antigravityActive = 1;
            *t = 1.2f;
        } else {
            s->velX = cosf(s->angle) * 200.0f;
            s->velY = sinf(s->angle) * 200.0f;
            s->noSpeedLimit = 1;
            s->thrustX = s->thrustY = THRUST;
            data->boosting = 1;
            *t += dt;
            if (*t >= 0.0f)
                *t = 0.3f;
        }
    }
}

// --- flight -------------------------------------------------------------------------

static void Accelerate(GameObject* ship, GameData* data, float dt)
{
    ObjectState* s = ship->state;
    s->accelX = cosf(s->angle) * s->thrustX + s->pushX;
    s->accelY = sinf(s->angle) * s->thrustY + s->pushY;
    ApplyAcceleration(ship, data, dt);
    ship->transform->x += s->velX * dt;
    ship->transform->y += s->velY * dt;
}

static ObjectType* WarpTypeFor(int shipType)
{
    if (shipType == 2)
        return &Ship2WarpType;
    if (shipType == 3)
        return &Ship3WarpType;
    return &Ship1WarpType;
}

static void ShakeCamera(GameData* data)
{
    float r1 = VTRandomFloat(-data->cameraShake, data->cameraShake);
    float r2 = VTRandomFloat(-data->cameraShake, data->cameraShake);
    VTGraphicsSetCamera(data->cameraX + r1, data->cameraY + r2, data->cameraHeight, 0.0f);
}

// The focus may roam the middle of the view without moving the camera.
static void FollowHorizontally(GameData* data)
{
    float left = VTGraphicsGetWorldTopLeft().x;
    float k = (data->cameraX - left) * 150.0f / 200.0f;
    if (data->cameraX - k + 100.0f > data->focusX)
        data->cameraX -= data->cameraX - k + 100.0f - data->focusX;
    else if (data->focusX > data->cameraX + k - 100.0f)
        data->cameraX += data->focusX - (data->cameraX + k - 100.0f);
}

static void ShowComboPopup(GameObject* ship, GameData* data)
{
    float width = 0.3f * data->screenWidth;
    float height = 0.15f * data->screenHeight;
    GameObject* popup = AddScreenPicture(ship, &ComboPopupType, data->screenWidth - width / 2.0f - 20.0f,
                                         data->screenHeight / 2.0f - height / 2.0f - 10.0f, width, height);
    AddTimer(popup);
    popup->timer->time = 0.5f;
    SetComboColour(popup->appearance, data->combo);
}

// A graze counts once it is over: the gap the collisions wrote stopped
// changing. Grazes during the grace after a hit count for nothing.
static void CountNearMiss(GameObject* ship, GameData* data, float dt)
{
    float d = data->nearMissDistance;
    if (nearMissLatch != d && dt != 0.0f) {
        if (data->hitGraceTimer > 0.0f) {
            data->nearMissDistance = 0.0f;
            nearMissLatch = 0.0f;
        } else {
            nearMissLatch = d;
        }
    } else if (nearMissLatch == d && nearMissLatch != 0.0f && !data->paused) {
        data->combo *= 2;
        nearMissLatch = 0.0f;
        data->nearMissDistance = 0.0f;
        ShowComboPopup(ship, data);
    }
    if (data->combo > 10000) {
        data->score += (float)((long long)data->scoreMultiplier * data->combo);
        data->combo = 0;
    }
}

void ShipLogic(GameObject* ship, GameData* data, float dt)
{
    Transform* t = ship->transform;
    ObjectState* s = ship->state;
    data->shipVisible = ship->visible;
    if (data->level == 0)
        ship->visible = 0;

    if (ship->visible) {
        if (data->level == -1) {
            Accelerate(ship, data, dt);
            if (data->tutorialStep >= 2)
                ShipThrustControl(ship, data);
            if (data->tutorialStep >= 3)
                ShipSteering(ship, data, dt);
            if (data->tutorialStep >= 9)
                ShipAbility(ship, data, dt);
        } else {
            if (data->warpOpen == 0) {
                Accelerate(ship, data, dt);
                ShipSteering(ship, data, dt);
                ShipThrustControl(ship, data);
                ShipAbility(ship, data, dt);
            }
            if (data->warpOpen != 0) {
                PlayEffect(data, WarpSound);
                ship->type = WarpTypeFor(data->shipType);
            }
        }

        data->focusX = t->x;
        data->focusY = t->y + FOCUS_LEAD;
        data->shipX = t->x;
        data->shipY = t->y;
        FollowHorizontally(data);
        data->shipStepX = s->velX * dt;
        data->shipStepY = s->velY * dt;
        data->shipDepth = t->z;
        data->shipAngle = s->angle;
        data->shipScaleRatio = t->scaleX / s->baseScaleX;

        if (data->level != -1)
            CountNearMiss(ship, data, dt);

        if (data->cameraHeight < CRUISE_HEIGHT) {
            data->cameraHeight += 50.0f * dt;
            if (data->cameraHeight > CRUISE_HEIGHT)
                data->cameraHeight = CRUISE_HEIGHT;
        }
        data->cameraY += (data->focusY - data->cameraY) * dt * CAMERA_FOLLOW;
        ShakeCamera(data);
        if (data->cameraShake != 0.0f) {
            data->cameraShake *= 0.9f; // per frame, not per second
            if (data->cameraShake < 0.05f)
                data->cameraShake = 0.0f;
        }
        data->shipRadius = t->scaleX * 0.5f;
    }

    if (ship->type == &Ship3Type)
        t->rotation = WrapOnce(t->rotation + VTDegreeToRadian(400.0f * dt));
    data->shipHeading = s->angle;
    data->shipWidth = t->scaleX;
    data->shipHeight = t->scaleY;
    data->hitGraceTimer -= dt;
}

void ShipWarpLogic(GameObject* ship, GameData* data, float dt)
{
    Transform* t = ship->transform;
    ObjectState* s = ship->state;
    if (data->blackHoleDistance < 300.0f)
        data->blackHoleDistance += 80.0f * dt;
    data->boosting = 0;

    // Straighten up before the climb, however the ship was turned.
    float r = t->rotation;
    if (r < VT_HALF_PI) {
        r += (VT_HALF_PI - r) * 3.0f * dt;
        if (VT_HALF_PI - r < 0.01f)
            r = VT_HALF_PI;
    } else if (r > VT_HALF_PI) {
        r -= (r - VT_HALF_PI) * 3.0f * dt;
        if (r - VT_HALF_PI < 0.01f)
            r = VT_HALF_PI;
    }
    if (r == VT_HALF_PI) {
        s->velX = 0.0f;
        s->velY = 500.0f;
        data->shipStepX = 0.0f;
        data->shipStepY = 0.0f;
        // The shake amplitude doubles as the climb's clock: 2 up to 5.
        if (data->cameraShake < 2.0f) {
            data->cameraShake = 2.0f;
        } else if (data->cameraShake > 5.0f) {
            data->level += 1;
            data->scoreMultiplier *= 2;
            VTSMRestartState(1);
        } else {
            data->cameraShake += dt;
        }
    }
    s->angle = r;
    t->rotation = r;
    t->x += s->velX * dt;
    t->y += s->velY * dt;
    data->focusX = t->x;
    data->focusY = t->y + FOCUS_LEAD;
    data->shipDepth = t->z;
    data->shipAngle = s->angle;
    data->shipRadius = t->scaleX * 0.5f;
    data->shipScaleRatio = t->scaleX / s->baseScaleX;
    data->shipX = t->x;
    data->shipY = t->y;
    data->shipHeading = s->angle;

    data->cameraX += (data->focusX - data->cameraX) * CAMERA_FOLLOW * dt;
    data->cameraY += (data->focusY - data->cameraY) * CAMERA_FOLLOW * dt;
    ShakeCamera(data);
}

// --- followers ------------------------------------------------------------------------

void Ship3CoverLogic(GameObject* cover, GameData* data, float)
{
    Transform* t = cover->transform;
    t->x = data->shipX;
    t->y = data->shipY;
    t->scaleX = data->shipWidth;
    t->scaleY = data->shipHeight;
    t->z = data->shipDepth;
    t->rotation = data->shipHeading;
    cover->visible = data->shipVisible;
}

void FireLogic(GameObject* fire, GameData* data, float dt)
{
    if (dt == 0.0f)
        return;
    Transform* t = fire->transform;
    Appearance* a = fire->appearance;
    t->x = data->focusX;
    t->y = data->focusY - FOCUS_LEAD;
    t->scaleX = VTRandomFloat(35.0f, 45.0f) * data->shipScaleRatio;
    t->scaleY = VTRandomFloat(7.0f, 10.0f) * data->shipScaleRatio;
    a->alpha = (float)(int)VTRandomFloat(205.0f, 235.0f);
    a->green = (unsigned char)(int)VTRandomFloat(205.0f, 235.0f);
    t->rotation = data->shipAngle;
    if (ReadActionInput() == ACTION_THRUST && data->level != 0)
        fire->visible = 1;
    else if (data->warpOpen && t->rotation == VT_HALF_PI)
        fire->visible = 1;
    else
        fire->visible = data->cameraHeight < CRUISE_HEIGHT;
    if (data->level == -1 && data->tutorialStep < 2)
        fire->visible = 0;
}

void ShieldLogic(GameObject* shield, GameData* data, float dt)
{
    if (dt == 0.0f)
        return;
    Transform* t = shield->transform;
    Appearance* a = shield->appearance;
    t->x = data->focusX;
    t->y = data->focusY - FOCUS_LEAD;
    t->scaleX = data->shipScaleRatio * 40.0f;
    if (data->shipHit != 0) {
        a->alpha = 255.0f;
        data->shipHit = 0;
    }
    if (a->alpha != 0.0f) {
        a->alpha -= 7.0f; // per frame
        t->scaleX += (1.0f - a->alpha / 255.0f) * 10.0f;
        if (a->alpha < 0.0f)
            a->alpha = 0.0f;
    }
    t->scaleY = t->scaleX;
    if (data->level == 0)
        shield->visible = 0;
}

static int NearFocus(const GameObject* o, const GameData* data)
{
    VTVec2 centre = {o->transform->x, o->transform->y};
    VTVec2 focus = {data->focusX, data->focusY};
    return VTCircleCircleCollision(&centre, o->transform->scaleX, &focus, 500.0f);
}

void BulletLogic(GameObject* bullet, GameData* data, float dt)
{
    if (!NearFocus(bullet, data))
        bullet->visible = 0;
    bullet->transform->x += bullet->state->velX * dt;
    bullet->transform->y += bullet->state->velY * dt;
}

void WindLogic(GameObject* wind, GameData* data, float dt)
{
    Transform* t = wind->transform;
    ObjectState* s = wind->state;
    if (t->scaleX <= 200.0f) {
        t->scaleX *= 1.0f + 5.0f * dt;
        t->scaleY *= 1.0f + 5.0f * dt;
        wind->appearance->alpha *= 1.0f - 10.0f * dt;
    }
    if (t->scaleX >= 200.0f) {
        t->scaleX = t->scaleY = 200.0f;
        wind->visible = 0;
        data->antigravityActive = 0;
    }
    s->accelX = cosf(s->angle) * s->thrustX + s->pushX;
    s->accelY = sinf(s->angle) * s->thrustY + s->pushY;
    ApplyAcceleration(wind, data, dt);
    t->x += s->velX * dt;
    t->y += s->velY * dt;
    t->rotation += s->spin * dt;
    if (t->rotation > VT_TWO_PI)
        t->rotation = 0.0f;
    else if (t->rotation < 0.0f)
        t->rotation = VT_TWO_PI;
}

void Ship1TrailEmitterLogic(GameObject* emitter, GameData* data, float dt)
{
    trailAccumulator += dt;
    if (!(trailAccumulator > 0.0f && data->boosting != 0 && data->level != 0 && data->shipType == 1))
        return;
    trailAccumulator = 0.0f;
    GameObject* anchor = emitter;
    GameObject* image = AddPlacedObject(&anchor, &Ship1AfterimageType, data->focusX, data->focusY - FOCUS_LEAD, 10.0f,
                                        10.0f);
    image->transform->z = 49.9f;
    image->transform->rotation = data->shipAngle;
    AddTimer(image);
    image->timer->time = 5.0f;
    // The fade needs an alpha to fade: the image starts opaque.
    AddAppearance(image);
}
