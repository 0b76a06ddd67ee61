// vtdebug.cpp -- the assertion box and the notice box. Both build their text
// in a fixed 1024-byte buffer; longer pieces are cut, never overrun.
#include "vtdebug.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "platform/vtplatform.h"

enum { MESSAGE_SIZE = 1024 };

// strcat that stops at the buffer's end instead of writing past it.
static void AppendCut(char* buffer, const char* text)
{
    size_t used = strlen(buffer);
    size_t room = MESSAGE_SIZE - 1 - used;
    size_t length = text ? strlen(text) : 0;
    if (length > room)
        length = room;
    memcpy(buffer + used, text ? text : "", length);
    buffer[used + length] = '\0';
}

// The one answer to a failed allocation, the engine's and the platform's.
static void OutOfMemory(const char* function, const char* file, int line)
{
    if (VTDebugAssert(0, VT_MSG_OUT_OF_MEMORY, function, file, line))
        VTDebugBreak();
}

// Installed before main, so the platform layer's allocations fail the same
// way as the engine's from the first message on.
static const int platformHooked = (VTPlatformSetOutOfMemoryHook(OutOfMemory), 1);

int VTDebugAssert(int condition, const char* description, const char* function, const char* file, int line)
{
    int result = 0;
    if (!condition) {
        char number[16];
        char message[MESSAGE_SIZE] = {0};
        snprintf(number, sizeof number, "%d", line);
        AppendCut(message, "ASSERTION FAILURE:");
        AppendCut(message, "\nFile: ");
        AppendCut(message, file);
        AppendCut(message, "\nLine: ");
        AppendCut(message, number);
        AppendCut(message, "\nFunction: ");
        AppendCut(message, function);
        AppendCut(message, "\n\n Description: ");
        AppendCut(message, description);
        AppendCut(message, "\n\nYES: Break into the Debugger.");
        AppendCut(message, "\nNO: Exit immediately");
        if (VTPlatformMessageBox("ASSERT!", message) == VT_ANSWER_YES)
            result = 1;
        else
            VTPlatformExitNow(-1);
    }
    return result;
}

int VTDebugMessagePopup(const char* text)
{
    char message[MESSAGE_SIZE] = {0};
    AppendCut(message, text);
    return VTPlatformMessageBox("Important Message!", message) == VT_ANSWER_YES ? 1 : 0;
}

void VTDebugBreak(void)
{
    VTPlatformDebugBreak();
}

void* VTDebugAllocate(size_t bytes, const char* function, const char* file, int line)
{
    void* memory = calloc(1, bytes > 0 ? bytes : 1);
    if (!memory)
        OutOfMemory(function, file, line);
    return memory;
}
