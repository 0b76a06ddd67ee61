// The TGA reader over files crafted here: what it accepts and decodes, and
// how each refusal is reported and leaves nothing behind.
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

// Reads bytes as a TGA in a child and hands the image to check there.
void Load(const Bytes& bytes, void (*check)(const VTImage&))
{
    TgaFile file(bytes);
    static std::string path;
    path = file.path;
    static void (*checker)(const VTImage&);
    checker = check;
    EXPECT_EQ(0, RunInChild([] {
        VTImage image;
        memset(&image, 0, sizeof image);
        ASSERT_EQ(1, VTGraphicsLoadTGA(&image, path.c_str()));
        checker(image);
        free(image.pixels);
    }));
}

// Pixel i of an image as bytes.
Bytes At(const VTImage& image, int i)
{
    const unsigned char* p = image.pixels + image.bytesPerPixel * i;
    return Bytes(p, p + image.bytesPerPixel);
}

} // namespace

TEST(TextureReader, DecodesRawAndRunLengthImages)
{
    SCOPED_TRACE("raw 24-bit 2 x 2: blue and red exchanged, rows kept bottom first");
    Load(Header(2, 2, 2, 24) + Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, [](const VTImage& image) {
        EXPECT_EQ(0x1907, (int)image.format);
        EXPECT_EQ(12u, image.size);
        EXPECT_EQ((Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}), Bytes(image.pixels, image.pixels + 12));
    });

    SCOPED_TRACE("raw 32-bit keeps alpha; the descriptor byte and a footer are not looked at");
    Bytes header32 = Header(2, 2, 1, 32);
    header32[17] = 0x28; // top-left origin, 8 alpha bits
    Load(header32 + Bytes{10, 20, 30, 40, 50, 60, 70, 80} + Bytes(26, 'F'), [](const VTImage& image) {
        EXPECT_EQ(0x1908, (int)image.format);
        EXPECT_EQ((Bytes{30, 20, 10, 40, 70, 60, 50, 80}), Bytes(image.pixels, image.pixels + 8));
    });

    SCOPED_TRACE("RLE 32-bit: a run of 128, then 128 raw pixels ending exactly on the last");
    Bytes rawPixels;
    for (int i = 0; i < 128; i++)
        rawPixels = rawPixels + Bytes{(unsigned char)i, 1, (unsigned char)(255 - i), (unsigned char)(i * 2)};
    Load(Header(10, 16, 16, 32) + Bytes{0xFF, 9, 8, 7, 6} + Bytes{0x7F} + rawPixels, [](const VTImage& image) {
        for (int i = 0; i < 128; i++) {
            ASSERT_EQ((Bytes{7, 8, 9, 6}), At(image, i)) << "run pixel " << i;
            Bytes raw = {(unsigned char)(255 - i), 1, (unsigned char)i, (unsigned char)(i * 2)};
            ASSERT_EQ(raw, At(image, 128 + i)) << "raw pixel " << i;
        }
    });

    SCOPED_TRACE("RLE 24-bit mixing short packets, with bytes after the image");
    Load(Header(10, 4, 1, 24) + Bytes{0x81, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9} + Bytes{0xFF, 0, 0, 0},
         [](const VTImage& image) {
             EXPECT_EQ((Bytes{3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7}), Bytes(image.pixels, image.pixels + 12));
         });
}

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
