// Resetting the tables of modules and of the objects loaded from resources.
#pragma once

namespace platform {

// Empties the modules, located resources, icons (with the shared-icon cache),
// bitmaps and menus.
void ResetResourceTables();

// The shared icons LoadIconW hands out, by module and resource; emptied with
// the icon table.
void ClearSharedIcons();

}  // namespace platform
