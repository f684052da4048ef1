// Registration of the common control classes for programs that ask for it.
#include "commctrl.h"
#include "control_classes.h"
#include "service.h"

void InitCommonControls() {
  platform::ServiceCall call("InitCommonControls");
  if (call.Fails()) return;
  // Registering again is harmless: the class table keeps one entry per name.
  platform::RegisterListViewClass();
}
