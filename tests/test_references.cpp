// Reference frames and recorded runs: scripted, seeded runs of the real
// program at a fixed step. Chosen frames are shrunk and compared with the
// pictures in tests/references (with a tolerance for the rasterizer's
// rounding); every few frames a digest line of the world (counts per kind,
// rounded sums of places and sizes, score, combo, fuel, level, sounds
// started) is compared with the run's committed text there. `make
// references` rewrites them all; a failure leaves the actual frame, a
// difference picture and the actual digest in <build>/references-actual.
#include <gtest/gtest.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"
#include "play/play.h"
#include "play/tutorial.h"
#include "soundbank.h"
#include "states.h"
#include "vtgraphics.h"
#include "vtstatemanager.h"

// Every sound the game starts, by name, for the digest.
static std::string soundsStarted;
extern "C" int __real_VTAudioPlay(VTSoundSystem*, VTSound*, VTChannel**);
extern "C" int __wrap_VTAudioPlay(VTSoundSystem* system, VTSound* sound, VTChannel** slot)
{
    const std::pair<VTSound*, const char*> names[] = {
        {GameMusicSound, "game"}, {MenuMusicSound, "menu"}, {SelectingSound, "tick"}, {MenuToStateSound, "go"},
        {DieSound, "die"}, {BoosterSound, "boost"}, {FuelSound, "fuel"}, {CollisionSound, "hit"},
        {WarpSound, "warp"}, {BulletCollisionSound, "bullet"}, {AntigravitySound, "wind"}};
    const char* name = "?";
    for (const auto& n : names)
        if (sound && sound == n.first)
            name = n.second;
    soundsStarted += std::string(" ") + name;
    return __real_VTAudioPlay(system, sound, slot);
}

namespace {

enum : unsigned long { VK_ENTER = 13, VK_CONTROL = 17, VK_ESC = 27, VK_SPACE = 32, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39,
                       VK_DOWN = 40 };

const int SHRUNK_WIDTH = 160;
// Shots also compared unshrunk in the middle of the frame (name-middle.ppm).
const char* const detailShots[] = {"launch", "menu", "flight"};

struct Image
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top row first
};

Image Shrink(const VTCapture& c)
{
    Image out;
    out.width = SHRUNK_WIDTH;
    out.height = SHRUNK_WIDTH * c.height / c.width;
    out.rgb.resize(out.width * out.height * 3);
    for (int y = 0; y < out.height; y++)
        for (int x = 0; x < out.width; x++)
            for (int k = 0; k < 3; k++) {
                int x0 = x * c.width / out.width, x1 = (x + 1) * c.width / out.width;
                int y0 = y * c.height / out.height, y1 = (y + 1) * c.height / out.height;
                long sum = 0;
                for (int sy = y0; sy < y1; sy++)
                    for (int sx = x0; sx < x1; sx++)
                        sum += c.pixels[((c.height - 1 - sy) * c.width + sx) * 3 + k];
                out.rgb[(y * out.width + x) * 3 + k] = (unsigned char)(sum / ((x1 - x0) * (y1 - y0)));
            }
    return out;
}

// The middle of the frame at full size, where a shrunk frame would average
// away the texture filtering of magnified pictures.
Image Middle(const VTCapture& c)
{
    Image out;
    out.width = SHRUNK_WIDTH;
    out.height = SHRUNK_WIDTH * 9 / 16;
    for (int y = 0; y < out.height; y++) {
        const unsigned char* row = c.pixels + ((c.height + out.height) / 2 - 1 - y) * c.width * 3;
        out.rgb.insert(out.rgb.end(), row + (c.width - out.width) / 2 * 3, row + (c.width + out.width) / 2 * 3);
    }
    return out;
}

bool WritePpm(const std::string& path, const Image& image)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    out.write((const char*)image.rgb.data(), image.rgb.size());
    return (bool)out;
}

