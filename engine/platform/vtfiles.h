// vtfiles.h -- the game's files on a Linux file system.
// Game code names files the Windows way ("Data\Option.txt",
// "Graphic_Assets\Menu\title.tga"): backslashes become slashes and every path
// component is matched case-insensitively when the exact name is missing.
// "Data\..." lives in the player's data folder ($XDG_DATA_HOME/kelvaro/Data);
// everything else is read from the game's asset root. A path that starts with
// "/" is a real absolute path (tools and tests), resolved the same way.
#ifndef VTFILES_H
#define VTFILES_H

#include <stddef.h>
#include <stdio.h>

// Opens a game file for reading ("rt", "rb"); NULL when it does not exist or
// is not a regular file (a folder, a named pipe, a device).
FILE* VTFileOpenRead(const char* gamePath, const char* mode);
// The same for a real path ("r", "rb"); never blocks. Safe from any thread.
FILE* VTFileOpenRegular(const char* realPath, const char* mode);

// Replaces a game file with exactly these bytes: written to a temporary file
// of its own beside it, flushed, then renamed over it, so a crash or a full
// disk never leaves a truncated file. A symbolic link is written through to
// the file it names; the old file's mode is kept. A file that is not a regular
// file, or that this process could not open for writing, is left alone.
// Creates missing folders. 1 on success, 0 otherwise (the old file is then
// untouched and no temporary file is left).
int VTFileWriteAtomic(const char* gamePath, const void* data, size_t size);

// The real path a game path stands for: 1 when it names an existing file or
// folder, 0 when it does not (out then holds the path a write would create).
// Paths that do not fit outSize give 0 and an empty out.
int VTFileResolve(const char* gamePath, char* out, size_t outSize);

// Folder holding Graphic_Assets and Audio_Assets: the installed data folder
// beside an installed binary, else the source tree's assets/, else the
// working directory.
const char* VTFileAssetRoot(void);
// Folder holding the saved files' "Data" folder: $XDG_DATA_HOME/kelvaro, or
// ~/.local/share/kelvaro. Read afresh at every call.
const char* VTFileUserRoot(void);

#endif
