// fuzz_inputs.cpp -- feeds bytes to the TGA reader and the saved-file
// readers and holds them to what their headers promise. The expected result
// comes from a second, deliberately plain decoder written from the file
// formats, so a wrong pixel or a wrong refusal is a finding, not only a crash.
#include "fuzz_inputs.h"

#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata.h"
#include "platform/vtplatform.h"
#include "records.h"
#include "savedfiles.h"
#include "vttextureloading.h"

static std::string scratch;      // the temporary folder, also $XDG_DATA_HOME
static int boxes;                // assertion boxes since the last reset
static std::string lastBox;

#define FUZZ_CHECK(condition, what)                                              \
    do {                                                                         \
        if (!(condition)) {                                                      \
            fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            abort();                                                             \
        }                                                                        \
    } while (0)

static int AnswerYes(const char*, const char* text)
{
    boxes++;
    lastBox = text;
    return VT_ANSWER_YES;
}

static void WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    FUZZ_CHECK(fd >= 0, "scratch file opens");
    size_t done = 0;
    while (done < size) {
        ssize_t written = write(fd, data + done, size - done);
        FUZZ_CHECK(written > 0, "scratch file takes the input");
        done += (size_t)written;
    }
    close(fd);
}

static std::string ReadFile(const std::string& path)
{
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    FUZZ_CHECK(file != NULL, "saved file exists after a save");
    for (int c; (c = fgetc(file)) != EOF;)
        bytes += (char)c;
    fclose(file);
    return bytes;
}

void FuzzSetUp(void)
{
    // tmpfs when there is one: every input is written once.
    struct stat info;
    std::string pattern = stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && access("/dev/shm", W_OK) == 0
                              ? "/dev/shm/kelvaro-fuzz-XXXXXX"
                              : "/tmp/kelvaro-fuzz-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    FUZZ_CHECK(mkdtemp(name.data()) != NULL, "scratch folder");
    scratch = name.data();
    mkdir((scratch + "/kelvaro").c_str(), 0755);
    mkdir((scratch + "/kelvaro/Data").c_str(), 0755);
    setenv("XDG_DATA_HOME", scratch.c_str(), 1);
    VTPlatformSetMessageBoxHook(AnswerYes);
    // YES means "break into the debugger": with none attached the load
    // carries on through its clean refusal path.
    signal(SIGTRAP, SIG_IGN);
}

static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

void FuzzTearDown(void)
{
    if (!scratch.empty())
        nftw(scratch.c_str(), RemoveEntry, 8, FTW_DEPTH | FTW_PHYS);
    scratch.clear();
}

// --- pictures ----------------------------------------------------------------------

struct Decoded
{
    int ok;
    const char* reason;   // the assertion's description when refused
    const char* function; // the function named in the box
    int width, height, bits;
    std::vector<uint8_t> pixels; // red, green, blue (, alpha), rows as stored
};

static void Refuse(Decoded* d, const char* reason)
{
    d->ok = 0;
    d->reason = reason;
}

static void Put(Decoded* d, const uint8_t colour[4], int bytesPerPixel)
{
    d->pixels.push_back(colour[2]);
    d->pixels.push_back(colour[1]);
    d->pixels.push_back(colour[0]);
    if (bytesPerPixel == 4)
        d->pixels.push_back(colour[3]);
}

