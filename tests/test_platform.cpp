// The platform layer as the engine sees it: SDL's events as Windows messages,
// a virtual pad in the XInput layout, Windows paths, the debug boxes' text.
#include <gtest/gtest.h>
#include <SDL.h>
#include <signal.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "harness.h"
#include "platform/vtfiles.h"
#include "vtdebug.h"
#include "vtgametimer.h"

namespace {

std::vector<VTMessage> Drain()
{
    std::vector<VTMessage> messages;
    VTMessage m;
    VTPlatformPumpMessages();
    while (VTPlatformNextMessage(&m))
        messages.push_back(m);
    return messages;
}

void PushKey(SDL_Keycode key, Uint32 type, Uint16 mod = KMOD_NONE, int repeat = 0)
{
    SDL_Event event = {};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = (Uint8)repeat;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
}

} // namespace

TEST(Platform, EventsArriveAsWindowsMessagesAndVirtualKeys)
{
    EXPECT_EQ(0, RunInChild([] {
        VTPlatformInit();
        Drain();
        struct Case { const char* name; SDL_Keycode key; unsigned long vk; Uint16 mod = KMOD_NONE;
                      unsigned message = VT_WM_KEYDOWN; };
        const Case cases[] = {
            {"left ctrl", SDLK_LCTRL, 17, KMOD_LCTRL}, {"right ctrl", SDLK_RCTRL, 17, KMOD_RCTRL},
            {"left shift", SDLK_LSHIFT, 16, KMOD_LSHIFT}, {"right shift", SDLK_RSHIFT, 16, KMOD_RSHIFT},
            {"a", SDLK_a, 65}, {"z", SDLK_z, 90}, {"0", SDLK_0, 48}, {"9", SDLK_9, 57},
            {"F1", SDLK_F1, 112}, {"F4", SDLK_F4, 115}, {"F12", SDLK_F12, 123}, {"escape", SDLK_ESCAPE, 27},
            {"enter", SDLK_RETURN, 13}, {"keypad enter", SDLK_KP_ENTER, 13}, {"space", SDLK_SPACE, 32},
            {"backspace", SDLK_BACKSPACE, 8}, {"tab", SDLK_TAB, 9}, {"left", SDLK_LEFT, 37}, {"up", SDLK_UP, 38},
            {"right", SDLK_RIGHT, 39}, {"down", SDLK_DOWN, 40}, {"keypad 5 is not a digit key", SDLK_KP_5, 101},
            {"unknown key", SDLK_VOLUMEUP, VT_VK_UNKNOWN},
            {"alt+x is a system key", SDLK_x, 88, KMOD_LALT, VT_WM_SYSKEYDOWN},
            {"alt itself", SDLK_LALT, 18, KMOD_LALT, VT_WM_SYSKEYDOWN},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            PushKey(c.key, SDL_KEYDOWN, c.mod);
            PushKey(c.key, SDL_KEYUP, KMOD_NONE);
            std::vector<VTMessage> messages = Drain();
            ASSERT_EQ(2u, messages.size());
            EXPECT_EQ(c.message, messages[0].message);
            EXPECT_EQ(c.vk, messages[0].wParam);
            EXPECT_EQ(c.vk == 18 ? (unsigned)VT_WM_SYSKEYUP : (unsigned)VT_WM_KEYUP, messages[1].message);
        }

        SCOPED_TRACE("auto-repeat is another key-down");
        PushKey(SDLK_UP, SDL_KEYDOWN, KMOD_NONE, 0);
        PushKey(SDLK_UP, SDL_KEYDOWN, KMOD_NONE, 1);
        std::vector<VTMessage> messages = Drain();
        ASSERT_EQ(2u, messages.size());
        EXPECT_EQ((unsigned)VT_WM_KEYDOWN, messages[1].message);

        SCOPED_TRACE("the wheel, a middle click and quitting");
        SDL_Event wheel = {}, button = {}, quit = {};
        wheel.type = SDL_MOUSEWHEEL;
        wheel.wheel.y = -2;
        button.type = SDL_MOUSEBUTTONDOWN;
        button.button.button = SDL_BUTTON_MIDDLE;
        quit.type = SDL_QUIT;
        for (SDL_Event* event : {&wheel, &button, &quit})
            SDL_PushEvent(event);
        messages = Drain();
        ASSERT_EQ(3u, messages.size());
        EXPECT_EQ((unsigned)VT_WM_MOUSEWHEEL, messages[0].message);
        EXPECT_EQ(-240, (short)(messages[0].wParam >> 16));
        EXPECT_EQ((unsigned)VT_WM_MBUTTONDOWN, messages[1].message);
        EXPECT_EQ((unsigned)VT_WM_CLOSE, messages[2].message);
    }));
}

