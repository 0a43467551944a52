// Behaviour every Profile implementation shares, checked against the
// in-memory one natively and against the profile functions of Windows under
// Wine. `folder` (ending in "\\") is an existing empty folder that the check
// may fill; `files` is the file system the profile works on.
#pragma once

#include <gtest/gtest.h>

#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/profile.h"

// The probe the install engine uses to tell a missing key from a present
// one: a default that no INI line can hold, in a 10-unit buffer.
inline const char16_t kProfileContractProbe[] = u"[\r\n\r\n]";

inline void CheckProfileContract(Profile& profile, FileSystem& files, const cc::Str& folder) {
  const cc::Str path = folder + cc::Str(u"contract.ini");
  cc::Str value;

  // A missing file gives the default, cut to the buffer.
  EXPECT_EQ(profile.GetString(u"S", u"k", kProfileContractProbe, 10, path, &value), 6);
  EXPECT_EQ(value, cc::Str(kProfileContractProbe));
  EXPECT_EQ(profile.GetString(u"S", u"k", u"abcdefghijkl", 10, path, &value), 9);
  EXPECT_EQ(value, cc::Str(u"abcdefghi"));
  EXPECT_EQ(profile.GetString(u"S", u"k", u"trailing  ", 20, path, &value), 8);
  EXPECT_FALSE(FileExists(files, path));

  // Writing creates the file; names ignore letter case.
  ASSERT_TRUE(profile.WriteString(u"Main", u"Colour", u"blue", path));
  EXPECT_TRUE(FileExists(files, path));
  ASSERT_TRUE(profile.WriteString(u"Main", u"Empty", u"", path));
  ASSERT_TRUE(profile.WriteString(u"Main", u"Long", u"0123456789abc", path));
  ASSERT_TRUE(profile.WriteString(u"Main", u"Padded", u"  \"quoted value\"  ", path));
  ASSERT_TRUE(profile.WriteString(u"Other", u"Colour", u"green", path));
  ASSERT_TRUE(profile.WriteString(u"MAIN", u"COLOUR", u"red", path));

  struct Case {
    const char16_t* section;
    const char16_t* key;
    int buffer;
    int length;
    const char16_t* value;
  };
  const Case cases[] = {
      {u"main", u"colour", 10, 3, u"red"},
      {u"Other", u"Colour", 10, 5, u"green"},
      {u"Main", u"Empty", 10, 0, u""},  // present but empty: not the probe
      {u"Main", u"Long", 10, 9, u"012345678"},
      {u"Main", u"Padded", 40, 12, u"quoted value"},
      {u"Main", u"Missing", 10, 6, kProfileContractProbe},
      {u"Nowhere", u"Colour", 10, 6, kProfileContractProbe},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(profile.GetString(c.section, c.key, kProfileContractProbe, c.buffer, path, &value), c.length)
        << "case " << i;
    EXPECT_EQ(value, cc::Str(c.value)) << "case " << i;
  }

  // A null value removes the key; a null or empty name is refused.
  ASSERT_TRUE(profile.WriteString(u"Main", u"Long", cc::Str(), path));
  EXPECT_EQ(profile.GetString(u"Main", u"Long", kProfileContractProbe, 10, path, &value), 6);
  EXPECT_FALSE(profile.WriteString(cc::Str(), u"Colour", u"x", path));
  EXPECT_FALSE(profile.WriteString(u"Main", u"", u"x", path));
  EXPECT_EQ(profile.GetString(u"Main", u"Colour", kProfileContractProbe, 10, path, &value), 3);

  // A file in a missing folder cannot be written and is not created.
  const cc::Str lost = folder + cc::Str(u"no such folder\\x.ini");
  EXPECT_FALSE(profile.WriteString(u"Main", u"Colour", u"x", lost));
  EXPECT_FALSE(FileExists(files, lost));

  files.SetAttributes(path, kFileAttributeNormal);
  DeleteFileForced(files, path);
}
