// wraps.cpp -- the observers around the engine calls the game makes. The bench
// is linked with --wrap for each function below (see CMakeLists.txt), so a
// call to it from any object of the program reaches __wrap_<name> here first
// and the engine's own function as __real_<name>. The functions have C
// linkage, so their symbols are their plain names.
#include <string.h>

#include "bench.h"
#include "vtapplication.h"
#include "vtgraphics.h"

extern "C" {
void __real_VTGraphicsDraw(const VTMatrix4* matrix);
void __real_VTGraphicsSetColor(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha);
void __real_VTGraphicsSetTexture(unsigned textureId);
void __real_VTGraphicsSetTextureCoords(float scaleU, float scaleV, float angle, float offsetU, float offsetV);
void __real_VTGraphicsSetToOrtho(void);
void __real_VTGraphicsSetToPerspective(void);
void __real_VTGraphicsSetCamera(float x, float y, float z, float roll);
void __real_VTGraphicsEndDraw(void);
unsigned __real_VTGraphicsLoadTexture(const char* path);
void __real_VTSMSetNextState(int id);
void __real_VTSMRestartState(int flag);
void __real_SoundBankInit(void);
void __real_SoundBankRelease(void);
void __real_SoundBankReleaseMenu(void);
void __real_VTApplicationInit(const VTApplicationInitInfo* info);
}

// What the next quad would be drawn with. The camera starts where
// VTGraphicsInit puts it; every later move comes through the wrapper.
static DrawCall current = {0, {0.0f, 0.0f, 60.0f, 0.0f}, 0, {1.0f, 1.0f, 0.0f, 0.0f, 0.0f}, {255, 255, 255, 255}, {{0}}};
static std::vector<DrawCall>* recording;
static FrameObserver* frameObserver;
static FlowObserver* flowObserver;

void RecordStart(void)
{
    delete recording;
    recording = new std::vector<DrawCall>();
    recording->reserve(4096);
}

std::vector<DrawCall> RecordStop(void)
{
    std::vector<DrawCall> draws;
    if (recording) {
        draws.swap(*recording);
        delete recording;
        recording = NULL;
    }
    return draws;
}

void SetFrameObserver(FrameObserver* observer)
{
    frameObserver = observer;
}

void SetFlowObserver(FlowObserver* observer)
{
    flowObserver = observer;
}

void ReplayFrame(const std::vector<DrawCall>& draws)
{
    VTGraphicsStartDraw();
    int mode = -1; // unknown at the frame's start: the first draw sets it
    float camera[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (const DrawCall& d : draws) {
        if (d.ortho) {
            if (mode != 1)
                VTGraphicsSetToOrtho();
            mode = 1;
        } else if (mode != 0 || memcmp(camera, d.camera, sizeof camera) != 0) {
            memcpy(camera, d.camera, sizeof camera);
            VTGraphicsSetCamera(camera[0], camera[1], camera[2], camera[3]);
            VTGraphicsSetToPerspective();
            mode = 0;
        }
        VTGraphicsSetTexture(d.texture);
        VTGraphicsSetTextureCoords(d.texCoords[0], d.texCoords[1], d.texCoords[2], d.texCoords[3], d.texCoords[4]);
        VTGraphicsSetColor(d.colour[0], d.colour[1], d.colour[2], d.colour[3]);
        VTGraphicsDraw(&d.matrix);
    }
    VTGraphicsEndDraw();
}

extern "C" {

void __wrap_VTGraphicsDraw(const VTMatrix4* matrix)
{
    if (recording) {
        current.matrix = *matrix;
        recording->push_back(current);
    }
    __real_VTGraphicsDraw(matrix);
}

void __wrap_VTGraphicsSetColor(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha)
{
    current.colour[0] = red;
    current.colour[1] = green;
    current.colour[2] = blue;
    current.colour[3] = alpha;
    __real_VTGraphicsSetColor(red, green, blue, alpha);
}

void __wrap_VTGraphicsSetTexture(unsigned textureId)
{
    current.texture = textureId;
    __real_VTGraphicsSetTexture(textureId);
}

void __wrap_VTGraphicsSetTextureCoords(float scaleU, float scaleV, float angle, float offsetU, float offsetV)
{
    current.texCoords[0] = scaleU;
    current.texCoords[1] = scaleV;
    current.texCoords[2] = angle;
    current.texCoords[3] = offsetU;
    current.texCoords[4] = offsetV;
    __real_VTGraphicsSetTextureCoords(scaleU, scaleV, angle, offsetU, offsetV);
}

void __wrap_VTGraphicsSetToOrtho(void)
{
    current.ortho = 1;
    __real_VTGraphicsSetToOrtho();
}

void __wrap_VTGraphicsSetToPerspective(void)
{
    current.ortho = 0;
    __real_VTGraphicsSetToPerspective();
}

void __wrap_VTGraphicsSetCamera(float x, float y, float z, float roll)
{
    // Stored as the engine stores it: the height held within 2..999.
    current.camera[0] = x;
    current.camera[1] = y;
    current.camera[2] = VTClamp(z, 2.0f, 999.0f);
    current.camera[3] = roll;
    __real_VTGraphicsSetCamera(x, y, z, roll);
}

void __wrap_VTGraphicsEndDraw(void)
{
    __real_VTGraphicsEndDraw();
    if (frameObserver)
        frameObserver->FrameEnded(Now());
}

unsigned __wrap_VTGraphicsLoadTexture(const char* path)
{
    double start = Now();
    unsigned id = __real_VTGraphicsLoadTexture(path);
    if (flowObserver)
        flowObserver->TextureLoaded(path, Now() - start);
    return id;
}

void __wrap_VTSMSetNextState(int id)
{
    __real_VTSMSetNextState(id);
    if (flowObserver)
        flowObserver->Requested(Now(), id, 0);
}

void __wrap_VTSMRestartState(int flag)
{
    __real_VTSMRestartState(flag);
    if (flowObserver && flag)
        flowObserver->Requested(Now(), -1, 1);
}

void __wrap_SoundBankInit(void)
{
    double start = Now();
    __real_SoundBankInit();
    if (flowObserver)
        flowObserver->SoundBank(Now() - start);
}

void __wrap_SoundBankRelease(void)
{
    double start = Now();
    __real_SoundBankRelease();
    if (flowObserver)
        flowObserver->SoundBank(Now() - start);
}

void __wrap_SoundBankReleaseMenu(void)
{
    double start = Now();
    __real_SoundBankReleaseMenu();
    if (flowObserver)
        flowObserver->SoundBank(Now() - start);
}

void __wrap_VTApplicationInit(const VTApplicationInitInfo* info)
{
    __real_VTApplicationInit(info);
    if (flowObserver)
        flowObserver->ApplicationStarted(Now());
}

} // extern "C"
