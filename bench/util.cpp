// util.cpp -- clocks, medians, memory figures and child processes.
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "bench.h"
#include "platform/vtplatform.h"

double Now(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

double CpuNow(void)
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return (double)usage.ru_utime.tv_sec + (double)usage.ru_utime.tv_usec * 1e-6 + (double)usage.ru_stime.tv_sec +
           (double)usage.ru_stime.tv_usec * 1e-6;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

void ReadMemory(double* rssMb, double* peakMb)
{
    *rssMb = *peakMb = 0.0;
    FILE* status = fopen("/proc/self/status", "r");
    if (!status)
        return;
    char line[256];
    while (fgets(line, sizeof line, status)) {
        long kb = 0;
        if (sscanf(line, "VmRSS: %ld kB", &kb) == 1)
            *rssMb = kb / 1024.0;
        else if (sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            *peakMb = kb / 1024.0;
    }
    fclose(status);
}

void* SharedMemory(size_t size)
{
    void* block = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        perror("kelvaro_bench: mmap");
        exit(1);
    }
    return block;
}

static int boxesShown;

static int CountBox(const char*, const char*)
{
    boxesShown++;
    return VT_ANSWER_NO;
}

void InstallBoxCounter(void)
{
    VTPlatformSetMessageBoxHook(CountBox);
}

int BoxesShown(void)
{
    return boxesShown;
}

static void WriteFile(const std::string& path, const char* text)
{
    FILE* f = fopen(path.c_str(), "w");
    if (f) {
        fputs(text, f);
        fclose(f);
    }
}

std::string MakeDataHome(const char* options)
{
    char pattern[] = "/tmp/kelvaro-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        perror("kelvaro_bench: mkdtemp");
        exit(1);
    }
    std::string home = pattern;
    mkdir((home + "/kelvaro").c_str(), 0755);
    mkdir((home + "/kelvaro/Data").c_str(), 0755);
    WriteFile(home + "/kelvaro/Data/Option.txt", options);
    WriteFile(home + "/kelvaro/Data/Tutorial.txt", "0");
    WriteFile(home + "/kelvaro/Data/UnlockShip.txt", "22");
    return home;
}

void RemoveDataHome(const std::string& home)
{
    std::string command = "rm -rf '" + home + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "kelvaro_bench: could not remove %s\n", home.c_str());
}

int WaitChild(int pid)
{
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid)
        return 1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
}

int RunChild(const char* options, void (*body)(void* context), void* context)
{
    std::string home = MakeDataHome(options);
    fflush(stdout);
    fflush(stderr);
    pid_t pid = fork();
    if (pid == 0) {
        alarm(300); // a script that never reaches its end must not hang the bench
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        InstallBoxCounter();
        body(context);
        fflush(stdout);
        fflush(stderr);
        _exit(BoxesShown() ? 3 : 0);
    }
    int status = WaitChild(pid);
    RemoveDataHome(home);
    return status;
}
