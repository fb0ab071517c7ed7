// From a process start to its first painted window: the program against a
// bare Qt window, each run as its own process on the offscreen platform.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace {

std::string probePath() {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1) + "vk41-startup-probe";
}

void runProbe(benchmark::State& state, const char* mode) {
    const std::string path = probePath();
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(mode), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start vk41-startup-probe");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("probe failed");
    }
}

void BM_StartBareWindow(benchmark::State& state) {
    runProbe(state, "bare");
}
void BM_StartProgram(benchmark::State& state) {
    runProbe(state, "program");
}

BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
