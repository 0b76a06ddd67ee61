// vttextureloading.cpp -- the TGA reader and the texture count it keeps.
// Only the two true-colour image types are accepted, with no image ID, no
// colour map and origin 0, so the 12 bytes before the size fields must match
// one of two templates exactly.
#include "vttextureloading.h"

#include <GL/glew.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "platform/vtfiles.h"
#include "vtdebug.h"
#include "vtmath.h"

static int textureCount;
// The real path of the picture being read, named on standard error when it is
// refused: the designed box texts do not say which file it was.
static char loadingPath[4096];

static const unsigned char rawTemplate[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
static const unsigned char rleTemplate[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Pictures up to 2048 x 2048 x 32 bits are allocated in one piece.
static const unsigned FIRST_ALLOCATION = 16u * 1024u * 1024u;

unsigned VTGraphicsLoadTexture(const char* path)
{
    GLuint id = VT_TEXTURE_NONE;
    VTImage image;
    memset(&image, 0, sizeof image);
    if (VTGraphicsLoadTGA(&image, path)) {
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        // Rows of a 24-bit image one or two pixels wide are not 4-byte
        // aligned; read them as packed.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, (GLint)image.format, image.width, image.height, 0, image.format,
                     GL_UNSIGNED_BYTE, image.pixels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        free(image.pixels);
        textureCount++;
    }
    return id;
}

void VTGraphicsUnloadTexture(unsigned textureId)
{
    GLuint id = textureId;
    glDeleteTextures(1, &id);
    textureCount--;
}

int VTGraphicsGetTextureCount(void)
{
    return textureCount;
}

void VTGraphicsLoadFail(VTImage* image, FILE** file, const char* reason)
{
    if (image) {
        free(image->pixels);
        image->pixels = NULL;
    }
    if (*file)
        fclose(*file);
    *file = NULL;
    if (loadingPath[0])
        fprintf(stderr, "Texture file: %s\n", loadingPath);
    VT_ASSERT(0, reason, "VTGraphicsLoadFail");
}

static int ReadTGAFile(VTImage* image, const char* path)
{
    FILE* file = VTFileOpenRead(path, "rb");
    if (!file) {
        fprintf(stderr, "Texture file: %s\n", loadingPath);
        VT_ASSERT(0, "The Texture file could not be opened", "VTGraphicsLoadTGA");
        return 0;
    }
    // After a failure the assertion either ends the process or, when the
    // debugger was chosen and the program continued, comes back here: the
    // load then stops with nothing held.
    unsigned char header[18];
    if (fread(header, 1, sizeof header, file) != sizeof header) {
        VTGraphicsLoadFail(NULL, &file, "Error Reading file");
        return 0;
    }
    if (!VTGraphicsReadTGAHeader(image, header)) {
        VTGraphicsLoadFail(image, &file, "Error reading file");
        return 0;
    }
    if (!VTIsPowerOfTwo(image->width) || !VTIsPowerOfTwo(image->height)) {
        VTGraphicsLoadFail(image, &file, "Textures must be powers of two.");
        return 0;
    }
    int read;
    if (memcmp(header, rawTemplate, sizeof rawTemplate) == 0) {
        read = VTGraphicsReadTGARaw(image, &file);
    } else if (memcmp(header, rleTemplate, sizeof rleTemplate) == 0) {
        read = VTGraphicsReadTGARLE(image, &file);
    } else {
        VTGraphicsLoadFail(image, &file, "Invalid File type");
        return 0;
    }
    if (!read)
        return 0;
    fclose(file);
    return 1;
}

int VTGraphicsLoadTGA(VTImage* image, const char* path)
{
    // A path too long to resolve is named as the game gave it.
    if (!VTFileResolve(path, loadingPath, sizeof loadingPath) && !loadingPath[0])
        snprintf(loadingPath, sizeof loadingPath, "%s", path);
    int loaded = ReadTGAFile(image, path);
    loadingPath[0] = '\0';
    return loaded;
}

int VTGraphicsReadTGAHeader(VTImage* image, const unsigned char header[18])
{
    image->pixels = NULL;
    image->width = header[12] | (header[13] << 8);
    image->height = header[14] | (header[15] << 8);
    image->bitsPerPixel = header[16];
    image->bytesPerPixel = image->bitsPerPixel / 8;
    image->format = image->bitsPerPixel == 24 ? GL_RGB : GL_RGBA;
    if (image->width == 0 || image->height == 0 || (image->bitsPerPixel != 24 && image->bitsPerPixel != 32))
        return 0;
    // 65535 x 65535 x 4 does not fit the 32-bit size: refuse it rather than
    // allocate a wrapped-around small buffer and overrun it.
    uint64_t size = (uint64_t)image->width * (uint64_t)image->height * (uint64_t)image->bytesPerPixel;
    if (size > UINT32_MAX)
        return 0;
    image->size = (unsigned)size;
    // Only the first part up front: a header may claim gigabytes that a short
    // file never delivers. The readers grow the buffer as pixels arrive.
    image->reserved = image->size < FIRST_ALLOCATION ? image->size : FIRST_ALLOCATION;
    image->pixels = (unsigned char*)malloc(image->reserved);
    return image->pixels != NULL;
}

// Grows the pixel buffer to at least bytes (never past size), doubling so a
// large picture costs few copies. 0 when memory ran out.
static int Reserve(VTImage* image, unsigned bytes)
{
    int ok = 1;
    if (bytes > image->reserved) {
        unsigned grown = image->reserved > 0 ? image->reserved : 1;
        while (grown < bytes)
            grown = grown > image->size / 2 ? image->size : grown * 2;
        unsigned char* larger = (unsigned char*)realloc(image->pixels, grown);
        ok = larger != NULL;
        if (ok) {
            image->pixels = larger;
            image->reserved = grown;
        }
    }
    return ok;
}

int VTGraphicsReadTGARaw(VTImage* image, FILE** file)
{
    // What is allocated is filled before the buffer grows again.
    unsigned done = 0;
    while (done < image->size) {
        if (!Reserve(image, done + 1)) {
            VTGraphicsLoadFail(image, file, "Error reading file");
            return 0;
        }
        size_t piece = image->reserved - done;
        if (fread(image->pixels + done, 1, piece, *file) != piece) {
            VTGraphicsLoadFail(image, file, "Error Reading file");
            return 0;
        }
        done += (unsigned)piece;
    }
    for (unsigned i = 0; i < image->size; i += (unsigned)image->bytesPerPixel) {
        unsigned char blue = image->pixels[i];
        image->pixels[i] = image->pixels[i + 2];
        image->pixels[i + 2] = blue;
    }
    return 1;
}

// Writes count pixels of the colour buffer with blue and red exchanged.
static void PutRun(VTImage* image, unsigned byte, const unsigned char colour[4], unsigned count)
{
    unsigned char pixel[4] = {colour[2], colour[1], colour[0], colour[3]};
    unsigned char* out = image->pixels + byte;
    if (image->bytesPerPixel == 4) {
        for (unsigned i = 0; i < count; i++)
            memcpy(out + 4 * i, pixel, 4);
    } else {
        for (unsigned i = 0; i < count; i++)
            memcpy(out + 3 * i, pixel, 3);
    }
}

// The packets are a few bytes each; reading them through stdio one call at
// a time cost more than decoding them. The file is read in large pieces here
// instead, and nothing past the pixels matters (the footer is ignored).
struct PacketReader
{
    FILE* file;
    size_t at, end;
    unsigned char buffer[32768];
};

// 1 when all n bytes arrived.
static int ReadPacketBytes(PacketReader* r, unsigned char* out, size_t n)
{
    while (n > 0) {
        if (r->at == r->end) {
            r->at = 0;
            r->end = fread(r->buffer, 1, sizeof r->buffer, r->file);
            if (r->end == 0)
                return 0;
        }
        size_t piece = r->end - r->at < n ? r->end - r->at : n;
        memcpy(out, r->buffer + r->at, piece);
        r->at += piece;
        out += piece;
        n -= piece;
    }
    return 1;
}

// Reads packets until every pixel is set; any fault ends in LoadFail.
static int ReadPackets(VTImage* image, FILE** file, PacketReader* reader)
{
    unsigned pixelCount = (unsigned)image->width * (unsigned)image->height;
    unsigned currentPixel = 0;
    unsigned currentByte = 0;
    size_t pixelBytes = (size_t)image->bytesPerPixel;
    unsigned char colour[4] = {0, 0, 0, 0};
    do {
        unsigned char packet;
        if (!ReadPacketBytes(reader, &packet, 1)) {
            VTGraphicsLoadFail(image, file, "Error Reading file");
            return 0;
        }
        if (packet >= 128) {
            unsigned count = packet - 127u;
            if (!ReadPacketBytes(reader, colour, pixelBytes)) {
                VTGraphicsLoadFail(image, file, "Error Reading File");
                return 0;
            }
            if (currentPixel + count > pixelCount) {
                VTGraphicsLoadFail(image, file, "Invalid File");
                return 0;
            }
            if (!Reserve(image, currentByte + count * (unsigned)pixelBytes)) {
                VTGraphicsLoadFail(image, file, "Error reading file");
                return 0;
            }
            PutRun(image, currentByte, colour, count);
            currentByte += count * (unsigned)pixelBytes;
            currentPixel += count;
        } else {
            unsigned count = packet + 1u;
            if (currentPixel + count > pixelCount) {
                VTGraphicsLoadFail(image, file, "Invalid file.");
                return 0;
            }
            if (!Reserve(image, currentByte + count * (unsigned)pixelBytes)) {
                VTGraphicsLoadFail(image, file, "Error reading file");
                return 0;
            }
            // Straight into place, then blue and red exchanged.
            size_t bytes = count * pixelBytes;
            unsigned char* run = image->pixels + currentByte;
            if (!ReadPacketBytes(reader, run, bytes)) {
                VTGraphicsLoadFail(image, file, "Error reading file");
                return 0;
            }
            for (size_t i = 0; i < bytes; i += pixelBytes) {
                unsigned char blue = run[i];
                run[i] = run[i + 2];
                run[i + 2] = blue;
            }
            currentByte += (unsigned)bytes;
            currentPixel += count;
        }
    } while (currentPixel < pixelCount);
    return 1;
}

int VTGraphicsReadTGARLE(VTImage* image, FILE** file)
{
    PacketReader* reader = (PacketReader*)malloc(sizeof(PacketReader));
    if (!reader) {
        VTGraphicsLoadFail(image, file, "Error reading file");
        return 0;
    }
    reader->file = *file;
    reader->at = reader->end = 0;
    int done = ReadPackets(image, file, reader);
    free(reader);
    return done;
}
