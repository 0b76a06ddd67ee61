// vtstatemanager.h -- the registered game states, the running one, and the
// engine's copy of the game record that every state callback receives.
#ifndef VTSTATEMANAGER_H
#define VTSTATEMANAGER_H

// C names: the benchmark watches these calls by their plain symbols.
extern "C" {

struct GameData;

typedef struct VTStateFunctions
{
    void (*Load)(struct GameData* data);
    void (*Init)(struct GameData* data);
    void (*Update)(struct GameData* data, float dt); // dt: last frame's seconds, 0 after Init
    void (*Shutdown)(struct GameData* data);
    void (*Unload)(struct GameData* data);
} VTStateFunctions;

// Once only: copies size bytes of the record; the copy lives until VTSMShutdown.
void VTSMInit(const void* gameData, int size);
// Appends a copy of the callbacks; returns the new id (ids count up from 0).
int VTSMAddState(const VTStateFunctions* functions);
// current = previous = next = id. Ids not returned by VTSMAddState are refused.
void VTSMSetStartState(int id);
// The current state ends after this frame and id runs next.
void VTSMSetNextState(int id);
void VTSMQuit(int flag);         // nonzero: end the state, then the program
void VTSMRestartState(int flag); // nonzero: Shutdown then Init again, no Unload/Load
int VTSMGetCurrentState(void);
int VTSMGetPreviousState(void);
int VTSMGetNextState(void);
int VTSMIsQuitting(void);
int VTSMIsRestarting(void);
// Runs the current state from its Load (or Init after a restart) to its Unload.
void VTSMUpdate(void);
void VTSMAdvanceState(void); // previous = current; current = next
void VTGrowStates(void);     // doubles the table
void VTSMShutdown(void);     // frees the record copy and the table
// The record every callback receives; NULL before VTSMInit.
struct GameData* VTSMGetGameData(void);
int VTSMGetStateCount(void);
int VTSMGetStateCapacity(void);

}

#endif
