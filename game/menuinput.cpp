// menuinput.cpp -- confirm/back, directions from keys and sticks, and the
// framed repeat of the menu cursor.
#include "menuinput.h"

#include <math.h>

#include "soundbank.h"
#include "vtinput.h"
#include "vtmath.h"

// Sector bounds in single precision; a stick exactly on one points nowhere.
static const float QUARTER_PI = VT_PI / 4.0f;
static const float THREE_QUARTER_PI = VT_PI * 0.75f;
static const float FIVE_QUARTER_PI = VT_PI * 1.25f;
static const float SEVEN_QUARTER_PI = VT_PI * 1.75f;

// The stick's angle in [0, 2 pi), or -1 when it is pushed no more than half way.
static float StickAngle(float x, float y)
{
    VTVec2 stick = {x, y};
    if (!(VTVec2Length(&stick) > 0.5f))
        return -1.0f;
    float angle = (float)atan2((double)y, (double)x);
    if (angle < 0.0f)
        angle += VT_TWO_PI;
    return angle;
}

static int IsRightward(float angle)
{
    return (angle > SEVEN_QUARTER_PI && angle < VT_TWO_PI) || (angle > 0.0f && angle < QUARTER_PI);
}

static int IsLeftward(float angle)
{
    return angle > THREE_QUARTER_PI && angle < FIVE_QUARTER_PI;
}

static int StickDirection(float x, float y)
{
    float angle = StickAngle(x, y);
    if (angle < 0.0f)
        return MENU_DIR_NONE;
    if (angle > QUARTER_PI && angle < THREE_QUARTER_PI)
        return MENU_DIR_UP;
    if (IsLeftward(angle))
        return MENU_DIR_LEFT;
    if (angle > FIVE_QUARTER_PI && angle < SEVEN_QUARTER_PI)
        return MENU_DIR_DOWN;
    if (IsRightward(angle))
        return MENU_DIR_RIGHT;
    return MENU_DIR_NONE;
}

static int StickLeftRight(float x, float y)
{
    float angle = StickAngle(x, y);
    if (angle < 0.0f)
        return MENU_DIR_NONE;
    if (IsRightward(angle))
        return MENU_DIR_RIGHT;
    if (IsLeftward(angle))
        return MENU_DIR_LEFT;
    return MENU_DIR_NONE;
}

int MenuReadDirection(void)
{
    int direction = StickDirection(VTInputGetLeftStickX(), VTInputGetLeftStickY());
    if (direction == MENU_DIR_NONE)
        direction = StickDirection(VTInputGetRightStickX(), VTInputGetRightStickY());
    if (direction != MENU_DIR_NONE)
        return direction;
    if (VTInputIsPressed(VT_KEY_RIGHT) || VTInputIsPressed(VT_KEY_PAD_RIGHT) || VTInputIsPressed(VT_KEY_PAD_RSHOULDER))
        return MENU_DIR_RIGHT;
    if (VTInputIsPressed(VT_KEY_LEFT) || VTInputIsPressed(VT_KEY_PAD_LEFT) || VTInputIsPressed(VT_KEY_PAD_LSHOULDER))
        return MENU_DIR_LEFT;
    if (VTInputIsPressed(VT_KEY_DOWN) || VTInputIsPressed(VT_KEY_PAD_DOWN))
        return MENU_DIR_DOWN;
    if (VTInputIsPressed(VT_KEY_UP) || VTInputIsPressed(VT_KEY_PAD_UP))
        return MENU_DIR_UP;
    return MENU_DIR_NONE;
}

int MenuReadStickLeftRight(void)
{
    int direction = StickLeftRight(VTInputGetLeftStickX(), VTInputGetLeftStickY());
    if (direction == MENU_DIR_NONE)
        direction = StickLeftRight(VTInputGetRightStickX(), VTInputGetRightStickY());
    return direction;
}

int MenuReadConfirm(void)
{
    static const int confirmKeys[] = {VT_KEY_SPACE,     VT_KEY_ENTER,      VT_KEY_PAD_START, VT_KEY_PAD_A,
                                      VT_KEY_PAD_X,     VT_KEY_PAD_LTHUMB, VT_KEY_PAD_RTHUMB};
    for (int key : confirmKeys)
        if (VTInputIsTriggered(key))
            return MENU_CONFIRM;
    if (VTInputIsTriggered(VT_KEY_PAD_BACK))
        return MENU_BACK;
    // Escape counts while held, on every frame.
    if (VTInputIsPressed(VT_KEY_ESCAPE))
        return MENU_BACK;
    return MENU_NONE;
}

int MenuRepeatDirection(GameData* data, int first, int second)
{
    int direction = MenuReadDirection();
    // A release, or a turn to another direction, ends the wait for the
    // repeat: only a direction held since the last move waits 15 frames.
    if (data->menuHeldDirection != MENU_DIR_NONE && direction != data->menuHeldDirection) {
        data->menuHeldDirection = MENU_DIR_NONE;
        if (data->menuRepeatTimer < MENU_REPEAT_WAIT)
            data->menuRepeatTimer = MENU_REPEAT_WAIT;
    }
    int acted = MENU_DIR_NONE;
    if (data->menuRepeatTimer >= MENU_REPEAT_WAIT) {
        if (direction == MENU_DIR_NONE) {
            data->menuRepeatTimer = MENU_REPEAT_WAIT;
        } else if (direction == first || direction == second) {
            acted = direction;
            data->menuHeldDirection = direction;
            data->menuRepeatTimer = 0.0f;
        }
    }
    data->menuRepeatTimer += 0.1f;
    return acted;
}

void MenuNavigate(GameData* data, int rowCount)
{
    int direction = MenuRepeatDirection(data, MENU_DIR_UP, MENU_DIR_DOWN);
    if (direction == MENU_DIR_UP)
        data->menuIndex = data->menuIndex == 1 || data->menuIndex == 0 ? rowCount : data->menuIndex - 1;
    else if (direction == MENU_DIR_DOWN)
        data->menuIndex = data->menuIndex == rowCount ? 1 : data->menuIndex + 1;
    if (direction != MENU_DIR_NONE && data->soundOn == 1)
        SoundPlaySelecting();
}
