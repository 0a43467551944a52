#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/registry_contract.h"

namespace {

cc::Str UniqueBase() {
  return cc::Str::Formatted(u"Software\\VelmoraTest%u", static_cast<unsigned>(GetCurrentProcessId()));
}

TEST(Win32RegistryTest, BehavesAsTheInMemoryRegistryDoes) {
  Win32Registry registry;
  const RegRoot roots[] = {RegRoot::kCurrentUser, RegRoot::kLocalMachine};
  for (RegRoot root : roots) {
    SCOPED_TRACE(static_cast<int>(root));
    CheckRegistryContract(registry, root, UniqueBase());
  }
}

TEST(Win32RegistryTest, The32BitViewOfMachineSoftwareIsWow6432Node) {
  Win32Registry registry;
  cc::Str base = UniqueBase();
  ASSERT_NE(registry.CreateKey(RegRoot::kLocalMachine, base, RegView::k32), nullptr);
  auto key = registry.OpenKey(RegRoot::kLocalMachine, base, RegAccess::kAll, RegView::k32);
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->SetValue(u"v", kRegSz, RegStringData(u"32")));
  key.reset();

  cc::Str redirected = cc::Str(u"Software\\Wow6432Node\\") + base.Substring(9);
  auto seen = registry.OpenKey(RegRoot::kLocalMachine, redirected, RegAccess::kRead, RegView::k64);
  ASSERT_NE(seen, nullptr);
  RegValue value;
  ASSERT_TRUE(seen->QueryValue(u"v", &value));
  EXPECT_EQ(RegDataAsText(value.data).ToUtf8(), "32");
  seen.reset();
  EXPECT_EQ(registry.OpenKey(RegRoot::kLocalMachine, base, RegAccess::kRead, RegView::k64), nullptr);
  EXPECT_TRUE(registry.DeleteKey(RegRoot::kLocalMachine, base, RegView::k32));
}

}  // namespace
