// The start-up list's refill at scale, through the program's own
// RefreshStartupList, next to the least any program can do for the same
// files: list the folder, open, read 256 bytes, close.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "alloc_counter.h"
#include "bench_devices.h"
#include "commctrl.h"
#include "program_session.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

// The image list gains a row's worth of images on every refill; past this
// many the benchmark starts a new one (outside the timing) to stay bounded.
constexpr int kImageLimit = 200000;

double Nanoseconds(Clock::duration d) { return std::chrono::duration<double, std::nano>(d).count(); }

int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

struct RefillMemory {
  double bytesPerRow = 0;
  double bytesPerImage = 0;
  double imagesPerRow = 0;
};

// What one refill leaves on the heap: its rows (given back by the next
// refill) and its images (kept for good).
RefillMemory MeasureMemory(ProgramDialog& dialog, int count) {
  HeapAccounting accounting;
  dialog.RenewImageList();
  SendMessageW(dialog.List(), LVM_DELETEALLITEMS, 0, 0);
  std::int64_t bare = AccountedHeapBytes();
  dialog.RefreshStartupList();
  std::int64_t filled = AccountedHeapBytes();
  int images = ImageList_GetImageCount(dialog.Images());
  SendMessageW(dialog.List(), LVM_DELETEALLITEMS, 0, 0);
  std::int64_t imagesOnly = AccountedHeapBytes();
  return {static_cast<double>(filled - imagesOnly) / count, static_cast<double>(imagesOnly - bare) / count,
          static_cast<double>(images) / count};
}

// The least any program does for the same shortcuts: list the folder, and
// open, read 256 bytes of and close each file. Returns the files read.
std::int64_t ReadAsPosixDoes(const std::filesystem::path& folder) {
  const std::string prefix = folder.string() + "/";
  std::string path;
  char buffer[256];
  std::int64_t read = 0;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  while (dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    path.assign(prefix).append(entry->d_name);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    if (::read(fd, buffer, sizeof buffer) >= 0) ++read;
    benchmark::DoNotOptimize(buffer);
    ::close(fd);
  }
  ::closedir(dir);
  return read;
}

// Wall and thread CPU time of a stretch of work.
struct Elapsed {
  double wallNs = 0;
  double cpuNs = 0;
};

double ThreadCpuNs() {
  timespec now;
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

template <class Work>
void Measure(Elapsed& total, Work work) {
  double cpu = ThreadCpuNs();
  Clock::time_point start = Clock::now();
  work();
  total.wallNs += Nanoseconds(Clock::now() - start);
  total.cpuNs += ThreadCpuNs() - cpu;
}

// Each refill is followed, outside the timing, by the baseline on the same
// files, so that both meet the same machine: on a busy host only ratios of
// interleaved runs compare.
void BM_Refill(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::filesystem::path& root = ShortcutDevice(count);
  RefillMemory memory;
  Elapsed refill, posix;
  std::int64_t posixRead = 0;
  std::uint64_t allocations = 0;
  int rows = -1;
  bool shown = RunProgramDialog(root, [&](ProgramDialog& dialog) {
    memory = MeasureMemory(dialog, count);
    for (auto _ : state) {
      if (ImageList_GetImageCount(dialog.Images()) > kImageLimit) {
        state.PauseTiming();
        dialog.RenewImageList();
        state.ResumeTiming();
      }
      std::uint64_t before = AllocationCount();
      Measure(refill, [&] { dialog.RefreshStartupList(); });
      allocations += AllocationCount() - before;
      state.PauseTiming();
      Measure(posix, [&] { posixRead += ReadAsPosixDoes(root / kStartupFolder); });
      state.ResumeTiming();
    }
    rows = RowCount(dialog.List());
  });
  if (!shown) return state.SkipWithError("the main dialog did not come up");
  if (rows != count) return state.SkipWithError("the list does not show one row per shortcut");
  const double entries = static_cast<double>(state.iterations()) * count;
  if (posixRead != static_cast<std::int64_t>(entries)) return state.SkipWithError("the baseline missed shortcuts");
  state.SetItemsProcessed(static_cast<std::int64_t>(entries));
  state.counters["ns/entry"] = refill.wallNs / entries;
  state.counters["posix ns/entry"] = posix.wallNs / entries;
  state.counters["vs posix"] = refill.wallNs / posix.wallNs;
  state.counters["cpu vs posix"] = refill.cpuNs / posix.cpuNs;
  state.counters["allocs/entry"] = static_cast<double>(allocations) / entries;
  state.counters["B/row"] = memory.bytesPerRow;
  state.counters["B/image"] = memory.bytesPerImage;
  state.counters["images/row"] = memory.imagesPerRow;
}

// The baseline alone, for its own figures.
void BM_PosixBaseline(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::filesystem::path folder = ShortcutDevice(count) / kStartupFolder;
  Elapsed posix;
  std::int64_t read = 0;
  for (auto _ : state) Measure(posix, [&] { read += ReadAsPosixDoes(folder); });
  const double entries = static_cast<double>(state.iterations()) * count;
  if (read != static_cast<std::int64_t>(entries)) return state.SkipWithError("not every shortcut could be read");
  state.SetItemsProcessed(read);
  state.counters["ns/entry"] = posix.wallNs / entries;
}

}  // namespace

BENCHMARK(BM_Refill)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PosixBaseline)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace bench
