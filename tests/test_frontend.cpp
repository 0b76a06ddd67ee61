// The screens outside play, run headless as the program runs them, with play
// and the tutorial ending the run when reached. Checks run inside the child
// at frame boundaries and just before a state frees its list.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "frontend/credits.h"
#include "frontend/menu.h"
#include "frontend/options.h"
#include "frontend/select.h"
#include "frontend/splash.h"
#include "harness.h"
#include "kelvaro.h"
#include "savedfiles.h"
#include "soundbank.h"
#include "states.h"
#include "vtapplication.h"

namespace {

// Windows virtual keys.
enum : unsigned long { VK_ENTER = 13, VK_ESC = 27, VK_SPACE = 32, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39,
                       VK_DOWN = 40, VK_7 = 0x37, VK_8 = 0x38 };

struct Lifecycle
{
    int loads[STATE_COUNT], inits[STATE_COUNT], shutdowns[STATE_COUNT], unloads[STATE_COUNT];
    int frames; // frame hooks run: fewer than scripted when the game quit
    int boxes;
};
Lifecycle* life;

struct Script
{
    int start = STATE_MENU;
    int frames = 60;
    double frameTime = 1.0 / 60.0;
    bool sound = false;             // SDL's dummy device, so the bank really plays
    int width = 640, height = 360;  // 0: the resolution option's window
    // At each frame's pump, before its Update: keys posted here act in this
    // frame, pad changes in the next.
    std::function<void(int frame, GameData* data)> onFrame;
    std::function<void(int state, GameData* data)> onShutdown; // before the list is freed
};
const Script* script;
int frameNumber;
VTPadState pad;

void NoLoad(GameData*) {}
void StubInit(GameData* data) { GameDataResetSession(data); }
void StubUpdate(GameData*, float) { VTSMQuit(1); }

const VTStateFunctions screens[STATE_COUNT] = {
    {MenuLoad, MenuInit, MenuUpdate, MenuShutdown, MenuUnload},
    {OptionLoad, OptionInit, OptionUpdate, OptionShutdown, OptionUnload},
    {SelectLoad, SelectInit, SelectUpdate, SelectShutdown, SelectUnload},
    {NoLoad, StubInit, StubUpdate, NoLoad, NoLoad},
    {NoLoad, StubInit, StubUpdate, NoLoad, NoLoad},
    {SplashLoad, SplashInit, SplashUpdate, SplashShutdown, SplashUnload},
    {LogoLoad, LogoInit, LogoUpdate, LogoShutdown, LogoUnload},
    {CreditLoad, CreditInit, CreditUpdate, CreditShutdown, CreditUnload},
};

template <int Id>
struct Counted
{
    static void Load(GameData* d) { life->loads[Id]++; screens[Id].Load(d); }
    static void Init(GameData* d) { life->inits[Id]++; screens[Id].Init(d); }
    static void Update(GameData* d, float dt) { screens[Id].Update(d, dt); }
    static void Unload(GameData* d) { life->unloads[Id]++; screens[Id].Unload(d); }
    static void Shutdown(GameData* d)
    {
        life->shutdowns[Id]++;
        if (script->onShutdown)
            script->onShutdown(Id, d);
        screens[Id].Shutdown(d);
    }
    static constexpr VTStateFunctions functions = {Load, Init, Update, Shutdown, Unload};
};
const VTStateFunctions* const counted[STATE_COUNT] = {
    &Counted<0>::functions, &Counted<1>::functions, &Counted<2>::functions, &Counted<3>::functions,
    &Counted<4>::functions, &Counted<5>::functions, &Counted<6>::functions, &Counted<7>::functions};

void OnPump(void*)
{
    VTPlatformAdvanceClock(script->frameTime);
    if (frameNumber < script->frames) {
        life->frames = frameNumber + 1;
        if (script->onFrame)
            script->onFrame(frameNumber, VTSMGetGameData());
        VTPlatformScriptPad(&pad);
    } else if (frameNumber == script->frames) {
        PostMessage(VT_WM_CLOSE, 0, 0);
    }
    frameNumber++;
}

int CountBox(const char*, const char*)
{
    life->boxes++;
    return VT_ANSWER_NO;
}

// The program's start-up with these states, in a child; its exit status.
int RunScreens(const Script& s)
{
    life = SharedBlock<Lifecycle>();
    return RunInChild([&s] {
        script = &s;
        // No driver of that name: silent, and nothing decoded.
        setenv("SDL_AUDIODRIVER", s.sound ? "dummy" : "none", 1);
        VTPlatformSetMessageBoxHook(CountBox);
        VTPlatformUseVirtualClock();
        VTPlatformScriptPad(&pad);
        VTPlatformSetFrameHook(OnPump, NULL);
        GameData data;
        GameDataSetStartValues(&data);
        LoadTutorialFile(&data);
        LoadOptionFile(&data);
        int width = s.width, height = s.height;
        if (width == 0)
            ResolutionToSize(data.resolution, &width, &height);
        VTApplicationInitInfo info = {NULL, "Kelvaro", &data, (int)sizeof data, height, width, 0};
        VTApplicationInit(&info);
        for (const VTStateFunctions* functions : counted)
            VTSMAddState(functions);
        VTSMSetStartState(s.start);
        VTApplicationUpdate();
        VTApplicationShutdown();
    });
}

void Tap(int frame, int at, unsigned long vk)
{
    if (frame == at || frame == at + 1)
        PostKey(vk, frame == at);
}

GameObject* Find(GameObject* head, const ObjectType* type, const ObjectType* orType = NULL)
{
    while (head && head->type != type && head->type != orType)
        head = head->next;
    return head;
}

// The dim over the whole screen, then the loading picture, directly behind
// anchor and over everything (z 1).
void ExpectCoverBehind(const GameObject* anchor, const GameData* d)
{
    const GameObject* dim = anchor->next;
    ASSERT_TRUE(dim && dim->type == &BlackScreenType && dim->next && dim->next->type == &LoadingScreenType);
    const Transform expectDim = {d->screenWidth / 2, d->screenHeight / 2, d->screenWidth, d->screenHeight, 1, 0};
    EXPECT_EQ(0, memcmp(&expectDim, dim->transform, sizeof expectDim));
    EXPECT_EQ(1.0f, dim->next->transform->z);
    EXPECT_EQ(100.0f, dim->appearance->alpha);
    EXPECT_EQ(2, dim->screenSpace + dim->next->screenSpace);
}

} // namespace

