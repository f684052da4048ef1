// Whether a file is held open anywhere on the host, as the device's sharing
// rules see it: a file some process has open cannot be deleted.
#pragma once

#include <sys/types.h>

namespace platform {

// Looks through every process's open descriptors (this one's too) for the
// file |device|/|inode|. Processes whose descriptors cannot be read are skipped.
bool HeldOpenOnHost(dev_t device, ino_t inode);

}  // namespace platform
