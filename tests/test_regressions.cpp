// Faults players met, each pinned where it lived: long runs' scores, the
// right trigger read twice in a frame, shared pictures, sound off and fresh
// runs.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <map>
#include <set>
#include <string>

#include "collision.h"
#include "harness.h"
#include "objects.h"
#include "platform/vtaudio.h"
#include "play/ship.h"
#include "states.h"
#include "vtinput.h"
#include "vtstatemanager.h"
#include "vttextureloading.h"

namespace {

GameData Record()
{
    GameData data;
    GameDataSetStartValues(&data);
    data.fuel = 50.0f;
    data.hitGraceTimer = -1.0f;
    data.nearMissDistance = 99.0f;
    return data;
}

// Appends a world object of kind behind the list's last node.
GameObject* Add(GameObject** head, ObjectType* kind, float x, float y, float size, float velY = 0.0f)
{
    GameObject* last = *head;
    while (last->next)
        last = last->next;
    GameObject* o = AddPlacedObject(&last, kind, x, y, size, size);
    AddTimer(o);
    AddAppearance(o);
    AddObjectState(o);
    o->state->power = 1.0f;
    o->state->baseScaleX = o->state->baseScaleY = size;
    o->state->velY = velY;
    return o;
}

} // namespace

TEST(Regressions, LongRunsBankTheirWholeScore)
{
    GameData data = Record();
    GameObject* head = NULL;
    AddObject(&head);
    // A costly hit banks multiplier x combo, past what an int holds.
    data.scoreMultiplier = 32768;
    data.combo = 98304;
    data.score = 500000.0f;
    GameObject* ship = Add(&head, &Ship1Type, 0, 0, 16, 100.0f);
    ship->state->power = 100.0f;
    Add(&head, &Asteroid1Type, 0, 12, 10, -100.0f);
    CollideShip(&Ship1Type, ship, &head, &data, 0.0f);
    EXPECT_FLOAT_EQ(500000.0f + 3221225472.0f, data.score);
    FreeObjectList(&head);

    // Bullet strikes at a long run's multiplier.
    data = Record();
    data.scoreMultiplier = 1 << 28;
    AddObject(&head);
    Add(&head, &Asteroid3Type, 0, 0, 10);
    Add(&head, &SatelliteType, 3, 0, 10);
    GameObject* bullet = Add(&head, &BulletType, 2, 0, 2);
    CollideBullet(bullet, &head, &data);
    EXPECT_FLOAT_EQ(2 * 30 * 268435456.0f, data.score);
    EXPECT_EQ(2 * 3 * (1 << 28), data.combo);
    FreeObjectList(&head);

    FreeObjectList(&head);
}

TEST(Regressions, ARightTriggerPullCountsForEveryReaderOfItsFrame)
{
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(320, 240);
        VTPadState pad = {};
        VTPlatformScriptPad(&pad);
        VTInputUpdate();
        EXPECT_EQ(0, RightTriggerPulled());
        pad.packetNumber++;
        pad.rightTrigger = 255;
        VTPlatformScriptPad(&pad);
        VTInputUpdate();
        // The ship's ability and the tutorial's ability panel ask in one frame.
        EXPECT_EQ(1, RightTriggerPulled());
        EXPECT_EQ(1, RightTriggerPulled());
        VTInputUpdate();
        EXPECT_EQ(0, RightTriggerPulled()) << "held, not pulled again";
    }));
}

TEST(Regressions, PicturesAreSharedByFileAndPlayLeavesUndrawnOnesOnDisk)
{
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(320, 240);
        LoadTutorialObjectTypes(NULL);
        EXPECT_EQ(97, VTGraphicsGetTextureCount());
        std::map<std::string, unsigned> byFile;
        std::set<unsigned> ids;
        for (int i = 0; i < PlayObjectTypeCount(); i++) {
            unsigned id = PlayObjectType(i)->texture;
            // The menu's quit button and the fourth nebula never appear in play.
            if (PlayObjectType(i)->traits & KIND_NOT_IN_PLAY)
                continue;
            ASSERT_NE(VT_TEXTURE_NONE, id);
            EXPECT_EQ(id, byFile.emplace(PlayObjectTypeImage(i), id).first->second) << PlayObjectTypeImage(i);
            ids.insert(id);
        }
        EXPECT_EQ(byFile.size(), ids.size()) << "two files share a texture";
        UnloadPlayObjectTypes(NULL);
        EXPECT_EQ(0, VTGraphicsGetTextureCount());
        int alive = 0;
        for (unsigned id : ids)
            alive += glIsTexture(id);
        EXPECT_EQ(0, alive) << "a shared texture outlived its last unload";
        LoadPlayObjectTypes(NULL);
        EXPECT_EQ(84, VTGraphicsGetTextureCount());
        EXPECT_EQ(VT_TEXTURE_NONE, Talk1Type.texture);
        EXPECT_EQ(VT_TEXTURE_NONE, Nebula4Type.texture);
        UnloadPlayObjectTypes(NULL);
        EXPECT_EQ(0, VTGraphicsGetTextureCount());
    }));
}

// A run started after another, however that one was left, starts from
// nothing; with sound off nothing is decoded on the way.
TEST(Regressions, EveryRunStartsFreshAndSoundOffDecodesNothing)
{
    EXPECT_EQ(0, RunInChild([] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        TempDataHome files;
        files.Write("Option.txt", "001");
        files.Write("Tutorial.txt", "0");
        GameScript script;
        script.frames = 12;
        script.onFrame = [](int frame, GameData* data) {
            if (frame == 0) { // what a run left through the pause menu keeps
                data->score = 228.8f;
                data->combo = 40;
                data->scoreMultiplier = 2;
                data->level = 1;
                VTSMSetNextState(STATE_PLAY);
            } else if (frame == 3) {
                EXPECT_TRUE(data->score < 1.0f && data->combo == 0 && data->scoreMultiplier == 1);
                data->score = 4294967296.0f; // 2^32: whole digits, and ship 2 unlocked
            } else if (frame == 11) {
                EXPECT_EQ(10, data->scoreDigitCount);
                EXPECT_EQ('1', data->unlockedShips[0]);
                EXPECT_EQ(0, VTAudioDecodeCount());
            }
        };
        RunGame(script);
    }));
}
