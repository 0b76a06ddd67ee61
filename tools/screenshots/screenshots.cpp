// screenshots.cpp -- the README's pictures, taken by the game's own frame
// capture: the real program runs with a virtual clock and a scripted player,
// and chosen frames are written as TGA files into the folder given.
// Usage: kelvaro_screenshots <output-folder> [records]   (under a display or Xvfb)
// "records" takes the screens that show the player's records instead: ship
// select with its records panel, flight with the level, and a game over with
// a new record beside an unlock announcement.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "gamedata.h"
#include "kelvaro.h"
#include "platform/vtplatform.h"
#include "states.h"
#include "vtgraphics.h"
#include "vtstatemanager.h"

static std::string folder;
static int frame;
static VTCapture capture;
static const char* pendingName;

static void Key(unsigned long virtualKey, int down)
{
    VTMessage m = {NULL, (unsigned)(down ? VT_WM_KEYDOWN : VT_WM_KEYUP), virtualKey, 0};
    VTPlatformPostMessage(&m);
}

static void Shoot(const char* name)
{
    VTGraphicsCaptureNextFrame(&capture);
    pendingName = name;
}

// Writes the frame asked for by the last Shoot once it has been captured.
static void WritePending(void)
{
    if (pendingName && capture.pixels) {
        std::string path = folder + "/" + pendingName + ".tga";
        if (!VTGraphicsWriteCapture(&capture, path.c_str()))
            fprintf(stderr, "could not write %s\n", path.c_str());
        VTGraphicsFreeCapture(&capture);
        pendingName = NULL;
    }
}

static void OnFrame(void*)
{
    VTPlatformAdvanceClock(1.0 / 60.0);
    WritePending();
    GameData* data = VTSMGetGameData();
    switch (frame) {
    case 420: // the logos are over; the menu has settled
        Shoot("menu");
        break;
    case 430:
        data->shipType = 2;
        data->level = 1;
        VTSMSetNextState(STATE_PLAY);
        break;
    case 560: // launch over: thrust, turn a little
        Key(38, 1);
        Key(37, 1);
        break;
    case 575:
        Key(37, 0);
        break;
    case 640:
        Key(17, 1); // a pair of bullets
        break;
    case 642:
        Key(17, 0);
        break;
    case 700:
        Key(39, 1);
        break;
    case 712:
        Key(39, 0);
        break;
    case 760:
        Shoot("play");
        break;
    case 770: {
        VTMessage close = {NULL, VT_WM_CLOSE, 0, 0};
        VTPlatformPostMessage(&close);
        break;
    }
    }
    frame++;
}

// The records script: the Data folder holds a Scores.txt and ship 2 still
// locked, so the run below beats ship 1's best and unlocks ship 2.
static void OnRecordsFrame(void*)
{
    VTPlatformAdvanceClock(1.0 / 60.0);
    WritePending();
    GameData* data = VTSMGetGameData();
    switch (frame) {
    case 1:
        data->shipType = 1;
        VTSMSetNextState(STATE_SELECT);
        break;
    case 60:
        Shoot("select");
        break;
    case 70:
        data->level = 3;
        VTSMSetNextState(STATE_PLAY);
        break;
    case 80:
        data->score = 61240.0f;
        break;
    case 230: // launch over
        Shoot("play");
        break;
    case 240: // the ship is lost: game over
        data->level = 0;
        break;
    case 600: // title and board in place
        Shoot("gameover");
        break;
    case 610: {
        VTMessage close = {NULL, VT_WM_CLOSE, 0, 0};
        VTPlatformPostMessage(&close);
        break;
    }
    }
    frame++;
}

int main(int argc, char** argv)
{
    int records = argc == 3 && strcmp(argv[2], "records") == 0;
    if (argc != 2 && !records) {
        fprintf(stderr, "usage: kelvaro_screenshots <output-folder> [records]\n");
        return 2;
    }
    folder = argv[1];
    // Same traffic every time the pictures are remade.
    srand(7);
    VTPlatformUseVirtualClock();
    VTPlatformReportFocus(0);
    VTPlatformSetFrameHook(records ? OnRecordsFrame : OnFrame, NULL);
    return KelvaroMain();
}
