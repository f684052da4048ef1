// The built executable from its start to its first drawn screen and its exit
// (a script of one "draw"), next to the cheapest process there is.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_devices.h"

extern char** environ;

namespace bench {
namespace {

// Runs |argv| with standard output to |out| and the rest to /dev/null;
// returns its exit status, or -1.
int RunProcess(std::vector<std::string> argv, const char* out) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  pid_t pid;
  int error = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> CorvaleDrawing(const std::filesystem::path& root) {
  std::filesystem::path script = ScratchFolder() / "draw.txt";
  if (!std::filesystem::exists(script)) std::ofstream(script) << "draw\n";
  return {CORVALE_EXE, "--device", root.string(), "--script", script.string()};
}

void BM_StartToFirstDraw(benchmark::State& state) {
  std::vector<std::string> argv = CorvaleDrawing(ShortcutDevice(static_cast<int>(state.range(0))));
  // Once, untimed: the run must really reach its drawing.
  std::filesystem::path captured = ScratchFolder() / "draw.out";
  if (RunProcess(argv, captured.c_str()) != 0) return state.SkipWithError("Corvale failed");
  std::stringstream printed;
  printed << std::ifstream(captured).rdbuf();
  if (printed.str().find("\"event\":\"draw\"") == std::string::npos) return state.SkipWithError("Corvale drew nothing");
  for (auto _ : state) {
    if (RunProcess(argv, "/dev/null") != 0) {
      state.SkipWithError("Corvale failed");
      break;
    }
  }
}

void BM_TrivialProcess(benchmark::State& state) {
  for (auto _ : state) {
    if (RunProcess({"/bin/true"}, "/dev/null") != 0) {
      state.SkipWithError("/bin/true failed");
      break;
    }
  }
}

}  // namespace

BENCHMARK(BM_StartToFirstDraw)->Arg(0)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrivialProcess)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace bench
