#include <chrono>
#include <thread>

#include "service.h"
#include "winbase.h"

void Sleep(DWORD milliseconds) {
  platform::ServiceCall call("Sleep");
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

DWORD GetTickCount() {
  using namespace std::chrono;
  return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
