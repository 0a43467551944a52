// Why a call of the platform seam failed. The interfaces still answer with
// bool or null; the ones that reach the system (files, registry, services)
// also keep their last failure here, so the setup log and "Ret.ErrorInfo"
// can say what the system said and about which object.
#pragma once

#include <cstdint>

#include "core/str.h"

struct OsError {
  uint32_t code = 0;  // the system's error code; 0 when no failure was recorded
  cc::Str object;     // the path, key or name the failed call was about
  cc::Str message;    // the system's text for `code`, without a final line end
};

// Keeps the last failure of an interface's calls. A call that succeeds
// leaves it as it was: read it right after the call that failed.
class OsErrorSource {
 public:
  // The last recorded failure (code 0 when none).
  const OsError& LastError() const { return last_error_; }
  void ClearLastError() { last_error_ = OsError(); }

 protected:
  void RecordError(uint32_t code, const cc::Str& object, const cc::Str& message) {
    last_error_.code = code;
    last_error_.object = object;
    last_error_.message = message;
  }

 private:
  OsError last_error_;
};

// "<message> (error <code>): <object>" for the log; without a message
// "error <code>: <object>"; empty when `error` records no failure.
cc::Str DescribeOsError(const OsError& error);
