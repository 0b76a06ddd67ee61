// State manager: the order of callbacks, dt, restarts, quits and the table.
// Each test runs in a child process: the manager starts once per process.
#include <gtest/gtest.h>
#include <signal.h>
#include <string.h>

#include <string>

#include "harness.h"
#include "vtgametimer.h"
#include "vtinput.h"
#include "vtstatemanager.h"

namespace {

// What the callbacks did, in order, kept where the parent can read it.
struct Log
{
    char text[4096];
    int updates[8];
    void Add(const char* entry)
    {
        strncat(text, entry, sizeof text - strlen(text) - 1);
        strncat(text, " ", sizeof text - strlen(text) - 1);
    }
};

Log* logBook;
// What each state does at its n-th Update (counted from 1 per Init).
std::function<void(int state, int update)> script;

template <int N>
struct Recorder
{
    static void Load(GameData*) { logBook->Add((std::to_string(N) + "L").c_str()); }
    static void Init(GameData*)
    {
        logBook->updates[N] = 0;
        logBook->Add((std::to_string(N) + "I").c_str());
    }
    static void Update(GameData*, float dt)
    {
        int n = ++logBook->updates[N];
        char entry[32];
        snprintf(entry, sizeof entry, "%dU%g", N, dt);
        logBook->Add(entry);
        if (script)
            script(N, n);
    }
    static void Shutdown(GameData*) { logBook->Add((std::to_string(N) + "S").c_str()); }
    static void Unload(GameData*) { logBook->Add((std::to_string(N) + "X").c_str()); }
    static constexpr VTStateFunctions functions = {Load, Init, Update, Shutdown, Unload};
};

void AdvanceQuarter(void*) { VTPlatformAdvanceClock(0.25); }

// A bare engine: no window; the clock moves a quarter second per frame.
void StartBareEngine()
{
    static int record[4] = {1, 2, 3, 4};
    VTPlatformUseVirtualClock();
    VTPlatformScriptPad(NULL);
    VTPlatformSetFrameHook(AdvanceQuarter, NULL);
    VTSMInit(record, sizeof record);
    VTTimerInit();
    VTInputInit();
}

void RegisterThree()
{
    EXPECT_EQ(0, VTSMAddState(&Recorder<0>::functions));
    EXPECT_EQ(1, VTSMAddState(&Recorder<1>::functions));
    EXPECT_EQ(2, VTSMAddState(&Recorder<2>::functions));
}

} // namespace

TEST(StateManager, LifecycleAndDt)
{
    logBook = SharedBlock<Log>();
    EXPECT_EQ(0, RunInChild([] {
        StartBareEngine();
        RegisterThree();
        VTSMSetStartState(0);
        script = [](int state, int n) {
            if (state == 0 && n == 3)
                VTSMSetNextState(1);
            if (state == 1 && n == 2)
                VTSMQuit(1);
        };
        VTSMUpdate();
        EXPECT_EQ(0, VTSMGetPreviousState());
        EXPECT_EQ(1, VTSMGetCurrentState());
        VTSMUpdate();
        EXPECT_TRUE(VTSMIsQuitting());
    }));
    // The first Update after Init sees 0; later ones the measured frame.
    EXPECT_STREQ("0L 0I 0U0 0U0.25 0U0.25 0S 0X 1L 1I 1U0 1U0.25 1S 1X ", logBook->text);
}

TEST(StateManager, RestartSkipsUnloadAndLoad)
{
    logBook = SharedBlock<Log>();
    EXPECT_EQ(0, RunInChild([] {
        StartBareEngine();
        RegisterThree();
        VTSMSetStartState(2);
        static int restarts;
        script = [](int, int n) {
            if (n == 2 && restarts++ == 0)
                VTSMRestartState(1);
            else if (n == 1 && restarts == 1)
                VTSMQuit(1);
        };
        VTSMUpdate();
        EXPECT_TRUE(VTSMIsRestarting());
        EXPECT_EQ(2, VTSMGetCurrentState());
        VTSMUpdate();
        EXPECT_FALSE(VTSMIsRestarting());
    }));
    EXPECT_STREQ("2L 2I 2U0 2U0.25 2S 2I 2U0 2S 2X ", logBook->text);
}

TEST(StateManager, RestartWithNewNextStateSkipsItsLoad)
{
    logBook = SharedBlock<Log>();
    EXPECT_EQ(0, RunInChild([] {
        StartBareEngine();
        RegisterThree();
        VTSMSetStartState(0);
        script = [](int state, int) {
            if (state == 0) {
                VTSMRestartState(1);
                VTSMSetNextState(1);
            } else {
                VTSMQuit(1);
            }
        };
        VTSMUpdate();
        VTSMUpdate();
    }));
    EXPECT_STREQ("0L 0I 0U0 0S 1I 1U0 1S 1X ", logBook->text);
}