TEST(FrontEnd, SplashScreensRunOnTheirClocksAlone)
{
    TempDataHome home;
    Script s;
    s.start = STATE_SPLASH;
    s.frameTime = 0.25;
    s.frames = 32;
    s.onFrame = [](int frame, GameData* d) {
        Tap(frame, 2, VK_SPACE); // keys and buttons skip nothing
        Tap(frame, 4, VK_ESC);
        Tap(frame, 12, VK_ENTER);
        pad.buttons = frame == 3 ? VT_PAD_BACK | VT_PAD_A : 0;
        // Ten updates: the first gets dt 0, the tenth takes the clock past 2 s.
        EXPECT_EQ(frame < 10 ? STATE_SPLASH : frame < 28 ? STATE_LOGO : STATE_MENU, VTSMGetCurrentState()) << frame;
        if (frame > 10 && frame < 28) {
            EXPECT_FLOAT_EQ(0.25f * (frame - 11), d->stateTimer);
            // The sound library's logo, half as high, from the update that passes 2 s.
            GameObject* logo = Find(logoList, frame >= 20 ? &FmodLogoType : &TeamLogoType);
            ASSERT_NE(nullptr, logo) << frame;
            EXPECT_FLOAT_EQ(d->screenWidth / (frame >= 20 ? 4 : 2), logo->transform->scaleY);
        }
    };
    EXPECT_EQ(0, RunScreens(s));
    EXPECT_EQ(32, life->frames) << "nothing quit";
    EXPECT_EQ(1, life->unloads[STATE_SPLASH] * life->unloads[STATE_LOGO] * life->inits[STATE_MENU]);
    EXPECT_EQ(0, life->boxes) << "every texture released";
}

