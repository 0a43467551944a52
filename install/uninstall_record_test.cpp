#include "install/uninstall_record.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_file_system.h"

namespace {

TEST(UninstallRecordTest, BackslashesAreDoubledBeforeEnciphering) {
  EXPECT_EQ(EscapeRecordText("C:\\new\\n\\\\x"), "C:\\\\new\\\\n\\\\\\\\x");
  EXPECT_EQ(EscapeRecordText(""), "");
}

TEST(UninstallRecordTest, RoundTripKeepsPathsWithBackslashN) {
  RecordText record;
  record.Start(u"C:\\new folder\\", u"Demo \u00c4pp");
  record.AddLine(u"File?=", u"C:\\new folder\\notes.txt");
  record.AddLine(u"FileOver?=", u"0");
  record.AddLine(u"FileUnins?=", u"0");
  record.AddLine(u"File?=", u"C:\\new folder\\nested\\b.dll");
  record.AddLine(u"FileOver?=", u"1");
  record.AddLine(u"FileUnins?=", u"2");
  record.AddLine(u"UninsData=", u"C:\\new folder\\unins.exe.dat");

  FakeFileSystem files;
  files.PutFolder(u"C:\\new folder");
  const cc::Str path = u"C:\\new folder\\unins.exe.dat";
  files.PutFile(path, "an older record that is longer than the new one will be ...........");
  files.SetAttributes(path, kFileAttributeReadOnly);
  ASSERT_TRUE(WriteRecordFile(files, path, record.Utf8()));

  std::string bytes;
  ASSERT_TRUE(files.GetFileBytes(path, &bytes));
  EXPECT_EQ(bytes, EncodeRecordFile(record.Utf8()));
  ASSERT_GE(bytes.size(), 3u);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(bytes.find("new"), std::string::npos);  // enciphered, not plain

  cc::KeyArr store(false, true);
  ASSERT_TRUE(ReadRecordFile(files, path, &store));
  EXPECT_EQ(store.Get(u"Log.AppDir"), cc::Str(u"C:\\new folder\\"));
  EXPECT_EQ(store.Get(u"Log.AppName"), cc::Str(u"Demo \u00c4pp"));
  EXPECT_EQ(store.Get(u"Log.File.Count"), cc::Str(u"2"));
  EXPECT_EQ(store.Get(u"Log.File0"), cc::Str(u"C:\\new folder\\notes.txt"));
  EXPECT_EQ(store.Get(u"Log.File1"), cc::Str(u"C:\\new folder\\nested\\b.dll"));
  EXPECT_EQ(store.Get(u"Log.FileOver1"), cc::Str(u"1"));
  EXPECT_EQ(store.Get(u"Log.FileUnins1"), cc::Str(u"2"));
  EXPECT_EQ(store.Get(u"Log.UninsData"), cc::Str(u"C:\\new folder\\unins.exe.dat"));
}

TEST(UninstallRecordTest, WhatIsNotARecordIsRefused) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"mark only", "\xEF\xBB\xBF"},
      {"not Base64 in length", "\xEF\xBB\xBF" "abcde"},
  };
  for (const Case& c : cases) {
    cc::KeyArr store(false, true);
    store.Set(u"Keep", u"1");
    EXPECT_FALSE(DecodeRecordFile(c.bytes, &store)) << c.name;
    EXPECT_EQ(store.Count(), 1) << c.name;
  }
  FakeFileSystem files;
  cc::KeyArr store(false, true);
  EXPECT_FALSE(ReadRecordFile(files, u"C:\\missing\\unins.exe.dat", &store));
}

TEST(UninstallRecordTest, AFinalLineBreakAddedByAnEditorIsTolerated) {
  RecordText record;
  record.Start(u"C:\\A\\", u"A");
  cc::KeyArr store(false, true);
  ASSERT_TRUE(DecodeRecordFile(EncodeRecordFile(record.Utf8()) + "\r\n", &store));
  EXPECT_EQ(store.Get(u"Log.AppDir"), cc::Str(u"C:\\A\\"));
}

}  // namespace
