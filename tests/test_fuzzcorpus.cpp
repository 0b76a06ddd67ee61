// The fuzzers' committed corpus replayed through their entry points (no clang
// needed), and the TGA reader's memory bound: a header may claim gigabytes,
// the buffer grows only with the pixels the file really holds.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_inputs.h"
#include "harness.h"
#include "vttextureloading.h"

namespace {

std::vector<std::string> CorpusFiles(const char* kind)
{
    std::string folder = std::string(KELVARO_FUZZ_CORPUS) + "/" + kind;
    std::vector<std::string> files;
    DIR* dir = opendir(folder.c_str());
    for (struct dirent* entry; dir && (entry = readdir(dir)) != NULL;)
        if (entry->d_name[0] != '.')
            files.push_back(folder + "/" + entry->d_name);
    if (dir)
        closedir(dir);
    std::sort(files.begin(), files.end());
    return files;
}

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

struct Replay
{
    int reached; // files fed so far: names the one that failed
};

// Feeds every file to entry in one child; a broken promise aborts it there.
void ReplayCorpus(const char* kind, void (*entry)(const uint8_t*, size_t), size_t atLeast)
{
    static std::vector<std::string> files;
    static void (*feed)(const uint8_t*, size_t);
    files = CorpusFiles(kind);
    feed = entry;
    ASSERT_GE(files.size(), atLeast) << "corpus missing from " << KELVARO_FUZZ_CORPUS;
    static Replay* replay;
    replay = SharedBlock<Replay>();
    int status = RunInChild([] {
        FuzzSetUp();
        for (const std::string& file : files) {
            std::string bytes = Bytes(file);
            feed((const uint8_t*)bytes.data(), bytes.size());
            replay->reached++;
        }
        FuzzTearDown();
    });
    EXPECT_EQ(0, status) << "failed on "
                         << (replay->reached < (int)files.size() ? files[replay->reached] : "<after the last file>");
    EXPECT_EQ((int)files.size(), replay->reached);
}

} // namespace

TEST(FuzzCorpus, EveryPictureLoadsOrIsRefusedCleanly)
{
    ReplayCorpus("tga", FuzzTga, 16);
}

TEST(FuzzCorpus, EverySavedFileDecodesAsDocumented)
{
    ReplayCorpus("savedfiles", FuzzSavedFiles, 12);
}