TEST(StateManager, NextStateOfItsOwnIdDoesNotEnd)
{
    logBook = SharedBlock<Log>();
    EXPECT_EQ(0, RunInChild([] {
        StartBareEngine();
        RegisterThree();
        VTSMSetStartState(1);
        script = [](int, int n) {
            VTSMSetNextState(1);
            if (n == 4)
                VTSMQuit(1);
        };
        VTSMUpdate();
    }));
    EXPECT_EQ(4, logBook->updates[1]);
}

TEST(StateManager, TableGrowsAndKeepsIds)
{
    logBook = SharedBlock<Log>();
    EXPECT_EQ(0, RunInChild([] {
        StartBareEngine();
        const VTStateFunctions* table[] = {&Recorder<0>::functions, &Recorder<1>::functions,
                                           &Recorder<2>::functions, &Recorder<3>::functions,
                                           &Recorder<4>::functions, &Recorder<5>::functions};
        for (int id = 0; id < 4; id++)
            EXPECT_EQ(id, VTSMAddState(table[id]));
        EXPECT_EQ(4, VTSMGetStateCapacity());
        EXPECT_EQ(4, VTSMAddState(table[4]));
        EXPECT_EQ(8, VTSMGetStateCapacity());
        EXPECT_EQ(5, VTSMAddState(table[5]));
        VTSMSetStartState(5);
        EXPECT_EQ(5, VTSMGetCurrentState());
        EXPECT_EQ(5, VTSMGetPreviousState());
        EXPECT_EQ(5, VTSMGetNextState());
        // Each id still runs its own callbacks after the move.
        script = [](int state, int) {
            if (state > 0)
                VTSMSetNextState(state - 1);
            else
                VTSMQuit(1);
        };
        for (int i = 0; i < 6; i++)
            VTSMUpdate();
    }));
    EXPECT_STREQ("5L 5I 5U0 5S 5X 4L 4I 4U0 4S 4X 3L 3I 3U0 3S 3X 2L 2I 2U0 2S 2X "
                 "1L 1I 1U0 1S 1X 0L 0I 0U0 0S 0X ",
                 logBook->text);
}

TEST(StateManager, RecordIsCopiedOnceAndShared)
{
    EXPECT_EQ(0, RunInChild([] {
        int record[4] = {7, 8, 9, 10};
        VTSMInit(record, sizeof record);
        record[0] = 99;
        int* copy = reinterpret_cast<int*>(VTSMGetGameData());
        EXPECT_EQ(7, copy[0]);
        EXPECT_EQ(10, copy[3]);
        VTSMShutdown();
        EXPECT_EQ(nullptr, VTSMGetGameData());
    }));
}

namespace {
struct Boxes
{
    int count;
    char last[1024];
};
Boxes* boxes;
int AnswerNo(const char*, const char* text)
{
    boxes->count++;
    snprintf(boxes->last, sizeof boxes->last, "%s", text);
    return VT_ANSWER_NO;
}
int AnswerYes(const char* caption, const char* text)
{
    AnswerNo(caption, text);
    return VT_ANSWER_YES;
}
} // namespace

TEST(StateManager, UnknownIdsAreRefused)
{
    for (int id : {-1, 3, 99}) {
        SCOPED_TRACE(id);
        boxes = SharedBlock<Boxes>();
        int status = RunInChild([id] {
            StartBareEngine();
            RegisterThree();
            VTSMSetStartState(0);
            VTPlatformSetMessageBoxHook(AnswerNo);
            VTSMSetNextState(id);
        });
        EXPECT_EQ(255, status); // NO ends the process with -1
        EXPECT_EQ(1, boxes->count);
        EXPECT_NE(nullptr, strstr(boxes->last, "Function: VTSMSetNextState"));
    }
}

TEST(StateManager, SecondInitRaisesTheGuardEveryTime)
{
    boxes = SharedBlock<Boxes>();
    EXPECT_EQ(0, RunInChild([] {
        // YES breaks into the debugger; with none attached the trap is
        // ignored here so the program carries on past the check.
        signal(SIGTRAP, SIG_IGN);
        VTPlatformSetMessageBoxHook(AnswerYes);
        int record = 0;
        VTSMInit(&record, sizeof record);
        EXPECT_EQ(0, boxes->count);
        VTSMInit(&record, sizeof record);
        EXPECT_EQ(1, boxes->count);
        VTSMInit(&record, sizeof record);
        EXPECT_EQ(2, boxes->count);
    }));
    EXPECT_NE(nullptr, strstr(boxes->last, "Description: This function should NOT be called by students."));
    EXPECT_NE(nullptr, strstr(boxes->last, "Function: VTSMInit"));
}
