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
  // Out of range does nothing. The store never holds a null value: a null
  // `value` is stored as the empty text (Set is the way to remove a key).
  void SetValueAt(int index, const Str& value);

  // A null value removes the key; anything else (the empty text included)
  // inserts or replaces. A new entry keeps the spelling of its key.
  void Set(const Str& key, const Str& value);
  void SetInt(const Str& key, int value);
  void SetBool(const Str& key, bool value);
  void Remove(const Str& key);
  void Clear();

  // Adds the entries of a configuration text; returns how many entries it
  // stored (counter entries included, the copied counters not). The result
  // is that of storing the lines one after another: a later line replaces
  // an earlier value, an entry keeps the spelling of its first insertion,
  // each parse counts its "Name?=" counters from 0 and stores them at the
  // end. A leading U+FEFF (byte-order mark) is skipped. `asUnicode` false
  // keeps the entries of a byte string in that string's code page.
  int Parse(const Str& text, bool asUnicode = true);

  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  bool IgnoreCase() const { return ignoreCase_; }
  // Also switches the comparison of the existing table; turning it on
  // merges keys that now compare equal (first spelling, last value in the
  // old key order).
  void SetIgnoreCase(bool ignoreCase);
  bool NotFoundMarker() const { return notFoundMarker_; }
  void SetNotFoundMarker(bool on) { notFoundMarker_ = on; }

  const char16_t* ClassName() const override { return u"KeyArr"; }

 private:
  bool modified_ = false;
  bool notFoundMarker_ = false;
  bool ignoreCase_ = true;
  // Sorted by key, keys unique. A value member (not a pointer made on first
  // insertion) so that a copied store owns its own table.
  Map<Str, Str> table_;
};

}  // namespace cc
