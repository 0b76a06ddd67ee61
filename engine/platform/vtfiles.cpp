// vtfiles.cpp -- Windows-style game paths on a case-sensitive file system.
// Owns nothing but the asset root, found once; the user root follows the
// environment at every call so tests can move it.
#include "platform/vtfiles.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef KELVARO_SOURCE_ASSETS
#define KELVARO_SOURCE_ASSETS "assets"
#endif
#ifndef KELVARO_INSTALLED_ASSETS
#define KELVARO_INSTALLED_ASSETS "share/kelvaro"
#endif

enum { PATH_SIZE = 4096 };

static char assetRoot[PATH_SIZE];
static char userRoot[PATH_SIZE];

static int IsDirectory(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

static int Exists(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0;
}

// Appends "/name" to dir in place; 0 when it would not fit.
static int Append(char* dir, size_t size, const char* name, size_t nameLength)
{
    size_t length = strlen(dir);
    int fits = length + 1 + nameLength + 1 <= size;
    if (fits) {
        if (length == 0 || dir[length - 1] != '/')
            dir[length++] = '/';
        memcpy(dir + length, name, nameLength);
        dir[length + nameLength] = '\0';
    }
    return fits;
}

// Looks in dir for an entry matching name without regard to case; copies the
// real spelling into found. The first match in directory order wins, as two
// names differing only in case cannot both come from the game's own files.
static int FindCaseless(const char* dir, const char* name, size_t nameLength, char* found, size_t foundSize)
{
    int result = 0;
    DIR* folder = opendir(dir[0] ? dir : ".");
    if (folder) {
        struct dirent* entry;
        while (!result && (entry = readdir(folder)) != NULL) {
            if (strlen(entry->d_name) == nameLength && strncasecmp(entry->d_name, name, nameLength) == 0
                && nameLength < foundSize) {
                memcpy(found, entry->d_name, nameLength + 1);
                result = 1;
            }
        }
        closedir(folder);
    }
    return result;
}

static const char* RootFor(const char* gamePath, const char** rest)
{
    // A path starting with a slash is already a real path: tools and tests
    // hand the loaders files of their own.
    if (gamePath[0] == '/') {
        *rest = gamePath + 1;
        return "/";
    }
    // Skip leading backslashes so "\Data\x" and "Data\x" agree.
    while (*gamePath == '\\' || *gamePath == '/')
        gamePath++;
    *rest = gamePath;
    const char* root;
    if (strncasecmp(gamePath, "Data", 4) == 0 && (gamePath[4] == '\\' || gamePath[4] == '/'))
        root = VTFileUserRoot();
    else
        root = VTFileAssetRoot();
    return root;
}

int VTFileResolve(const char* gamePath, char* out, size_t outSize)
{
    const char* rest;
    const char* root = RootFor(gamePath, &rest);
    int found = 1;
    int fits = strlen(root) < outSize;
    if (fits)
        strcpy(out, root);

    const char* p = rest;
    while (fits && *p) {
        // One component at a time: both separators count, and doubled ones
        // ("Audio_Assets//BGM//x.mp3") are one separator.
        size_t length = strcspn(p, "\\/");
        if (length > 0) {
            char name[256];
            size_t start = strlen(out);
            fits = Append(out, outSize, p, length);
            // Once a part is missing, the rest keeps the game's spelling: it
            // is the path a write would create.
            if (fits && found && !Exists(out)) {
                out[start] = '\0';
                found = FindCaseless(out, p, length, name, sizeof name);
                fits = Append(out, outSize, found ? name : p, length);
            }
        }
        p += length;
        while (*p == '\\' || *p == '/')
            p++;
    }
    if (!fits) {
        if (outSize > 0)
            out[0] = '\0';
        found = 0;
    }
    return found;
}

FILE* VTFileOpenRegular(const char* realPath, const char* mode)
{
    // Opened without waiting: a named pipe would otherwise hold the game until
    // something wrote to it. Only then is the file looked at, so what is
    // checked is what gets read.
    FILE* file = NULL;
    int fd = open(realPath, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat info;
        int flags = fcntl(fd, F_GETFL);
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flags >= 0
            && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
            file = fdopen(fd, mode);
        if (!file)
            close(fd);
    }
    return file;
}

FILE* VTFileOpenRead(const char* gamePath, const char* mode)
{
    char path[PATH_SIZE];
    FILE* file = NULL;
    // Text and binary are the same here; "rt" is what the game asks for.
    const char* posixMode = (mode && strchr(mode, 'b')) ? "rb" : "r";
    if (VTFileResolve(gamePath, path, sizeof path))
        file = VTFileOpenRegular(path, posixMode);
    return file;
}

// mkdir -p for the folders above a file path.
static int MakeParents(const char* filePath)
{
    char path[PATH_SIZE];
    int ok = strlen(filePath) < sizeof path;
    if (ok) {
        strcpy(path, filePath);
        for (char* p = path + 1; ok && *p; p++) {
            if (*p == '/') {
                *p = '\0';
                if (mkdir(path, 0755) != 0 && errno != EEXIST)
                    ok = 0;
                else if (!IsDirectory(path))
                    ok = 0;
                *p = '/';
            }
        }
    }
    return ok;
}

static int WriteAll(int fd, const void* data, size_t size)
{
    const char* bytes = (const char*)data;
    int ok = 1;
    while (ok && size > 0) {
        ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        ok = written > 0;
        if (ok) {
            bytes += written;
            size -= (size_t)written;
        }
    }
    return ok;
}

// The file a path finally names once every symbolic link on the way is
// followed; it need not exist. 0 for a loop or a name that does not fit.
static int FollowLinks(const char* path, char* out, size_t outSize)
{
    char current[PATH_SIZE];
    int ok = strlen(path) < sizeof current;
    if (ok)
        strcpy(current, path);
    struct stat info;
    for (int hops = 0; ok && lstat(current, &info) == 0 && S_ISLNK(info.st_mode); hops++) {
        char target[PATH_SIZE];
        ssize_t length = readlink(current, target, sizeof target - 1);
        ok = length > 0 && hops < 40;
        if (ok) {
            target[length] = '\0';
            // A relative target counts from the link's own folder.
            char* slash = strrchr(current, '/');
            size_t keep = (target[0] == '/' || !slash) ? 0 : (size_t)(slash - current) + 1;
            ok = keep + (size_t)length < sizeof current;
            if (ok)
                memcpy(current + keep, target, (size_t)length + 1);
        }
    }
    ok = ok && strlen(current) < outSize;
    if (ok)
        strcpy(out, current);
    return ok;
}

// Whether this process may write into the file itself. Opening it without
// truncating changes nothing.
static int CanOpenForWriting(const char* path)
{
    int fd = open(path, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0)
        close(fd);
    return fd >= 0;
}

static mode_t CurrentUmask(void)
{
    mode_t mask = umask(022);
    umask(mask);
    return mask;
}

int VTFileWriteAtomic(const char* gamePath, const void* data, size_t size)
{
    char resolved[PATH_SIZE];
    char path[PATH_SIZE];
    char temp[PATH_SIZE + 16];
    VTFileResolve(gamePath, resolved, sizeof resolved);
    // Through a symbolic link (a copy kept in sync elsewhere) to the file it
    // names, so the link stays and its target gets the new contents.
    int ok = resolved[0] != '\0' && FollowLinks(resolved, path, sizeof path) && MakeParents(path);
    struct stat old;
    int replacing = ok && stat(path, &old) == 0;
    // A rename needs only the folder's permission: without these checks it
    // would put a new file in place of a protected one, or of a folder, pipe
    // or device, that the game could never have written into.
    if (replacing)
        ok = S_ISREG(old.st_mode) && CanOpenForWriting(path);
    int fd = -1;
    if (ok) {
        // A name of its own for every save: two copies of the game saving at
        // once never write into the same temporary file.
        snprintf(temp, sizeof temp, "%s.tmp-XXXXXX", path);
        fd = mkstemp(temp);
        ok = fd >= 0;
    }
    if (ok) {
        // The replacement keeps the old file's mode, and its owner where the
        // system allows: a copy started by root must not take the player's
        // files away from them. A new file gets what creating it would.
        int otherOwner = replacing && (old.st_uid != geteuid() || old.st_gid != getegid());
        if (otherOwner && fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Not allowed: the file becomes this user's own, as before.
        }
        mode_t mode = replacing ? (old.st_mode & 07777) : (0644 & ~CurrentUmask());
        ok = fchmod(fd, mode) == 0 && WriteAll(fd, data, size) && fsync(fd) == 0;
        ok = (close(fd) == 0) && ok;
        if (ok)
            ok = rename(temp, path) == 0;
        if (!ok)
            unlink(temp);
    }
    return ok;
}

static int FindInstalledRoot(char* out, size_t size)
{
    // An installed binary sits in <prefix>/bin; its data in <prefix>/share/kelvaro.
    char exe[PATH_SIZE];
    int found = 0;
    ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length > 0) {
        exe[length] = '\0';
        char* slash = strrchr(exe, '/');
        if (slash) {
            *slash = '\0';
            char candidate[PATH_SIZE * 2];
            snprintf(candidate, sizeof candidate, "%s/../%s", exe, KELVARO_INSTALLED_ASSETS);
            char real[PATH_MAX];
            if (realpath(candidate, real) && IsDirectory(real) && strlen(real) < size) {
                char probe[PATH_MAX + 32];
                snprintf(probe, sizeof probe, "%s/Graphic_Assets", real);
                if (IsDirectory(probe)) {
                    strcpy(out, real);
                    found = 1;
                }
            }
        }
    }
    return found;
}

const char* VTFileAssetRoot(void)
{
    if (assetRoot[0] == '\0') {
        if (!FindInstalledRoot(assetRoot, sizeof assetRoot)) {
            if (IsDirectory(KELVARO_SOURCE_ASSETS))
                snprintf(assetRoot, sizeof assetRoot, "%s", KELVARO_SOURCE_ASSETS);
            else
                snprintf(assetRoot, sizeof assetRoot, ".");
        }
    }
    return assetRoot;
}

const char* VTFileUserRoot(void)
{
    const char* dataHome = getenv("XDG_DATA_HOME");
    const char* home = getenv("HOME");
    if (dataHome && dataHome[0] == '/')
        snprintf(userRoot, sizeof userRoot, "%s/kelvaro", dataHome);
    else if (home && home[0])
        snprintf(userRoot, sizeof userRoot, "%s/.local/share/kelvaro", home);
    else
        snprintf(userRoot, sizeof userRoot, "./kelvaro-data");
    return userRoot;
}
