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
    void Add(int state, const char* entry)
    {
        snprintf(text + strlen(text), sizeof text - strlen(text), "%d%s ", state, entry);
    }
};

Log* logBook;
// What each state does at its n-th Update (counted from 1 per Init).
std::function<void(int state, int update)> script;

template <int N>
struct Recorder
{
    static void Load(GameData*) { logBook->Add(N, "L"); }
    static void Init(GameData*)
    {
        logBook->updates[N] = 0;
        logBook->Add(N, "I");
    }
    static void Update(GameData*, float dt)
    {
        int n = ++logBook->updates[N];
        char entry[32];
        snprintf(entry, sizeof entry, "U%g", dt);
        logBook->Add(N, entry);
        if (script)
            script(N, n);
    }
    static void Shutdown(GameData*) { logBook->Add(N, "S"); }
    static void Unload(GameData*) { logBook->Add(N, "X"); }
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

// Runs three recorded states from start until the script quits; the log.
std::string RunLog(int start, const std::function<void(int state, int update)>& onUpdate)
{
    logBook = SharedBlock<Log>();
    script = onUpdate;
    EXPECT_EQ(0, RunInChild([start] {
        StartBareEngine();
        RegisterThree();
        VTSMSetStartState(start);
        for (int i = 0; i < 10 && !VTSMIsQuitting(); i++)
            VTSMUpdate();
        EXPECT_TRUE(VTSMIsQuitting());
        EXPECT_FALSE(VTSMIsRestarting());
    }));
    return logBook->text;
}

} // namespace

TEST(StateManager, LifecycleAndDt)
{
    // The first Update after Init sees 0; later ones the measured frame. A
    // state naming itself as the next one carries on.
    EXPECT_EQ("0L 0I 0U0 0U0.25 0U0.25 0S 0X 1L 1I 1U0 1U0.25 1S 1X ", RunLog(0, [](int state, int n) {
                  VTSMSetNextState(state);
                  if (state == 0 && n == 3)
                      VTSMSetNextState(1);
                  if (state == 1 && n == 1) {
                      EXPECT_EQ(0, VTSMGetPreviousState());
                      EXPECT_EQ(1, VTSMGetCurrentState());
                  }
                  if (state == 1 && n == 2)
                      VTSMQuit(1);
              }));
}

TEST(StateManager, RestartSkipsUnloadAndLoad)
{
    EXPECT_EQ("2L 2I 2U0 2U0.25 2S 2I 2U0 2S 2X ", RunLog(2, [](int, int n) {
                  static int restarts;
                  if (n == 2 && restarts++ == 0)
                      VTSMRestartState(1);
                  else if (n == 1 && restarts == 1)
                      VTSMQuit(1);
              }));
    SCOPED_TRACE("a restart with a new next state skips that state's Load");
    EXPECT_EQ("0L 0I 0U0 0S 1I 1U0 1S 1X ", RunLog(0, [](int state, int) {
                  if (state == 0) {
                      VTSMRestartState(1);
                      VTSMSetNextState(1);
                  } else {
                      VTSMQuit(1);
                  }
              }));
}

TEST(StateManager, TableGrowsAndKeepsIds)
{
    logBook = SharedBlock<Log>();
    EXPECT_EQ(0, RunInChild([] {
        StartBareEngine();
        const VTStateFunctions* table[] = {&Recorder<0>::functions, &Recorder<1>::functions,
                                           &Recorder<2>::functions, &Recorder<3>::functions,
                                           &Recorder<4>::functions, &Recorder<5>::functions};
        for (int id = 0; id < 6; id++) {
            EXPECT_EQ(id, VTSMAddState(table[id]));
            EXPECT_EQ(id < 4 ? 4 : 8, VTSMGetStateCapacity()) << id;
        }
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

TEST(StateManager, UnknownIdsAreRefused)
{
    for (int id : {-1, 3, 99}) {
        SCOPED_TRACE(id);
        int status = RunInChild([id] {
            StartBareEngine();
            RegisterThree();
            VTSMSetStartState(0);
            VTPlatformSetMessageBoxHook([](const char*, const char* text) {
                EXPECT_NE(nullptr, strstr(text, "Function: VTSMSetNextState")) << text;
                return (int)VT_ANSWER_NO;
            });
            VTSMSetNextState(id);
            _exit(3);
        });
        EXPECT_EQ(255, status); // NO ends the process with -1
    }
}

TEST(StateManager, InitCopiesTheRecordAndASecondCallRaisesTheGuard)
{
    EXPECT_EQ(0, RunInChild([] {
        // YES breaks into the debugger; with none attached the trap is
        // ignored here so the program carries on past the check.
        signal(SIGTRAP, SIG_IGN);
        static int boxes;
        VTPlatformSetMessageBoxHook([](const char*, const char* text) {
            EXPECT_NE(nullptr, strstr(text, "Description: This function should NOT be called by students.")) << text;
            EXPECT_NE(nullptr, strstr(text, "Function: VTSMInit")) << text;
            boxes++;
            return (int)VT_ANSWER_YES;
        });
        int record[4] = {7, 8, 9, 10};
        for (int call = 0; call < 3; call++) {
            VTSMInit(record, sizeof record);
            EXPECT_EQ(call, boxes);
        }
        record[0] = 99;
        const int* copy = reinterpret_cast<const int*>(VTSMGetGameData());
        EXPECT_EQ(7, copy[0]);
        EXPECT_EQ(10, copy[3]);
        VTSMShutdown();
        EXPECT_EQ(nullptr, VTSMGetGameData());
    }));
}
