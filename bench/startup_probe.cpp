// Starts a program and a baseline in turn, many times, with standard input
// and output on /dev/null, and prints one line per round:
//   game_ns game_kib game_cpu_ns base_ns base_kib base_cpu_ns
// (wall time from fork to reaped exit, peak resident set, CPU time).
// Linked statically and kept to the C library, so that the forked child is
// smaller than either program before it execs: the kernel's peak-RSS figure
// of a child includes the memory it had before exec.
// With --save-in DIR the game keeps a journal of each run there, as a game
// played from a terminal does (the file is removed after each run).
// Usage: tender-bench-startup RUNS [--save-in DIR] -- GAME ARGS... -- BASELINE ARGS...
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Figures {
    long long wallNs = 0;
    long peakKib = 0;
    long long cpuNs = 0;
};

long long Nanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

bool RunOnce(char** argv, int devNull, Figures& figures) {
    const long long start = Nanoseconds();
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        dup2(devNull, 0);
        dup2(devNull, 1);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return false;
    figures.wallNs = Nanoseconds() - start;
    figures.peakKib = usage.ru_maxrss;
    figures.cpuNs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1'000'000'000LL +
                    (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1'000LL;
    return WIFEXITED(status) && WEXITSTATUS(status) != 127;
}

constexpr int MostGameArguments = 32;

// The game's command line with "--save DIR/run.journal" added.
bool WithJournal(char** game, const char* folder, char* path, std::size_t pathSize, char** argv) {
    int count = 0;
    while (game[count] != nullptr) {
        if (count + 3 >= MostGameArguments) return false;
        argv[count] = game[count];
        ++count;
    }
    std::snprintf(path, pathSize, "%s/run.journal", folder);
    static char save[] = "--save";
    argv[count] = save;
    argv[count + 1] = path;
    argv[count + 2] = nullptr;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    char** game = nullptr;
    char** baseline = nullptr;
    const char* journalFolder = nullptr;
    int first = 2;
    if (argc >= 4 && std::strcmp(argv[2], "--save-in") == 0) {
        journalFolder = argv[3];
        first = 4;
    }
    if (argc >= first + 4 && std::strcmp(argv[first], "--") == 0) {
        game = argv + first + 1;
        for (int k = first + 1; k < argc; ++k) {
            if (std::strcmp(argv[k], "--") == 0) {
                argv[k] = nullptr;
                baseline = argv + k + 1;
                break;
            }
        }
    }
    if (game == nullptr || *game == nullptr || baseline == nullptr || *baseline == nullptr) {
        std::fprintf(stderr, "usage: %s RUNS [--save-in DIR] -- GAME ARGS... -- BASELINE ARGS...\n", argv[0]);
        return 2;
    }
    char journal[4096];
    char* journaled[MostGameArguments];
    if (journalFolder != nullptr) {
        if (!WithJournal(game, journalFolder, journal, sizeof journal, journaled)) return 2;
        game = journaled;
    }
    const int runs = std::atoi(argv[1]);
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull < 0) return 1;
    for (int run = 0; run < runs; ++run) {
        Figures ofGame;
        Figures ofBaseline;
        // Alternate which goes first, so neither always runs on a warmer cache.
        const bool gameFirst = run % 2 == 0;
        if (!RunOnce(gameFirst ? game : baseline, devNull, gameFirst ? ofGame : ofBaseline) ||
            !RunOnce(gameFirst ? baseline : game, devNull, gameFirst ? ofBaseline : ofGame)) {
            std::fprintf(stderr, "%s: a run failed\n", argv[0]);
            return 1;
        }
        if (journalFolder != nullptr && unlink(journal) != 0) {
            std::fprintf(stderr, "%s: the game kept no journal in %s\n", argv[0], journal);
            return 1;
        }
        std::printf("%lld %ld %lld %lld %ld %lld\n", ofGame.wallNs, ofGame.peakKib, ofGame.cpuNs,
                    ofBaseline.wallNs, ofBaseline.peakKib, ofBaseline.cpuNs);
    }
    return 0;
}
