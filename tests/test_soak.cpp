// A short soak of the real program: a few minutes of game time played by the
// scripted player through every screen (tests/soak). `make soak` runs the
// long one.
#include <gtest/gtest.h>

#include "soak/soak.h"

TEST(Soak, FourMinutesThroughEveryScreenStayFiniteFlatAndClean)
{
    SoakReport* report = RunSoak(4, 12);
    PrintSoakReport(report, stdout);
    char problems[32][160];
    // AddressSanitizer's quarantine and shadow make memory figures
    // meaningless; its leak check covers that build instead.
#if defined(__SANITIZE_ADDRESS__)
    const int checkMemory = 0;
#else
    const int checkMemory = 1;
#endif
    int count = SoakProblems(report, checkMemory, problems, 32);
    for (int i = 0; i < count; i++)
        ADD_FAILURE() << problems[i];
}
