// Behaviour every Registry implementation shares, checked against the
// in-memory registry natively and against the real one under Wine. `base`
// names a key under `root` that the check may create and delete; it is
// removed again at the end.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/registry.h"

inline void CheckRegistryContract(Registry& registry, RegRoot root, const cc::Str& base) {
  const cc::Str inner = base + cc::Str(u"\\Outer\\Inner");
  const cc::Str outer = base + cc::Str(u"\\Outer");
  EXPECT_EQ(registry.OpenKey(root, inner, RegAccess::kRead), nullptr);

  // Creating a key creates its parents.
  ASSERT_NE(registry.CreateKey(root, inner), nullptr);
  EXPECT_NE(registry.OpenKey(root, outer, RegAccess::kRead), nullptr);

  // A key opened for reading refuses changes.
  auto reader = registry.OpenKey(root, inner, RegAccess::kRead);
  ASSERT_NE(reader, nullptr);
  EXPECT_FALSE(reader->SetValue(u"Name", kRegSz, RegStringData(u"x")));

  struct Case {
    const char16_t* name;
    uint32_t type;
    std::string data;
  };
  const Case cases[] = {
      {u"Text", kRegSz, RegStringData(u"C:\\Program Files\\Acme")},
      {u"Empty", kRegSz, RegStringData(u"")},
      {u"", kRegSz, RegStringData(u"default value")},
      {u"Count", kRegDword, RegDwordData(0x12345678)},
      {u"Blob", kRegBinary, std::string("\x01\x02\xFF", 3)},
      {u"NoData", kRegBinary, std::string()},
  };
  auto writer = registry.OpenKey(root, inner, RegAccess::kAll);
  ASSERT_NE(writer, nullptr);
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_TRUE(writer->SetValue(cases[i].name, cases[i].type, cases[i].data)) << "case " << i;
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    RegValue value;
    ASSERT_TRUE(reader->QueryValue(cases[i].name, &value)) << "case " << i;
    EXPECT_EQ(value.type, cases[i].type) << "case " << i;
    EXPECT_EQ(value.data, cases[i].data) << "case " << i;
  }
  // Value names ignore letter case; a null name is the default value.
  RegValue value;
  ASSERT_TRUE(reader->QueryValue(u"TEXT", &value));
  EXPECT_EQ(RegDataAsText(value.data).ToUtf8(), "C:\\Program Files\\Acme");
  ASSERT_TRUE(reader->QueryValue(cc::Str(), &value));
  EXPECT_EQ(RegDataAsText(value.data).ToUtf8(), "default value");
  EXPECT_FALSE(reader->QueryValue(u"Missing", &value));

  EXPECT_TRUE(writer->DeleteValue(u"text"));
  EXPECT_FALSE(writer->DeleteValue(u"Text"));
  EXPECT_FALSE(reader->QueryValue(u"Text", &value));
  writer.reset();
  reader.reset();

  // Only a key without subkeys can be deleted, and it goes with its values.
  EXPECT_FALSE(registry.DeleteKey(root, outer));
  EXPECT_TRUE(registry.DeleteKey(root, inner));
  EXPECT_FALSE(registry.DeleteKey(root, inner));
  EXPECT_EQ(registry.OpenKey(root, inner, RegAccess::kRead), nullptr);
  EXPECT_FALSE(registry.DeleteKey(root, u""));
  EXPECT_TRUE(registry.DeleteKey(root, outer));
  EXPECT_TRUE(registry.DeleteKey(root, base));
}
