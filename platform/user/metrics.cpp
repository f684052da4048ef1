#include "device/device.h"
#include "service.h"
#include "winuser.h"

int GetSystemMetrics(int index) {
  platform::ServiceCall call("GetSystemMetrics", index == SM_CXSCREEN   ? "SM_CXSCREEN"
                                                 : index == SM_CYSCREEN ? "SM_CYSCREEN"
                                                                        : "");
  if (call.Fails()) return 0;
  const device::Device& d = device::Current();
  int scale = device::DialogBaseUnits(d.ScreenWidth(), d.ScreenHeight()).cx / 6;
  switch (index) {
    case SM_CXSCREEN:
      return d.ScreenWidth();
    case SM_CYSCREEN:
      return d.ScreenHeight();
    case SM_CXICON:
    case SM_CYICON:
      return 32 * scale;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16 * scale;
    default:
      return 0;
  }
}
