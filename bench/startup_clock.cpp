// Runs a program with the first-frame probe and prints how long it took from exec to the frame
// the probe waits for, with the peak and current resident memory at that moment:
//   startup_clock PROBE.so OUT-FILE PROGRAM [ARGUMENTS...]
// prints "startup_ms <ms> vmhwm_kb <kB> vmrss_kb <kB>".
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_clock PROBE.so OUT-FILE PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const char* outPath = argv[2];
    std::remove(outPath);
    const long long started = monotonicNanoseconds();
    const pid_t child = fork();
    if (child == 0) {
        setenv("LD_PRELOAD", argv[1], 1);
        setenv("TOLVAR_PROBE_OUT", outPath, 1);
        execv(argv[3], argv + 3);
        std::perror("startup_clock: exec");
        _exit(127);
    }
    if (child < 0) {
        std::perror("startup_clock: fork");
        return 1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    long long frameAt = 0;
    long peak = 0;
    long resident = 0;
    std::FILE* out = std::fopen(outPath, "r");
    const bool recorded =
        out != nullptr && std::fscanf(out, "%lld %ld %ld", &frameAt, &peak, &resident) == 3;
    if (out != nullptr) {
        std::fclose(out);
    }
    if (!recorded) {
        std::fprintf(stderr, "startup_clock: %s presented no frame (status %d)\n", argv[3], status);
        return 1;
    }
    std::printf("startup_ms %.2f vmhwm_kb %ld vmrss_kb %ld\n",
                static_cast<double>(frameAt - started) / 1e6, peak, resident);
    return 0;
}
