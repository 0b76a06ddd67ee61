// vtdebug.h -- broken engine invariants and notices, both as YES/NO boxes.
#ifndef VTDEBUG_H
#define VTDEBUG_H

#include <stddef.h>

// 0 when condition holds. Otherwise shows "ASSERT!" with the failure's file,
// line, function and description: YES returns 1 (the caller breaks into the
// debugger), NO ends the process at once with exit code -1.
int VTDebugAssert(int condition, const char* description, const char* function, const char* file, int line);
// Shows text under "Important Message!"; 1 for YES, else 0.
int VTDebugMessagePopup(const char* text);
// Raises SIGTRAP: stops in an attached debugger.
void VTDebugBreak(void);
// Zeroed memory for engine and game records. Running out of memory is a
// broken invariant wherever it happens: the assertion "The game ran out of
// memory", named for the caller, then NULL when the debugger was chosen.
// Only readers with a designed refusal (pictures, sounds, frame captures)
// answer a failed allocation with that refusal instead.
void* VTDebugAllocate(size_t bytes, const char* function, const char* file, int line);

// The engine's checks: assert, and break when YES was chosen. The box names
// the function the check stands in.
#define VT_ASSERT(condition, description) VT_ASSERT_FOR(condition, description, __func__)
// For a helper that checks on behalf of the function that called it.
#define VT_ASSERT_FOR(condition, description, function)                               \
    do {                                                                             \
        if (VTDebugAssert((condition) ? 1 : 0, (description), (function), __FILE__, __LINE__)) \
            VTDebugBreak();                                                          \
    } while (0)

#define VT_ALLOCATE(bytes) VTDebugAllocate((bytes), __func__, __FILE__, __LINE__)

#define VT_MSG_NOT_STUDENTS "This function should NOT be called by students."
#define VT_MSG_OUT_OF_MEMORY "The game ran out of memory"

#endif
