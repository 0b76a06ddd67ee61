// collision.cpp -- the collision responses of play.
#include "collision.h"

#include <math.h>

#include "soundbank.h"
#include "vtmath.h"

static const float NEAR_MISS = 15.0f; // the widest gap between ship and obstacle that counts as a graze

int IsBreakableKind(const ObjectType* type)
{
    return (type->traits & KIND_BREAKABLE) != 0;
}

int IsPlanetKind(const ObjectType* type)
{
    return (type->traits & KIND_PLANET) != 0;
}

int IsShipKind(const ObjectType* type)
{
    return (type->traits & KIND_SHIP) != 0;
}

static int Flag(const GameObject* object)
{
    return object->timer ? object->timer->flag : 0;
}

static VTVec2 Position(const GameObject* object)
{
    VTVec2 p = {object->transform->x, object->transform->y};
    return p;
}

// Inserts a fading particle of the given kind directly behind anchor.
static GameObject* AddParticle(GameObject* anchor, ObjectType* kind, float x, float y, float width, float height,
                               float z, float rotation, float fadeTime)
{
    GameObject* particle = AddPlacedObject(&anchor, kind, x, y, width, height);
    particle->transform->z = z;
    particle->transform->rotation = rotation;
    AddAppearance(particle);
    AddTimer(particle);
    particle->timer->time = fadeTime;
    return particle;
}

// Three explosions around (x, y), offset by (i, i); the first ends up last.
static void AddExplosions(GameObject* anchor, float x, float y)
{
    for (int i = 0; i < 3; i++) {
        float width = VTRandomFloat(50.0f, 70.0f);
        float height = VTRandomFloat(50.0f, 70.0f);
        float rotation = VTDegreeToRadian(VTRandomFloat(0.0f, 360.0f));
        AddParticle(anchor, &BoomType, x + (float)i, y + (float)i, width, height, FLIGHT_Z, rotation, 5.0f);
    }
}

static void PlayEffect(GameData* data, VTSound* sound)
{
    if (data->soundOn == 1)
        SoundPlay(MainSoundSystem, sound, &EffectChannel);
}

// --- bullets -------------------------------------------------------------------

void BulletHitObstacle(GameObject* bullet, GameObject* target, GameData* data)
{
    if (!bullet->transform || !target->transform)
        return;
    VTVec2 targetCentre = Position(target);
    VTVec2 bulletCentre = Position(bullet);
    if (!VTCircleRectCollision(&targetCentre, target->transform->scaleX * 0.5f, &bulletCentre,
                               bullet->transform->scaleX, bullet->transform->scaleY))
        return;
    PlayEffect(data, BulletCollisionSound);
    target->visible = 0;
    bullet->visible = 0;
    AddExplosions(bullet, bulletCentre.x, bulletCentre.y);
    for (int i = 0; i < 3; i++) {
        data->score += (float)data->scoreMultiplier * 10.0f;
        data->combo += data->scoreMultiplier;
    }
}

void CollideBullet(GameObject* n, GameObject** head, GameData* data)
{
    if (n->type != &BulletType || Flag(n) != 0)
        return;
    // A bullet that has struck may strike further overlapping targets within
    // the same walk: neither object's visibility is looked at.
    GameObject* other = *head;
    while (other && n->type == &BulletType) {
        if (IsBreakableKind(other->type) && Flag(other) == 0 && other->transform)
            BulletHitObstacle(n, other, data);
        other = other->next;
    }
}

// --- bounces ----------------------------------------------------------------------

static const float RESERVE_FUEL = -10.0f; // left by the hit that empties the tank
static const float HIT_GRACE = 1.0f;       // seconds in which further hits cost nothing

static void CostOfShipHit(GameObject* ship, GameData* data, float combinedSpeed)
{
    PlayEffect(data, CollisionSound);
    data->shipHit = 1;
    if (ship->type == &Ship1Type && ship->timer)
        ship->timer->time = 0.3f;
    if (!(data->hitGraceTimer < 0.0f))
        return;
    // The tutorial's first steps teach flying: hits cost nothing there yet.
    if (!(data->level == -1 && data->tutorialStep <= 4))
        data->fuel -= combinedSpeed * 0.05f;
    // 64 bits: a long run's multiplier times a big combo passes what an int holds.
    data->score += (float)((long long)data->scoreMultiplier * data->combo);
    data->cameraShake = 10.0f;
    data->combo = 0;
    // The first hit that empties the tank leaves a last reserve.
    if (data->fuel < 0.0f && data->fuel > RESERVE_FUEL) {
        data->fuel = RESERVE_FUEL;
        data->hitGraceTimer = HIT_GRACE;
        return;
    }
    if (data->fuel < RESERVE_FUEL) {
        float rotation = VTDegreeToRadian(VTRandomFloat(0.0f, 360.0f));
        AddParticle(ship, &BoomType, ship->transform->x, ship->transform->y, 100.0f, 100.0f, FLIGHT_Z, rotation, 2.0f);
        data->level = 0;
    }
    data->hitGraceTimer = HIT_GRACE;
}

