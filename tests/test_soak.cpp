// A short soak of the real program: three minutes of game time played by the
// scripted player through every screen (tests/soak), seeded alike and at a
// fixed step, so it plays the same way on every machine. `make soak` runs the
// long one and judges the memory series too: here the heap's figures move
// with the audio and driver threads, and the sanitizer build's leak check
// covers leaks.
#include <gtest/gtest.h>

#include "soak/soak.h"

TEST(Soak, ThreeMinutesThroughEveryScreenStayFiniteAndClean)
{
    SoakReport* report = RunSoak(3, 60);
    PrintSoakReport(report, stdout);
    char problems[32][160];
    int count = SoakProblems(report, 0, problems, 32);
    for (int i = 0; i < count; i++)
        ADD_FAILURE() << problems[i];
}
