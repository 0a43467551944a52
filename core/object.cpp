#include "core/object.h"

#include "core/str.h"

namespace cc {

Object::~Object() { disposed_ = true; }

Str Object::ToString() const { return Str(ClassName()); }

bool Object::Equals(const Object* other) const { return other == this; }

void Object::Dispose() { disposed_ = true; }

bool Object::IsDisposed() const { return disposed_; }

const char16_t* Object::ClassName() const { return u"Object"; }

}  // namespace cc