void HitObstacle(GameObject* a, GameObject* b, GameData* data, float dt)
{
    if (a == b || !a || !b || !a->transform || !b->transform || !a->state || !b->state)
        return;
    Transform* at = a->transform;
    Transform* bt = b->transform;
    ObjectState* as = a->state;
    ObjectState* bs = b->state;

    float ra = at->scaleX * 0.5f;
    float rb = bt->scaleX * 0.5f;
    if (a->type->traits & KIND_REDUCED_RADIUS)
        ra *= 0.8f;
    if (b->type->traits & KIND_REDUCED_RADIUS)
        rb *= 0.8f;
    VTVec2 pa = {at->x + as->velX * dt, at->y + as->velY * dt};
    VTVec2 pb = {bt->x + bs->velX * dt, bt->y + bs->velY * dt};
    VTVec2 va = {as->velX, as->velY};
    VTVec2 vb = {bs->velX, bs->velY};

    int withShip = IsShipKind(a->type) || IsShipKind(b->type);
    if (withShip) {
        float gap = VTCircleCircleDistance(&pa, ra, &pb, rb);
        if (gap <= NEAR_MISS)
            data->nearMissDistance = gap;
    }
    if (!VTCircleCircleCollision(&pa, ra, &pb, rb))
        return;
    // Speeds before the hit, needed only once the two touch.
    float sa = VTVec2Length(&va);
    float sb = VTVec2Length(&vb);

    // The normal comes from where the two are now, not where they would be.
    VTVec2 centreA = Position(a);
    VTVec2 centreB = Position(b);
    float d = VTVec2Distance(&centreA, &centreB);
    VTVec2 n = {1.0f, 0.0f}; // coinciding centres: any fixed direction will do
    if (d > 0.0f) {
        n.x = (centreB.x - centreA.x) / d;
        n.y = (centreB.y - centreA.y) / d;
    }
    VTVec2 t = {-n.y, n.x};

    for (int i = 0; i < 3; i++) {
        float width = VTRandomFloat(20.0f, 50.0f);
        float height = VTRandomFloat(20.0f, 50.0f);
        GameObject* flash = AddParticle(a, &CollideFlashType, at->x + n.x * at->scaleX * 0.5f,
                                        at->y + n.y * at->scaleX * 0.5f, width, height, at->z, 0.0f, 1.0f);
        flash->appearance->alpha = 100.0f;
    }

    bt->x = at->x + n.x * (at->scaleX + bt->scaleX) * 0.5f;
    bt->y = at->y + n.y * (at->scaleX + bt->scaleX) * 0.5f;

    float ma = as->power;
    float mb = bs->power;
    if (ma + mb != 0.0f) {
        float an = VTVec2Dot(&va, &n);
        float aT = VTVec2Dot(&va, &t);
        float bn = VTVec2Dot(&vb, &n);
        float bT = VTVec2Dot(&vb, &t);
        float anAfter = ((ma - mb) * an + 2.0f * mb * bn) / (ma + mb);
        float bnAfter = ((mb - ma) * bn + 2.0f * ma * an) / (ma + mb);
        as->velX = anAfter * n.x + aT * t.x;
        as->velY = anAfter * n.y + aT * t.y;
        bs->velX = bnAfter * n.x + bT * t.x;
        bs->velY = bnAfter * n.y + bT * t.y;
    }
    // The new x velocity, read as degrees per second, sets them spinning.
    bs->spin += VTDegreeToRadian(bs->velX);
    as->spin += VTDegreeToRadian(as->velX);

    if (withShip)
        CostOfShipHit(a, data, sa + sb);
}

// --- planets and wind ------------------------------------------------------------

void ApplyPlanetPull(GameObject* n, GameObject* planet, GameData* data)
{
    ObjectState* ps = planet->state;
    Transform* pt = planet->transform;
    float reach = pt->scaleX * 3.0f;
    float dx = pt->x - n->transform->x;
    float dy = pt->y - n->transform->y;
    VTVec2 centreN = Position(n);
    VTVec2 centreP = Position(planet);
    float d = VTVec2Distance(&centreN, &centreP);

    if (pt->scaleX * 0.25f >= d && n->visible) {
        n->visible = 0;
        if (data->level == -1)
            data->tutorialSwallowed = 1;
        AddExplosions(n, centreN.x, centreN.y);
    }

    ps->forceX = 0.0f;
    ps->forceY = 0.0f;
    // At the very centre there is no direction to pull in.
    if (d < reach && d > 0.0f) {
        float p = ps->power;
        float magnitude = p - (float)sqrt((double)(p * p / reach)) * (float)sqrt((double)d);
        ps->forceX = dx / d * magnitude;
        ps->forceY = dy / d * magnitude;
        if (n->type == &Ship2Type) {
            ps->forceX *= 0.7f;
            ps->forceY *= 0.7f;
        }
        if (data->antigravityActive == 1 && n->type == &Ship3Type) {
            ps->forceX *= -1.0f;
            ps->forceY *= -1.0f;
        }
    }
}

