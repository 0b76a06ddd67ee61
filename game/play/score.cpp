// score.cpp -- scoring displays and the game-over screen.
#include "score.h"

#include <limits.h>

#include "combo.h"
#include "frontend/menu.h"
#include "menuinput.h"
#include "recordshud.h"
#include "soundbank.h"
#include "states.h"
#include "vtinput.h"
#include "vtmath.h"
#include "vtstatemanager.h"


// Kept across runs: the first tenth of a second of a run may still show
// the previous run's score.
static float shownScore;
static float refreshTimer;

void ScoreResetDisplay(void)
{
    shownScore = 0.0f;
    refreshTimer = 0.0f;
}

static unsigned char Brighten(unsigned char channel, int amount)
{
    int value = channel + amount;
    return (unsigned char)(value > 255 ? 255 : value);
}

// The combo's colour brightened by the pulse.
static void PulseColour(Appearance* a, int combo, float pulse)
{
    SetComboColour(a, combo);
    int amount = 5 * (int)pulse;
    a->red = Brighten(a->red, amount);
    a->green = Brighten(a->green, amount);
    a->blue = Brighten(a->blue, amount);
}

static void Grey(Appearance* a)
{
    a->red = a->green = a->blue = 50;
}

// The whole points of a score, for digits and thresholds. 64 bits: a long
// run passes what an int holds; beyond 64 bits the score shows as the most
// they hold.
static unsigned long long WholePoints(float score)
{
    if (!(score >= 1.0f))
        return 0;
    if (score >= 18446744073709551616.0f)
        return ULLONG_MAX;
    return (unsigned long long)score;
}

// --- the running score ------------------------------------------------------------------

void ScoreBoxLogic(GameObject* box, GameData* data, float dt)
{
    data->scoreDigitCount = 0;
    if (data->level == 0 || data->gameOver == 1)
        return;
    data->score += (float)data->scoreMultiplier * 22.5f * dt;
    if (refreshTimer > 0.1f) {
        shownScore = data->score;
        refreshTimer = 0.0f;
    }
    float W = data->screenWidth, H = data->screenHeight;
    float height = W / 40.0f;
    for (unsigned long long v = WholePoints(shownScore); v > 0; v /= 10) {
        AddDigitPicture(box, &ScoreDigitType, (int)(v % 10), (59.0f - (float)data->scoreDigitCount) * W / 60.0f,
                        19.0f * H / 20.0f, height / DIGIT_ASPECT, height);
        data->scoreDigitCount += 1;
    }
    data->lastScore = data->score;
    refreshTimer += dt;
}

// --- the combo ------------------------------------------------------------------------

static float ComboHeight(const GameData* data, float base, float pulse)
{
    float W = data->screenWidth;
    if (data->combo > 1000)
        return (base * W + 50.0f + pulse) * 1.2f;
    return (0.05f * (float)data->combo + base * W + pulse) * 1.2f;
}

static GameObject* AddComboPiece(GameData* data, GameObject* anchor, ObjectType* kind, int digit, float base,
                                 float pulse, float xOffset, float yOffset)
{
    float W = data->screenWidth, H = data->screenHeight;
    float s = ComboHeight(data, base, pulse);
    float width = s / DIGIT_ASPECT;
    float x = W - width / 2.0f - (float)data->comboDigitCount * width + xOffset;
    float y = H / 2.0f + s / 2.0f + yOffset;
    if (kind == &ComboDigitType)
        return AddDigitPicture(anchor, kind, digit, x, y, width, s);
    return AddScreenPicture(anchor, kind, x, y, width, s);
}

void AddComboDigit(GameData* data, GameObject* anchor, int value)
{
    float p = anchor->timer->time;
    GameObject* o = AddComboPiece(data, anchor, &ComboDigitType, value % 10, 0.1f, p, -30.0f, -10.0f);
    PulseColour(o->appearance, data->combo, p);
}

void AddComboDigitShadow(GameData* data, GameObject* anchor, int value)
{
    float p = anchor->timer->time;
    GameObject* o = AddComboPiece(data, anchor, &ComboDigitType, value % 10, 0.11f, 5.0f * p, -20.0f, -10.0f);
    Grey(o->appearance);
}

