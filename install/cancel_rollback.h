// Undoing what an install run made before the user cancelled it during its
// file step. Such a run stops without writing its uninstall record, so
// whatever it left would be unknown to any uninstaller. The run's own
// record lines say which files it wrote that were not there before
// ("File?=" with "FileOver?=0", not kept); the folders it made are known
// from its "Create folder:" status lines, watched as they pass to the
// installing page. Files that the run replaced stay as they are now, and
// so do folders that existed before the run or still hold anything.
//
// A cancel stops a run only inside its file step, before any link, pin,
// association, service, registry value or INI entry is made; record lines
// of those kinds are left alone (and logged) should a record hold them.
#pragma once

#include <vector>

#include "core/str.h"
#include "platform/progress.h"

class FileSystem;
class RecordText;

// Passes everything on to the page's progress and notes, for each
// "Create folder:" line, the folder and those of its parents that do not
// exist yet: the install creates them right after announcing the line.
class FolderCreationWatch : public Progress {
 public:
  FolderCreationWatch(Progress& inner, FileSystem& files) : inner_(inner), files_(files) {}

  void SetStatus(const cc::Str& text) override { inner_.SetStatus(text); }
  void SetDetail(const cc::Str& text) override { inner_.SetDetail(text); }
  void SetBar(int percent) override { inner_.SetBar(percent); }
  void AddStatusLine(const cc::Str& line) override;
  void PumpMessages() override { inner_.PumpMessages(); }

  // The folders the run was about to create, outermost first, each once,
  // without a trailing separator.
  const std::vector<cc::Str>& CreatedFolders() const { return created_; }

 private:
  void Note(const cc::Str& folder);

  Progress& inner_;
  FileSystem& files_;
  std::vector<cc::Str> created_;
};

struct RollbackResult {
  int files_removed = 0;
  int folders_removed = 0;
  // What should have gone but could not (a file in use, a folder that
  // still holds something), and record lines of kinds left alone.
  std::vector<cc::Str> left;
};

// Deletes the files `record` shows the run created, then removes the
// `createdFolders` that are empty, innermost first. Every removal and
// everything left is logged.
RollbackResult RollBackCanceledRun(FileSystem& files, const RecordText& record,
                                   const std::vector<cc::Str>& createdFolders);
