// main.cpp -- kelvaro_bench: runs every measurement, each in fresh child
// processes (the engine starts once per process), and prints one table.
//
//   kelvaro_bench [--quick] [--verbose] [--scene NAME] [--only logic|frames|changes|startup|cpu]...
//
// --quick runs fewer rounds (a smoke run, not for figures); --verbose lists
// what each play scene holds and where its fill goes; --scene keeps the play
// scenes whose name contains NAME; --only limits the run to some parts. The
// last two are for profiling one measurement.
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bench.h"
#include "flows.h"
#include "scenes.h"

static BenchPlan plan = {5, 600, 60, 3, 7, 10.0, 0, NULL};

static const int resolutions[3][2] = {{1024, 768}, {1280, 720}, {1920, 1080}};

// --- the table --------------------------------------------------------------------------

struct Row
{
    std::string area, measure, game, floor, ratio, goal, met, notes;
};
static std::vector<Row> rows;
static int misses;

static std::string Format(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

static std::string Met(bool met)
{
    if (!met)
        misses++;
    return met ? "yes" : "**no**";
}

static void Add(const Row& row)
{
    rows.push_back(row);
}

static void PrintTable(void)
{
    printf("| area | measure | game | floor | game/floor | goal | met | notes |\n");
    printf("|---|---|---|---|---|---|---|---|\n");
    for (const Row& r : rows)
        printf("| %s | %s | %s | %s | %s | %s | %s | %s |\n", r.area.c_str(), r.measure.c_str(), r.game.c_str(),
               r.floor.c_str(), r.ratio.c_str(), r.goal.c_str(), r.met.c_str(), r.notes.c_str());
}

// The 1-minute load average: other work on the machine skews every figure
// except the ratios.
static double LoadAverage(void)
{
    double load = -1.0;
    FILE* f = fopen("/proc/loadavg", "r");
    if (f) {
        if (fscanf(f, "%lf", &load) != 1)
            load = -1.0;
        fclose(f);
    }
    return load;
}

static std::string CpuModel(void)
{
    FILE* f = fopen("/proc/cpuinfo", "r");
    std::string model = "unknown CPU";
    char line[512];
    while (f && fgets(line, sizeof line, f)) {
        if (strncmp(line, "model name", 10) == 0) {
            const char* colon = strchr(line, ':');
            if (colon) {
                model = colon + 2;
                model.erase(model.find_last_not_of("\n ") + 1);
            }
            break;
        }
    }
    if (f)
        fclose(f);
    return model;
}

// --- the parts ---------------------------------------------------------------------------

static void LogicChild(void* out)
{
    RunLogicBench(&plan, (LogicResults*)out);
}

static void Logic(void)
{
    LogicResults* r = SharedBlock<LogicResults>();
    int status = RunChild("001", LogicChild, r);
    if (status != 0 || r->count == 0) {
        Add({"logic", "play Update", "failed", "", "", "", Met(false), Format("child status %d", status)});
        return;
    }
    const LogicResult* at250 = NULL;
    const LogicResult* at2000 = NULL;
    for (int i = 0; i < r->count; i++) {
        const LogicResult* s = &r->scenes[i];
        bool goal = !s->synthetic || s->synthetic <= 1000;
        // The floor is what the design cannot skip: the frame's draw calls and
        // one pass over the list for every walker.
        double floorUs = s->floorUs + s->walkFloorUs;
        double steps = s->walkers * s->objects;
        std::string notes = Format("%.0f objects, %.0f walk the list: %.1f ns per step (bare walks %.1f ns, %.0f µs; "
                                   "draw calls %.0f µs)",
                                   s->objects, s->walkers, s->usPerFrame * 1e3 / steps,
                                   s->walkFloorUs * 1e3 / steps, s->walkFloorUs, s->floorUs);
        std::string met = goal ? Met(s->usPerFrame <= 1000.0) : "—";
        if (goal && s->usPerFrame > 1000.0 && floorUs > 1000.0)
            met += " (below the floor)";
        Add({"1 logic", s->name, Format("%.0f µs", s->usPerFrame), Format("%.0f µs", floorUs),
             Format("%.1f", s->usPerFrame / floorUs), goal ? "≤ 1000 µs" : "—", met, notes});
        if (s->synthetic == 250)
            at250 = s;
        if (s->synthetic == 2000)
            at2000 = s;
    }
    if (at250 && at2000) {
        // Each walker passes over the whole list, so the steps grow with
        // walkers x objects; what the game adds per step must stay flat.
        double cost = at2000->usPerFrame / at250->usPerFrame;
        double count = at2000->objects / at250->objects;
        double exponent = log(cost) / log(count);
        double perStep = (at2000->usPerFrame / (at2000->walkers * at2000->objects)) /
                         (at250->usPerFrame / (at250->walkers * at250->objects));
        Add({"1 logic", "growth, 2000 vs 250 objects", Format("%.1fx cost", cost), Format("%.1fx objects", count),
             Format("%.2fx per step", perStep), "per walk step flat (≤ 1.25x)", Met(perStep <= 1.25),
             Format("cost ~ objects^%.2f, the walks' own square", exponent)});
    }
    Add({"4 memory", "peak RSS, logic scenes (1280x720)", Format("%.0f MB", r->peakMb), "", "", "< 130 MB",
         Met(r->peakMb < 130.0), "VmHWM, up to 2000 objects"});
}

struct FrameJob
{
    int width, height;
    FrameResults* out;
};

static void FrameChild(void* context)
{
    FrameJob* job = (FrameJob*)context;
    RunFrameBench(&plan, job->width, job->height, job->out);
}

static std::string renderer;

static void Frames(void)
{
    for (const auto& size : resolutions) {
        FrameJob job = {size[0], size[1], SharedBlock<FrameResults>()};
        char options[4] = {'0', '0', (char)(size[0] == 1024 ? '0' : size[0] == 1920 ? '2' : '1'), 0};
        int status = RunChild(options, FrameChild, &job);
        std::string where = Format("%dx%d", size[0], size[1]);
        if (status != 0 || job.out->count == 0) {
            Add({"2 frames", where, "failed", "", "", "", Met(false), Format("child status %d", status)});
            continue;
        }
        renderer = job.out->renderer;
        bool goalHere = size[0] == 1280;
        Add({"2 frames " + where, "clear and swap only", Format("%.0f fps", job.out->emptyFps), "", "", "", "",
             "the cost of presenting a frame"});
        for (int i = 0; i < job.out->count; i++) {
            const FrameResult* s = &job.out->scenes[i];
            std::string notes = Format("%d quads covering %.1f windows", s->draws, s->overdraw);
            if (s->objects > 0)
                notes += Format(", %.0f objects", s->objects);
            if (!s->sameImage)
                notes += ", replay image differs";
            Add({"2 frames " + where, s->name, Format("%.0f fps", s->fps), Format("%.0f fps", s->floorFps),
                 Format("%.2f", s->ratio), goalHere ? "≤ 1.15" : "—", goalHere ? Met(s->ratio <= 1.15) : "—",
                 notes});
        }
        if (size[0] == 1920)
            Add({"4 memory", "peak RSS, whole frames at 1920x1080", Format("%.0f MB", job.out->peakMb), "", "",
                 "< 130 MB", Met(job.out->peakMb < 130.0), "VmHWM, menu and every play scene"});
    }
}

static int changeIterations = 2;

static void ChangeChild(void* out)
{
    RunStateChanges(changeIterations, plan.verbose, (ChangeResults*)out);
}

static void ChangeBankChild(void* out)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    RunStateChanges(1, plan.verbose, (ChangeResults*)out);
}