static void DecodeRunLength(Decoded* d, const uint8_t* in, size_t size, int bytesPerPixel)
{
    uint64_t pixelCount = (uint64_t)d->width * (uint64_t)d->height;
    uint64_t current = 0;
    size_t at = 18;
    size_t bpp = (size_t)bytesPerPixel;
    uint8_t colour[4] = {0, 0, 0, 0};
    d->ok = 1;
    while (d->ok && current < pixelCount) {
        if (at >= size) {
            Refuse(d, "Error Reading file");
        } else if (in[at] >= 128) {
            unsigned count = in[at++] - 127u;
            if (size - at < bpp) {
                Refuse(d, "Error Reading File");
            } else {
                memcpy(colour, in + at, bpp);
                at += bpp;
                if (current + count > pixelCount)
                    Refuse(d, "Invalid File");
                for (unsigned i = 0; d->ok && i < count; i++, current++)
                    Put(d, colour, bytesPerPixel);
            }
        } else {
            unsigned count = in[at++] + 1u;
            if (current + count > pixelCount)
                Refuse(d, "Invalid file.");
            for (unsigned i = 0; d->ok && i < count; i++, current++) {
                if (size - at < bpp) {
                    Refuse(d, "Error reading file");
                } else {
                    memcpy(colour, in + at, bpp);
                    at += bpp;
                    Put(d, colour, bytesPerPixel);
                }
            }
        }
    }
}

// The documented reader, step by step, with no concern for speed.
static Decoded Decode(const uint8_t* in, size_t size)
{
    static const uint8_t raw[12] = {0, 0, 2};
    static const uint8_t runLength[12] = {0, 0, 10};
    Decoded d = {0, NULL, "VTGraphicsLoadFail", 0, 0, 0, {}};
    if (size < 18) {
        Refuse(&d, "Error Reading file");
        return d;
    }
    d.width = in[12] | in[13] << 8;
    d.height = in[14] | in[15] << 8;
    d.bits = in[16];
    int bytesPerPixel = d.bits / 8;
    uint64_t bytes = (uint64_t)d.width * (uint64_t)d.height * (uint64_t)bytesPerPixel;
    bool powers = (d.width & (d.width - 1)) == 0 && (d.height & (d.height - 1)) == 0;
    if (d.width == 0 || d.height == 0 || (d.bits != 24 && d.bits != 32) || bytes > UINT32_MAX) {
        Refuse(&d, "Error reading file");
    } else if (!powers) {
        Refuse(&d, "Textures must be powers of two.");
    } else if (memcmp(in, raw, 12) == 0) {
        if (size - 18 < bytes) {
            Refuse(&d, "Error Reading file");
        } else {
            d.ok = 1;
            for (uint64_t i = 0; i < bytes; i += (uint64_t)bytesPerPixel)
                Put(&d, in + 18 + i, bytesPerPixel);
        }
    } else if (memcmp(in, runLength, 12) == 0) {
        DecodeRunLength(&d, in, size, bytesPerPixel);
    } else {
        Refuse(&d, "Invalid File type");
    }
    return d;
}

void FuzzTga(const uint8_t* data, size_t size)
{
    Decoded expected = Decode(data, size);

    boxes = 0;
    VTImage image;
    memset(&image, 0, sizeof image);
    int ok = VTGraphicsDecodeTGA(&image, data, size);

    FUZZ_CHECK(ok == expected.ok, "loaded exactly when the format allows it");
    if (ok) {
        FUZZ_CHECK(boxes == 0, "a loaded picture shows no box");
        FUZZ_CHECK(image.width == expected.width && image.height == expected.height, "size");
        FUZZ_CHECK(image.bitsPerPixel == expected.bits && image.bytesPerPixel == expected.bits / 8, "depth");
        FUZZ_CHECK(image.format == (expected.bits == 24 ? 0x1907u : 0x1908u), "GL format");
        FUZZ_CHECK(image.pixels != NULL && image.size == expected.pixels.size(), "buffer size");
        FUZZ_CHECK(memcmp(image.pixels, expected.pixels.data(), image.size) == 0, "pixels");
        free(image.pixels);
    } else {
        FUZZ_CHECK(boxes == 1, "one assertion per refusal");
        FUZZ_CHECK(image.pixels == NULL, "nothing left allocated");
        std::string function = std::string("\nFunction: ") + expected.function + "\n";
        std::string reason = std::string("Description: ") + expected.reason + "\n";
        FUZZ_CHECK(lastBox.find(function) != std::string::npos, "refused in the documented function");
        FUZZ_CHECK(lastBox.find(reason) != std::string::npos, "refused for the documented reason");
    }
}

// --- saved files -------------------------------------------------------------------

