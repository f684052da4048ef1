// The common entry of every platform service.
//
// A call from outside the platform is recorded in the device's trace and
// checked against its fault plan. Calls the platform makes to itself are
// neither: a depth count tells them apart, and it is set aside while the
// platform calls out to program code (window and dialog procedures).
#pragma once

#include <string>
#include <string_view>

#include "wintypes.h"

namespace platform {

class ServiceCall {
 public:
  explicit ServiceCall(std::string_view service, std::string_view detail = {});
  ~ServiceCall();
  ServiceCall(const ServiceCall&) = delete;
  ServiceCall& operator=(const ServiceCall&) = delete;

  // True when the fault plan says this call fails; the planned error (or
  // |defaultError| when the plan names none) is then the last error.
  bool Fails(DWORD defaultError = ERROR_GEN_FAILURE);

 private:
  bool outermost_;
  std::string_view service_;
  std::string_view detail_;
};

// Set while program code runs inside a platform call.
class CallOut {
 public:
  CallOut();
  ~CallOut();
  CallOut(const CallOut&) = delete;
  CallOut& operator=(const CallOut&) = delete;

 private:
  int savedDepth_;
};

// The name of a window message for the trace ("LVM_INSERTITEMW"), or an empty
// view for one the trace does not name. Never allocates.
std::string_view MessageName(UINT message);

// What a window that refuses |message| answers: -1 for the messages whose
// answer is an index, 0 for the rest. A planned fault answers this, so that a
// refused insertion never reads as a row inserted at the top.
LRESULT RefusedMessageResult(UINT message);

}  // namespace platform
