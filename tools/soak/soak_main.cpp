// soak_main.cpp -- `make soak`: the long soak as a program of its own.
//   kelvaro_soak [minutes of game time, default 30] [draw one frame in N, default 20]
// Prints the memory series and what the player did; exits 1 on any problem.
#include <stdio.h>
#include <stdlib.h>

#include "soak.h"

int main(int argc, char** argv)
{
    int minutes = argc > 1 ? atoi(argv[1]) : 30;
    int renderEvery = argc > 2 ? atoi(argv[2]) : 20;
    if (minutes < 1 || minutes > SOAK_MAX_MINUTES || renderEvery < 1) {
        fprintf(stderr, "usage: %s [minutes 1..%d] [draw one frame in N]\n", argv[0], SOAK_MAX_MINUTES);
        return 2;
    }
    SoakReport* report = RunSoak(minutes, renderEvery);
    PrintSoakReport(report, stdout);
    char problems[32][160];
    int count = SoakProblems(report, 1, problems, 32);
    for (int i = 0; i < count; i++)
        printf("PROBLEM: %s\n", problems[i]);
    printf(count ? "soak failed\n" : "soak clean\n");
    return count ? 1 : 0;
}
