// background.cpp -- the background tiler.
#include "background.h"

#include "vtgraphics.h"

static int HasTileAt(GameObject* tiler, float x, float y)
{
    for (GameObject* o = tiler; o; o = o->next)
        if (o->type == &StaticBackgroundType && o->transform && o->transform->x == x && o->transform->y == y)
            return 1;
    return 0;
}

void BackgroundTileLogic(GameObject* tiler, GameData*, float)
{
    const Transform* own = tiler->transform;
    // Neighbouring tiles overlap by one unit so no seam shows.
    float w = own->scaleX - 1.0f;
    float h = own->scaleY - 1.0f;
    if (!(w > 0.0f && h > 0.0f))
        return; // a tiler one unit wide or less has no grid to lay
    VTVec2 topLeft = VTGraphicsGetWorldTopLeft();
    VTVec2 bottomRight = VTGraphicsGetWorldBotRight();

    // Cells are matched by exact position, so the grid is always reached by
    // the same additions from the tiler's own corner.
    float x = own->x - w / 2.0f;
    float y = own->y + h / 2.0f;
    while (x > topLeft.x)
        x -= w;
    while (topLeft.y > y)
        y += h;

    for (float cy = y - h / 2.0f; cy >= bottomRight.y - h; cy -= h) {
        for (float cx = x + w / 2.0f; cx <= bottomRight.x + w; cx += w) {
            if (HasTileAt(tiler, cx, cy))
                continue;
            GameObject* anchor = tiler;
            AddPlacedObject(&anchor, &StaticBackgroundType, cx, cy, own->scaleX, own->scaleY);
        }
    }
}
