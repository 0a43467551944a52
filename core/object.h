// The root of the cc library's classes and the exceptions its containers raise.
#pragma once

namespace cc {

class Str;

// Root class. Equality is identity; disposal is a flag the destructor sets.
class Object {
 public:
  Object() = default;
  Object(const Object&) = default;
  Object& operator=(const Object&) = default;
  virtual ~Object();

  // A text describing the object; by default its class name.
  virtual Str ToString() const;
  // True only for the object itself.
  virtual bool Equals(const Object* other) const;
  virtual void Dispose();
  virtual bool IsDisposed() const;
  virtual const char16_t* ClassName() const;

 private:
  bool disposed_ = false;
};

}  // namespace cc
