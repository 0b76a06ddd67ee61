// What a hostile machine does to the game: damaged pictures, named pipes,
// hang-ups, file-size limits, no display, protected or linked saved files, two
// copies saving at once, and a window manager that sizes the window itself.
#include <GL/glew.h>
#include <SDL.h>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"
#include "platform/vtaudio.h"
#include "platform/vtfiles.h"
#include "savedfiles.h"
#include "states.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtstatemanager.h"
#include "vttextureloading.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// Runs body in a child with standard error in a file; returns the status and
// what it wrote there.
int WithStderr(const std::function<void()>& body, std::string* text)
{
    char name[] = "/tmp/kelvaro-stderr-XXXXXX";
    int fd = mkstemp(name);
    int status = RunInChild([&] {
        dup2(fd, 2);
        body();
    });
    close(fd);
    *text = Slurp(name);
    remove(name);
    return status;
}

} // namespace

TEST(Hostile, RefusedPictureIsNamedOnStandardError)
{
    std::string truncated = WriteTestTga("cut", 4, 4, 24, std::vector<unsigned char>(10, 0));
    std::string random = WriteTestTga("noise", 4, 4, 24, std::vector<unsigned char>(48, 0x5A));
    FILE* noise = fopen(random.c_str(), "r+b");
    fwrite("\x37\x91\x02\xee", 1, 4, noise); // a sane size on a header of noise
    fclose(noise);
    struct Case { const char* name; std::string path, resolved; const char* reason; };
    const Case cases[] = {
        {"missing", "Graphic_Assets\\NoSuch.tga", std::string(VTFileAssetRoot()) + "/Graphic_Assets/NoSuch.tga",
         "The Texture file could not be opened"},
        {"truncated", truncated, truncated, "Error Reading file"},
        {"random", random, random, "Invalid File type"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        EXPECT_EQ(255, WithStderr([&] { VTGraphicsLoadTexture(c.path.c_str()); }, &text));
        EXPECT_NE(std::string::npos, text.find(c.reason)) << text;
        EXPECT_NE(std::string::npos, text.find(c.resolved + "\n")) << text;
    }
    remove(truncated.c_str());
    remove(random.c_str());
}
