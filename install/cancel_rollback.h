// Undoing what an install run made when it stopped before its files were
// all in place: the user cancelled it during its file step, or a folder or
// file could not be made. Such a run stops without writing its uninstall
// record, so whatever it left would be unknown to any uninstaller. The run's own
// record lines say which files it wrote that were not there before
// ("File?=" with "FileOver?=0", not kept); its status lines name every file
// it installed, recorded or not, and the folders it made ("Create
// folder:"). A watch in front of the installing page's progress reads them
// as they pass, and notes whether each file was there when the run named
// it (its detail label). Files that were there before the run stay as they
// are now (replaced or not), and so do folders that existed before the run
// or still hold anything.
//
// Such a run stopped before any link, pin, association, service, registry
// value or INI entry was made; record lines of those kinds are left alone
// (and logged) should a record hold them.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/str.h"
#include "platform/progress.h"

class FileSystem;
class RecordText;
class SetupLog;

// Passes everything on to the page's progress and notes, for each
// "Create folder:" line, the folder and those of its parents that do not
// exist yet (the install creates them right after announcing the line);
// for each detail text that names a full path, whether a file is there
// (the install names each file there before it touches it); and the files
// the status lines name.
class RunFootprint : public Progress {
 public:
  RunFootprint(Progress& inner, FileSystem& files) : inner_(inner), files_(files) {}

  void SetStatus(const cc::Str& text) override { inner_.SetStatus(text); }
  void SetDetail(const cc::Str& text) override;
  void SetBar(int percent) override { inner_.SetBar(percent); }
  void AddStatusLine(const cc::Str& line) override;
  void PumpMessages() override { inner_.PumpMessages(); }

  // The folders the run was about to create, outermost first, each once,
  // without a trailing separator.
  const std::vector<cc::Str>& CreatedFolders() const { return created_; }
  // The files the status lines named, in order, each once.
  const std::vector<cc::Str>& NamedFiles() const { return named_; }
  // Whether `path` was missing the last time a detail text named it; false
  // when none did.
  bool WasMissingWhenNamed(const cc::Str& path) const;
  // Whether some detail text named `path`.
  bool WasNamed(const cc::Str& path) const;

 private:
  void NoteFolder(const cc::Str& folder);

  Progress& inner_;
  FileSystem& files_;
  std::vector<cc::Str> created_;
  std::vector<cc::Str> named_;
  std::set<std::u16string> namedKeys_;
  // Paths a detail text named (letter case folded), with whether a file
  // was there then.
  std::map<std::u16string, bool> sighted_;
  cc::Str lastSighted_;
};

struct RollbackResult {
  int files_removed = 0;
  int folders_removed = 0;
  // What should have gone but could not (a file in use, a folder that
  // still holds something), and record lines of kinds left alone.
  std::vector<cc::Str> left;
};

// Deletes the files the run created: those `record` shows as new
// ("FileOver?=0", not kept) and those the status lines named, unless the
// footprint saw a file there when the run named it; then removes the
// folders the run made that are empty, innermost first. Every removal and
// everything left is written to `log`.
RollbackResult RollBackStoppedRun(FileSystem& files, SetupLog& log, const RecordText& record,
                                   const RunFootprint& footprint);