static void Changes(void)
{
    std::vector<ChangeResults*> runs;
    int failed = 0;
    for (int i = 0; i < plan.changeRuns; i++) {
        ChangeResults* r = SharedBlock<ChangeResults>();
        int status = RunChild("001", ChangeChild, r);
        if (status != 0 || !r->finished)
            failed++;
        else
            runs.push_back(r);
    }
    if (runs.empty()) {
        Add({"3 state changes", "scripted run", "failed", "", "", "", Met(false), ""});
        return;
    }
    // The sound bank with a (dummy) audio device and sound on: what the
    // silent runs above leave out.
    ChangeResults* bank = SharedBlock<ChangeResults>();
    int bankStatus = RunChild("011", ChangeBankChild, bank);

    const ChangeResults* first = runs[0];
    for (int c = 0; c < first->count; c++) {
        const char* name = first->changes[c].name;
        std::vector<double> total, after, texture, bankMs, floor, decode;
        int textures = first->changes[c].textures;
        for (const ChangeResults* r : runs) {
            for (int k = 0; k < r->count; k++) {
                const ChangeResult* ch = &r->changes[k];
                if (strcmp(ch->name, name) != 0)
                    continue;
                for (int s = 0; s < ch->samples; s++) {
                    total.push_back(ch->sample[s].totalMs);
                    after.push_back(ch->sample[s].afterFrameMs);
                    texture.push_back(ch->sample[s].textureMs);
                    bankMs.push_back(ch->sample[s].bankMs);
                }
                floor.push_back(ch->floorMs);
                decode.push_back(ch->decodeMs);
            }
        }
        double withDevice = -1.0, withDeviceBank = -1.0;
        for (int k = 0; bankStatus == 0 && k < bank->count; k++) {
            if (strcmp(bank->changes[k].name, name) == 0 && bank->changes[k].samples > 0) {
                withDevice = bank->changes[k].sample[0].totalMs;
                withDeviceBank = bank->changes[k].sample[0].bankMs;
            }
        }
        bool selectToPlay = strcmp(name, "ship select -> play") == 0;
        // The biggest change of all has the tightest goal: a player waits
        // for it at the start of every run.
        double limit = selectToPlay ? 40.0 : 100.0;
        double t = Median(total);
        std::string notes = Format("%zu samples; from the end of the asking frame %.0f ms; textures %.0f ms",
                                   total.size(), Median(after), Median(texture));
        if (textures)
            notes += Format(" (%d files; in the bare loop decoding %.0f ms, upload %.0f ms)", textures,
                            Median(decode), Median(floor) - Median(decode));
        notes += Format("; sound bank %.1f ms", Median(bankMs));
        if (withDevice >= 0.0)
            notes += Format("; with an audio device and sound on: %.0f ms, bank %.0f ms", withDevice,
                            withDeviceBank);
        bool haveFloor = textures > 0;
        Add({"3 state changes", name, Format("%.0f ms", t), haveFloor ? Format("%.0f ms", Median(floor)) : "no files",
             haveFloor ? Format("%.1f", t / Median(floor)) : "—", Format(selectToPlay ? "≤ %.0f ms" : "< %.0f ms", limit), Met(selectToPlay ? t <= limit : t < limit),
             notes});
    }
    if (bankStatus == 0) {
        std::vector<double> later;
        double first = -1.0;
        for (int k = 0; k < bank->count; k++)
            for (int i = 0; i < bank->changes[k].samples; i++) {
                double ms = bank->changes[k].sample[i].bankMs;
                if (strcmp(bank->changes[k].name, "logo -> menu") == 0 && first < 0.0)
                    first = ms;
                else
                    later.push_back(ms);
            }
        Add({"3 state changes", "sound bank, first made (audio device, sound on)", Format("%.0f ms", first), "",
             "", "", "", "SDL_AUDIODRIVER=dummy; in logo -> menu, waiting for the device and the 9 WAVs "
                         "decoded in the background since launch; the 2 MP3 tunes stream"});
        Add({"3 state changes", "sound bank, made again (audio device, sound on)", Format("%.1f ms", Median(later)),
             "", "", "", "", "release and make at every later change; decoded sounds are kept"});
    }
    std::vector<double> start, menu, play;
    for (const ChangeResults* r : runs) {
        start.push_back(r->startRssMb);
        menu.push_back(r->menuRssMb);
        play.push_back(r->peakMb);
    }
    std::string base = Format("%.0f MB", Median(start));
    Add({"4 memory", "RSS at the menu (program, 1280x720)", Format("%.0f MB", Median(menu)), base,
         Format("%.2f", Median(menu) / Median(start)), "", "", "VmRSS; floor: the window and GL context alone"});
    Add({"4 memory", "peak RSS of a played session (program)", Format("%.0f MB", Median(play)), base,
         Format("%.2f", Median(play) / Median(start)), "≤ 120 MB", Met(Median(play) <= 120.0),
         "VmHWM after menu, options, select, play, retry, warp, menu"});
    if (bankStatus == 0 && bank->peakMb > 0.0)
        Add({"4 memory", "the same with an audio device and sound on", Format("%.0f MB", bank->peakMb), base,
             Format("%.2f", bank->peakMb / Median(start)), "≤ 130 MB", Met(bank->peakMb <= 130.0),
             "SDL_AUDIODRIVER=dummy: the decoded effects stay resident"});
    if (failed)
        Add({"3 state changes", "scripted runs failed", Format("%d", failed), "", "", "", Met(false), ""});
}

