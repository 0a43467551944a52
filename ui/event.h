// The toolkit's delegate model: an event holds a list of handlers, each one
// object and one of its member operations taking (sender, arguments).
// Platform-free so that page logic can bind handlers without a window.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

namespace cc::win {

class Control;

// The plain argument kind; the other kinds add their fields.
struct EventArgs {
  virtual ~EventArgs() = default;
};

// A handler sets `cancel` to refuse what is about to happen.
struct CancelEventArgs : EventArgs {
  bool cancel = false;
};

struct ControlEventArgs : EventArgs {
  Control* control = nullptr;
};

struct MouseEventArgs : EventArgs {
  int button = 0;  // 1 left, 2 right, 4 middle
  int x = 0, y = 0;
  int clicks = 0;
};

struct KeyEventArgs : EventArgs {
  int keyCode = 0;
  int modifiers = 0;  // kModifierCtrl | kModifierShift | kModifierAlt
  bool handled = false;
};

struct KeyPressEventArgs : EventArgs {
  char16_t keyChar = 0;
  bool handled = false;
};

inline constexpr int kModifierShift = 0x10000;
inline constexpr int kModifierCtrl = 0x20000;
inline constexpr int kModifierAlt = 0x40000;

template <class Args>
class Event {
 public:
  using Function = std::function<void(Control* sender, Args& args)>;

  // Binds `object`'s member `handler`; Remove(object) unbinds it.
  template <class T>
  void Add(T* object, void (T::*handler)(Control*, Args&)) {
    handlers_.push_back({object, [object, handler](Control* s, Args& a) { (object->*handler)(s, a); }});
  }
  // A free handler; it can only be removed by Clear.
  void Add(Function handler) { handlers_.push_back({nullptr, std::move(handler)}); }
  void Remove(const void* object) {
    handlers_.erase(std::remove_if(handlers_.begin(), handlers_.end(),
                                   [object](const Entry& e) { return e.owner == object; }),
                    handlers_.end());
  }
  void Clear() { handlers_.clear(); }
  bool IsEmpty() const { return handlers_.empty(); }

  // Calls every handler in the order they were added; a copy of the list
  // runs, so a handler may add or remove handlers.
  void Fire(Control* sender, Args& args) const {
    std::vector<Entry> copy = handlers_;
    for (const Entry& e : copy) e.function(sender, args);
  }

 private:
  struct Entry {
    const void* owner;
    Function function;
  };
  std::vector<Entry> handlers_;
};

}  // namespace cc::win
