#include "service.h"

#include "device/device.h"
#include "winbase.h"

namespace platform {
namespace {

int g_depth = 0;

}  // namespace

ServiceCall::ServiceCall(std::string_view service, std::string_view detail)
    : outermost_(g_depth == 0), service_(service), detail_(detail) {
  ++g_depth;
  if (!outermost_) return;
  device::Trace& trace = device::Current().trace;
  if (trace.Enabled()) {
    std::string entry(service);
    if (!detail.empty()) {
      entry += ' ';
      entry += detail;
    }
    trace.Record(std::move(entry));
  }
}

ServiceCall::~ServiceCall() { --g_depth; }

bool ServiceCall::Fails(DWORD defaultError) {
  if (!outermost_) return false;
  DWORD error = 0;
  if (!device::Current().faults.Check(service_, detail_, &error)) return false;
  SetLastError(error ? error : defaultError);
  return true;
}

CallOut::CallOut() : savedDepth_(g_depth) { g_depth = 0; }

CallOut::~CallOut() { g_depth = savedDepth_; }

}  // namespace platform
