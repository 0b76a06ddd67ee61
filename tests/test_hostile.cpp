// What a hostile machine does to the game: damaged pictures, named pipes,
// hang-ups, file-size limits, no display, protected or linked saved files, two
// copies saving at once, and a window manager that sizes the window itself.
#include <GL/glew.h>
#include <SDL.h>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"
#include "platform/vtaudio.h"
#include "platform/vtfiles.h"
#include "savedfiles.h"
#include "states.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtstatemanager.h"
#include "vttextureloading.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// Runs body in a child with standard error in a file; returns the status and
// what it wrote there.
int WithStderr(const std::function<void()>& body, std::string* text)
{
    char name[] = "/tmp/kelvaro-stderr-XXXXXX";
    int fd = mkstemp(name);
    int status = RunInChild([&] {
        dup2(fd, 2);
        body();
    });
    close(fd);
    *text = Slurp(name);
    remove(name);
    return status;
}

// The game program of this build, started with the current data home and the
// environment changed as asked; its output goes to log.
pid_t StartGame(const std::vector<const char*>& unset, const std::string& log)
{
    fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        for (const char* name : unset)
            unsetenv(name);
        // Only its status counts here. In the sanitizer build the program
        // unloads the GL driver before the leak check, which then reports
        // the driver's blocks unnamed; the in-process runs are leak-checked.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        // As a player's shell would start it, whatever this run inherited
        // (nohup, or a background job that ignores Ctrl+C).
        for (int signalNumber : {SIGHUP, SIGINT, SIGTERM})
            signal(signalNumber, SIG_DFL);
        int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        execl(KELVARO_GAME, "kelvaro", (char*)NULL);
        _exit(127);
    }
    return pid;
}

// Its exit status (128 + signal), or -1 when it had not ended after seconds
// and was killed.
int WaitForEnd(pid_t pid, int seconds)
{
    for (int i = 0; i < seconds * 20; i++) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        usleep(50000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
    return -1;
}

// Whether the process has a handler for the signal yet.
bool Catches(pid_t pid, int signalNumber)
{
    std::istringstream status(Slurp("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, 7, "SigCgt:") == 0)
            return (std::stoull(line.substr(7), NULL, 16) >> (signalNumber - 1)) & 1;
    return false;
}

} // namespace

TEST(Hostile, RefusedPictureIsNamedOnStandardError)
{
    std::string truncated = WriteTestTga("cut", 4, 4, 24, std::vector<unsigned char>(10, 0));
    std::string random = WriteTestTga("noise", 4, 4, 24, std::vector<unsigned char>(48, 0x5A));
    FILE* noise = fopen(random.c_str(), "r+b");
    fwrite("\x37\x91\x02\xee", 1, 4, noise); // a sane size on a header of noise
    fclose(noise);
    struct Case { const char* name; std::string path, resolved; const char* reason; };
    const Case cases[] = {
        {"missing", "Graphic_Assets\\NoSuch.tga", std::string(VTFileAssetRoot()) + "/Graphic_Assets/NoSuch.tga",
         "The Texture file could not be opened"},
        {"truncated", truncated, truncated, "Error Reading file"},
        {"random", random, random, "Invalid File type"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        EXPECT_EQ(255, WithStderr([&] { VTGraphicsLoadTexture(c.path.c_str()); }, &text));
        EXPECT_NE(std::string::npos, text.find(c.reason)) << text;
        EXPECT_NE(std::string::npos, text.find(c.resolved + "\n")) << text;
    }
    remove(truncated.c_str());
    remove(random.c_str());
}

TEST(Hostile, NamedPipesReadAsMissingWithoutWaiting)
{
    TempDataHome home;
    home.Write("Option.txt", "");
    static std::string pipe;
    pipe = home.File("Option.txt");
    remove(pipe.c_str());
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0644));
    struct Case { const char* name; void (*read)(); };
    const Case cases[] = {
        {"saved file", [] {
             GameData data;
             GameDataSetStartValues(&data);
             data.fullScreen = 7;
             LoadOptionFile(&data);
             EXPECT_EQ(7, data.fullScreen);
             SaveOptionFile(&data);
             struct stat info;
             EXPECT_TRUE(lstat(pipe.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)) << "the pipe is left alone";
         }},
        {"picture", [] {
             signal(SIGTRAP, SIG_IGN);
             VTPlatformSetMessageBoxHook([](const char*, const char* text) {
                 EXPECT_NE(nullptr, strstr(text, "The Texture file could not be opened"));
                 return (int)VT_ANSWER_YES;
             });
             EXPECT_EQ(VT_TEXTURE_NONE, VTGraphicsLoadTexture(pipe.c_str()));
         }},
        {"sound", [] {
             setenv("SDL_AUDIODRIVER", "dummy", 1);
             VTSoundSystem* system = VTAudioCreateSystem();
             ASSERT_EQ(1, VTAudioInitSystem(system, 1));
             EXPECT_EQ(nullptr, VTAudioCreateSound(system, pipe.c_str(), 0));
             VTAudioReleaseSystem(system);
             VTAudioShutdown();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        static void (*read)();
        read = c.read;
        // A read that waits for a writer ends here, by SIGALRM.
        EXPECT_EQ(0, RunInChild([] {
            alarm(20);
            read();
        }));
    }
}

TEST(Hostile, HangUpClosesTheGameAsTerminateAndInterruptDo)
{
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signalNumber));
        TempDataHome home;
        home.Write("Option.txt", "001");
        pid_t game = StartGame({}, home.path + "/log");
        for (int i = 0; i < 600 && !Catches(game, signalNumber); i++)
            usleep(50000);
        // Sound is off: SDL_mixer and the codec libraries it brings stay out.
        EXPECT_EQ(std::string::npos, Slurp("/proc/" + std::to_string(game) + "/maps").find("SDL2_mixer"));
        kill(game, signalNumber);
        EXPECT_EQ(0, WaitForEnd(game, 60)) << Slurp(home.path + "/log");
    }
}

