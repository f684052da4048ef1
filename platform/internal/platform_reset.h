// Empties every table of the platform, for a fresh boot of the device.
#pragma once

namespace platform {

void ResetAllTables();

}  // namespace platform