TEST(FrontEnd, MenuMovesOverFourRowsAndWraps)
{
    TempDataHome home;
    home.Write("Option.txt", "011");
    Script s;
    s.sound = true;
    s.frames = 70;
    s.onFrame = [](int frame, GameData* d) {
        // A fresh press acts at once, then the cursor rests 15 frames.
        for (int at : {2, 18, 34, 50})
            Tap(frame, at, VK_DOWN);
        Tap(frame, 66, VK_UP);
        if (frame == 1) {
            EXPECT_EQ(nullptr, Find(menuList, &BackgroundTileType)) << "the tiler ran once and stays a tile";
            EXPECT_EQ(1, VTAudioIsPlaying(MenuMusicChannel));
            EXPECT_EQ(nullptr, EffectChannel);
        }
        // The row after the first frame and after each press: frames 1, 3, 19, 35, 51, 67.
        const int rowAfter[] = {1, 2, 3, 4, 1, 4};
        if (frame % 16 != 3 && frame != 1)
            return;
        int row = rowAfter[frame / 16 + (frame > 1)];
        EXPECT_EQ(row, d->menuIndex) << frame;
        // The bar steps down a tenth of the screen a row; the quit bar is narrower.
        const Transform* bar = Find(menuList, &MenuCursorType)->transform;
        EXPECT_NEAR(7 * d->screenHeight / 20 - (row - 1) * d->screenHeight / 10, bar->y, 0.001f);
        EXPECT_FLOAT_EQ(row == 4 ? d->screenWidth / 8 : d->screenWidth / 5, bar->scaleX);
        EXPECT_EQ(frame > 1, EffectChannel != nullptr) << "every move ticks";
    };
    EXPECT_EQ(0, RunScreens(s));
    EXPECT_EQ(70, life->frames);
}

TEST(FrontEnd, MenuButtonsChangeStateBehindTheCoverOrQuit)
{
    struct Case { int row; unsigned long key; int state; };
    static const Case cases[] = {{1, VK_SPACE, STATE_SELECT}, {2, VK_SPACE, STATE_OPTION}, {3, VK_SPACE, STATE_CREDIT},
                                 {4, VK_SPACE, -1}, {1, VK_ESC, -1}, {1, 0, -1}}; // 0: pad back
    static const Case* c;
    for (const Case& each : cases) {
        c = &each;
        SCOPED_TRACE(c - cases);
        TempDataHome home;
        home.Write("Option.txt", c == cases ? "011" : "001");
        Script s;
        s.sound = true; // a device every time: only the option keeps it shut
        s.frames = 60;
        s.onFrame = [](int frame, GameData*) {
            for (int move = 1; move < c->row; move++)
                Tap(frame, 16 * move, VK_DOWN);
            if (frame == 50) {
                EXPECT_EQ(nullptr, EffectChannel) << "silent so far: what plays next is the confirm";
            }
            if (c->key != 0)
                Tap(frame, 50, c->key);
            pad.buttons = c->key == 0 && frame == 49 ? VT_PAD_BACK : 0;
            if (frame == 51 && c->state >= 0) {
                EXPECT_EQ(c->state, VTSMGetCurrentState());
            }
        };
        s.onShutdown = [](int state, GameData* d) {
            if (state != STATE_MENU)
                return;
            EXPECT_EQ(c->state < 0, VTSMIsQuitting());
            EXPECT_EQ(c->state < 0 ? STATE_MENU : c->state, VTSMGetNextState());
            ObjectType* buttons[] = {&StartButtonType, &OptionButtonType, &CreditButtonType};
            if (c->state < 0) {
                EXPECT_EQ(nullptr, Find(menuList, &BlackScreenType)) << "quitting puts up no cover";
            } else {
                ExpectCoverBehind(Find(menuList, buttons[c->row - 1]), d);
            }
            EXPECT_EQ(c == cases, VTAudioIsPlaying(EffectChannel)) << "the confirm sound, with sound on";
            EXPECT_EQ(c == cases, VTAudioDecodeCount() > 0 || VTAudioFreeChannelCount() > 0) << "sound off opens "
                                                                                                "and decodes nothing";
        };
        EXPECT_EQ(0, RunScreens(s));
        EXPECT_EQ(c->state < 0 ? 51 : 60, life->frames) << "a quit ends the program after its frame";
        EXPECT_EQ(1, life->unloads[STATE_MENU]);
        EXPECT_EQ(0, life->boxes);
    }
}

