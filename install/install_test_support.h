// For the install engine's tests: a fresh fake platform, a configuration
// with the texts the engine looks up, file items, a payload archive made in
// memory, and a file system that fails on request.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/cipher_keys.h"
#include "core/key_arr.h"
#include "install/install_session.h"
#include "install/uninstall_record.h"
#include "platform/fake/fake_platform.h"
#include "runtime/payload_archive.h"
#include "runtime/payload_test_support.h"

namespace install_test {

// Every Windows version, 32- and 64-bit.
inline constexpr uint32_t kAllSystems = 0xC007FE;

inline const char16_t kAppFolder[] = u"C:\\Program Files\\Demo\\";

// Forwards to the in-memory file system, except where a test asks for a
// failure: a file that cannot be deleted, a file that cannot be created
// (a number of times), writes that fail after a number of blocks.
// A file that passes every call on to the file it wraps; a test's file
// overrides only the calls it watches.
class ForwardingFile : public File {
 public:
  explicit ForwardingFile(std::unique_ptr<File> inner) : inner_(std::move(inner)) {}
  int Read(void* buffer, int size) override { return inner_->Read(buffer, size); }
  bool Write(const void* data, int size) override { return inner_->Write(data, size); }
  bool Flush() override { return inner_->Flush(); }
  int64_t Size() override { return inner_->Size(); }
  int64_t Seek(int64_t offset, SeekFrom from) override { return inner_->Seek(offset, from); }
  bool Close() override { return inner_->Close(); }
  bool SetTimes(const FileTimes& times) override { return inner_->SetTimes(times); }
  bool RenameTo(const cc::Str& target) override { return inner_->RenameTo(target); }

 private:
  std::unique_ptr<File> inner_;
};

class FaultyFiles : public FileSystem {
 public:
  explicit FaultyFiles(FakeFileSystem& inner) : inner_(inner) {}

  void RefuseDelete(const cc::Str& path) { undeletable_.insert(Fold(path)); }
  void RefuseCreate(const cc::Str& path, int times) { create_failures_[Fold(path)] = times; }
  // Writes of more than `bytes` bytes in total, over all files, fail.
  void FailWritesAfter(int64_t bytes) { write_budget_ = bytes; }
  void AllowDelete() { undeletable_.clear(); }
  // The size of every write, in order.
  const std::vector<int>& WriteSizes() const { return write_sizes_; }

  bool FindFirst(const cc::Str& p, FoundFile* f) override { return inner_.FindFirst(p, f); }
  bool ListFolder(const cc::Str& p, std::vector<FoundFile>* e) override { return inner_.ListFolder(p, e); }
  uint32_t GetAttributes(const cc::Str& p) override { return inner_.GetAttributes(p); }
  bool SetAttributes(const cc::Str& p, uint32_t a) override { return inner_.SetAttributes(p, a); }
  bool RemoveFile(const cc::Str& p) override {
    return undeletable_.count(Fold(p)) ? false : inner_.RemoveFile(p);
  }
  bool CreateFolder(const cc::Str& p) override { return inner_.CreateFolder(p); }
  bool RemoveFolder(const cc::Str& p) override { return inner_.RemoveFolder(p); }
  std::unique_ptr<File> Open(const cc::Str& p, OpenMode mode) override;
  bool GetTimes(const cc::Str& p, FileTimes* t) override { return inner_.GetTimes(p, t); }
  bool SetTimes(const cc::Str& p, const FileTimes& t) override { return inner_.SetTimes(p, t); }
  bool Copy(const cc::Str& s, const cc::Str& t, bool f) override { return inner_.Copy(s, t, f); }
  // A file that cannot be deleted cannot be replaced either; a refused
  // move stands for a crash before the rename.
  bool Move(const cc::Str& s, const cc::Str& t, bool r) override {
    ++moves_by_path_;
    if (!MayMoveOnto(t)) return false;
    return inner_.Move(s, t, r);
  }
  int MovesByPath() const { return moves_by_path_; }
  bool MayMoveOnto(const cc::Str& t) const { return !undeletable_.count(Fold(t)) && !unmovable_.count(Fold(t)); }
  void RefuseMoveOnto(const cc::Str& path) { unmovable_.insert(Fold(path)); }

 private:
  class BudgetFile;
  static std::u16string Fold(const cc::Str& path) {
    std::u16string folded(path.View());
    for (char16_t& c : folded) c = cc::FoldAscii(c);
    return folded;
  }

  FakeFileSystem& inner_;
  std::set<std::u16string> undeletable_;
  std::set<std::u16string> unmovable_;
  std::map<std::u16string, int> create_failures_;
  int64_t write_budget_ = -1;
  std::vector<int> write_sizes_;
  int moves_by_path_ = 0;
};

class FaultyFiles::BudgetFile : public ForwardingFile {
 public:
  BudgetFile(std::unique_ptr<File> inner, FaultyFiles* owner)
      : ForwardingFile(std::move(inner)),
        budget_(&owner->write_budget_),
        sizes_(&owner->write_sizes_),
        owner_(owner) {}
  // Renaming the open file is moving it, and refused alike.
  bool RenameTo(const cc::Str& target) override {
    return owner_->MayMoveOnto(target) && ForwardingFile::RenameTo(target);
  }
  bool Write(const void* data, int size) override {
    sizes_->push_back(size);
    if (*budget_ >= 0) {
      if (size > *budget_) return false;
      *budget_ -= size;
    }
    return ForwardingFile::Write(data, size);
  }

