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
#include <sys/stat.h>

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

// One GL texture per picture file: kinds that draw the same picture share
// it, so the file is decoded and uploaded once. Each load still counts, and
// the texture goes when the last of its loads is unloaded.
typedef struct SharedTexture
{
    char* file; // resolved path
    GLuint id;
    int loads;
} SharedTexture;

static SharedTexture* shared;
static int sharedCount, sharedCapacity;

// The driver keeps the textures of the last frame drawn alive, deleted or
// not, until its next draw call binds something else: a state's pictures
// would otherwise stay resident while the next state's arrive, some 8 MB at
// the peak between ship select and play.
static int deletedSinceDraw;

static void LetDeletedTexturesGo(void)
{
    glBindTexture(GL_TEXTURE_2D, 0);
    // A triangle of no area: validates the unbound state, touches no pixel.
    glBegin(GL_TRIANGLES);
    for (int corner = 0; corner < 3; corner++)
        glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    deletedSinceDraw = 0;
}

static SharedTexture* FindShared(const char* file, GLuint id)
{
    for (int i = 0; i < sharedCount; i++)
        if (file ? strcmp(shared[i].file, file) == 0 : shared[i].id == id)
            return &shared[i];
    return NULL;
}

// Remembers a fresh texture under its file; one that cannot be remembered
// is simply not shared.
static void RememberShared(const char* file, GLuint id)
{
    if (sharedCount == sharedCapacity) {
        int capacity = sharedCapacity ? sharedCapacity * 2 : 4;
        SharedTexture* larger = (SharedTexture*)realloc(shared, (size_t)capacity * sizeof *shared);
        if (!larger)
            return;
        shared = larger;
        sharedCapacity = capacity;
    }
    char* copy = strdup(file);
    if (!copy)
        return;
    shared[sharedCount].file = copy;
    shared[sharedCount].id = id;
    shared[sharedCount].loads = 1;
    sharedCount++;
}

// A texture of the given size and format; its texels are filled later when
// pixels is NULL.
static GLuint CreateTexture(int width, int height, unsigned format, const unsigned char* pixels)
{
    GLuint id;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Rows of a 24-bit image one or two pixels wide are not 4-byte
    // aligned; read them as packed.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, (GLint)format, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return id;
}

// While a texture loads: called with its file's header before the rest of
// the file is read.
typedef void (*VTHeaderSeen)(const unsigned char header[18], void* context);
static VTHeaderSeen headerSeen;
static void* headerContext;

// The texture's storage is taken before the file and the decoded pixels:
// those two then always sit above the textures, where what one picture
// frees the next reuses, instead of leaving holes between textures that
// stay resident until the loading ends. No texture (id 0) when the header
// is not one this reader takes; the reader then says why.
typedef struct ReservedTexture
{
    GLuint id;
    int width, height;
    unsigned format;
} ReservedTexture;

static void ReserveTexture(const unsigned char header[18], void* context)
{
    ReservedTexture* reserved = (ReservedTexture*)context;
    if (header[16] != 24 && header[16] != 32)
        return;
    reserved->width = header[12] | header[13] << 8;
    reserved->height = header[14] | header[15] << 8;
    reserved->format = header[16] == 24 ? GL_RGB : GL_RGBA;
    // No more than the reader itself would take on the header's word.
    uint64_t bytes = (uint64_t)reserved->width * (uint64_t)reserved->height * (header[16] / 8u);
    if (VTIsPowerOfTwo(reserved->width) && VTIsPowerOfTwo(reserved->height) && bytes <= FIRST_ALLOCATION)
        reserved->id = CreateTexture(reserved->width, reserved->height, reserved->format, NULL);
}

