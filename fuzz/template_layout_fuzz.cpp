// ApplyTemplateLayout on a dialog template of arbitrary bytes.
//
// The bytes become RT_DIALOG resource 900 of a module that otherwise holds the
// program's own resources, so ordinal titles can name its real icons and
// bitmaps; the live dialog is the program's template 102. The template's
// resource is the last bytes of its allocation: reading past its size is a
// sanitizer report. No move batch may stay open and no window may come or go.
#include <cstddef>
#include <cstdint>

#include "TemplateLayout.h"
#include "device/device.h"
#include "device/handle_counts.h"
#include "embedded_resources.h"
#include "fuzz_device.h"
#include "module_table.h"
#include "res/res_writer.h"
#include "resource.h"

namespace {

constexpr std::uint16_t kRtDialog = 5;
constexpr std::uint16_t kFuzzTemplateId = 900;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  corvale_fuzz::FuzzDeviceRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvale_test::ResWriter writer(CorvaleResourceImage());
  writer.Entry(kRtDialog, kFuzzTemplateId, {reinterpret_cast<const std::byte*>(data), size});
  const std::vector<std::byte> image = writer.Take();

  // A fresh boot each time: modules cannot be unregistered.
  device::Boot({corvale_fuzz::FuzzDeviceRoot()});
  HINSTANCE module = platform::RegisterModule(u"/x/Corvale", image);
  if (!module) corvale_fuzz::Broken("the wrapped image was refused");
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), MAKEINTRESOURCEW(kRtDialog));
  auto* live = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
  HWND dialog = CreateDialogIndirectParamW(module, live, nullptr, nullptr, 0);
  if (!dialog) corvale_fuzz::Broken("the live dialog was not made");

  const device::HandleCounts before = device::LiveHandles();
  ApplyTemplateLayout(module, dialog, kFuzzTemplateId);
  const device::HandleCounts after = device::LiveHandles();
  if (after.deferBatches != 0) corvale_fuzz::Broken("a move batch was left open");
  if (after.windows != before.windows) corvale_fuzz::Broken("the relayout made or destroyed a window");
  DestroyWindow(dialog);
  return 0;
}
