// The object model: list order and removal, speed limits, the colour and alpha
// objects are drawn with (read back from the screen), the play types' textures.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "harness.h"
#include "objects.h"
#include "vtgraphics.h"
#include "vttextureloading.h"

namespace {

std::vector<GameObject*> Nodes(GameObject* head)
{
    std::vector<GameObject*> nodes;
    for (GameObject* o = head; o; o = o->next)
        nodes.push_back(o);
    return nodes;
}

// A walker that, on its first call, spawns a Boom directly behind itself.
std::vector<ObjectType*> visited;
void SpawnOnce(GameObject* self, GameData*, float)
{
    visited.push_back(self->type);
    if (self->timer->number++ == 0) {
        GameObject* anchor = self;
        AddObject(&anchor);
        self->next->type = &BoomType;
    }
}
void Record(GameObject* self, GameData*, float)
{
    visited.push_back(self->type);
}

} // namespace

TEST(Objects, ListOrderFollowsInsertionBehindTheAnchor)
{
    GameObject* head = NULL;
    AddObject(&head);
    // Init-style creation through the head: head, then newest first.
    ObjectType* kinds[] = {&Asteroid1Type, &Asteroid2Type, &Asteroid3Type};
    for (ObjectType* kind : kinds) {
        AddObject(&head);
        head->next->type = kind;
    }
    std::vector<GameObject*> nodes = Nodes(head);
    ASSERT_EQ(4u, nodes.size());
    EXPECT_EQ(&Asteroid3Type, nodes[1]->type);
    EXPECT_EQ(&Asteroid1Type, nodes[3]->type);
    EXPECT_EQ(&DummyType, nodes[0]->type);

    // A spawn during a walk lands behind the spawner and is met in the same walk.
    Asteroid2Type.logic = SpawnOnce;
    Asteroid1Type.logic = Asteroid3Type.logic = DummyType.logic = BoomType.logic = Record;
    AddTimer(nodes[2]);
    visited.clear();
    for (GameObject* o = head; o; o = o->next)
        o->type->logic(o, NULL, 0.0f);
    std::vector<ObjectType*> expected = {&DummyType, &Asteroid3Type, &Asteroid2Type, &BoomType, &Asteroid1Type};
    EXPECT_EQ(expected, visited);

    FreeObjectList(&head);
    EXPECT_EQ(nullptr, head);
    Asteroid1Type.logic = Asteroid2Type.logic = Asteroid3Type.logic = DummyType.logic = BoomType.logic = NULL;
}

TEST(Objects, OnlyDeadObjectsOfRemovableKindsLeave)
{
    GameObject* head = NULL;
    AddObject(&head);
    head->visible = 0; // the head itself is never looked at
    AddObject(&head);
    head->next->type = &AsteroidSpawnerType; // invisible from the start, stays
    head->next->visible = 0;
    AddObject(&head);
    head->next->type = &BoomType; // removable but alive
    RemoveDeadSuccessor(head);
    RemoveDeadSuccessor(head->next);
    RemoveDeadSuccessor(head->next->next); // no successor: nothing
    EXPECT_EQ(3u, Nodes(head).size());
    head->next->visible = 0;
    RemoveDeadSuccessor(head);
    std::vector<GameObject*> nodes = Nodes(head);
    ASSERT_EQ(2u, nodes.size());
    EXPECT_EQ(&AsteroidSpawnerType, nodes[1]->type);
    FreeObjectList(&head);
}