static void Startup(void)
{
    std::vector<double> total, toMain, toWindow, toFrame, windowUp;
    for (int i = 0; i < plan.startupRuns; i++) {
        std::string home = MakeDataHome("001");
        int fds[2];
        if (pipe(fds) != 0)
            break;
        fflush(stdout);
        double launched = Now();
        pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            setenv("XDG_DATA_HOME", home.c_str(), 1);
            char fd[16];
            snprintf(fd, sizeof fd, "%d", fds[1]);
            execl("/proc/self/exe", "kelvaro_bench", "--startup-child", fd, (char*)NULL);
            _exit(127);
        }
        close(fds[1]);
        double times[3];
        ssize_t got = read(fds[0], times, sizeof times);
        close(fds[0]);
        int status = WaitChild(pid);
        RemoveDataHome(home);
        if (got != (ssize_t)sizeof times || status != 0)
            continue;
        total.push_back((times[2] - launched) * 1e3);
        toMain.push_back((times[0] - launched) * 1e3);
        toWindow.push_back((times[1] - times[0]) * 1e3);
        toFrame.push_back((times[2] - times[1]) * 1e3);
        windowUp.push_back((times[1] - launched) * 1e3);
    }
    if (total.empty()) {
        Add({"4 start-up", "launch to first splash frame", "failed", "", "", "", Met(false), ""});
        return;
    }
    double t = Median(total);
    Add({"4 start-up", "launch to first splash frame", Format("%.0f ms", t), Format("%.0f ms", Median(windowUp)),
         Format("%.1f", t / Median(windowUp)), "< 300 ms", Met(t < 300.0),
         Format("%zu launches; exec to main %.0f ms, window and GL %.0f ms, splash load and first frame %.0f ms; "
                "floor: launch to the window and GL context up",
                total.size(), Median(toMain), Median(toWindow), Median(toFrame))});
}

