// vttextureloading.h -- TGA images (true colour, 24 or 32 bits, raw or
// run-length encoded, power-of-two sides) read into OpenGL textures, and the
// count of textures alive, which must be back to 0 at graphics shutdown.
#ifndef VTTEXTURELOADING_H
#define VTTEXTURELOADING_H

#include <stddef.h>
#include <stdio.h>

// C names: the benchmark watches these calls by their plain symbols.
extern "C" {

// The reader's working record.
typedef struct VTImage
{
    unsigned char* pixels; // size bytes, rows bottom to top, RGB(A) once read
    int bitsPerPixel;      // 24 or 32
    int bytesPerPixel;
    int width;
    int height;
    unsigned reserved; // bytes of pixels allocated so far, at most size
    unsigned format; // GL_RGB for 24 bits, GL_RGBA otherwise
    unsigned size;   // bytes per pixel x width x height
} VTImage;

#define VT_TEXTURE_NONE 0xFFFFFFFFu // what a failed load returns

// Reads a TGA (a game path such as "Graphic_Assets\ScoreBox.tga") into a
// linearly filtered 2D texture. The texture id, or VT_TEXTURE_NONE after the
// assertion that reports why not.
unsigned VTGraphicsLoadTexture(const char* path);
void VTGraphicsUnloadTexture(unsigned textureId);
int VTGraphicsGetTextureCount(void);

// The bytes of a picture file in memory, read from at onwards.
typedef struct VTTGAInput
{
    const unsigned char* bytes;
    size_t length;
    size_t at;
} VTTGAInput;

// The reader's steps, each 1 on success. LoadTGA reads the file into memory
// and hands it to DecodeTGA; every refusal after the file was opened goes
// through VTGraphicsLoadFail, which leaves nothing allocated or open.
int VTGraphicsLoadTGA(VTImage* image, const char* path);
int VTGraphicsDecodeTGA(VTImage* image, const unsigned char* bytes, size_t length);
// Decodes the 18 header bytes and allocates the pixel buffer: all of it up to
// 16 MiB, else its first 16 MiB.
int VTGraphicsReadTGAHeader(VTImage* image, const unsigned char header[18]);
// The run-length reader grows the buffer only as the packets deliver pixels,
// so a short file claiming a huge picture fails without reserving its size.
int VTGraphicsReadTGARaw(VTImage* image, VTTGAInput* input);
int VTGraphicsReadTGARLE(VTImage* image, VTTGAInput* input);
// Frees the image's pixels (image may be NULL), closes *file when file and
// *file are set, clears it and raises the assertion with reason as its
// description.
void VTGraphicsLoadFail(VTImage* image, FILE** file, const char* reason);

}

#endif