namespace {

std::string Header(int type, int width, int height, int bits)
{
    std::string h(18, '\0');
    h[2] = (char)type;
    h[12] = (char)(width & 0xFF);
    h[13] = (char)(width >> 8);
    h[14] = (char)(height & 0xFF);
    h[15] = (char)(height >> 8);
    h[16] = (char)bits;
    return h;
}

struct Outcome
{
    int ok, boxes;
    char reason[64];
    unsigned size;
    int samplesRight;
};
Outcome* outcome;

int RecordReason(const char*, const char* text)
{
    outcome->boxes++;
    const char* at = strstr(text, "Description: ");
    if (at)
        snprintf(outcome->reason, sizeof outcome->reason, "%.*s", (int)strcspn(at + 13, "\n"), at + 13);
    return VT_ANSWER_YES;
}

#if !defined(__SANITIZE_ADDRESS__)
long VirtualBytes()
{
    long kb = 0;
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    while (status && fgets(line, sizeof line, status))
        sscanf(line, "VmSize: %ld kB", &kb);
    if (status)
        fclose(status);
    return kb * 1024;
}
#endif

// Loads a file in a child whose address space has only 256 MiB to spare, so
// reserving a claimed gigabyte fails the load the wrong way.
Outcome* LoadBounded(const std::string& bytes, int (*check)(const VTImage&) = NULL)
{
    static std::string path;
    static int (*checker)(const VTImage&);
    path = "/tmp/kelvaro-bound-" + std::to_string(getpid()) + ".tga";
    std::ofstream(path, std::ios::binary) << bytes;
    checker = check;
    outcome = SharedBlock<Outcome>();
    EXPECT_EQ(0, RunInChild([] {
        signal(SIGTRAP, SIG_IGN);
        VTPlatformSetMessageBoxHook(RecordReason);
#if !defined(__SANITIZE_ADDRESS__)
        // AddressSanitizer reserves terabytes of shadow: no limit there.
        struct rlimit bound = {(rlim_t)(VirtualBytes() + (256L << 20)), RLIM_INFINITY};
        setrlimit(RLIMIT_AS, &bound);
#endif
        VTImage image;
        memset(&image, 0, sizeof image);
        outcome->ok = VTGraphicsLoadTGA(&image, path.c_str());
        outcome->size = image.size;
        if (outcome->ok && checker)
            outcome->samplesRight = checker(image);
        free(image.pixels);
    }));
    remove(path.c_str());
    return outcome;
}

// 4096 x 4096 run packets of 128 pixels, each run a colour of its own.
int RunsRight(const VTImage& image)
{
    int right = 1;
    for (unsigned run = 0; run < 4096u * 4096u / 128u; run += 997) {
        const unsigned char* p = image.pixels + (size_t)run * 128 * 4 + 127 * 4;
        right &= p[0] == 3 && p[1] == (unsigned char)run && p[2] == (unsigned char)(run >> 8) && p[3] == 9;
    }
    return right;
}

// 2048 x 4096 raw 24-bit pixels whose blue byte counts up.
int RawRight(const VTImage& image)
{
    int right = 1;
    for (size_t pixel = 0; pixel < 2048u * 4096u; pixel += 4099)
        right &= image.pixels[pixel * 3 + 2] == (unsigned char)pixel && image.pixels[pixel * 3] == 7;
    return right;
}

} // namespace

TEST(TextureReader, HugeClaimsGrowOnlyWithThePixelsTheFileHolds)
{
    struct Case { const char* name; std::string file; const char* reason; };
    std::string runs;
    for (int i = 0; i < 8; i++)
        runs += std::string("\xff\x01\x02\x03\x04", 5);
    const Case refused[] = {
        {"raw 16384 x 16384 x 32, 64 bytes", Header(2, 16384, 16384, 32) + std::string(64, '\0'), "Error Reading file"},
        {"RLE 16384 x 16384 x 32, eight runs", Header(10, 16384, 16384, 32) + runs, "Error Reading file"},
        {"raw 32768 x 32768 x 24, the largest claim", Header(2, 32768, 32768, 24) + std::string(16, '\0'),
         "Error Reading file"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        Outcome* seen = LoadBounded(c.file);
        EXPECT_EQ(0, seen->ok);
        EXPECT_EQ(1, seen->boxes);
        EXPECT_STREQ(c.reason, seen->reason) << "the short read, not a refused allocation";
    }

    SCOPED_TRACE("large pictures that are all there still load, across the growth steps");
    std::string rle = Header(10, 4096, 4096, 32);
    for (unsigned run = 0; run < 4096u * 4096u / 128u; run++)
        rle += std::string{'\xff', (char)(run >> 8), (char)run, '\x03', '\x09'};
    Outcome* seen = LoadBounded(rle, RunsRight);
    EXPECT_EQ(1, seen->ok);
    EXPECT_EQ(0, seen->boxes) << seen->reason;
    EXPECT_EQ(4096u * 4096u * 4u, seen->size);
    EXPECT_EQ(1, seen->samplesRight);

    std::string raw = Header(2, 2048, 4096, 24);
    raw.reserve(raw.size() + 2048u * 4096u * 3u);
    for (size_t pixel = 0; pixel < 2048u * 4096u; pixel++) {
        raw.push_back((char)pixel);
        raw.push_back('\x05');
        raw.push_back('\x07');
    }
    seen = LoadBounded(raw, RawRight);
    EXPECT_EQ(1, seen->ok);
    EXPECT_EQ(2048u * 4096u * 3u, seen->size);
    EXPECT_EQ(1, seen->samplesRight);
}
