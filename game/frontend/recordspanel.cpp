// recordspanel.cpp -- the records panel of the ship-select screen. The
// numbers are objects of the digit strip laid over the panel picture; they
// are rebuilt only when the ship on display changes.
#include "recordspanel.h"

#include <stdio.h>

#include "records.h"
#include "screens.h"

ObjectType RecordsPanelType, RecordDigitType, RecordDashType;

static RecordTable table;

// The panel picture's layout (tools/assetgen/src/gen_records.cpp), in units
// of the panel's height from its bottom-left corner.
static const float PANEL_ASPECT = 1.25f;
static const float RANK_RIGHT = 0.13f, SCORE_RIGHT = 0.55f, LEVEL_CENTRE = 0.70f, DATE_CENTRE = 1.00f;
static const float ROW_TOP = 0.655f, ROW_PITCH = 0.064f, ROW_DIGIT = 0.052f;
static const float BEST_RIGHT = 1.18f, BEST_MIDDLE = 0.865f, BEST_DIGIT = 0.075f;
// Digits stand a little apart, as on the game-over board.
static const float ADVANCE = 1.2f / DIGIT_ASPECT; // per unit of digit height

typedef struct Colour { unsigned char red, green, blue; } Colour;
static const Colour RANK = {120, 150, 190}, SCORE = {255, 255, 255}, LEVEL = {150, 230, 255}, DATE = {190, 200, 220};
static const Colour BEST = {255, 196, 100};

void RecordsPanelRect(float W, float H, float rect[4])
{
    // Between the help strips (3W/32 high) and the left arrow's foot (7H/12),
    // left of the ship's description (from W/3).
    float margin = 0.015f * W;
    float bottom = 3.0f * W / 32.0f + 0.01f * H, top = 7.0f * H / 12.0f - 0.01f * H;
    float height = top - bottom;
    float width = W / 3.0f - 2.0f * margin;
    if (width < PANEL_ASPECT * height)
        height = width / PANEL_ASPECT;
    else
        width = PANEL_ASPECT * height;
    rect[0] = margin + width / 2.0f;
    rect[1] = (bottom + top) / 2.0f;
    rect[2] = width;
    rect[3] = height;
}

GameObject* AddRecordsPanel(GameObject** head, GameData* data)
{
    RecordsLoad(&table);
    float rect[4];
    RecordsPanelRect(data->screenWidth, data->screenHeight, rect);
    GameObject* panel = AddScreenObject(head, &RecordsPanelType, rect[0], rect[1], rect[2], rect[3]);
    AddTimer(panel); // number: the ship whose runs are shown, 0 for none yet
    return panel;
}

// One cell of the strip (a digit 0-9) or a dash, centred at (x, y) in pixels.
static void AddCell(GameObject* panel, int digit, float x, float y, float height, Colour colour)
{
    float width = height / DIGIT_ASPECT;
    GameObject* o = digit < 0 ? AddScreenPicture(panel, &RecordDashType, x, y, width, height)
                              : AddDigitPicture(panel, &RecordDigitType, digit, x, y, width, height);
    o->appearance->red = colour.red;
    o->appearance->green = colour.green;
    o->appearance->blue = colour.blue;
}

// Digits of value right-aligned at x (pixels); a dash for a negative value.
static void AddNumber(GameObject* panel, long long value, float right, float y, float height, Colour colour)
{
    float advance = ADVANCE * height;
    float x = right - advance / 2.0f;
    do {
        AddCell(panel, value < 0 ? -1 : (int)(value % 10), x, y, height, colour);
        value /= 10;
        x -= advance;
    } while (value > 0);
}

// Text of digits and dashes centred at x.
static void AddText(GameObject* panel, const char* text, int length, float centre, float y, float height,
                    Colour colour)
{
    float advance = ADVANCE * height;
    for (int i = 0; i < length; i++) {
        float x = centre + ((float)i - (float)(length - 1) / 2.0f) * advance;
        AddCell(panel, text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1, x, y, height, colour);
    }
}

static void BuildNumbers(GameObject* panel, int ship)
{
    const Transform* t = panel->transform;
    float unit = t->scaleY;
    float left = t->x - t->scaleX / 2.0f, bottom = t->y - t->scaleY / 2.0f;
    int count = table.count[ship - 1];
    const RecordRun* runs = table.runs[ship - 1];
    AddNumber(panel, count > 0 ? runs[0].score : -1, left + BEST_RIGHT * unit, bottom + BEST_MIDDLE * unit,
              BEST_DIGIT * unit, BEST);
    float height = ROW_DIGIT * unit;
    for (int row = 0; row < RECORD_RUNS; row++) {
        float y = bottom + (ROW_TOP - (float)row * ROW_PITCH) * unit;
        AddNumber(panel, row + 1, left + RANK_RIGHT * unit, y, height, row == 0 ? BEST : RANK);
        if (row < count) {
            char level[12];
            int length = snprintf(level, sizeof level, "%d", runs[row].level);
            AddNumber(panel, runs[row].score, left + SCORE_RIGHT * unit, y, height, row == 0 ? BEST : SCORE);
            AddText(panel, level, length, left + LEVEL_CENTRE * unit, y, height, row == 0 ? BEST : LEVEL);
            AddText(panel, runs[row].date, 10, left + DATE_CENTRE * unit, y, height, row == 0 ? BEST : DATE);
        } else {
            // An empty place: a dash where its score would stand.
            AddNumber(panel, -1, left + SCORE_RIGHT * unit, y, height, RANK);
        }
    }
}

static int IsNumber(const GameObject* o)
{
    return o && (o->type == &RecordDigitType || o->type == &RecordDashType);
}

void RecordsPanelLogic(GameObject* panel, GameData* data, float)
{
    int ship = data->shipType;
    if (ship >= 1 && ship <= RECORD_SHIPS && ship != panel->timer->number) {
        while (IsNumber(panel->next))
            DeleteSuccessor(panel, panel->next);
        BuildNumbers(panel, ship);
        panel->timer->number = ship;
    }
}
