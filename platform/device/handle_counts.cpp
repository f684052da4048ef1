#include "device/handle_counts.h"

#include <ostream>

#include "control_classes.h"
#include "defer_objects.h"
#include "gdi_objects.h"
#include "kernel_objects.h"
#include "menu_objects.h"
#include "process_objects.h"
#include "window_objects.h"

namespace device {

HandleCounts LiveHandles() {
  HandleCounts counts;
  counts.files = platform::LiveFileHandles();
  counts.finds = platform::LiveFindHandles();
  counts.icons = platform::Icons().Live();
  platform::Icons().ForEach([&counts](std::uintptr_t, const platform::IconObject& icon) {
    if (icon.shared) ++counts.sharedIcons;
  });
  counts.bitmaps = platform::Bitmaps().Live();
  counts.imageLists = platform::LiveImageLists();
  counts.windows = platform::Windows().Live();
  counts.deferBatches = platform::DeferBatches().Live();
  counts.mutexes = platform::LiveMutexHandles();
  counts.menus = platform::Menus().Live();
  counts.processes = platform::Processes().Live();
  return counts;
}

std::ostream& operator<<(std::ostream& out, const HandleCounts& c) {
  return out << "files " << c.files << ", finds " << c.finds << ", icons " << c.icons << " (shared " << c.sharedIcons
             << "), bitmaps " << c.bitmaps << ", image lists " << c.imageLists << ", windows " << c.windows
             << ", deferred batches " << c.deferBatches << ", mutexes " << c.mutexes << ", menus " << c.menus
             << ", processes " << c.processes;
}

}  // namespace device
