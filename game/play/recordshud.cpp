// recordshud.cpp -- the level line under the running score and the
// new-record notice of the game-over screen.
#include "recordshud.h"

#include <math.h>

#include "records.h"
#include "vtmath.h"
#include "vttextureloading.h"

ObjectType LevelBoxType, NewRecordType;

static const struct { ObjectType* type; const char* image; ObjectLogic logic; } hudTypes[] = {
    {&LevelBoxType, "Graphic_Assets\\Message\\level.tga", LevelBoxLogic},
    {&NewRecordType, "Graphic_Assets\\Message\\newrecord.tga", NewRecordLogic},
};
static const int hudTypeCount = (int)(sizeof hudTypes / sizeof hudTypes[0]);

// The label picture is 1.7 digit heights wide.
static const float LABEL_ASPECT = 1.7f;

void LoadRecordsHudTypes(void)
{
    for (int i = 0; i < hudTypeCount; i++) {
        hudTypes[i].type->texture = VTGraphicsLoadTexture(hudTypes[i].image);
        hudTypes[i].type->logic = hudTypes[i].logic;
    }
}

void UnloadRecordsHudTypes(void)
{
    for (int i = 0; i < hudTypeCount; i++)
        VTGraphicsUnloadTexture(hudTypes[i].type->texture);
}

void LevelLinePlace(float W, float H, float* y, float* height)
{
    // The running score's digits are W/40 high around 19H/20; the level
    // stands a line below them, a little smaller.
    float scoreHeight = W / 40.0f;
    *height = 0.8f * scoreHeight;
    *y = 19.0f * H / 20.0f - 1.3f * scoreHeight;
}

void LevelBoxLogic(GameObject* box, GameData* data, float)
{
    // The death that ends a run sets level 0 before the game-over save.
    if (data->level >= 1)
        data->levelReached = data->level;
    box->visible = data->level >= 1 && data->gameOver == 0;
    if (!box->visible)
        return;
    float W = data->screenWidth, H = data->screenHeight;
    float y, height;
    LevelLinePlace(W, H, &y, &height);
    float width = height / DIGIT_ASPECT, advance = 1.2f * width;
    // Right-aligned under the score's last digit, as the score grows leftward.
    float x = 59.0f * W / 60.0f;
    for (int v = data->level; v > 0; v /= 10) {
        AddDigitPicture(box, &ScoreDigitType, v % 10, x, y, width, height);
        x -= advance;
    }
    Transform* t = box->transform;
    t->scaleY = height;
    t->scaleX = LABEL_ASPECT * height;
    t->x = x + advance / 2.0f - 0.4f * width - t->scaleX / 2.0f;
    t->y = y;
}

void AddNewRecordNotice(GameObject* anchor, GameData* data)
{
    if (!RecordsLastRunIsBest())
        return;
    float W = data->screenWidth, H = data->screenHeight;
    // Centred over the title's resting place (W/2 - 2W/9), just above its top
    // edge (39H/60 + 7W/144); the unlock board starts right of 17W/30.
    float width = 0.3f * W, height = width / 4.0f;
    float x = W / 2.0f - 2.0f * W / 9.0f;
    float y = 39.0f * H / 60.0f + 7.0f * W / 144.0f + 0.012f * W + height / 2.0f;
    GameObject* notice = AddScreenPicture(anchor, &NewRecordType, x, y, width, height);
    notice->visible = 0;
    AddTimer(notice);
}

void NewRecordLogic(GameObject* notice, GameData* data, float dt)
{
    notice->visible = data->scoreBoardReady != 0;
    // A slow glow: the blue channel breathes once a second.
    float* phase = &notice->timer->time;
    *phase = fmodf(*phase + dt, 1.0f);
    float glow = 0.5f + 0.5f * cosf(VT_TWO_PI * *phase);
    notice->appearance->blue = (unsigned char)(175.0f + 80.0f * glow);
}
