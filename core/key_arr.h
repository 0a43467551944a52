// cc::KeyArr: the configuration store. A sorted table of text keys and text
// values (keys unique, by default compared with ASCII-only case folding),
// typed lookups, and the parser of the configuration text syntax (sections,
// comments, escapes, counter keys "Name?=").
#pragma once

#include "core/map.h"
#include "core/object.h"
#include "core/str.h"

namespace cc {

class KeyArr : public Object {
 public:
  // The runtime's store: KeyArr(false, true).
  explicit KeyArr(bool notFoundMarker = false, bool ignoreCase = true);
  ~KeyArr() override;

  // A copy of the stored value; missing: a null string (or key +
  // "[NOFOUND]" with the not-found marker).
  Str Get(const Str& key) const;
  // Missing or empty: `defaultValue`; else the value read as atoi does.
  int GetInt(const Str& key, int defaultValue) const;
  // Missing: `defaultValue`; empty: false; true for "1", or "Yes"/"true" in
  // any letter case.
  bool GetBool(const Str& key, bool defaultValue) const;
  bool Has(const Str& key) const;
  // Position in key order, -1 when absent.
  int IndexOf(const Str& key) const;
  int Count() const;
  // Entry `index` in key order. KeyAt out of range throws
  // ArgumentException; ValueAt out of range gives a null string (or the
  // index + "[NOFOUND]" with the marker).
  Str KeyAt(int index) const;
  Str ValueAt(int index) const;
  // Out of range does nothing.
  void SetValueAt(int index, const Str& value);

  // A null value removes the key; anything else (the empty text included)
  // inserts or replaces. A new entry keeps the spelling of its key.
  void Set(const Str& key, const Str& value);
  void SetInt(const Str& key, int value);
  void SetBool(const Str& key, bool value);
  void Remove(const Str& key);
  void Clear();

  // Adds the entries of a configuration text; returns how many entries it
  // stored (counter entries included, the copied counters not).
  int Parse(const Str& text, bool asUnicode = true);

  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  bool IgnoreCase() const { return ignoreCase_; }
  void SetIgnoreCase(bool ignoreCase);
  bool NotFoundMarker() const { return notFoundMarker_; }
  void SetNotFoundMarker(bool on) { notFoundMarker_ = on; }

  const char16_t* ClassName() const override { return u"KeyArr"; }

 private:
  // Implementation detail left to core/key_arr.cpp (the table type and the
  // bulk parse path).
  bool modified_ = false;
  bool notFoundMarker_ = false;
  bool ignoreCase_ = true;
  bool reportMissing_ = false;
  Map<Str, Str>* table_ = nullptr;
};

}  // namespace cc
