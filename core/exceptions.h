// The exceptions of the cc library. Only the containers (misuse, exhausted
// memory) and the window toolkit's application object raise them; every
// other failure is a result.
#pragma once

#include <exception>
#include <string>

#include "core/object.h"
#include "core/str.h"

namespace cc {

// An Object holding a message text. Also a std::exception whose what() is
// the message in UTF-8, so a generic handler can report it.
class Exception : public Object, public std::exception {
 public:
  explicit Exception(const Str& message);
  ~Exception() override;

  const Str& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }
  Str ToString() const override { return message_; }
  const char16_t* ClassName() const override { return u"Exception"; }

 private:
  Str message_;
  std::string utf8_;
};

// An index outside the elements, or an insertion at a position of a sorted
// list.
class ArgumentException : public Exception {
 public:
  using Exception::Exception;
  const char16_t* ClassName() const override { return u"ArgumentException"; }
};

// A failed allocation.
class OutOfMemoryException : public Exception {
 public:
  using Exception::Exception;
  const char16_t* ClassName() const override { return u"OutOfMemoryException"; }
};

// Errors of the window toolkit's application object.
class UserException : public Exception {
 public:
  using Exception::Exception;
  const char16_t* ClassName() const override { return u"UserException"; }
};

// The container messages, exactly as they are raised.
inline constexpr const char16_t* kListGetAtError = u"List::GetAt(int index), ERROR for out of Capacity.";
inline constexpr const char16_t* kMapGetKeyError = u"Map::GetKey(int index), ERROR for out of Capacity.";
inline constexpr const char16_t* kMapGetValueError = u"Map::GetValue(int index), ERROR for out of Capacity.";
inline constexpr const char16_t* kMapSetValueError =
    u"Map::SetValue(int index, const _Ty &val), ERROR for out of Capacity.";
inline constexpr const char16_t* kListInsIndexError =
    u"List::_Ins(int index, Assoc *mBufNew), ERROR for out of Capacity.";
inline constexpr const char16_t* kListInsertSortedError =
    u"List::Insert(int index, const _KTy &key), ERROR for insert while is Sorted.";
inline constexpr const char16_t* kMapAddRangeError =
    u"Map::Add(&map, int fromIndex, int len), ERROR for out of Capacity.";
inline constexpr const char16_t* kListAllocError = u"List::_Alloc(int len), ERROR for realloc memory.";
inline constexpr const char16_t* kListNewAssocError = u"List::_NewAssoc(const _KTy &key), ERROR for new Assoc[1].";
inline constexpr const char16_t* kMapNewAssocError = u"Map::_NewAssoc(const _KTy &key), ERROR for new MapAssoc[1].";

}  // namespace cc