Image ReadPpm(const std::string& path)
{
    Image image;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int depth = 0;
    if (in >> magic >> image.width >> image.height >> depth && magic == "P6" && depth == 255) {
        in.get();
        image.rgb.resize(image.width * image.height * 3);
        in.read((char*)image.rgb.data(), image.rgb.size());
        if (!in)
            image = Image();
    }
    return image;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A shrunk pixel averages 8 x 8 screen pixels: llvmpipe's rounding moves it
// by a few levels, a missing, moved, re-layered or re-filtered picture by far
// more over many pixels.
std::string Compare(const Image& want, const Image& got, Image* difference)
{
    if (want.width != got.width || want.height != got.height)
        return "size " + std::to_string(got.width) + "x" + std::to_string(got.height) + ", reference " +
               std::to_string(want.width) + "x" + std::to_string(want.height);
    *difference = got;
    int far = 0;
    long total = 0;
    for (size_t i = 0; i < got.rgb.size(); i += 3) {
        int worst = 0;
        for (int k = 0; k < 3; k++) {
            int d = abs(want.rgb[i + k] - got.rgb[i + k]);
            worst = d > worst ? d : worst;
            total += d;
        }
        far += worst > 24;
        for (int k = 0; k < 3; k++)
            difference->rgb[i + k] = (unsigned char)(worst * 4 > 255 ? 255 : worst * 4);
    }
    double mean = (double)total / got.rgb.size();
    if (far <= 8 && mean <= 1.0)
        return "";
    char what[96];
    snprintf(what, sizeof what, "%d pixels far off, mean difference %.2f", far, mean);
    return what;
}

// --- the scripted runs ---------------------------------------------------------

GameObject* List()
{
    return VTSMGetCurrentState() == STATE_TUTORIAL ? tutorialList : playList;
}

GameObject* Find(std::initializer_list<ObjectType*> kinds)
{
    for (GameObject* o = List(); o; o = o->next)
        for (ObjectType* kind : kinds)
            if (o->type == kind && o->visible && o->transform)
                return o;
    return NULL;
}

GameObject* Ship()
{
    return Find({&Ship1Type, &Ship2Type, &Ship3Type});
}

// Puts the first visible object of these kinds beside the ship.
void Bring(std::initializer_list<ObjectType*> kinds, float dx, float dy)
{
    GameObject *o = Find(kinds), *ship = Ship();
    if (o && ship) {
        o->transform->x = ship->transform->x + dx;
        o->transform->y = ship->transform->y + dy;
    }
}

void Tap(int frame, int at, unsigned long vk)
{
    if (frame == at || frame == at + 3)
        PostKey(vk, frame == at);
}

void Hold(int frame, int from, int to, unsigned long vk)
{
    if (frame == from || frame == to)
        PostKey(vk, frame == from);
}

// Flight with the ship's ability, a hit, a planet's pull, the black hole's
// warning and the warp.
void Flight(int f, GameData* d)
{
    Hold(f, 130, 270, VK_UP);
    Hold(f, 170, 190, VK_LEFT);
    Tap(f, 215, VK_CONTROL);
    Tap(f, 260, VK_CONTROL);
    if (f == 300)
        Bring({&Asteroid1Type, &Asteroid3Type, &SatelliteType}, 0.0f, 0.0f);
    if (f >= 340 && f <= 420)
        Bring({&EarthType, &MoonType, &MarsType, &UranusType}, f < 420 ? 160.0f : 5000.0f, 40.0f);
    if (f == 430 || f == 475)
        d->blackHoleDistance = f == 430 ? 60.0f : 300.0f;
    Hold(f, 480, 486, '3');
    Hold(f, 480, 486, '4');
}

// Points, a swallowed ship, the board with an unlock; a retry ending in a hit
// with an empty tank, and back to the menu from the second board.
void GameOver(int f, GameData* d)
{
    Hold(f, 140, 142, '5');
    Hold(f, 140, 142, '6');
    if (f == 200)
        d->blackHoleDistance = -1.0f;
    if (f == 555)
        d->fuel = -9.5f; // the next hit empties the tank
    if (f >= 555 && f < 600 && d->level > 0)
        Bring({&Asteroid1Type, &Asteroid3Type, &SatelliteType}, 0.0f, 0.0f);
    Tap(f, 420, 'R');
    Tap(f, 700, VK_ESC);
}

void Pause(int f, GameData*)
{
    Tap(f, 150, VK_ESC);
    Tap(f, 170, VK_DOWN);
}

// Each panel in turn: the first two go with a press, the next ones with the
// errand they ask for (the ship put on the marker), the last ones with keys.
void Tutorial(int f, GameData*)
{
    Tap(f, 100, VK_SPACE);
    Tap(f, 200, VK_SPACE);
    GameObject *marker = Find({&QuestType}), *ship = Ship();
    if (f >= 280 && f <= 680 && f % 80 == 40 && marker && ship) {
        ship->transform->x = marker->transform->x;
        ship->transform->y = marker->transform->y;
        ship->state->velX = ship->state->velY = 0.0f;
    }
    Tap(f, 780, VK_SPACE);
    Tap(f, 860, VK_CONTROL);
    Tap(f, 940, 'R');
}

// A player's minute: thrust all along in long arcs, the ability every few
// seconds, pickups flown through until the fuel opens the warp, then the
// cheat and reset chords.
void Player(int f, GameData* d)
{
    Hold(f, 130, 3590, VK_UP);
    Hold(f, 330 + (f / 400) * 400, 342 + (f / 400) * 400, (f / 400) % 2 ? VK_LEFT : VK_RIGHT);
    Tap(f, 150 + (f / 300) * 300, VK_CONTROL);
    if (f % 90 == 0)
        Bring({&FuelPickupType}, 0.0f, 0.0f);
    if (f == 1500)
        d->fuel = 97.0f;
    for (char key : {'1', '2', '5', '6'})
        Hold(f, 2500, 2502, key);
    Hold(f, 3000, 3002, '7');
    Hold(f, 3000, 3002, '8');
}

// The menu by its keys; the sound turned off in the options; the ship ring
// with a locked ship refused; the credits left early.
void Front(int f, GameData* d)
{
    Tap(f, 405, VK_DOWN);
    Tap(f, 430, VK_ENTER);
    Tap(f, 495, VK_DOWN);
    Tap(f, 505, VK_RIGHT);
    if (f == 560) {
        d->soundOn = 1; // the ring ticks
        VTSMSetNextState(STATE_SELECT);
    }
    Tap(f, 625, VK_RIGHT);
    Tap(f, 650, VK_ENTER);
    if (f == 660)
        VTSMSetNextState(STATE_CREDIT);
    Tap(f, 770, VK_ESC);
}

struct Scripted
{
    const char* name;
    const char* options;   // Option.txt: full screen, sound, resolution
    int start;             // entered on frame 0; -1 = from the splash screens
    int ship, level;
    int frames;
    int digestEvery;       // 0: no digest
    std::vector<std::pair<int, const char*>> shots;
    void (*script)(int frame, GameData* data);
};

const Scripted runs[] = {
    {"screens", "011", -1, 1, 1, 840, 10,
     {{50, "splash"}, {250, "logo"}, {400, "menu"}, {415, "menu-options-row"}, {490, "options-1280x720"},
      {520, "options-sound-off"}, {620, "select"}, {645, "select-next"},
      {760, "credits"}, {830, "credits-left"}},
     Front},
    {"options_1024", "000", STATE_OPTION, 1, 1, 60, 0, {{50, "options-1024x768"}}, NULL},
    {"options_1920", "002", STATE_OPTION, 1, 1, 60, 0, {{50, "options-1920x1080"}}, NULL},
    // The records panel, the level line and the new-record notice at the other two sizes.
    {"select_1024", "000", STATE_SELECT, 1, 1, 60, 0, {{50, "select-1024x768"}}, NULL},
    {"select_1920", "002", STATE_SELECT, 1, 1, 60, 0, {{50, "select-1920x1080"}}, NULL},
    {"gameover_1024", "010", STATE_PLAY, 1, 1, 420, 0, {{150, "flight-1024x768"}, {410, "gameover-1024x768"}}, GameOver},
    {"gameover_1920", "012", STATE_PLAY, 1, 1, 420, 0, {{150, "flight-1920x1080"}, {410, "gameover-1920x1080"}}, GameOver},
    {"ship1", "011", STATE_PLAY, 1, 1, 700, 10,
     {{40, "launch"}, {200, "flight"}, {218, "ship1-boost"}, {303, "hit-shield"}, {400, "planet-pull"},
      {470, "blackhole-warning"}, {600, "warp-climb"}, {660, "warp-streaks"}},
     Flight},
    {"ship2", "011", STATE_PLAY, 2, 2, 300, 10, {{225, "ship2-shots"}}, Flight},
    {"ship3", "011", STATE_PLAY, 3, 3, 300, 10, {{225, "ship3-wind"}}, Flight},
    {"gameover", "011", STATE_PLAY, 1, 1, 760, 20,
     {{215, "gameover"}, {410, "gameover-board"}, {480, "retry"}, {750, "back-to-menu"}}, GameOver},
    {"pause", "001", STATE_PLAY, 1, 1, 190, 0, {{160, "pause"}, {185, "pause-quit"}}, Pause},
    {"tutorial", "011", STATE_TUTORIAL, 1, -1, 980, 20,
     {{60, "tutorial-1"}, {150, "tutorial-2"}, {250, "tutorial-3"}, {330, "tutorial-4"}, {410, "tutorial-5"},
      {490, "tutorial-6"}, {570, "tutorial-7"}, {650, "tutorial-8"}, {760, "tutorial-9"}, {820, "tutorial-10"},
      {900, "tutorial-11"}, {970, "tutorial-to-play"}},
     Tutorial},
    {"minute_level1", "011", STATE_PLAY, 1, 1, 3600, 120, {}, Player},
    {"minute_level3", "011", STATE_PLAY, 2, 3, 3600, 120, {}, Player},
};

// One line: the state, the record; then per kind the visible and all
// objects and the rounded sums of their places, sizes, colours and alphas;
// then the sounds started.
std::string Digest(int frame, const GameData* d)
{
    char line[256];
    snprintf(line, sizeof line, "%d state %d level %d score %.0f combo %d fuel %.1f warp %d cam %.0f %.0f ship %.0f %.0f",
             frame, VTSMGetCurrentState(), d->level, d->score, d->combo, d->fuel, d->warpOpen, d->cameraX, d->cameraY,
             d->shipX, d->shipY);
    std::string out = line;
    snprintf(line, sizeof line, "\n  window %.0fx%.0f options %d%d%d ship %d files", d->screenWidth, d->screenHeight,
             d->fullScreen, d->soundOn, d->resolution, d->shipType);
    out += line;
    for (const char* file : {"Option", "Tutorial", "UnlockShip", "Score"})
        out += std::string(" ") + file + "=" + ReadText(std::string(getenv("XDG_DATA_HOME")) + "/kelvaro/Data/" + file + ".txt");
    std::map<int, std::vector<double>> kinds; // type index: count, x, y, z, width, height
    for (GameObject* o = List(); o; o = o->next) {
        if (!o->transform)
            continue;
        int kind = -1;
        for (int i = 0; i < PlayObjectTypeCount(); i++)
            if (PlayObjectType(i) == o->type)
                kind = i;
        std::vector<double>& k = kinds[kind];
        k.resize(9);
        const Transform* t = o->transform;
        const Appearance* a = o->appearance;
        double values[9] = {1, (double)o->visible, t->x, t->y, t->z * 10, t->scaleX, t->scaleY,
                            a ? a->red + a->green * 3.0 + a->blue * 7.0 : 0.0, a ? a->alpha : 0.0};
        for (int i = 0; i < 9; i++)
            k[i] += values[i];
    }
    for (const auto& k : kinds) {
        std::string image = k.first < 0 ? "?" : PlayObjectTypeImage(k.first);
        image = image.substr(image.rfind('\\') + 1);
        const std::vector<double>& v = k.second;
        snprintf(line, sizeof line, "\n  %d %s %.0f/%.0f: %.0f %.0f %.0f %.0f %.0f %.0f %.0f", k.first, image.c_str(), v[1],
                 v[0], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
        out += line;
    }
    out += "\n  sounds:" + soundsStarted + "\n";
    soundsStarted.clear();
    return out;
}

// In a child: the run, writing its frames and digest into folder.
void Play(const Scripted* scripted, const std::string& folder)
{
    static const Scripted* run;
    run = scripted;
    TempDataHome files;
    files.Write("Option.txt", run->options);
    files.Write("UnlockShip.txt", "00");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    static VTCapture capture;
    static const char* pending;
    static std::string digest;
    static std::string where;
    where = folder;
    GameScript script;
    script.frames = run->frames;
    script.onFrame = [](int f, GameData* d) {
        if (pending && capture.pixels) {
            WritePpm(where + pending + ".ppm", Shrink(capture));
            for (const char* detail : detailShots)
                if (!strcmp(detail, pending))
                    WritePpm(where + pending + "-middle.ppm", Middle(capture));
            VTGraphicsFreeCapture(&capture);
        }
        pending = NULL;
        if (f == 0 && run->start >= 0) {
            d->shipType = run->ship;
            d->level = run->level;
            VTSMSetNextState(run->start);
        }
        if (run->digestEvery && f > 0 && f % run->digestEvery == 0)
            digest += Digest(f, d);
        if (run->script)
            run->script(f, d);
        for (const auto& shot : run->shots)
            if (shot.first == f)
                pending = shot.second;
        // Only the captured frames are rasterized.
        VTGraphicsSetNullDraw(pending == NULL);
        if (pending)
            VTGraphicsCaptureNextFrame(&capture);
    };
    EXPECT_EQ(0, RunGame(script));
    EXPECT_EQ(0u, ShownBoxes().size());
    if (run->digestEvery)
        std::ofstream(where + run->name + ".txt") << digest;
}

void PrintTo(const Scripted& run, std::ostream* out)
{
    *out << run.name;
}

class References : public ::testing::TestWithParam<Scripted>
{
};

TEST_P(References, MatchTheCommittedFramesAndDigest)
{
    static const Scripted* run;
    run = &GetParam();
    const std::string actual = std::string(KELVARO_BUILD_DIR) + "/references-actual/";
    mkdir(actual.c_str(), 0755);
    const bool update = getenv("KELVARO_UPDATE_REFERENCES") != NULL;
    const std::string folder = update ? std::string(KELVARO_REFERENCES) + "/" : actual;
    ASSERT_EQ(0, RunInChild([folder] { Play(run, folder); }));
    if (update)
        return;
    std::vector<std::string> pictures;
    for (const auto& shot : run->shots) {
        pictures.push_back(shot.second);
        for (const char* detail : detailShots)
            if (!strcmp(detail, shot.second))
                pictures.push_back(std::string(shot.second) + "-middle");
    }
    for (const std::string& name : pictures) {
        Image want = ReadPpm(std::string(KELVARO_REFERENCES) + "/" + name + ".ppm");
        Image got = ReadPpm(actual + name + ".ppm"), difference;
        std::string problem = Compare(want, got, &difference);
        if (!problem.empty() && !difference.rgb.empty())
            WritePpm(actual + name + "-difference.ppm", difference);
        EXPECT_EQ("", problem) << name << ": see " << actual << name << ".ppm";
    }
    if (run->digestEvery) {
        std::string want = ReadText(std::string(KELVARO_REFERENCES) + "/" + run->name + ".txt");
        std::string got = ReadText(actual + run->name + ".txt");
        size_t at = 0;
        while (at < want.size() && at < got.size() && want[at] == got[at])
            at++;
        size_t from = want.rfind("\n", at) == std::string::npos ? 0 : want.rfind("\n", at) + 1;
        EXPECT_TRUE(want == got) << run->name << " digest differs from here:\n  reference: "
                                 << want.substr(from, want.find('\n', at) - from) << "\n  actual:    "
                                 << got.substr(from, got.find('\n', at) - from) << "\nwhole digest: " << actual
                                 << run->name << ".txt";
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, References, ::testing::ValuesIn(runs),
                         [](const ::testing::TestParamInfo<Scripted>& info) { return std::string(info.param.name); });

} // namespace