TEST(FrontEnd, SevenAndEightRewriteTheSavedFilesButNotTheRecord)
{
    for (int state : {STATE_MENU, STATE_SELECT}) {
        SCOPED_TRACE(state);
        static TempDataHome* files;
        TempDataHome home;
        files = &home;
        home.Write("Option.txt", "010");
        home.Write("UnlockShip.txt", "22");
        home.Write("Tutorial.txt", "0");
        Script s;
        s.start = state;
        s.frames = 40;
        s.onFrame = [](int frame, GameData* d) {
            if (frame == 2 || frame == 9)
                PostKey(VK_7, frame == 2);
            if (frame == 5 || frame == 9)
                PostKey(VK_8, frame == 5);
            std::string saved = files->Read("Option.txt") + files->Read("UnlockShip.txt") + files->Read("Tutorial.txt");
            if (frame == 5 || frame == 7) {
                EXPECT_EQ(frame == 5 ? "010220" : "111001", saved) << "7 alone does nothing; 7 and 8 reset";
            }
            if (frame == 7)
                remove(files->File("Tutorial.txt").c_str());
            if (frame == 8) {
                EXPECT_EQ("1", files->Read("Tutorial.txt")) << "written on every frame held";
            }
            if (frame == 13) {
                EXPECT_EQ("22 0 0", std::string(d->unlockedShips) + " " + std::to_string(d->tutorialPending) + " " +
                                        std::to_string(d->resolution));
            }
            // Ship 3 and the finished tutorial hold until the files are read again.
            if (VTSMGetCurrentState() == STATE_SELECT) {
                Tap(frame, 20, VK_LEFT);
                Tap(frame, 22, VK_SPACE);
            }
        };
        EXPECT_EQ(0, RunScreens(s));
        EXPECT_EQ(state == STATE_SELECT ? 1 : 0, life->inits[STATE_PLAY]);
    }
}

