// How many handles of each kind are alive on the device, for tests and tools
// that check the program leaves nothing behind.
//
// This header is for front ends and tests; programs for the device never see it.
#pragma once

#include <cstddef>
#include <iosfwd>

namespace device {

struct HandleCounts {
  std::size_t files = 0;
  std::size_t finds = 0;
  std::size_t icons = 0;        // every live icon, the shared ones included
  std::size_t sharedIcons = 0;  // loaded from resources: the platform keeps them, DestroyIcon leaves them
  std::size_t bitmaps = 0;
  std::size_t imageLists = 0;
  std::size_t windows = 0;
  std::size_t deferBatches = 0;
  std::size_t mutexes = 0;
  std::size_t menus = 0;
  std::size_t processes = 0;

  // Icons that someone must still release with DestroyIcon.
  std::size_t OwnedIcons() const { return icons - sharedIcons; }

  bool operator==(const HandleCounts&) const = default;
};

HandleCounts LiveHandles();

// "files 0, finds 0, ..." so that a failed comparison shows every count.
std::ostream& operator<<(std::ostream& out, const HandleCounts& counts);

}  // namespace device