 private:
  int64_t* budget_;
  std::vector<int>* sizes_;
  FaultyFiles* owner_;
};

inline std::unique_ptr<File> FaultyFiles::Open(const cc::Str& p, OpenMode mode) {
  if (mode != OpenMode::kRead) {
    auto failure = create_failures_.find(Fold(p));
    if (failure != create_failures_.end() && failure->second > 0) {
      --failure->second;
      return nullptr;
    }
  }
  std::unique_ptr<File> file = inner_.Open(p, mode);
  if (!file) return nullptr;
  return std::make_unique<BudgetFile>(std::move(file), this);
}

// One install run's world: platform, configuration with English texts and
// the usual results, and a payload.
class InstallWorld {
 public:
  InstallWorld() {
    const std::pair<const char16_t*, const char16_t*> texts[] = {
        {u"s.c.IniLang", u"en-US"},
        {u"en-US.s.c.Var.AppName", u"Demo App"},
        {u"en-US.s.c.Var.QTitle", u"Question"},
        {u"en-US.s.c.Var.OverwriteInfo", u"The file exists already:"},
        {u"en-US.s.c.Var.O_Over", u"Overwrite"},
        {u"en-US.s.c.Var.O_OverAll", u"Overwrite all"},
        {u"en-US.s.c.Var.O_Skip", u"Skip"},
        {u"en-US.s.c.Var.O_SkipAll", u"Skip all"},
        {u"en-US.s.c.Var.O_OverOld", u"Overwrite older"},
        {u"en-US.s.c.Var.O_Cancel", u"Cancel"},
        {u"en-US.s.c.Var.RemoveFileError", u"Cannot remove the file:"},
        {u"en-US.s.i.Var.CopyFileRetry", u"Cannot replace the file:"},
        {u"en-US.s.i.Var.CreateFileError", u"Cannot create the file:"},
        {u"en-US.s.i.Var.CopyFileError", u"Cannot write the file:"},
        {u"en-US.s.i.Var.CreateFolderError", u"Cannot create the folder:"},
        {u"en-US.s.i.Var.AlreadyIns", u"Remove the earlier installation?"},
        {u"en-US.s.i.Var.AlreadyInsError", u"An earlier installation is in the way:"},
        {u"en-US.s.c.u.DispName", u"Demo App 1.0"},
        {u"en-US.s.c.u.Menu", u"Uninstall Demo"},
        {u"s.c.u.UninsKey", u"Demo"},
        {u"s.c.u.DispVersion", u"1.0"},
        {u"s.c.u.Publisher", u"Brindlecraft"},
        {u"Ret.Location.Path", kAppFolder},
        {u"Ret.Location.AllUser", u"1"},
        {u"Ret.Menu.Path", u"Demo"},
        {u"Ret.Location.Required", u"1000"},
    };
    for (const auto& [key, value] : texts) store.Set(key, value);
  }

  // File item `n`.
  void Item(int n, int parent, int type, const char16_t* source, int overwrite = 0,
            int uninstall = 0, uint32_t os = kAllSystems) {
    store.Set(cc::Str::Formatted(u"s.f.%d.Item", n),
              cc::Str::Formatted(u"%d;\t%d;\t%u;\t%d;\t%d;\t0;\t0;\t%s", parent, type, os, overwrite,
                                 uninstall, source));
  }
  void Check(int n, bool checked = true) {
    store.SetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", n), checked);
  }
  void ItemTime(int n, uint64_t time) {
    store.Set(cc::Str::Formatted(u"s.f.%d.Item.Time", n),
              cc::Str::Formatted(u"%d;\t%d", static_cast<int32_t>(time >> 32),
                                 static_cast<int32_t>(time & 0xFFFFFFFFu)));
  }

  // The payload: (entry name, bytes) pairs, enciphered with the payload password.
  void Payload(const std::vector<std::pair<std::string, std::string>>& entries) {
    archive_bytes_ = payload_test::MakeArchive(entries, cc::PayloadPassword());
    archive_ = OpenPayload(archive_bytes_.data(), archive_bytes_.size(), cc::PayloadPassword().c_str());
    ASSERT_NE(archive_, nullptr);
    session.archive = archive_.get();
  }

  bool FileBytes(const cc::Str& path, std::string* bytes) const {
    return platform.fake_files.GetFileBytes(path, bytes);
  }
  bool Exists(const cc::Str& path) const { return platform.fake_files.Exists(path); }

  // The record file read back; empty store when it is missing.
  cc::KeyArr Record() {
    cc::KeyArr record(false, true);
    ReadRecordFile(platform.fake_files, cc::Str(kAppFolder) + cc::Str(kRecordFileName), &record);
    return record;
  }

  FakePlatform platform;
  cc::KeyArr store{false, true};
  SetupLog log;  // never opened: a test that reads the log opens it
  InstallSession session{platform, store, nullptr, log};

 private:
  std::string archive_bytes_;
  PayloadArchivePtr archive_;
};

}  // namespace install_test
