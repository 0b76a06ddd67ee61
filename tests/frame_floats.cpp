// frame_floats.cpp -- every float the running state can reach, for the
// fault cases and the soak.
#include "frame_floats.h"

#include <math.h>
#include <stdio.h>

#include "frontend/credits.h"
#include "frontend/menu.h"
#include "frontend/options.h"
#include "frontend/select.h"
#include "frontend/splash.h"
#include "play/play.h"
#include "play/tutorial.h"
#include "states.h"
#include "vtstatemanager.h"

namespace {

GameObject* ListOf(int state)
{
    switch (state) {
    case STATE_MENU: return menuList;
    case STATE_OPTION: return optionList;
    case STATE_SELECT: return selectList;
    case STATE_PLAY: return playList;
    case STATE_TUTORIAL: return tutorialList;
    case STATE_SPLASH: return splashList;
    case STATE_LOGO: return logoList;
    case STATE_CREDIT: return creditList;
    default: return NULL;
    }
}

int Finite(const float* values, int count)
{
    int all = 1;
    for (int i = 0; i < count; i++)
        all &= isfinite(values[i]) ? 1 : 0;
    return all;
}

} // namespace

// Every float of the record and of every object in the running state's list.
int CheckFrameFloats(GameData* d, char* what, size_t size)
{
#define RECORD_FLOAT(name) {#name, &d->name}
    const struct { const char* name; float* value; } fields[] = {
        RECORD_FLOAT(shipAngle), RECORD_FLOAT(shipDepth), RECORD_FLOAT(shipRadius), RECORD_FLOAT(fuel),
        RECORD_FLOAT(shipScaleRatio), RECORD_FLOAT(shipWidth), RECORD_FLOAT(shipHeight),
        RECORD_FLOAT(blackHoleDistance), RECORD_FLOAT(hitGraceTimer), RECORD_FLOAT(shipX), RECORD_FLOAT(shipY),
        RECORD_FLOAT(shipHeading), RECORD_FLOAT(screenWidth), RECORD_FLOAT(screenHeight), RECORD_FLOAT(focusX),
        RECORD_FLOAT(focusY), RECORD_FLOAT(cameraHeight), RECORD_FLOAT(cameraShake), RECORD_FLOAT(cameraX),
        RECORD_FLOAT(cameraY), RECORD_FLOAT(shipStepY), RECORD_FLOAT(shipStepX), RECORD_FLOAT(score),
        RECORD_FLOAT(lastScore), RECORD_FLOAT(tutorialTimer), RECORD_FLOAT(menuRepeatTimer),
        RECORD_FLOAT(stateTimer), RECORD_FLOAT(nearMissDistance),
    };
#undef RECORD_FLOAT
    what[0] = '\0';
    for (const auto& field : fields) {
        if (!what[0] && !isfinite(*field.value))
            snprintf(what, size, "record %s = %g", field.name, (double)*field.value);
    }
    int count = 0;
    for (GameObject* o = ListOf(VTSMGetCurrentState()); o; o = o->next, count++) {
        int ok = 1;
        if (o->transform)
            ok &= Finite(&o->transform->x, (int)(sizeof(Transform) / sizeof(float)));
        if (o->timer)
            ok &= Finite(&o->timer->time, 2);
        if (o->appearance)
            ok &= Finite(&o->appearance->texScaleU, 5);
        if (o->state)
            ok &= Finite(&o->state->power, 20) && isfinite(o->state->scratch21);
        if (!what[0] && !ok)
            snprintf(what, size, "object %d of the list (transform x %g y %g)", count,
                     o->transform ? (double)o->transform->x : 0.0, o->transform ? (double)o->transform->y : 0.0);
    }
    return count;
}