TEST(Objects, SpeedLimits)
{
    struct Case { int shipType, noLimit; float expected; } cases[] = {
        {1, 0, 100.0f}, {3, 0, 100.0f}, {2, 0, 120.00000762939453f}, {2, 1, 130.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ship " << c.shipType << " unlimited " << c.noLimit);
        GameData data{};
        data.shipType = c.shipType;
        GameObject* o = NewObject();
        AddObjectState(o);
        o->state->noSpeedLimit = c.noLimit;
        o->state->velX = 130.0f;
        o->state->velY = -130.0f;
        ApplyAcceleration(o, &data, 0.1f);
        EXPECT_EQ(c.expected, o->state->velX);
        EXPECT_EQ(-c.expected, o->state->velY);
        // Half the acceleration times dt is added.
        o->state->velX = o->state->velY = 0.0f;
        o->state->accelX = 100.0f;
        o->state->accelY = -40.0f;
        ApplyAcceleration(o, &data, 0.5f);
        EXPECT_FLOAT_EQ(25.0f, o->state->velX);
        EXPECT_FLOAT_EQ(-10.0f, o->state->velY);
        GameObject* list = o;
        FreeObjectList(&list);
    }
}

namespace {
// Screen object of 40 x 40 pixels centred at (x, y), with an appearance if asked.
GameObject* Square(GameObject** head, float x, float y, bool appearance = false)
{
    AddObject(head);
    GameObject* o = (*head)->next ? (*head)->next : *head;
    AddTransform(o);
    *o->transform = Transform{x, y, 40, 40, 0, 0};
    o->screenSpace = 1;
    if (appearance)
        AddAppearance(o);
    return o;
}
} // namespace

TEST(Objects, DrawnColourAlphaAndPlacement)
{
    EXPECT_EQ(0, RunInChild([] {
        const int W = 320, H = 240;
        StartTestEngine(W, H);
        std::string path = WriteTestTga("white", 4, 4, 24, std::vector<unsigned char>(48, 255));
        DummyType.texture = VTGraphicsLoadTexture(path.c_str());
        remove(path.c_str());

        GameObject* head = NULL;
        Square(&head, 30, 30);                                    // no appearance: opaque white
        Square(&head, 90, 30, true)->appearance->blue = 0;        // the second colour byte drives blue
        Square(&head, 150, 30, true)->appearance->alpha = 300.0f; // low 8 bits: 44
        Square(&head, 210, 30)->visible = 0;
        GameObject* world = Square(&head, 0, 0, true); // a world object at the origin, 4 units wide
        world->screenSpace = 0;
        world->transform->scaleX = world->transform->scaleY = 4;
        world->appearance->red = world->appearance->green = 0; // blue only

        VTGraphicsStartDraw();
        for (GameObject* o = head; o; o = o->next)
            DrawObject(*o);
        VTCapture capture;
        ASSERT_EQ(1, VTGraphicsReadFrame(&capture));
        auto rgb = [&](int x, int y) {
            const unsigned char* p = capture.pixels + 3 * (y * W + x);
            return std::vector<int>{p[0], p[1], p[2]};
        };
        EXPECT_EQ((std::vector<int>{255, 255, 255}), rgb(30, 30));
        EXPECT_EQ((std::vector<int>{255, 255, 0}), rgb(90, 30));
        EXPECT_NEAR(44, rgb(150, 30)[0], 1);
        EXPECT_NEAR(44, rgb(150, 30)[2], 1);
        EXPECT_EQ((std::vector<int>{0, 0, 0}), rgb(210, 30));
        // The world square is 4 units of the 120 the default camera shows: 8 pixels.
        EXPECT_EQ((std::vector<int>{0, 0, 255}), rgb(160, 120));
        EXPECT_EQ((std::vector<int>{0, 0, 0}), rgb(160 + 6, 120));
        VTGraphicsFreeCapture(&capture);
        VTGraphicsEndDraw();
        FreeObjectList(&head);
        VTGraphicsUnloadTexture(DummyType.texture);

        // Every play type loads its picture and gives it back; kinds drawing
        // the same file share one texture, and kinds drawing different
        // files never do.
        LoadTutorialObjectTypes(NULL);
        EXPECT_EQ(99, VTGraphicsGetTextureCount());
        std::map<std::string, unsigned> byFile;
        std::set<unsigned> ids;
        for (int i = 0; i < PlayObjectTypeCount(); i++) {
            unsigned id = PlayObjectType(i)->texture;
            ASSERT_NE(VT_TEXTURE_NONE, id);
            EXPECT_EQ(id, byFile.emplace(PlayObjectTypeImage(i), id).first->second) << PlayObjectTypeImage(i);
            ids.insert(id);
        }
        EXPECT_EQ(byFile.size(), ids.size());
        UnloadPlayObjectTypes(NULL);
        EXPECT_EQ(0, VTGraphicsGetTextureCount());
        GLint texture = 0;
        for (unsigned id : ids)
            texture += glIsTexture(id);
        EXPECT_EQ(0, texture) << "a shared texture outlived its last unload";
        // Play leaves the tutorial's thirteen talk and quest panels on disk.
        LoadPlayObjectTypes(NULL);
        EXPECT_EQ(86, VTGraphicsGetTextureCount());
        EXPECT_EQ(VT_TEXTURE_NONE, Talk1Type.texture);
        EXPECT_EQ(VT_TEXTURE_NONE, QuestType.texture);
        UnloadPlayObjectTypes(NULL);
        EXPECT_EQ(0, VTGraphicsGetTextureCount());
    }));
}
