// Run conditions: a project can refuse to install on a Windows version or
// bitness it does not support, or when a registry value does not meet an
// expectation ("s.i.Condition.*"). Checked once, when the first page shows.
#pragma once

#include <cstdint>

#include "core/key_arr.h"
#include "core/str.h"

class Platform;

// Bits of "s.i.Condition.Flag" besides the OS flag word.
inline constexpr uint32_t kConditionCheckOs = 0x2000000;
inline constexpr uint32_t kConditionCheckRegistry = 0x4000000;
inline constexpr uint32_t kConditionCompareAsIntegers = 0x20000000;
inline constexpr uint32_t kConditionRequireValue = 0x40000000;

// Comparison types of "s.i.Condition.RegType": registry value (left) against
// the expected value (right).
enum RegCompare : int {
  kRegEqual = 0,
  kRegNotEqual = 1,
  kRegLess = 2,
  kRegLessOrEqual = 3,
  kRegGreater = 4,
  kRegGreaterOrEqual = 5,
};

// The OS test applied to the running Windows: true when `flags` allows its
// version and bitness. Needs platform.system.
bool OsMatches(uint32_t flags, const Platform& platform);

// True when the registry condition of `store` is not met. The key
// "s.i.Condition.RegDir" under root "s.i.Condition.RegRoot" is read in the
// program's own registry view. A key that cannot be opened fails exactly when
// kConditionRequireValue is set; so does a missing or empty value. Otherwise
// the value, read as text (a value of another type reads as its raw bytes),
// is compared with "s.i.Condition.RegVal" by "s.i.Condition.RegType" as
// text (ordinal, case-sensitive) or, with kConditionCompareAsIntegers, as
// decimal integers; an unknown comparison type fails. `value` receives the
// value read and `found` whether the comparison was reached. Needs
// platform.registry.
bool RegistryConditionFails(const cc::KeyArr& store, Platform& platform, cc::Str* value,
                            bool* found);

// Checks the Windows-version condition and then the registry condition,
// stopping at the first failure, whose language key reference
// (".s.i.Var.ConditionError2" or ".s.i.Var.ConditionError3") it stores in
// "Ret.ErrorInfo". Returns true when the setup may go on; on false the
// caller shows the error page.
bool CheckRunConditions(cc::KeyArr& store, Platform& platform);
