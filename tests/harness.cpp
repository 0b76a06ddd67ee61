// harness.cpp -- child processes, shared result blocks and scripted game runs.
#include "harness.h"

#include <dirent.h>

#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <glob.h>
#include <sanitizer/lsan_interface.h>

// Closing the display unloads Mesa's driver: what it still held then looks
// leaked, from a library LeakSanitizer can no longer name, so no suppression
// applies. Holding the driver loaded keeps its blocks reachable and its
// frames named (tests/sanitizers/lsan.supp).
__attribute__((constructor)) static void KeepGraphicsDriversLoaded(void)
{
    glob_t found;
    if (glob("/usr/lib/*/dri/swrast_dri.so", 0, NULL, &found) == 0) {
        for (size_t i = 0; i < found.gl_pathc; i++)
            dlopen(found.gl_pathv[i], RTLD_LAZY | RTLD_NODELETE);
        globfree(&found);
    }
    dlopen("libGLX_mesa.so.0", RTLD_LAZY | RTLD_NODELETE);
}
#endif

#include "kelvaro.h"
#include "states.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtstatemanager.h"

void* AllocateShared(size_t size)
{
    void* block = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        abort();
    return block; // unmapped with the test process
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime of gcc 12 follows __tls_get_addr to note each
// thread's dynamic TLS blocks, and takes some of glibc's blocks for an older
// layout: it then records a wild range, and the leak check's tracer dies
// reading it ("Tracer caught signal 11"). Where a block lands depends on the
// heap, so the same case fails every time in one folder and never in another.
// Without the interception those blocks are found like any heap block,
// through the pointers in each thread's own TLS. An impossible allocation
// returns NULL, as it does without the sanitizer, so the out-of-memory
// paths can be tested.
extern "C" const char* __asan_default_options(void)
{
    return "intercept_tls_get_addr=0:allocator_may_return_null=1";
}
#endif

int RunInChild(const std::function<void()>& body)
{
    fflush(stdout);
    fflush(stderr);
    pid_t pid = fork();
    if (pid == 0) {
        // Children that are meant to die by a signal leave no core files.
        struct rlimit noCore = {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        // A real box would wait forever for a click under Xvfb: unless a test
        // installs its own, an unexpected assertion answers NO (the text
        // still reaches standard error) and the child ends.
        VTPlatformSetMessageBoxHook([](const char*, const char*) -> int { return VT_ANSWER_NO; });
        body();
        fflush(stdout);
        fflush(stderr);
#if defined(__SANITIZE_ADDRESS__)
        // _exit skips LeakSanitizer's check at exit: a leak in the child
        // must fail its test all the same.
        if (__lsan_do_recoverable_leak_check() != 0)
            _exit(CHILD_LEAKED);
#endif
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    int result = -1;
    if (WIFEXITED(status))
        result = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result = 128 + WTERMSIG(status);
    return result;
}

// Scripted runs are seeded alike: the game seeds rand() with the time of day.
static int fixedTime;
extern "C" time_t __real_time(time_t* result);
extern "C" time_t __wrap_time(time_t* result)
{
    if (!fixedTime)
        return __real_time(result);
    if (result)
        *result = 1000000;
    return 1000000;
}

static const GameScript* activeScript;
static int frame;
static std::vector<std::pair<std::string, std::string>> boxes;

static int AnswerBox(const char* caption, const char* text)
{
    boxes.emplace_back(caption, text);
    return activeScript ? activeScript->boxAnswer : VT_ANSWER_NO;
}

static void OnPump(void*)
{
    VTPlatformAdvanceClock(activeScript->frameTime);
    VTGraphicsSetNullDraw(!activeScript->draw);
    if (frame < activeScript->frames) {
        if (activeScript->onFrame)
            activeScript->onFrame(frame, VTSMGetGameData());
    } else if (frame == activeScript->frames) {
        PostMessage(VT_WM_CLOSE, 0, 0);
    }
    frame++;
}

int RunGame(const GameScript& script)
{
    activeScript = &script;
    fixedTime = 1;
    frame = 0;
    boxes.clear();
    VTPlatformSetMessageBoxHook(AnswerBox);
    VTPlatformUseVirtualClock();
    VTPlatformReportFocus(0);
    VTPlatformScriptPad(NULL);
    VTPlatformSetFrameHook(OnPump, NULL);
    return KelvaroMain();
}

const std::vector<std::pair<std::string, std::string>>& ShownBoxes()
{
    return boxes;
}

void PostMessage(unsigned message, unsigned long wParam, long lParam)
{
    VTMessage m = {NULL, message, wParam, lParam};
    VTPlatformPostMessage(&m);
}

void PostKey(unsigned long virtualKey, int down)
{
    PostMessage(down ? VT_WM_KEYDOWN : VT_WM_KEYUP, virtualKey, 0);
}

void StartTestEngine(int width, int height)
{
    static int started;
    if (started++)
        return;
    static int record;
    VTApplicationInitInfo info = {NULL, "Kelvaro", &record, (int)sizeof record, height, width, 0};
    VTApplicationInit(&info);
    for (int i = 0; i < STATE_COUNT; i++)
        VTSMAddState(&stateTable[i]);
}

std::string WriteTestTga(const char* name, int width, int height, int bits, const std::vector<unsigned char>& pixels)
{
    std::string path = std::string("/tmp/kelvaro-test-") + std::to_string(getpid()) + "-" + name + ".tga";
    unsigned char header[18] = {0, 0, 2};
    header[12] = (unsigned char)width;
    header[13] = (unsigned char)(width >> 8);
    header[14] = (unsigned char)height;
    header[15] = (unsigned char)(height >> 8);
    header[16] = (unsigned char)bits;
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        fwrite(header, 1, sizeof header, f);
        fwrite(pixels.data(), 1, pixels.size(), f);
        fclose(f);
    }
    return path;
}

TempDataHome::TempDataHome()
{
    char pattern[] = "/tmp/kelvaro-test-XXXXXX";
    path = mkdtemp(pattern);
    setenv("XDG_DATA_HOME", path.c_str(), 1);
}

TempDataHome::~TempDataHome()
{
    std::string command = "rm -rf '" + path + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", path.c_str());
}

std::string TempDataHome::File(const char* name) const
{
    return path + "/kelvaro/Data/" + name;
}

void TempDataHome::Write(const char* name, const std::string& contents) const
{
    std::string folder = path + "/kelvaro";
    mkdir(folder.c_str(), 0755);
    mkdir((folder + "/Data").c_str(), 0755);
    std::ofstream(File(name), std::ios::binary) << contents;
}

std::string TempDataHome::Read(const char* name) const
{
    std::ifstream in(File(name), std::ios::binary);
    if (!in)
        return "<missing>";
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

int TemporaryFiles(const std::string& folder)
{
    int count = 0;
    DIR* dir = opendir(folder.c_str());
    for (struct dirent* entry; dir && (entry = readdir(dir)) != NULL;)
        count += strstr(entry->d_name, ".tmp") != NULL;
    if (dir)
        closedir(dir);
    return count;
}
