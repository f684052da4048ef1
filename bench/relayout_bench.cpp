// ApplyTemplateLayout on a live dialog: the program's tall template, and a
// template of 100 controls. A relayout may not allocate; the heap is counted
// across the timed calls.
#include <benchmark/benchmark.h>

#include "TemplateLayout.h"
#include "afxwin.h"
#include "alloc_counter.h"
#include "bench_devices.h"
#include "bench_resources.h"
#include "device/device.h"
#include "module_table.h"
#include "program_session.h"
#include "resource.h"

namespace bench {
namespace {

constexpr int kHundredItems = 100;

// Times |relayout| and reports allocations per call. The first call, made
// before the timing, may set up what every later call reuses.
template <class Relayout>
void MeasureRelayout(benchmark::State& state, Relayout relayout) {
  if (!relayout()) return state.SkipWithError("the relayout failed");
  std::uint64_t before = AllocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(relayout());
  std::uint64_t allocations = AllocationCount() - before;
  state.counters["allocs/call"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

void BM_RelayoutProgramTemplate(benchmark::State& state) {
  bool shown = RunProgramDialog(ShortcutDevice(0), [&](ProgramDialog& dialog) {
    HINSTANCE module = AfxGetInstanceHandle();
    HWND window = dialog.m_hWnd;
    MeasureRelayout(state, [&] { return ApplyTemplateLayout(module, window, IDD_CORVALE_DIALOG); });
  });
  if (!shown) state.SkipWithError("the main dialog did not come up");
}

INT_PTR PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void BM_RelayoutHundredItems(benchmark::State& state) {
  device::Boot({ShortcutDevice(0)});
  HINSTANCE module = platform::RegisterModule(u"hundred_items", HundredItemsImage());
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(kHundredItemsDialog), RT_DIALOG);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  auto* tmpl = static_cast<const DLGTEMPLATE*>(loaded ? LockResource(loaded) : nullptr);
  HWND dialog = tmpl ? CreateDialogIndirectParamW(module, tmpl, nullptr, PlainDialogProc, 0) : nullptr;
  if (!dialog) return state.SkipWithError("the dialog of 100 controls was not created");
  for (int i = 0; i < kHundredItems; ++i)
    if (!GetDlgItem(dialog, 1000 + i)) return state.SkipWithError("a control of the template is missing");
  MeasureRelayout(state, [&] { return ApplyTemplateLayout(module, dialog, kHundredItemsDialog); });
  DestroyWindow(dialog);
}

}  // namespace

BENCHMARK(BM_RelayoutProgramTemplate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RelayoutHundredItems)->Unit(benchmark::kMicrosecond);

}  // namespace bench
