// kelvaro.cpp -- start-up: the first game record, the saved options, the
// window, the eight states in their fixed order, then the states' run.
#include "kelvaro.h"

#include <stddef.h>

#include "frontend/options.h"
#include "gamedata.h"
#include "savedfiles.h"
#include "soundbank.h"
#include "states.h"
#include "vtapplication.h"
#include "vtstatemanager.h"

void ResolutionToSize(int resolution, int* width, int* height)
{
    if (resolution == 0) {
        *width = 1024;
        *height = 768;
    } else if (resolution == 2) {
        *width = 1920;
        *height = 1080;
    } else {
        *width = 1280;
        *height = 720;
    }
}

int KelvaroMain(void)
{
    GameData data;
    GameDataSetStartValues(&data);
    LoadTutorialFile(&data);
    LoadOptionFile(&data);

    int width, height;
    ResolutionToSize(data.resolution, &width, &height);
    VTApplicationInitInfo info = {NULL, "Kelvaro", &data, (int)sizeof data, height, width, 0};
    VTApplicationInit(&info);
    // The splash screens take seconds; the sounds are ready long before.
    if (data.soundOn == 1)
        SoundBankPrefetch();
    VTApplicationSetFullScreenKeyHandler(FullScreenKeyPressed);

    // The saved full-screen option applies once the menu is registered and
    // before the rest: the window opens windowed and switches afterwards.
    VTSMAddState(&stateTable[STATE_MENU]);
    VTApplicationSetFullScreen(data.fullScreen);
    for (int id = STATE_OPTION; id < STATE_COUNT; id++) {
        int added = VTSMAddState(&stateTable[id]);
        if (id == STATE_SPLASH)
            VTSMSetStartState(added);
    }

    VTApplicationUpdate();
    VTApplicationShutdown();
    return 0;
}