TEST(Platform, VirtualControllerInXInputLayout)
{
    EXPECT_EQ(0, RunInChild([] {
        VTPlatformInit();
        VTPadState pad;
        EXPECT_EQ(0, VTPlatformReadPad(&pad));
        EXPECT_EQ(0, pad.buttons);

        int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                               SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(device, 0) << SDL_GetError();
        Drain(); // the ADDED event opens it
        SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
        ASSERT_NE(nullptr, stick);
        SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
        SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1);
        SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 32767);
        SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -32768); // pushed up
        SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_RIGHTY, 32767);  // pulled down
        SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
        // A virtual pad's raw trigger axis rests at -32768, which SDL reports as 0.
        SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
        Drain();
        ASSERT_EQ(1, VTPlatformReadPad(&pad));
        EXPECT_EQ(VT_PAD_A | VT_PAD_RIGHT_SHOULDER, pad.buttons);
        EXPECT_EQ(32767, pad.thumbLX);
        EXPECT_EQ(32767, pad.thumbLY);
        EXPECT_EQ(-32768, pad.thumbRY);
        EXPECT_EQ(255, pad.leftTrigger);
        EXPECT_EQ(0, pad.rightTrigger);

        SDL_JoystickDetachVirtual(device);
        Drain();
        EXPECT_EQ(0, VTPlatformReadPad(&pad));
    }));
}

namespace {
struct Box
{
    int count;
    char caption[64];
    char text[2048];
};
Box* box;
int answer;
int Record(const char* caption, const char* text)
{
    box->count++;
    snprintf(box->caption, sizeof box->caption, "%s", caption);
    snprintf(box->text, sizeof box->text, "%s", text);
    return answer;
}
// Runs body in a child that records its boxes and answers them with reply.
int WithBoxes(int reply, void (*body)())
{
    answer = reply;
    return RunInChild([body] {
        VTPlatformSetMessageBoxHook(Record);
        body();
    });
}
} // namespace

static void* NewObjectOfSize(size_t bytes)
{
    return VT_ALLOCATE(bytes);
}

TEST(Debug, BoxTextsAnswersAndLimits)
{
    box = SharedBlock<Box>();
    SCOPED_TRACE("a holding condition shows nothing");
    EXPECT_EQ(0, WithBoxes(VT_ANSWER_NO, [] { EXPECT_EQ(0, VTDebugAssert(1, "x", "F", "f.cpp", 1)); }));
    EXPECT_EQ(0, box->count);

    SCOPED_TRACE("NO ends the process with -1");
    EXPECT_EQ(255, WithBoxes(VT_ANSWER_NO, [] {
        VTDebugAssert(0, "Key is out of range", "VTInputIsPressed", "engine/vtinput.cpp", 171);
        _exit(3); // not reached
    }));
    EXPECT_STREQ("ASSERT!", box->caption);
    EXPECT_STREQ("ASSERTION FAILURE:\nFile: engine/vtinput.cpp\nLine: 171\nFunction: VTInputIsPressed\n\n"
                 " Description: Key is out of range\n\nYES: Break into the Debugger.\nNO: Exit immediately",
                 box->text);

    SCOPED_TRACE("YES returns 1 and the engine's check traps");
    EXPECT_EQ(0, WithBoxes(VT_ANSWER_YES, [] { EXPECT_EQ(1, VTDebugAssert(0, "d", "F", "f.cpp", 2)); }));
    EXPECT_EQ(128 + SIGTRAP, WithBoxes(VT_ANSWER_YES, [] { VT_ASSERT_FOR(0, "d", "F"); }));

    SCOPED_TRACE("running out of memory is an assertion named for the allocating function");
    EXPECT_EQ(255, WithBoxes(VT_ANSWER_NO, [] { NewObjectOfSize((size_t)-1 / 2); }));
    EXPECT_NE(nullptr, strstr(box->text, "Function: NewObjectOfSize\n\n Description: The game ran out of memory"))
        << box->text;
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own mappings need the address space
    SCOPED_TRACE("and so is the message queue failing to grow, not a lost key");
    EXPECT_EQ(255, WithBoxes(VT_ANSWER_NO, [] {
        long pages = 0; // 64 MB more than the child already maps
        FILE* statm = fopen("/proc/self/statm", "r");
        ASSERT_EQ(1, fscanf(statm, "%ld", &pages));
        struct rlimit room = {(rlim_t)pages * 4096 + (64 << 20), (rlim_t)pages * 4096 + (64 << 20)};
        setrlimit(RLIMIT_AS, &room);
        VTMessage key = {NULL, VT_WM_KEYDOWN, 65, 0};
        for (int i = 0; i < 1 << 24; i++)
            VTPlatformPostMessage(&key);
    }));
    EXPECT_NE(nullptr, strstr(box->text, "Function: VTPlatformPostMessage\n\n Description: The game ran out of memory"));
#endif

    SCOPED_TRACE("without a box to show, the text goes to standard error and NO ends it");
    EXPECT_EQ(255, RunInChild([] {
        VTPlatformSetMessageBoxHook(NULL); // the real box, which has no display to use
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        VTDebugAssert(0, "d", "F", "f.cpp", 3);
    }));

    SCOPED_TRACE("long texts are cut; a popup answers as the box did");
    EXPECT_EQ(0, WithBoxes(VT_ANSWER_YES, [] {
        std::string longText(5000, 'x');
        VTDebugAssert(0, longText.c_str(), "F", longText.c_str(), 1);
        EXPECT_EQ(1023u, strlen(box->text));
        EXPECT_EQ(1, VTDebugMessagePopup(longText.c_str()));
        EXPECT_STREQ("Important Message!", box->caption);
        EXPECT_EQ(1023u, strlen(box->text));
    }));
    EXPECT_EQ(0, WithBoxes(VT_ANSWER_NO, [] { EXPECT_EQ(0, VTDebugMessagePopup("FullScreen is not supported.")); }));
}