void ComboBackLogic(GameObject* back, GameData* data, float dt)
{
    int n = data->combo;
    float W = data->screenWidth, H = data->screenHeight;
    Appearance* a = back->appearance;
    float* p = &back->timer->time; // the pulse

    data->comboDigitCount = 0;
    // The backing is a darker shade of the digits. Taken from white as each
    // digit is: from 10000 on the table leaves the colour alone, and the
    // box's own would darken frame by frame to black.
    Appearance digit = *a;
    digit.red = digit.green = digit.blue = 255;
    SetComboColour(&digit, n);
    a->red = (unsigned char)(digit.red > 40 ? digit.red - 40 : 0);
    a->green = (unsigned char)(digit.green > 40 ? digit.green - 40 : 0);
    a->blue = (unsigned char)(digit.blue > 40 ? digit.blue - 40 : 0);

    back->transform->scaleX = 0.05f * (float)n + 0.2f * W + *p;
    back->transform->scaleY = 0.05f * (float)n + 0.2f * H + *p;
    back->transform->x = W - back->transform->scaleX / 2.0f;
    back->transform->y = H / 2.0f;

    if (n != back->timer->number) {
        if (n > 1000 && data->bigComboReached == 0)
            data->bigComboReached = 1;
        back->timer->number = n;
        *p = 20.0f; // a pulse on every change
    }
    back->visible = n != 0;
    if (data->gameOver != 0)
        return;

    for (int v = n; v > 0; v /= 10) {
        AddComboDigit(data, back, v);
        data->comboDigitCount += 1;
        if (*p < 0.0f)
            *p = 0.0f;
    }
    if (n != 0) {
        GameObject* sign = AddComboPiece(data, back, &ComboXType, 0, 0.1f, *p, -30.0f, -10.0f);
        PulseColour(sign->appearance, n, *p);
    }
    data->comboDigitCount = 0;
    for (int v = n; v > 0; v /= 10) {
        AddComboDigitShadow(data, back, v);
        data->comboDigitCount += 1;
    }
    if (n != 0) {
        GameObject* shadow = AddComboPiece(data, back, &ComboXType, 0, 0.11f, 5.0f * *p, -20.0f, -15.0f);
        Grey(shadow->appearance);
    }
    *p -= 80.0f * dt;
    if (*p < 0.0f)
        *p = 0.0f;
}

// --- unlocks and the game-over screen -------------------------------------------------------

void UnlockWatcherLogic(GameObject*, GameData* data, float)
{
    if (WholePoints(data->score) > 5000 && data->unlockedShips[0] == '0')
        data->unlockedShips[0] = '1';
    if (data->bigComboReached != 0 && data->unlockedShips[1] == '0')
        data->unlockedShips[1] = '1';
}

void AddBoardDigit(GameData* data, GameObject* anchor, int digit)
{
    float W = data->screenWidth, H = data->screenHeight;
    float height = W / 20.0f;
    float x = 23.0f * W / 48.0f - (W / 45.0f) * (float)data->scoreDigitCount;
    GameObject* o = AddDigitPicture(anchor, &BoardDigitType, digit, x, H / 1.95f, height / DIGIT_ASPECT, height);
    o->appearance->red = 0;
    o->appearance->green = 255;
    o->appearance->blue = 33;
}