TEST(FrontEnd, OptionsApplyFullScreenAtOnceTheRestThroughARestart)
{
    // Full screen switches a real display: only where Xvfb's single mode refuses it.
    if (RunInChild([] { VTPlatformInit(); _exit(VTPlatformCountDisplayModes() == 1 ? 0 : 10); }) != 0)
        GTEST_SKIP() << "would change a real display's mode";
    static TempDataHome* files;
    TempDataHome home;
    files = &home;
    home.Write("Option.txt", "011");
    Script s;
    s.start = STATE_OPTION;
    s.width = 0;
    s.sound = true;
    s.frames = 135;
    s.onFrame = [](int frame, GameData* d) {
        GameObject* full = Find(optionList, &FullscreenOnType, &FullscreenOffType);
        Tap(frame, 2, VK_DOWN);
        if (frame == 3) {
            EXPECT_EQ(1, d->menuIndex) << "rows hold still for 15 frames after entering";
        }
        // At once and without a restart; Xvfb refuses the mode with a notice.
        Tap(frame, 20, VK_ENTER);
        Tap(frame, 22, VK_SPACE);
        if (frame == 21 || frame == 23) {
            EXPECT_EQ(frame == 21, d->fullScreen);
            EXPECT_EQ(frame == 21 ? &FullscreenOnType : &FullscreenOffType, full->type);
            EXPECT_EQ(1, life->boxes);
        }
        // A stick held right toggles once; keys wait until it comes back.
        pad.thumbLX = frame >= 24 && frame < 29 ? 30000 : 0;
        pad.thumbLY = -3000;
        Tap(frame, 27, VK_ENTER);
        Tap(frame, 31, VK_ENTER);
        if (frame == 29 || frame == 32) {
            EXPECT_EQ(frame == 29, d->fullScreen) << frame;
            EXPECT_EQ(1, life->inits[STATE_OPTION] * VTAudioIsPlaying(MenuMusicChannel)) << "no restart";
        }
        // Sound off: a restart without Load, no music, the file written, row 1 again.
        Tap(frame, 33, VK_DOWN);
        Tap(frame, 35, VK_RIGHT);
        if (frame == 36) {
            EXPECT_EQ(2, life->inits[STATE_OPTION] * life->loads[STATE_OPTION]);
            EXPECT_EQ(1, d->menuIndex);
            EXPECT_NE(nullptr, Find(optionList, &SoundOffType));
            EXPECT_EQ(nullptr, MenuMusicChannel);
            EXPECT_EQ("001", files->Read("Option.txt"));
        }
        // Resolution both ways round, each through a restart that lays the screen out anew.
        struct Step { int frame; unsigned long key; int resolution, width; };
        const Step steps[] = {{55, VK_RIGHT, 2, 1920}, {75, VK_RIGHT, 0, 1024}, {95, VK_LEFT, 2, 1920},
                              {115, VK_LEFT, 1, 1280}};
        ObjectType* pictures[] = {&ResolutionSDType, &ResolutionHDType, &ResolutionFHDType};
        for (const Step& step : steps) {
            Tap(frame, step.frame, VK_UP); // wraps from row 1 to row 3
            Tap(frame, step.frame + 2, step.key);
            if (frame == step.frame + 3) {
                EXPECT_EQ(step.width, VTApplicationGetWidth()) << frame;
                EXPECT_EQ((float)step.width, d->screenWidth);
                EXPECT_NE(nullptr, Find(optionList, pictures[step.resolution]));
                EXPECT_EQ("00" + std::to_string(step.resolution), files->Read("Option.txt"));
            }
        }
        // Leaving writes the file even when nothing changed.
        if (frame == 130)
            files->Write("Option.txt", "xyz");
        Tap(frame, 132, VK_ESC);
        if (frame == 133) {
            EXPECT_EQ("001", files->Read("Option.txt"));
        }
    };
    s.onShutdown = [](int state, GameData* d) {
        if (state == STATE_OPTION && VTSMGetNextState() == STATE_MENU)
            ExpectCoverBehind(Find(optionList, &BackButtonType), d);
    };
    EXPECT_EQ(0, RunScreens(s));
    EXPECT_EQ(6, life->shutdowns[STATE_OPTION]);
    EXPECT_EQ(1, life->unloads[STATE_OPTION] * life->inits[STATE_MENU]);
    EXPECT_EQ(2, life->boxes) << "one refusal per switch to full screen";
}

