// The TGA reader over files crafted here: how each refusal is reported and
// leaves nothing behind (the fuzz corpus replay checks the decoded pixels).
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "harness.h"
#include "vttextureloading.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// An 18-byte header: type, size and depth, everything else zero.
Bytes Header(int type, int width, int height, int bits)
{
    return {0, 0, (unsigned char)type, 0, 0, 0, 0, 0, 0, 0, 0, 0, (unsigned char)width, (unsigned char)(width >> 8),
            (unsigned char)height, (unsigned char)(height >> 8), (unsigned char)bits, 0};
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct TgaFile
{
    explicit TgaFile(const Bytes& bytes)
    {
        char name[] = "/tmp/kelvaro-tga-XXXXXX";
        int fd = mkstemp(name);
        path = name;
        FILE* f = fdopen(fd, "wb");
        if (!bytes.empty())
            fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    ~TgaFile() { remove(path.c_str()); }
    std::string path;
};

int OpenDescriptors()
{
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (readdir(dir))
        count++;
    closedir(dir);
    return count;
}

} // namespace

namespace {

struct Refusal
{
    const char* name;
    Bytes file; // empty: no file at all
    const char* reason;
};

std::vector<Refusal> Refusals()
{
    Bytes idLength = Header(2, 2, 2, 24);
    idLength[0] = 1;
    Bytes origin = Header(2, 2, 2, 24);
    origin[8] = 4;
    Bytes colourMapped = Header(1, 2, 2, 24);
    colourMapped[1] = 1;
    return {
        {"no file", {}, "The Texture file could not be opened"},
        {"header cut short", Bytes(10, 0), "Error Reading file"},
        {"8 bits", Header(2, 2, 2, 8) + Bytes(4, 0), "Error reading file"},
        {"16 bits", Header(2, 2, 2, 16) + Bytes(8, 0), "Error reading file"},
        {"no width", Header(2, 0, 2, 24), "Error reading file"},
        // The size would need more than 32 bits: refused before any allocation.
        {"size overflows", Header(2, 32768, 32768, 32), "Error reading file"},
        {"largest header", Header(2, 65535, 65535, 32), "Error reading file"},
        {"power of two before type", Header(1, 100, 64, 24), "Textures must be powers of two."},
        {"colour-mapped", colourMapped + Bytes(12, 0), "Invalid File type"},
        {"grey", Header(3, 2, 2, 24) + Bytes(12, 0), "Invalid File type"},
        {"image ID present", idLength + Bytes(13, 0), "Invalid File type"},
        {"origin not zero", origin + Bytes(12, 0), "Invalid File type"},
        {"raw data cut short", Header(2, 2, 2, 24) + Bytes(11, 0), "Error Reading file"},
        {"RLE packets run out", Header(10, 2, 2, 24) + Bytes{0x81, 1, 2, 3}, "Error Reading file"},
        {"RLE run colour cut short", Header(10, 2, 2, 32) + Bytes{0x83, 1, 2}, "Error Reading File"},
        {"RLE run one past the end", Header(10, 2, 2, 24) + Bytes{0x84, 1, 2, 3}, "Invalid File"},
        {"RLE raw packet one past the end",
         Header(10, 2, 2, 24) + Bytes{4, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3}, "Invalid file."},
        {"RLE raw pixel cut short", Header(10, 2, 2, 24) + Bytes{0x03, 1, 2, 3, 4}, "Error reading file"},
    };
}

const Refusal* refusal;
int boxes;

// Checks each box names the refusal (only a missing file is refused before the
// common path); NO on the first sight, YES (carry on past the break) on the second.
int CheckBox(const char*, const char* text)
{
    const char* function = refusal->file.empty() ? "VTGraphicsLoadTGA" : "VTGraphicsLoadFail";
    EXPECT_NE(nullptr, strstr(text, (std::string("Function: ") + function + "\n").c_str())) << text;
    EXPECT_NE(nullptr, strstr(text, (std::string("Description: ") + refusal->reason + "\n").c_str())) << text;
    boxes++;
    if (::testing::Test::HasFailure())
        _exit(1); // NO would end the child with the status the test expects
    return getenv("KELVARO_ANSWER_YES") ? VT_ANSWER_YES : VT_ANSWER_NO;
}

} // namespace

TEST(TextureReader, EveryRefusalIsReportedAndLeavesNothingBehind)
{
    for (const Refusal& r : Refusals()) {
        SCOPED_TRACE(r.name);
        static std::string path;
        TgaFile file(r.file);
        path = r.file.empty() ? file.path + ".missing" : file.path;
        refusal = &r;

        // Answered NO: the process ends at once with the reason shown.
        EXPECT_EQ(255, RunInChild([] {
            VTPlatformSetMessageBoxHook(CheckBox);
            VTGraphicsLoadTexture(path.c_str());
            _exit(3);
        }));

        // YES, no debugger: the load stops there, nothing allocated or open, no texture.
        EXPECT_EQ(0, RunInChild([] {
            setenv("KELVARO_ANSWER_YES", "1", 1);
            signal(SIGTRAP, SIG_IGN);
            VTPlatformSetMessageBoxHook(CheckBox);
            int descriptors = OpenDescriptors();
            VTImage image;
            memset(&image, 0, sizeof image);
            EXPECT_EQ(0, VTGraphicsLoadTGA(&image, path.c_str()));
            EXPECT_EQ(nullptr, image.pixels);
            EXPECT_EQ(VT_TEXTURE_NONE, VTGraphicsLoadTexture(path.c_str()));
            EXPECT_EQ(descriptors, OpenDescriptors());
            EXPECT_EQ(0, VTGraphicsGetTextureCount());
            EXPECT_EQ(2, boxes);
        }));
    }
}
