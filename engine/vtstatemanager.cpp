// vtstatemanager.cpp -- state table, flow requests and the frame loop.
// Requests (next, restart, quit) are plain flags read between frames, so a
// state always finishes the frame in which it asked.
#include "vtstatemanager.h"

#include <stdlib.h>
#include <string.h>

#include "platform/vtplatform.h"
#include "vtapplication.h"
#include "vtdebug.h"
#include "vtgametimer.h"
#include "vtinput.h"

static VTStateFunctions* states;
static int capacity;
static int count;
static int current = -1;
static int previous = -1;
static int next = -1;
static int quitting;
static int restarting;
static struct GameData* gameData;
static int initCalls;

void VTSMInit(const void* record, int size)
{
    VT_ASSERT(++initCalls == 1, VT_MSG_NOT_STUDENTS);
    // Past the guard (a debugger continued) the tables start again; the
    // old ones must not be lost.
    free(states);
    free(gameData);
    states = (VTStateFunctions*)VT_ALLOCATE(4 * sizeof *states);
    capacity = 4;
    count = 0;
    current = previous = next = -1;
    quitting = 0;
    restarting = 0;
    gameData = (struct GameData*)VT_ALLOCATE(size > 0 ? (size_t)size : 1);
    if (gameData && size > 0)
        memcpy(gameData, record, (size_t)size);
}

void VTGrowStates(void)
{
    VTStateFunctions* grown = (VTStateFunctions*)VT_ALLOCATE((size_t)capacity * 2 * sizeof *grown);
    if (grown) {
        capacity *= 2;
        memcpy(grown, states, (size_t)count * sizeof *grown);
        free(states);
        states = grown;
    }
}

int VTSMAddState(const VTStateFunctions* functions)
{
    if (count == capacity)
        VTGrowStates();
    int id = -1;
    if (count < capacity) {
        states[count] = *functions;
        count++;
        id = count - 1;
    }
    return id;
}

// An id the table does not hold would index past it; refuse it instead.
static int ValidId(int id, const char* function)
{
    int valid = id >= 0 && id < count;
    VT_ASSERT_FOR(valid, "State id is out of range", function);
    return valid;
}

void VTSMSetStartState(int id)
{
    if (ValidId(id, __func__))
        current = previous = next = id;
}

void VTSMSetNextState(int id)
{
    if (ValidId(id, __func__))
        next = id;
}

void VTSMQuit(int flag) { quitting = flag; }
void VTSMRestartState(int flag) { restarting = flag; }
int VTSMGetCurrentState(void) { return current; }
int VTSMGetPreviousState(void) { return previous; }
int VTSMGetNextState(void) { return next; }
int VTSMIsQuitting(void) { return quitting; }
int VTSMIsRestarting(void) { return restarting; }
struct GameData* VTSMGetGameData(void) { return gameData; }
int VTSMGetStateCount(void) { return count; }
int VTSMGetStateCapacity(void) { return capacity; }

void VTSMAdvanceState(void)
{
    previous = current;
    current = next;
}

void VTSMUpdate(void)
{
    if (current < 0 || current >= count)
        return;
    // A copy: a callback may register states and move the table.
    VTStateFunctions state = states[current];
    float dt = 0.0f;

    if (restarting)
        restarting = 0;
    else {
        VTPlatformKeepFreedMemory(1);
        state.Load(gameData);
        VTPlatformKeepFreedMemory(0);
    }
    state.Init(gameData);

    while (VTSMGetCurrentState() == VTSMGetNextState() && !quitting && !restarting) {
        VTTimerStartFrame();
        VTInputUpdate();
        VTApplicationProcessMessages();
        state.Update(gameData, dt);
        dt = VTTimerEndFrame();
    }

    state.Shutdown(gameData);
    if (!restarting)
        state.Unload(gameData);
    VTSMAdvanceState();
}

void VTSMShutdown(void)
{
    free(gameData);
    gameData = NULL;
    free(states);
    states = NULL;
}
