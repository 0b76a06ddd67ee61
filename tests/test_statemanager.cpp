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

} // namespace

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