static void CpuChild(void* out)
{
    RunCpu(plan.cpuSeconds, (CpuResults*)out);
}

static void Cpu(void)
{
    CpuResults* r = SharedBlock<CpuResults>();
    int status = RunChild("001", CpuChild, r);
    if (status != 0 || !r->finished) {
        Add({"5 CPU", "paced run", "failed", "", "", "", Met(false), Format("child status %d", status)});
        return;
    }
    const CpuWindow* windows[2] = {&r->menu, &r->play};
    const char* names[2] = {"main menu, paced", "level 1, paced"};
    for (int i = 0; i < 2; i++) {
        const CpuWindow* w = windows[i];
        std::string notes = Format("%.0f s window, 1280x720; pacing %s", plan.cpuSeconds, w->pacing ? "on" : "off");
        if (w->serverPercent >= 0.0)
            notes += Format("; the X server %.0f %% more", w->serverPercent);
        Add({"5 CPU", names[i], Format("%.0f %% of a core", w->cpuPercent), "", "", "", "", notes});
        Add({"5 CPU", std::string(names[i]) + ": frame rate", Format("%.1f fps", w->fps), "", "",
             "the refresh (60 Hz when unknown)", Met(fabs(w->fps - 60.0) < 3.0), ""});
    }
}

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "--startup-child") == 0)
        return RunStartupChild(atoi(argv[2]));

    std::vector<std::string> only;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--quick") == 0) {
            plan = {3, 60, 20, 1, 3, 3.0, plan.verbose, plan.scene};
            changeIterations = 1;
        } else if (strcmp(argv[i], "--scene") == 0 && i + 1 < argc) {
            plan.scene = argv[++i];
        } else if (strcmp(argv[i], "--verbose") == 0) {
            plan.verbose = 1;
        } else if (strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only.push_back(argv[++i]);
        } else {
            fprintf(stderr, "usage: %s [--quick] [--verbose] [--scene NAME] [--only logic|frames|changes|startup|cpu]...\n", argv[0]);
            return 2;
        }
    }
    auto wanted = [&](const char* part) {
        if (only.empty())
            return true;
        for (const std::string& o : only)
            if (o == part)
                return true;
        return false;
    };
    if (!getenv("DISPLAY"))
        fprintf(stderr, "kelvaro_bench: no DISPLAY; run it under xvfb-run (make bench does)\n");
#ifndef __OPTIMIZE__
    fprintf(stderr, "kelvaro_bench: built without optimisation; the figures mean little\n");
#endif

    double start = Now();
    double loadBefore = LoadAverage();
    if (wanted("logic"))
        Logic();
    if (wanted("frames"))
        Frames();
    if (wanted("changes"))
        Changes();
    if (wanted("startup"))
        Startup();
    if (wanted("cpu"))
        Cpu();

    struct utsname host;
    uname(&host);
    time_t now = time(NULL);
    char date[32];
    strftime(date, sizeof date, "%Y-%m-%d", localtime(&now));
    printf("\nKelvaro benchmark, %s: %s, %ld cores, %s %s; %s\n", date, CpuModel().c_str(), sysconf(_SC_NPROCESSORS_ONLN),
           host.sysname, host.release, renderer.empty() ? "renderer not queried" : renderer.c_str());
    printf("Each figure is the median of %d rounds (state changes: of every sample); a floor is measured in the "
           "same run as its figure. Load average %.1f before, %.1f after.\n\n",
           plan.rounds, loadBefore, LoadAverage());
    PrintTable();
    printf("\nFloors: logic, the same frame's engine draw calls replayed under the null draw plus one bare pass\n"
           "over the list for every object whose collisions walk it; frames, the same\n"
           "frame's quads replayed through the engine's draw calls in a bare loop (its image checked identical);\n"
           "state changes, loading and unloading the same image files in a bare loop; memory and start-up, the\n"
           "window and GL context up with nothing loaded. Ratios are game/floor from the same run.\n");
    printf("\n%d goal(s) missed; the bench took %.0f s.\n", misses, Now() - start);
    return 0;
}
