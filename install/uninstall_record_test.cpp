#include "install/uninstall_record.h"

#include <gtest/gtest.h>

#include "install/install_test_support.h"
#include "platform/fake/fake_file_system.h"

namespace {

TEST(UninstallRecordTest, BackslashesAreDoubledBeforeEnciphering) {
  EXPECT_EQ(EscapeRecordText("C:\\new\\n\\\\x"), "C:\\\\new\\\\n\\\\\\\\x");
  EXPECT_EQ(EscapeRecordText(""), "");
  EXPECT_EQ(EscapeRecordText("[Log]\r\nReg=X \r\nName=a b\nTail= "), "[Log]\r\nReg=X\\x20\r\nName=a b\nTail=\\x20");
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

// Every value comes back exactly as it was added: a line break must not
// split its line (the rest would be read as a line of its own), and a
// backslash before "n" must not become a line break.
TEST(UninstallRecordTest, ValuesRoundTripExactly) {
  const char16_t* values[] = {
      u"two\nlines",
      u"carriage\rreturn\r\n",
      u"C:\\new\\n\\\\r",
      u"\\n",
      u"  leading blanks",
      u"in\tside",
      u"Reg0=forged\r\nReg.Count=9",
      u"X ",
      u"  ",
      u" both ends \t ",
      u"C:\\dir\\ ",
      u"ends in \\x20",
      u"line\n ",
  };
  RecordText record;
  record.Start(u"C:\\A\\", u"A");
  for (const char16_t* value : values) record.AddLine(u"Reg?=", value);
  FakeFileSystem files;
  files.PutFolder(u"C:\\A");
  ASSERT_TRUE(WriteRecordFile(files, u"C:\\A\\unins.exe.dat", record));
  cc::KeyArr store(false, true);
  ASSERT_TRUE(ReadRecordFile(files, u"C:\\A\\unins.exe.dat", &store));
  EXPECT_EQ(store.GetInt(u"Log.Reg.Count", 0), static_cast<int>(std::size(values)));
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(store.Get(cc::Str::Formatted(u"Log.Reg%d", static_cast<int>(i))).ToUtf8(), cc::Str(values[i]).ToUtf8())
        << "value " << i;
  }
}

// The record is written beside the old one and renamed over it: a write
// that fails (a full disk) or a crash before the rename leaves the old
// record whole.
TEST(UninstallRecordTest, AFailedWriteLeavesTheOldRecord) {
  struct Case {
    const char* name;
    bool refuse_temporary;  // the new file cannot be created
    int64_t write_budget;   // -1: unlimited
    bool refuse_rename;
    bool written;
  };
  const Case cases[] = {
      {"written", false, -1, false, true},
      {"cannot create", true, -1, false, false},
      {"disk full", false, 10, false, false},
      {"crash before the rename", false, -1, true, false},
  };
  const cc::Str path = u"C:\\A\\unins.exe.dat";
  RecordText old;
  old.Start(u"C:\\A\\", u"Old");
  RecordText fresh;
  fresh.Start(u"C:\\A\\", u"New");
  for (const Case& c : cases) {
    FakeFileSystem inner;
    inner.PutFolder(u"C:\\A");
    inner.PutFile(path, EncodeRecordFile(old), kFileAttributeReadOnly);
    install_test::FaultyFiles files(inner);
    if (c.refuse_temporary) files.RefuseCreate(path + cc::Str(kRecordTempSuffix), 1);
    if (c.write_budget >= 0) files.FailWritesAfter(c.write_budget);
    if (c.refuse_rename) files.RefuseMoveOnto(path);
    EXPECT_EQ(WriteRecordFile(files, path, fresh), c.written) << c.name;
    cc::KeyArr store(false, true);
    ASSERT_TRUE(ReadRecordFile(inner, path, &store)) << c.name;
    EXPECT_EQ(store.Get(u"Log.AppName"), cc::Str(c.written ? u"New" : u"Old")) << c.name;
    EXPECT_FALSE(inner.Exists(path + cc::Str(kRecordTempSuffix))) << c.name;
  }
}

}  // namespace
