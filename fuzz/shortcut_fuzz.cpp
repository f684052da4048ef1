// A shortcut file of arbitrary bytes through the program's own refill: open,
// read, widen, cut, trim, the shell's icon and the row's insertion.
//
// The device is booted once and the program's module registered once; each
// input is written to the one shortcut in the start-up folder and the
// program's dialog is run with it, refilling once more from its first wait for
// input before it is ended. After each run no file or find handle may be left
// open and no icon that the shell handed out may be left alive.
#include <cstddef>
#include <cstdint>
#include <fstream>

#include "CorvaleApp.h"
#include "CorvaleDlg.h"
#include "control_classes.h"
#include "device/device.h"
#include "device/handle_counts.h"
#include "embedded_resources.h"
#include "fuzz_device.h"
#include "listview_state.h"
#include "module_table.h"
#include "service.h"

namespace {

// The dialog with its refill reachable from outside.
class RefillingDialog : public CCorvaleDlg {
 public:
  void Refill() { RefreshStartupList(); }
  HWND List() const { return m_list.m_hWnd; }
};

// Refills once from the first wait for input, then ends the dialog.
class RefillThenEnd : public device::InputSource {
 public:
  explicit RefillThenEnd(RefillingDialog& dialog) : dialog_(dialog) {}
  void Idle() override {
    if (!refilled_) {
      refilled_ = true;
      platform::CallOut out;  // as program code, not as the platform's own call
      dialog_.Refill();
      const platform::ListViewState* list = platform::ListViewOf(dialog_.List());
      if (!list || list->rows.size() != 1) corvale_fuzz::Broken("the one shortcut is not the one row");
      return;
    }
    ::PostMessageW(dialog_.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  }

 private:
  RefillingDialog& dialog_;
  bool refilled_ = false;
};

std::filesystem::path g_shortcut;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::filesystem::path& root = corvale_fuzz::FuzzDeviceRoot();
  std::filesystem::create_directories(root / "Windows" / "StartUp");
  g_shortcut = root / "Windows" / "StartUp" / "fuzz.lnk";
  std::ofstream(root / "Windows" / "target.exe") << "program";
  device::Boot({root});
  theApp.m_hInstance = platform::RegisterModule(u"/x/Corvale", CorvaleResourceImage());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(g_shortcut, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const device::HandleCounts before = device::LiveHandles();
  {
    RefillingDialog dialog;
    RefillThenEnd input(dialog);
    device::Current().input = &input;
    dialog.DoModal();
    device::Current().input = nullptr;
  }
  const device::HandleCounts after = device::LiveHandles();
  if (after.files != 0 || after.finds != 0) corvale_fuzz::Broken("a file or find handle outlived the refill");
  if (after.OwnedIcons() != before.OwnedIcons()) corvale_fuzz::Broken("an icon from the shell was left alive");
  if (after.windows != before.windows || after.imageLists != before.imageLists)
    corvale_fuzz::Broken("the dialog left a window or an image list behind");
  return 0;
}