static GLuint FillTexture(ReservedTexture reserved, const VTImage* image)
{
    if (!reserved.id || reserved.width != image->width || reserved.height != image->height ||
        reserved.format != image->format) {
        if (reserved.id)
            glDeleteTextures(1, &reserved.id);
        return CreateTexture(image->width, image->height, image->format, image->pixels);
    }
    glBindTexture(GL_TEXTURE_2D, reserved.id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, image->width, image->height, image->format, GL_UNSIGNED_BYTE,
                    image->pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return reserved.id;
}

unsigned VTGraphicsLoadTexture(const char* path)
{
    char file[4096];
    int known = VTFileResolve(path, file, sizeof file);
    SharedTexture* loaded = known ? FindShared(file, 0) : NULL;
    if (loaded) {
        loaded->loads++;
        textureCount++;
        return loaded->id;
    }
    if (deletedSinceDraw)
        LetDeletedTexturesGo();
    GLuint id = VT_TEXTURE_NONE;
    ReservedTexture reserved = {0, 0, 0, 0};
    VTImage image;
    memset(&image, 0, sizeof image);
    headerSeen = ReserveTexture;
    headerContext = &reserved;
    int decoded = VTGraphicsLoadTGA(&image, path);
    headerSeen = NULL;
    if (!decoded) {
        if (reserved.id)
            glDeleteTextures(1, &reserved.id);
    } else {
        id = FillTexture(reserved, &image);
        free(image.pixels);
        textureCount++;
        if (known)
            RememberShared(file, id);
    }
    return id;
}

void VTGraphicsUnloadTexture(unsigned textureId)
{
    GLuint id = textureId;
    SharedTexture* loaded = FindShared(NULL, id);
    textureCount--;
    if (loaded && --loaded->loads > 0)
        return;
    if (loaded) {
        free(loaded->file);
        *loaded = shared[--sharedCount];
    }
    glDeleteTextures(1, &id);
    deletedSinceDraw = 1;
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
    if (file && *file)
        fclose(*file);
    if (file)
        *file = NULL;
    if (loadingPath[0])
        fprintf(stderr, "Texture file: %s\n", loadingPath);
    VT_ASSERT(0, reason);
}

// Reads the file into memory, at most as much as a picture with this
// header could use: a huge or endless file costs no more than that, and
// a lying header no more than the file. NULL when memory ran out.
static unsigned char* ReadPictureFile(FILE* file, size_t* length)
{
    unsigned char header[18];
    size_t got = fread(header, 1, sizeof header, file);
    uint64_t most = sizeof header;
    if (got == sizeof header) {
        if (headerSeen)
            headerSeen(header, headerContext);
        uint64_t pixels = (uint64_t)(header[12] | header[13] << 8) * (uint64_t)(header[14] | header[15] << 8);
        // A run-length packet of one pixel is its worst case: one byte more.
        most += pixels * (uint64_t)(header[16] / 8 + 1);
    }
    // A regular file says its size: one block, with a byte to spare so the
    // end shows without growing it. The cap still holds for a file that
    // turns out to hold more than it said.
    struct stat info;
    uint64_t expected = fstat(fileno(file), &info) == 0 && info.st_size > 0 ? (uint64_t)info.st_size + 1 : 65536;
    size_t capacity = (size_t)(most < expected ? most : expected);
    if (capacity < got) // cut short since the header was read
        capacity = got;
    unsigned char* bytes = (unsigned char*)malloc(capacity);
    if (!bytes)
        return NULL;
    memcpy(bytes, header, got);
    size_t used = got;
    while (got > 0 && used < most) {
        if (used == capacity) {
            size_t grown = (uint64_t)capacity * 2 < most ? capacity * 2 : (size_t)most;
            unsigned char* larger = (unsigned char*)realloc(bytes, grown);
            if (!larger) {
                free(bytes);
                return NULL;
            }
            bytes = larger;
            capacity = grown;
        }
        got = fread(bytes + used, 1, capacity - used, file);
        used += got;
    }
    *length = used;
    return bytes;
}

int VTGraphicsDecodeTGA(VTImage* image, const unsigned char* bytes, size_t length)
{
    // After a failure the assertion either ends the process or, when the
    // debugger was chosen and the program continued, comes back here: the
    // decoding then stops with nothing held.
    if (length < 18) {
        VTGraphicsLoadFail(NULL, NULL, "Error Reading file");
        return 0;
    }
    if (!VTGraphicsReadTGAHeader(image, bytes)) {
        VTGraphicsLoadFail(image, NULL, "Error reading file");
        return 0;
    }
    if (!VTIsPowerOfTwo(image->width) || !VTIsPowerOfTwo(image->height)) {
        VTGraphicsLoadFail(image, NULL, "Textures must be powers of two.");
        return 0;
    }
    VTTGAInput input = {bytes + 18, length - 18, 0};
    if (memcmp(bytes, rawTemplate, sizeof rawTemplate) == 0)
        return VTGraphicsReadTGARaw(image, &input);
    if (memcmp(bytes, rleTemplate, sizeof rleTemplate) == 0)
        return VTGraphicsReadTGARLE(image, &input);
    VTGraphicsLoadFail(image, NULL, "Invalid File type");
    return 0;
}

int VTGraphicsLoadTGA(VTImage* image, const char* path)
{
    // A path too long to resolve is named as the game gave it.
    if (!VTFileResolve(path, loadingPath, sizeof loadingPath) && !loadingPath[0])
        snprintf(loadingPath, sizeof loadingPath, "%s", path);
    int loaded = 0;
    FILE* file = VTFileOpenRead(path, "rb");
    if (!file) {
        fprintf(stderr, "Texture file: %s\n", loadingPath);
        VT_ASSERT(0, "The Texture file could not be opened");
    } else {
        size_t length = 0;
        unsigned char* bytes = ReadPictureFile(file, &length);
        if (!bytes) {
            VTGraphicsLoadFail(NULL, &file, "Error reading file");
        } else {
            fclose(file);
            loaded = VTGraphicsDecodeTGA(image, bytes, length);
            free(bytes);
        }
    }
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

// Writes count pixels of one colour, given as stored (blue first).
static void PutRun(unsigned char* out, const unsigned char stored[4], unsigned count, size_t pixelBytes)
{
    unsigned char pixel[4] = {stored[2], stored[1], stored[0], stored[3]};
    if (pixelBytes == 4) {
        for (unsigned i = 0; i < count; i++)
            memcpy(out + 4 * i, pixel, 4);
    } else {
        for (unsigned i = 0; i < count; i++)
            memcpy(out + 3 * i, pixel, 3);
    }
}

// Copies count pixels as stored, with blue and red exchanged on the way.
static void PutPixels(unsigned char* out, const unsigned char* in, unsigned count, size_t pixelBytes)
{
    if (pixelBytes == 4) {
        for (unsigned i = 0; i < count; i++, in += 4, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = in[3];
        }
    } else {
        for (unsigned i = 0; i < count; i++, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
}

int VTGraphicsReadTGARaw(VTImage* image, VTTGAInput* input)
{
    if (input->length - input->at < image->size) {
        VTGraphicsLoadFail(image, NULL, "Error Reading file");
        return 0;
    }
    if (!Reserve(image, image->size)) {
        VTGraphicsLoadFail(image, NULL, "Error reading file");
        return 0;
    }
    PutPixels(image->pixels, input->bytes + input->at, image->size / (unsigned)image->bytesPerPixel,
              (size_t)image->bytesPerPixel);
    input->at += image->size;
    return 1;
}

int VTGraphicsReadTGARLE(VTImage* image, VTTGAInput* input)
{
    // The cursors live in locals: the pixels are written as bytes, which
    // could alias the records' fields and would make every packet reload them.
    const unsigned char* in = input->bytes + input->at;
    const unsigned char* end = input->bytes + input->length;
    const unsigned pixelCount = (unsigned)image->width * (unsigned)image->height;
    const size_t pixelBytes = (size_t)image->bytesPerPixel;
    unsigned currentPixel = 0;
    unsigned currentByte = 0;
    unsigned char* pixels = image->pixels;
    size_t room = image->reserved;
    const char* refusal = NULL;
    do {
        if (in == end) {
            refusal = "Error Reading file";
            break;
        }
        unsigned packet = *in++;
        unsigned count = packet >= 128 ? packet - 127u : packet + 1u;
        if (packet >= 128 && (size_t)(end - in) < pixelBytes) {
            refusal = "Error Reading File";
            break;
        }
        if (currentPixel + count > pixelCount) {
            refusal = packet >= 128 ? "Invalid File" : "Invalid file.";
            break;
        }
        size_t bytes = count * pixelBytes;
        if (currentByte + bytes > room) {
            if (!Reserve(image, currentByte + (unsigned)bytes)) {
                refusal = "Error reading file";
                break;
            }
            pixels = image->pixels;
            room = image->reserved;
        }
        if (packet >= 128) {
            PutRun(pixels + currentByte, in, count, pixelBytes);
            in += pixelBytes;
        } else {
            if ((size_t)(end - in) < bytes) {
                refusal = "Error reading file";
                break;
            }
            PutPixels(pixels + currentByte, in, count, pixelBytes);
            in += bytes;
        }
        currentByte += (unsigned)bytes;
        currentPixel += count;
    } while (currentPixel < pixelCount);
    input->at = (size_t)(in - input->bytes);
    if (refusal) {
        VTGraphicsLoadFail(image, NULL, refusal);
        return 0;
    }
    return 1;
}
