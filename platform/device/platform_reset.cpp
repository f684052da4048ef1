#include "platform_reset.h"

#include "control_classes.h"
#include "instance_link.h"
#include "kernel_objects.h"
#include "remote_windows.h"
#include "resource_objects.h"
#include "shell_objects.h"
#include "user_internal.h"

namespace platform {

void RegisterDialogClass();
void RegisterMessageBoxClass();
void RegisterMenuBarClass();
void ResetShell();
void ResetDeferBatches();
void ResetProcesses();

void ResetAllTables() {
  ResetInstanceLink();
  ResetWindowTables();
  ResetShell();
  ResetRemoteWindows();
  ResetDeferBatches();
  ResetProcesses();
  ResetImageLists();
  ResetKernelTables();
  ResetResourceTables();

  RegisterDialogClass();
  RegisterMessageBoxClass();
  RegisterMenuBarClass();
  RegisterShellClasses();
  RegisterListViewClass();
  RegisterStaticClass();
  RegisterButtonClass();
  RegisterListBoxClass();
  RegisterComboBoxClass();
}

}  // namespace platform