TEST(Files, WindowsPathsResolveCaselessly)
{
    TempDataHome home;
    std::string data = home.path + "/kelvaro/Data";
    home.Write("Option.txt", "010");
    mkdir((data + "/MEssage").c_str(), 0755);
    home.Write("MEssage/Dials.TGA", "");

    struct Case { const char* name; const char* path; int found; std::string real; };
    const Case cases[] = {
        {"exact", "Data\\Option.txt", 1, data + "/Option.txt"},
        {"other case", "data\\OPTION.TXT", 1, data + "/Option.txt"},
        {"nested, case differs at each level", "Data\\message\\dials.tga", 1, data + "/MEssage/Dials.TGA"},
        {"forward and doubled slashes", "Data//Message//dials.tga", 1, data + "/MEssage/Dials.TGA"},
        {"missing file keeps the game's spelling", "Data\\message\\New.txt", 0, data + "/MEssage/New.txt"},
        {"missing folder", "Data\\Nope\\x.txt", 0, data + "/Nope/x.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char out[4096];
        EXPECT_EQ(c.found, VTFileResolve(c.path, out, sizeof out));
        EXPECT_EQ(c.real, out);
    }
    char tiny[8];
    EXPECT_EQ(0, VTFileResolve("Data\\Option.txt", tiny, sizeof tiny));
    EXPECT_STREQ("", tiny);

    FILE* option = VTFileOpenRead("DATA\\option.txt", "rt");
    ASSERT_NE(nullptr, option);
    char text[8] = {};
    EXPECT_NE(nullptr, fgets(text, sizeof text, option));
    fclose(option);
    EXPECT_STREQ("010", text);
    EXPECT_EQ(nullptr, VTFileOpenRead("Data\\Message", "rt")) << "a folder is not a file";
}

TEST(Files, AtomicWrites)
{
    TempDataHome home;
    SCOPED_TRACE("the folder is made on first write");
    EXPECT_EQ(1, VTFileWriteAtomic("Data\\Score.txt", "250", 3));
    EXPECT_EQ("250", home.Read("Score.txt"));

    SCOPED_TRACE("replacing keeps the existing spelling and leaves no temporary file");
    home.Write("score.TXT", "1");
    unlink(home.File("Score.txt").c_str());
    EXPECT_EQ(1, VTFileWriteAtomic("Data\\Score.txt", "77", 2));
    EXPECT_EQ("77", home.Read("score.TXT"));
    EXPECT_EQ("<missing>", home.Read("Score.txt"));
    EXPECT_EQ("<missing>", home.Read("score.TXT.tmp"));

    SCOPED_TRACE("a write that cannot happen leaves the old file alone");
    std::string blocked = home.File("Blocked");
    mkdir(blocked.c_str(), 0755);
    EXPECT_EQ(0, VTFileWriteAtomic("Data\\Blocked", "x", 1)) << "a folder cannot be replaced by a file";
    home.Write("Blocked/in.txt", "old");
    EXPECT_EQ(0, VTFileWriteAtomic("Data\\Blocked\\in.txt/x", "new", 3)) << "a file cannot be a folder";
    EXPECT_EQ("old", home.Read("Blocked/in.txt"));

    SCOPED_TRACE("another save's temporary file is not this one's");
    mkdir((blocked + "/in.txt.tmp").c_str(), 0755);
    EXPECT_EQ(1, VTFileWriteAtomic("Data\\Blocked\\in.txt", "new", 3));
    EXPECT_EQ("new", home.Read("Blocked/in.txt"));
}