// What one fgets of at most size - 1 characters leaves in a buffer that
// held before: the file's first line, or the buffer untouched when empty.
static std::string FirstLine(const uint8_t* data, size_t length, size_t size, std::string before)
{
    size_t count = 0;
    while (count < length && count < size - 1 && (count == 0 || data[count - 1] != '\n'))
        count++;
    if (count > 0) {
        before.replace(0, count, (const char*)data, count);
        before[count] = '\0';
    }
    return before;
}

// Characters before the line's end: NUL, line feed or carriage return.
static size_t Length(const std::string& line)
{
    size_t n = 0;
    while (n < line.size() && line[n] != '\0' && line[n] != '\n' && line[n] != '\r')
        n++;
    return n;
}

// Filled in place, padding included, so two records compare byte for byte.
static void FillSentinels(GameData* data)
{
    memset(data, 0x5A, sizeof *data);
    data->fullScreen = data->soundOn = data->resolution = data->tutorialPending = 7;
    memcpy(data->unlockedShips, "ab", 3);
}

void FuzzSavedFiles(const uint8_t* data, size_t size)
{
    std::string folder = scratch + "/kelvaro/Data/";
    WriteFile(folder + "Option.txt", data, size);
    WriteFile(folder + "Tutorial.txt", data, size);
    WriteFile(folder + "UnlockShip.txt", data, size);

    boxes = 0;
    GameData record;
    FillSentinels(&record);
    LoadOptionFile(&record);
    LoadTutorialFile(&record);
    LoadUnlockShipFile(&record);

    GameData expected;
    FillSentinels(&expected);
    std::string option = FirstLine(data, size, 4, std::string(4, '\0'));
    size_t optionLength = Length(option);
    if (optionLength >= 1)
        expected.fullScreen = option[0] != '0';
    if (optionLength >= 2)
        expected.soundOn = option[1] != '0';
    if (optionLength >= 3)
        expected.resolution = option[2] == '0' ? 0 : option[2] == '2' ? 2 : 1;
    std::string tutorial = FirstLine(data, size, 2, std::string(2, '\0'));
    if (Length(tutorial) >= 1)
        expected.tutorialPending = tutorial[0] != '0';
    std::string unlocked = FirstLine(data, size, 3, std::string("ab\0", 3));
    memcpy(expected.unlockedShips, unlocked.data(), 3);
    // The whole record is compared: a read that strays past its field shows.
    FUZZ_CHECK(memcmp(&record, &expected, sizeof record) == 0, "fields decoded as documented, nothing else touched");
    FUZZ_CHECK(boxes == 0, "the readers never show a box");

    // Saving writes the documented characters back, with no line break.
    SaveOptionFile(&record);
    SaveTutorialFile(&record);
    SaveUnlockShipFile(&record);
    std::string written;
    written += record.fullScreen ? '1' : '0';
    written += record.soundOn ? '1' : '0';
    written += record.resolution == 0 ? '0' : record.resolution == 2 ? '2' : '1';
    FUZZ_CHECK(ReadFile(folder + "Option.txt") == written, "Option.txt written back");
    FUZZ_CHECK(ReadFile(folder + "Tutorial.txt") == (record.tutorialPending ? "1" : "0"), "Tutorial.txt written back");
    FUZZ_CHECK(record.unlockedShips[2] == '\0', "unlock text terminated");
    FUZZ_CHECK(ReadFile(folder + "UnlockShip.txt") == std::string(record.unlockedShips), "UnlockShip.txt written back");

    if (size >= 4) {
        float score;
        memcpy(&score, data, sizeof score);
        record.lastScore = score;
        SaveScoreFile(&record);
        char text[32] = "";
        if (score > -1e9f && score < 1e9f)
            snprintf(text, sizeof text, "%lld", (long long)score);
        FUZZ_CHECK(ReadFile(folder + "Score.txt") == text, "Score.txt holds the truncated score or nothing");
    }
}

// --- the records file ----------------------------------------------------------------

