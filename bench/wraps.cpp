// wraps.cpp -- the observers around the engine calls the game makes. The bench
// is linked with --wrap for each function below (see CMakeLists.txt), so a
// call to it from any object of the program reaches __wrap_<name> here first
// and the engine's own function as __real_<name>. The names are the C++
// symbols of the engine's functions.
#include <string.h>

#include "bench.h"
#include "vtapplication.h"
#include "vtgraphics.h"

extern "C" {
void __real__Z14VTGraphicsDrawPK9VTMatrix4(const VTMatrix4* matrix);
void __real__Z18VTGraphicsSetColorhhhh(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha);
void __real__Z20VTGraphicsSetTexturej(unsigned textureId);
void __real__Z26VTGraphicsSetTextureCoordsfffff(float scaleU, float scaleV, float angle, float offsetU, float offsetV);
void __real__Z20VTGraphicsSetToOrthov(void);
void __real__Z26VTGraphicsSetToPerspectivev(void);
void __real__Z19VTGraphicsSetCameraffff(float x, float y, float z, float roll);
void __real__Z17VTGraphicsEndDrawv(void);
unsigned __real__Z21VTGraphicsLoadTexturePKc(const char* path);
void __real__Z16VTSMSetNextStatei(int id);
void __real__Z16VTSMRestartStatei(int flag);
void __real__Z13SoundBankInitv(void);
void __real__Z16SoundBankReleasev(void);
void __real__Z20SoundBankReleaseMenuv(void);
void __real__Z17VTApplicationInitPK21VTApplicationInitInfo(const VTApplicationInitInfo* info);
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

void __wrap__Z14VTGraphicsDrawPK9VTMatrix4(const VTMatrix4* matrix)
{
    if (recording) {
        current.matrix = *matrix;
        recording->push_back(current);
    }
    __real__Z14VTGraphicsDrawPK9VTMatrix4(matrix);
}

void __wrap__Z18VTGraphicsSetColorhhhh(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha)
{
    current.colour[0] = red;
    current.colour[1] = green;
    current.colour[2] = blue;
    current.colour[3] = alpha;
    __real__Z18VTGraphicsSetColorhhhh(red, green, blue, alpha);
}

void __wrap__Z20VTGraphicsSetTexturej(unsigned textureId)
{
    current.texture = textureId;
    __real__Z20VTGraphicsSetTexturej(textureId);
}

void __wrap__Z26VTGraphicsSetTextureCoordsfffff(float scaleU, float scaleV, float angle, float offsetU, float offsetV)
{
    current.texCoords[0] = scaleU;
    current.texCoords[1] = scaleV;
    current.texCoords[2] = angle;
    current.texCoords[3] = offsetU;
    current.texCoords[4] = offsetV;
    __real__Z26VTGraphicsSetTextureCoordsfffff(scaleU, scaleV, angle, offsetU, offsetV);
}

void __wrap__Z20VTGraphicsSetToOrthov(void)
{
    current.ortho = 1;
    __real__Z20VTGraphicsSetToOrthov();
}

void __wrap__Z26VTGraphicsSetToPerspectivev(void)
{
    current.ortho = 0;
    __real__Z26VTGraphicsSetToPerspectivev();
}

void __wrap__Z19VTGraphicsSetCameraffff(float x, float y, float z, float roll)
{
    // Stored as the engine stores it: the height held within 2..999.
    current.camera[0] = x;
    current.camera[1] = y;
    current.camera[2] = VTClamp(z, 2.0f, 999.0f);
    current.camera[3] = roll;
    __real__Z19VTGraphicsSetCameraffff(x, y, z, roll);
}

void __wrap__Z17VTGraphicsEndDrawv(void)
{
    __real__Z17VTGraphicsEndDrawv();
    if (frameObserver)
        frameObserver->FrameEnded(Now());
}

unsigned __wrap__Z21VTGraphicsLoadTexturePKc(const char* path)
{
    double start = Now();
    unsigned id = __real__Z21VTGraphicsLoadTexturePKc(path);
    if (flowObserver)
        flowObserver->TextureLoaded(path, Now() - start);
    return id;
}

void __wrap__Z16VTSMSetNextStatei(int id)
{
    __real__Z16VTSMSetNextStatei(id);
    if (flowObserver)
        flowObserver->Requested(Now(), id, 0);
}

void __wrap__Z16VTSMRestartStatei(int flag)
{
    __real__Z16VTSMRestartStatei(flag);
    if (flowObserver && flag)
        flowObserver->Requested(Now(), -1, 1);
}

void __wrap__Z13SoundBankInitv(void)
{
    double start = Now();
    __real__Z13SoundBankInitv();
    if (flowObserver)
        flowObserver->SoundBank(Now() - start);
}

void __wrap__Z16SoundBankReleasev(void)
{
    double start = Now();
    __real__Z16SoundBankReleasev();
    if (flowObserver)
        flowObserver->SoundBank(Now() - start);
}

void __wrap__Z20SoundBankReleaseMenuv(void)
{
    double start = Now();
    __real__Z20SoundBankReleaseMenuv();
    if (flowObserver)
        flowObserver->SoundBank(Now() - start);
}

void __wrap__Z17VTApplicationInitPK21VTApplicationInitInfo(const VTApplicationInitInfo* info)
{
    __real__Z17VTApplicationInitPK21VTApplicationInitInfo(info);
    if (flowObserver)
        flowObserver->ApplicationStarted(Now());
}

} // extern "C"
