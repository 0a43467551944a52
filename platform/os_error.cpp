#include "platform/os_error.h"

cc::Str DescribeOsError(const OsError& error) {
  if (error.code == 0) return cc::Str(u"");
  cc::Str code = cc::Str::Formatted(u"error %u", static_cast<unsigned>(error.code));
  cc::Str text = error.message.IsEmpty() ? code : error.message + cc::Str(u" (") + code + cc::Str(u")");
  return error.object.IsEmpty() ? text : text + cc::Str(u": ") + error.object;
}