struct PlainRun
{
    long long score;
    int level;
    std::string date;
};

// Digits only, at most maxDigits of them.
static bool PlainNumber(const std::string& field, size_t maxDigits, long long* value)
{
    bool ok = !field.empty() && field.size() <= maxDigits &&
              field.find_first_not_of("0123456789") == std::string::npos;
    if (ok)
        *value = std::stoll(field);
    return ok;
}

static bool PlainDate(const std::string& d)
{
    bool ok = d.size() == 10 && d[4] == '-' && d[7] == '-';
    for (size_t i = 0; ok && i < 10; i++)
        ok = i == 4 || i == 7 || (d[i] >= '0' && d[i] <= '9');
    return ok;
}

// The format read word by word: a "KELVARO SCORES <digit>" first line, then
// lines whose first four blank-separated words are ship, score, level, date.
static std::vector<PlainRun> PlainDecode(const std::string& text, int ship)
{
    std::vector<PlainRun> runs;
    std::istringstream lines(text);
    std::string line;
    bool headed = text.size() <= RECORD_FILE_LIMIT && std::getline(lines, line) && line.size() > 15 &&
                  line.compare(0, 15, "KELVARO SCORES ") == 0 && line[15] >= '1' && line[15] <= '9';
    while (headed && std::getline(lines, line)) {
        // Only spaces, tabs and carriage returns part fields; a form feed or
        // vertical tab is part of its field, as any other character.
        for (char& c : line)
            c = c == '\t' || c == '\r' ? ' ' : c == '\f' || c == '\v' ? 'x' : c;
        std::istringstream words(line);
        std::string w[4];
        long long s = 0, score = 0, level = 0;
        if (words >> w[0] >> w[1] >> w[2] >> w[3] && PlainNumber(w[0], 1, &s) && s == ship &&
            PlainNumber(w[1], 18, &score) && PlainNumber(w[2], 6, &level) && level >= 1 && PlainDate(w[3]))
            runs.push_back({score, (int)level, w[3]});
    }
    std::stable_sort(runs.begin(), runs.end(), [](const PlainRun& a, const PlainRun& b) { return a.score > b.score; });
    if (runs.size() > RECORD_RUNS)
        runs.resize(RECORD_RUNS);
    return runs;
}

static bool SameTables(const RecordTable& a, const RecordTable& b)
{
    bool same = true;
    for (int ship = 0; same && ship < RECORD_SHIPS; ship++) {
        same = a.count[ship] == b.count[ship];
        for (int i = 0; same && i < a.count[ship]; i++)
            same = a.runs[ship][i].score == b.runs[ship][i].score && a.runs[ship][i].level == b.runs[ship][i].level &&
                   strcmp(a.runs[ship][i].date, b.runs[ship][i].date) == 0;
    }
    return same;
}

void FuzzScores(const uint8_t* data, size_t size)
{
    std::string path = scratch + "/kelvaro/Data/Scores.txt";
    WriteFile(path, data, size);
    boxes = 0;
    RecordTable table;
    memset(&table, 0x5A, sizeof table);
    RecordsLoad(&table);
    FUZZ_CHECK(boxes == 0, "read quietly");

    std::string text((const char*)data, size);
    for (int ship = 1; ship <= RECORD_SHIPS; ship++) {
        std::vector<PlainRun> expected = PlainDecode(text, ship);
        FUZZ_CHECK(table.count[ship - 1] == (int)expected.size(), "as many runs as the format allows, ten at most");
        for (size_t i = 0; i < expected.size(); i++) {
            const RecordRun& run = table.runs[ship - 1][i];
            FUZZ_CHECK(run.score == expected[i].score && run.level == expected[i].level &&
                           expected[i].date == run.date, "the runs, best first, equal scores in file order");
        }
    }

    // Written back and read again, the table is the same.
    FUZZ_CHECK(RecordsSave(&table) == 1, "the table is saved");
    RecordTable again;
    RecordsLoad(&again);
    FUZZ_CHECK(SameTables(table, again), "a saved table reads back unchanged");
}
