// scenes.h -- what the bench measures and the records its child processes
// hand back through shared memory.
#ifndef KELVARO_BENCH_SCENES_H
#define KELVARO_BENCH_SCENES_H

enum { MAX_SCENES = 12, MAX_CHANGES = 16 };

// How long each measurement runs.
struct BenchPlan
{
    int rounds;       // each figure is the median of this many rounds
    int logicFrames;  // frames per logic round
    int frameFrames;  // frames per whole-frame round
    int changeRuns;   // program runs for the state changes
    int startupRuns;  // launches for the start-up time
    double cpuSeconds; // each CPU window
    int verbose;       // what each scene holds, on standard error
    const char* scene; // only play scenes whose name contains this (NULL: all)
};

// A scripted play scene: the level and ship it starts with, the frames run
// before measuring (1/60 s each), the ability taps, the black hole held
// near, and the asteroids added at rest for the synthetic densities.
struct SceneSetup
{
    const char* name;
    int level;
    int ship;
    int warmFrames;
    int tapEvery; // frames between CTRL taps, 0 for none
    int blackHoleNear;
    int synthetic;
};
extern const SceneSetup playScenes[];
extern const int playSceneCount;
int SceneWanted(const BenchPlan* plan, const SceneSetup* setup);

struct LogicResult
{
    char name[48];
    double usPerFrame; // PlayUpdate under the null draw
    double floorUs;    // the same frame's engine draw calls alone, null draw
    double objects;    // nodes in the play list
    double walkers;    // nodes whose collision responses walk the whole list
    double walkFloorUs; // those walks alone: each reads every node's kind
    int synthetic;
};

struct LogicResults
{
    int count;
    LogicResult scenes[MAX_SCENES];
    double peakMb;
};

struct FrameResult
{
    char name[48];
    double fps;      // whole frames: input, messages, Update, swap
    double floorFps; // the same frame's draws replayed in a bare loop
    double ratio;    // game frame time / floor frame time
    double objects;
    int draws;
    double overdraw; // window areas the quads cover, summed
    int sameImage; // the replayed frame is pixel for pixel the game's
};

struct FrameResults
{
    int count;
    FrameResult scenes[MAX_SCENES];
    char renderer[160];
    double emptyFps; // frames that only clear and swap
    double peakMb;
};

void RunLogicBench(const BenchPlan* plan, LogicResults* out);
void RunFrameBench(const BenchPlan* plan, int width, int height, FrameResults* out);

#endif