// Adds the planet's force to n's push and shrinks n by the push so far: the
// last planet in the list sets the frame's size.
static void AccumulatePull(GameObject* n, GameObject* planet)
{
    ObjectState* ns = n->state;
    float p = planet->state->power;
    ns->pushX += planet->state->forceX;
    ns->pushY += planet->state->forceY;
    if (p == 0.0f)
        return; // a planet without power leaves the size alone
    VTVec2 push = {ns->pushX, ns->pushY};
    float q = (p - VTVec2Length(&push)) / p;
    n->transform->scaleX = ns->baseScaleX * q;
    n->transform->scaleY = ns->baseScaleY * q;
}

static void PullBy(GameObject* n, GameObject* planet, GameData* data)
{
    if (!n->transform || !n->state || !planet->transform || !planet->state)
        return;
    ApplyPlanetPull(n, planet, data);
    AccumulatePull(n, planet);
}

static void PushByWind(GameObject* n, GameObject* wind)
{
    if (!n->transform || !n->state || !wind->transform || !wind->state)
        return;
    ObjectState* ws = wind->state;
    float r = wind->transform->scaleX;
    float dx = wind->transform->x - n->transform->x;
    float dy = wind->transform->y - n->transform->y;
    VTVec2 centreN = Position(n);
    VTVec2 centreW = Position(wind);
    float d = VTVec2Distance(&centreN, &centreW);
    ws->forceX = 0.0f;
    ws->forceY = 0.0f;
    if (r > d && d > 0.0f) {
        ws->forceX = -(dx / d) * (r * r - d * d);
        ws->forceY = -(dy / d) * (r * r - d * d);
    }
    n->state->pushX += ws->forceX;
    n->state->pushY += ws->forceY;
}

// --- the walks ---------------------------------------------------------------------

// The walks offer every breakable in the list to HitObstacle, so most pairs
// are far apart. This is HitObstacle's own overlap test with room to spare
// (full radii, the near-miss distance, rounding slack): 0 only when the call
// could do nothing, so skipping it changes no outcome.
static inline int WithinReach(const GameObject* a, const GameObject* b, float dt, float nearMiss)
{
    const Transform* at = a->transform;
    const Transform* bt = b->transform;
    if (!at || !bt || !a->state || !b->state)
        return 1; // HitObstacle refuses these itself
    float dx = (at->x + a->state->velX * dt) - (bt->x + b->state->velX * dt);
    float dy = (at->y + a->state->velY * dt) - (bt->y + b->state->velY * dt);
    float reach = (fabsf(at->scaleX) + fabsf(bt->scaleX)) * 0.5f + nearMiss;
    reach += reach * 0.001f + 0.01f;
    // Unordered (NaN) fails here as it fails HitObstacle's own test.
    return dx * dx + dy * dy <= reach * reach || reach != reach;
}

void CollideShip(ObjectType* shipKind, GameObject* n, GameObject** head, GameData* data, float dt)
{
    if (!*head || (*head)->visible == 0 || n->type != shipKind)
        return;
    GameObject* other = *head;
    while (other) {
        if (n->visible && IsBreakableKind(other->type) && other->visible && Flag(other) == 0 &&
            WithinReach(n, other, dt, NEAR_MISS))
            HitObstacle(n, other, data, dt);
        if (IsPlanetKind(other->type))
            PullBy(n, other, data);
        other = other->next;
        // A ship that starts its warp-out changes kind and leaves the walk.
        if (n->type != shipKind)
            break;
    }
}

void CollideObstacle(ObjectType* obstacleKind, GameObject* n, GameObject** head, GameData* data, float dt)
{
    if (!*head || (*head)->visible == 0 || n->type != obstacleKind)
        return;
    GameObject* other = *head;
    while (other) {
        ObjectType* kind = other->type;
        if (IsBreakableKind(kind)) {
            if (n->visible && other->visible && Flag(n) == 0 && Flag(other) == 0 && WithinReach(n, other, dt, 0.0f))
                HitObstacle(n, other, data, dt);
        } else if (IsPlanetKind(kind)) {
            PullBy(n, other, data);
        } else if (kind == &WindType && Flag(n) == 0) {
            PushByWind(n, other);
        }
        other = other->next;
        if (n->type != obstacleKind)
            break;
    }
}

void CollideFarObstacle(ObjectType* farKind, GameObject* n, GameObject** head, GameData* data)
{
    if (!*head || (*head)->visible == 0 || n->type != farKind)
        return;
    GameObject* other = *head;
    while (other) {
        if (IsPlanetKind(other->type))
            PullBy(n, other, data);
        other = other->next;
        if (n->type != farKind)
            break;
    }
}