TEST(Hostile, FileSizeLimitFailsTheSaveNotTheGame)
{
    // The options screen writes Option.txt when the window closes on it.
    TempDataHome home;
    home.Write("Option.txt", "01x");
    EXPECT_EQ(0, RunInChild([] {
        signal(SIGXFSZ, SIG_DFL);
        GameScript run;
        run.frames = 30;
        run.onFrame = [](int frame, GameData*) {
            if (frame == 0) {
                struct rlimit none;
                getrlimit(RLIMIT_FSIZE, &none);
                none.rlim_cur = 0;
                setrlimit(RLIMIT_FSIZE, &none);
                VTSMSetNextState(STATE_OPTION);
            }
            if (frame == 29) {
                EXPECT_EQ(STATE_OPTION, VTSMGetCurrentState());
            }
        };
        EXPECT_EQ(0, RunGame(run));
    }));
    EXPECT_EQ("01x", home.Read("Option.txt"));
    EXPECT_EQ(0, TemporaryFiles(home.path + "/kelvaro/Data"));
}

TEST(Hostile, NoDisplayEndsTheGameWithAMessage)
{
    TempDataHome home;
    home.Write("Option.txt", "001");
    pid_t game = StartGame({"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, home.path + "/log");
    EXPECT_EQ(1, WaitForEnd(game, 60));
    EXPECT_NE(std::string::npos, Slurp(home.path + "/log").find("no display to open a window on"));
}

TEST(Hostile, SavedFilesTheGameCouldNotWriteAreKept)
{
    // byRoot: when the tests run as root, saved by root itself.
    struct Case { const char* name; mode_t mode; bool linked, byRoot; const char* after; };
    const Case cases[] = {
        {"unreadable", 0000, false, false, "22"},
        {"write-protected", 0444, false, false, "22"},
        {"private, mode kept", 0600, false, false, "10"},
        {"a link to a synced copy", 0640, true, false, "10"},
        {"the player's, saved by root", 0600, false, true, "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataHome home;
        home.Write("UnlockShip.txt", "22");
        std::string link = home.File("UnlockShip.txt"), synced = home.path + "/synced";
        std::string real = c.linked ? synced + "/UnlockShip.txt" : link;
        mkdir(synced.c_str(), 0755);
        if (c.linked) {
            rename(link.c_str(), real.c_str());
            ASSERT_EQ(0, symlink("../../synced/UnlockShip.txt", link.c_str()));
        }
        chmod(real.c_str(), c.mode);
        // Root may write anything: the save runs as the user who owns it all.
        bool root = geteuid() == 0;
        const std::string owned[] = {home.path, home.path + "/kelvaro", home.File(""), synced, real, link};
        for (const std::string& p : owned) {
            if (root)
                lchown(p.c_str(), 65534, 65534);
        }
        EXPECT_EQ(0, RunInChild([root, &c] {
            if (root && !c.byRoot && (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0))
                _exit(9);
            GameData data;
            GameDataSetStartValues(&data);
            memcpy(data.unlockedShips, "10", 3);
            SaveUnlockShipFile(&data);
        }));
        struct stat info;
        EXPECT_TRUE(lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode) == c.linked);
        EXPECT_TRUE(stat(real.c_str(), &info) == 0 && (info.st_mode & 07777) == c.mode) << std::oct << info.st_mode;
        EXPECT_TRUE(!root || info.st_uid == 65534) << "owner kept";
        chmod(real.c_str(), 0644);
        EXPECT_EQ(c.after, Slurp(real));
        EXPECT_EQ(0, TemporaryFiles(home.path + "/kelvaro/Data") + TemporaryFiles(synced));
    }
}

TEST(Hostile, TwoCopiesSavingAtOnceNeverPublishAnEmptyOrMixedFile)
{
    TempDataHome home;
    home.Write("Score.txt", "7");
    static const char* const texts[] = {"7", "1234567"};
    int* failedSaves = SharedBlock<int>();
    pid_t writers[2];
    for (int w = 0; w < 2; w++) {
        writers[w] = fork();
        if (writers[w] == 0) {
            for (int n = 0; n < 500; n++)
                if (!VTFileWriteAtomic("Data\\Score.txt", texts[w], strlen(texts[w])))
                    __sync_fetch_and_add(failedSaves, 1);
            _exit(0);
        }
    }
    int reads = 0, torn = 0, running = 2;
    std::string seen;
    while (running > 0) {
        std::string score = home.Read("Score.txt");
        reads++;
        if (score != texts[0] && score != texts[1] && torn++ == 0)
            seen = score;
        for (pid_t& writer : writers) {
            if (writer > 0 && waitpid(writer, NULL, WNOHANG) == writer)
                writer = 0, running--;
        }
    }
    EXPECT_EQ(0, torn) << "of " << reads << " reads, first '" << seen << "'";
    EXPECT_EQ(0, *failedSaves) << "of 1000 saves";
    EXPECT_EQ(0, TemporaryFiles(home.path + "/kelvaro/Data"));
}

TEST(Hostile, WindowSizedByTheWindowManagerShowsTheWholePictureLetterboxed)
{
    // The designed 1280 x 720 picture, white with a red top-right corner, in
    // windows of other sizes: where it lands (x, y, width, height).
    struct Case { int width, height; int x, y, w, h; };
    static const Case cases[] = {
        {800, 600, 0, 75, 800, 450}, {1600, 1000, 0, 50, 1600, 900},
        {640, 360, 0, 0, 640, 360}, {1200, 450, 200, 0, 800, 450},
    };
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(1280, 720);
        SDL_Window* window = SDL_GL_GetCurrentWindow();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
            SDL_SetWindowSize(window, c.width, c.height);
            int w = 0, h = 0;
            for (int i = 0; i < 200 && (w != c.width || h != c.height); i++, SDL_Delay(10))
                SDL_GetWindowSize(window, &w, &h);
            VTApplicationProcessMessages();
            EXPECT_EQ(1280, VTApplicationGetWidth()) << "the layout keeps its size";
            VTGraphicsStartDraw();
            glDisable(GL_TEXTURE_2D);
            VTGraphicsSetToOrtho();
            VTMatrix4 m;
            VTGraphicsSetColor(255, 255, 255, 255);
            VTMatrixTransform(&m, 1280, 720, 0, 640, 360, 0);
            VTGraphicsDraw(&m);
            VTGraphicsSetColor(255, 0, 0, 255);
            VTMatrixTransform(&m, 128, 72, 0, 1280 - 64, 720 - 36, 0);
            VTGraphicsDraw(&m);
            VTCapture shot;
            ASSERT_EQ(1, VTGraphicsReadFrame(&shot));
            VTGraphicsEndDraw();
            ASSERT_EQ(c.width, shot.width);
            ASSERT_EQ(c.height, shot.height);
            // Red in the picture's top-right tenth, white in its middle, black bars.
            struct Spot { int x, y, rgb; };
            const Spot spots[] = {
                {c.x + c.w / 2, c.y + c.h / 2, 0xFFFFFF}, {c.x + c.w - 3, c.y + c.h - 3, 0xFF0000},
                {c.x + 3, c.y + 3, 0xFFFFFF}, {c.x / 2, c.height / 2, c.x ? 0 : 0xFFFFFF},
                {c.width / 2, c.y / 2, c.y ? 0 : 0xFFFFFF}, {c.width / 2, c.height - 1 - c.y / 2, c.y ? 0 : 0xFFFFFF},
            };
            for (const Spot& s : spots) {
                const unsigned char* p = shot.pixels + 3 * (s.y * shot.width + s.x);
                EXPECT_EQ(s.rgb, p[0] << 16 | p[1] << 8 | p[2]) << "at " << s.x << ", " << s.y;
            }
            VTGraphicsFreeCapture(&shot);
        }
    }));
}