TEST(FrontEnd, ShipSelectBrowsesARingAndConfirmsOnlyUnlockedShips)
{
    // Only '2' is unlocked here: '1' is earned in play but not yet announced.
    // Moves: right, left, confirm; then the ship on display after each.
    struct Case { const char* unlocks; const char* tutorial; const char* moves; const char* ships; int state; };
    static const Case cases[] = {{"00", "1", "RCRRLLLC", "22313211", STATE_TUTORIAL},
                                 {"12", "0", "RCRC", "2233", STATE_PLAY},
                                 {"21", "5", "LCLC", "3322", STATE_TUTORIAL}};
    static const Case* c;
    static int* confirmedShip;
    for (const Case& each : cases) {
        c = &each;
        SCOPED_TRACE(c->unlocks);
        TempDataHome home;
        home.Write("UnlockShip.txt", c->unlocks);
        home.Write("Tutorial.txt", c->tutorial);
        confirmedShip = SharedBlock<int>();
        Script s;
        s.start = STATE_SELECT;
        s.frames = 70;
        s.onFrame = [](int frame, GameData* d) {
            Tap(frame, 2, VK_RIGHT);
            if (frame == 3) {
                EXPECT_EQ(1, d->shipType) << "browsing waits 15 frames after entering";
            }
            // From frame 20 on, one tap every 4 frames: each fresh press moves at once.
            int step = frame >= 20 ? (frame - 20) / 4 : -1, at = 20 + 4 * step;
            int move = step >= 0 && step < (int)strlen(c->moves) ? c->moves[step] : 0;
            unsigned long key = move == 'R' ? VK_RIGHT : move == 'L' ? VK_LEFT : VK_SPACE;
            if (move == 0)
                return;
            Tap(frame, at, key);
            if (frame != at + 1)
                return;
            int ship = d->shipType;
            EXPECT_EQ(c->ships[step] - '0', ship) << frame;
            bool locked = ship != 1 && c->unlocks[ship - 2] != '2';
            if (move == 'C') {
                EXPECT_EQ(locked, VTSMGetCurrentState() == STATE_SELECT) << "only an unlocked ship leaves";
                EXPECT_EQ(nullptr, Find(selectList, &BlackScreenType)) << "a refusal puts up nothing";
                return;
            }
            ObjectType* ships[] = {&SelectShip1Type, &SelectShip2Type, &SelectShip3Type};
            ObjectType* infos[] = {&Ship1InfoType, &Ship2InfoType, &Ship3InfoType};
            const GameObject* shown = Find(selectList, ships[ship - 1]);
            ASSERT_NE(nullptr, shown);
            EXPECT_FLOAT_EQ(d->screenWidth / (ship == 3 ? 5 : 10), shown->transform->scaleY) << "ship 3 is square";
            EXPECT_NE(nullptr, Find(selectList, infos[ship - 1]));
            const GameObject* unlock = Find(selectList, &Unlock2Type, &Unlock3Type);
            EXPECT_EQ(locked, unlock->visible);
            EXPECT_TRUE(!locked || unlock->type == (ship == 2 ? &Unlock2Type : &Unlock3Type));
            // Only the held arrow key lights its arrow red.
            const Appearance* lit = Find(selectList, key == VK_LEFT ? &LeftArrowType : &RightArrowType)->appearance;
            const Appearance* dark = Find(selectList, key == VK_LEFT ? &RightArrowType : &LeftArrowType)->appearance;
            EXPECT_EQ(255 * 4, lit->red + lit->green + lit->blue + dark->red + dark->green + dark->blue);
        };
        s.onShutdown = [](int state, GameData* d) {
            if (state == STATE_SELECT) {
                *confirmedShip = d->shipType;
                ExpectCoverBehind(Find(selectList, &SelectBoardType), d);
            }
        };
        EXPECT_EQ(0, RunScreens(s));
        EXPECT_EQ(1, life->inits[c->state]);
        EXPECT_EQ(c->ships[strlen(c->ships) - 1] - '0', *confirmedShip);
    }
}

TEST(FrontEnd, CreditsRollForThirteenSecondsOrUntilBack)
{
    TempDataHome home;
    home.Write("Option.txt", "011");
    Script roll;
    roll.start = STATE_CREDIT;
    roll.frameTime = 0.25;
    roll.frames = 56;
    roll.onFrame = [](int frame, GameData* d) {
        // 54 updates: the first gets dt 0, the 54th takes the clock past 13 s.
        EXPECT_EQ(frame < 54 ? STATE_CREDIT : STATE_MENU, VTSMGetCurrentState()) << frame;
        if (frame >= 1 && frame < 54) {
            EXPECT_EQ(d->screenHeight / 30 + 17.5f * (frame - 1), Find(creditList, &CreditImageType)->transform->y);
        }
    };
    roll.onShutdown = [](int state, GameData*) {
        if (state == STATE_CREDIT) {
            EXPECT_EQ(nullptr, Find(creditList, &BlackScreenType)) << "no cover when the roll ends";
        }
    };
    EXPECT_EQ(0, RunScreens(roll));

    // From the menu with sound on: the credits are silent; back returns at once.
    Script back;
    back.sound = true;
    back.frames = 50;
    back.onFrame = [](int frame, GameData*) {
        Tap(frame, 2, VK_DOWN);
        Tap(frame, 18, VK_DOWN);
        Tap(frame, 34, VK_SPACE);
        if (frame == 40) {
            EXPECT_EQ(nullptr, MainSoundSystem);
        }
        Tap(frame, 45, VK_ESC);
        if (frame == 46) {
            EXPECT_EQ(1, VTAudioIsPlaying(MenuMusicChannel));
        }
    };
    back.onShutdown = [](int state, GameData* d) {
        if (state == STATE_CREDIT)
            ExpectCoverBehind(Find(creditList, &BackButtonType), d);
    };
    EXPECT_EQ(0, RunScreens(back));
    EXPECT_EQ(1, life->unloads[STATE_CREDIT] * life->loads[STATE_CREDIT]);
    EXPECT_EQ(2, life->inits[STATE_MENU]);
}