static void AnnounceUnlocks(GameObject* hud, GameData* data)
{
    float W = data->screenWidth, H = data->screenHeight;
    char* ships = data->unlockedShips;
    int ship2 = ships[0] == '1', ship3 = ships[1] == '1';
    if (!ship2 && !ship3)
        return;
    GameObject* o;
    if (ship2 && ship3) {
        o = AddScreenPicture(hud, &UnlockedShip3Type, 62.0f * W / 80.0f, H / 2.0f, W / 10.0f, W / 10.0f);
        o->transform->rotation = VT_HALF_PI;
        o = AddScreenPicture(hud, &UnlockedShip2Type, 54.0f * W / 80.0f, H / 2.0f, W / 10.0f, W / 20.0f);
        o->transform->rotation = VT_HALF_PI;
        ships[0] = ships[1] = '2';
    } else if (ship2) {
        o = AddScreenPicture(hud, &UnlockedShip2Type, 59.0f * W / 80.0f, H / 2.0f, W / 6.0f, W / 12.0f);
        o->transform->rotation = VT_HALF_PI;
        ships[0] = '2';
    } else {
        o = AddScreenPicture(hud, &UnlockedShip3Type, 59.0f * W / 80.0f, H / 2.0f, W / 6.0f, W / 6.0f);
        o->transform->rotation = VT_HALF_PI;
        ships[1] = '2';
    }
    AddScreenPicture(hud, &TryNewType, 3.0f * W / 10.0f, H / 3.0f, W / 2.0f, W / 8.0f);
    AddScreenPicture(hud, &UnlockBoardType, 9.0f * W / 10.0f, H / 2.0f, 2.0f * W / 3.0f, W / 3.0f);
}

static void BuildGameOverScreen(GameObject* hud, GameData* data)
{
    float W = data->screenWidth, H = data->screenHeight;
    data->scoreDigitCount = 0;
    for (unsigned long long v = WholePoints(data->score); v > 0; v /= 10) {
        AddBoardDigit(data, hud, (int)(v % 10));
        data->scoreDigitCount += 1;
    }
    AnnounceUnlocks(hud, data);
    AddNewRecordNotice(hud, data);
    AddScreenPicture(hud, &GameOverTitleType, W / 30.0f, 39.0f * H / 60.0f, 7.0f * W / 18.0f, 7.0f * W / 72.0f);
    AddScreenPicture(hud, &ScoreBoardType, -W / 5.0f, H / 2.0f, 5.0f * W / 6.0f, 5.0f * W / 48.0f);
    float width = W / 3.0f;
    AddScreenPicture(hud, &SelectMessageType, W - width / 2.0f, width / 4.0f, width, width / 2.0f);
    data->score = 0.0f;
    data->scoreMultiplier = 1;
    data->combo = 0;
    data->gameOver = 0;
    if (data->soundOn == 1)
        SoundPlay(MainSoundSystem, DieSound, &EffectChannel);
}

void GameOverHudLogic(GameObject* hud, GameData* data, float)
{
    if (data->level == 0 && data->score > 0.0f && data->gameOver == 1)
        BuildGameOverScreen(hud, data);
    if ((VTInputIsPressed(VT_KEY_R) || VTInputIsPressed(VT_KEY_PAD_START)) && data->level == 0) {
        VTSMRestartState(1);
    } else if (MenuReadConfirm() == MENU_BACK && data->level == 0) {
        AddLoadingCover(hud, data);
        VTSMSetNextState(STATE_MENU);
    }
}

void GameOverTitleLogic(GameObject* title, GameData* data, float dt)
{
    float W = data->screenWidth;
    float target = W / 2.0f - 2.0f * W / 9.0f;
    Transform* t = title->transform;
    t->x += (target - t->x) * 2.0f * dt;
    if (t->x > target - 0.1f)
        t->x = target;
}

void ScoreBoardLogic(GameObject* board, GameData* data, float dt)
{
    float target = data->screenWidth / 8.0f;
    Transform* t = board->transform;
    t->x += (target - t->x) * 6.0f * dt;
    if (t->x > target - 10.1f)
        data->scoreBoardReady = 1;
    if (t->x > target - 0.1f)
        t->x = target;
}

void BoardDigitLogic(GameObject* digit, GameData* data, float)
{
    digit->visible = data->scoreBoardReady != 0;
}

void TryNewLogic(GameObject* message, GameData* data, float dt)
{
    data->stateTimer += dt;
    if (data->stateTimer >= 1.0f) {
        Appearance* a = message->appearance;
        unsigned char level = data->tryNewBlink == 1 ? 255 : 0;
        a->green = level;
        a->blue = level;
        data->stateTimer = 0.0f;
        data->tryNewBlink = data->tryNewBlink == 1 ? 0 : 1;
    }
}
