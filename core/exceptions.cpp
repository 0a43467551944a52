#include "core/exceptions.h"

namespace cc {

Exception::Exception(const Str& message) : message_(message), utf8_(message.ToUtf8()) {}

Exception::~Exception() = default;

}  // namespace cc
