// What `kvelt record` costs: the program records from the simulated counter at 10 ms for 30 s
// (KVELT_BENCH_SECONDS overrides) and its CPU time (user + system, every thread, from wait4) is
// taken as a share of one core over the run. Baseline in the same run: the same program with the
// period at 1 h, which writes no line in that time, so the difference is the cost of the lines;
// both include the simulated counter's own thread, which a real counter does not cost.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

int Seconds() {
  const char* text = std::getenv("KVELT_BENCH_SECONDS");
  const int seconds = text != nullptr ? std::atoi(text) : 30;
  return seconds > 0 ? seconds : 30;
}

long long CountLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  long long lines = 0;
  for (std::string line; std::getline(file, line);) ++lines;
  return lines;
}

void RunRecord(benchmark::State& state, const char* period) {
  const int seconds = Seconds();
  for (auto _ : state) {
    char folder[] = "/tmp/kvelt-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
      state.SkipWithError("no temporary folder");
      return;
    }
    const std::string file = std::string(folder) + "/run.csv";
    const std::string duration = std::to_string(seconds) + "s";
    std::vector<std::string> words{KVELT_CLI_EXECUTABLE,
                                   "record",
                                   file,
                                   "--simulate",
                                   "--period",
                                   period,
                                   "--for",
                                   duration,
                                   "--date",
                                   "--time"};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start kvelt");
      return;
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(wall);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    state.counters["cpu_share_of_core_percent"] = 100.0 * cpu / wall;
    state.counters["cpu_s"] = cpu;
    state.counters["lines"] = static_cast<double>(CountLines(file));
    state.counters["exit_status"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::remove(file.c_str());
    ::rmdir(folder);
  }
}

void BM_RecordEvery10ms(benchmark::State& state) { RunRecord(state, "10ms"); }
void BM_BaselineNoLines(benchmark::State& state) { RunRecord(state, "1h"); }

BENCHMARK(BM_RecordEvery10ms)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_BaselineNoLines)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
