// main.cpp -- process entry. The game takes no command-line options.
#include "kelvaro.h"

int main(void)
{
    return KelvaroMain();
}
