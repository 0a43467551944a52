#include "install/file_copy.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "install/copy_pipeline.h"
#include "install/create_folder.h"
#include "install/file_item.h"
#include "install/file_step.h"
#include "install/install_session.h"
#include "install/overwrite_policy.h"
#include "install/page_text.h"
#include "install/status.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "runtime/payload_archive.h"

namespace {

const char16_t* const kOverwriteButtonKeys[kOverwriteButtonCount] = {
    u".s.c.Var.O_Over",   u".s.c.Var.O_OverAll", u".s.c.Var.O_Skip",
    u".s.c.Var.O_SkipAll", u".s.c.Var.O_OverOld", u".s.c.Var.O_Cancel"};

// What putting the new file in place of the target came to.
enum class RoomResult { kReady, kIgnored, kAborted };

int StopWithError(InstallSession& session, const cc::Str& errorInfo) {
  session.store.Set(u"Ret.ErrorInfo", errorInfo);
  return kFileStepStopped;
}

FileErrorAnswer AskFileError(InstallSession& session, const cc::Str& target) {
  return session.prompts().AskAbortRetryIgnore(
      ErrorText(session.store, u".s.i.Var.CopyFileRetry", target),
      PageText(session.store, u".s.c.Var.QTitle"));
}

OverwriteDecision AskOverwrite(InstallSession& session, const cc::Str& target, int cmp) {
  OverwriteQuestion question;
  question.caption = PageText(session.store, u".s.c.Var.QTitle");
  question.message = ErrorText(session.store, u".s.c.Var.OverwriteInfo", target);
  question.target = target;
  for (int i = 0; i < kOverwriteButtonCount; ++i) {
    question.buttons[i] = PageText(session.store, kOverwriteButtonKeys[i]);
  }
  session.overwrite_answer = session.prompts().AskOverwrite(question);
  return ApplyOverwriteAnswer(session.overwrite_answer, cmp);
}

// Renames the whole new file `partial` over `target`; asks while the
// target cannot be replaced (in use). Ignore and Abort drop the new file
// and keep the old one.
RoomResult SwapIn(InstallSession& session, const cc::Str& partial, const cc::Str& target,
                  int* result) {
  FileSystem& files = *session.platform.files;
  for (;;) {
    if (files.Move(partial, target, true)) return RoomResult::kReady;
    // A read-only target refuses to be replaced: clear its attributes and
    // try once more before asking. (Tried in this order, a fresh install
    // spends no call on a target that is not there.)
    if (FileExists(files, target) && files.SetAttributes(target, kFileAttributeNormal) &&
        files.Move(partial, target, true)) {
      return RoomResult::kReady;
    }
    switch (AskFileError(session, target)) {
      case FileErrorAnswer::kAbort:
        DeleteFileForced(files, partial);
        *result = StopWithError(session, ErrorText(session.store, u".s.c.Var.RemoveFileError", target));
        return RoomResult::kAborted;
      case FileErrorAnswer::kRetry:
        continue;
      case FileErrorAnswer::kIgnore:
        DeleteFileForced(files, partial);
        return RoomResult::kIgnored;
    }
  }
}

// A copy that cannot finish must not leave a truncated file behind; the
// target itself was never touched.
int AbandonCopy(InstallSession& session, std::unique_ptr<File> file, const cc::Str& partial,
                const cc::Str& errorInfo) {
  file->Close();
  DeleteFileForced(*session.platform.files, partial);
  if (errorInfo.IsNull()) return kFileStepStopped;
  return StopWithError(session, errorInfo);
}

void ShowCopyProgress(InstallSession& session, const cc::Str& target, uint64_t written,
                      uint64_t size) {
  Progress& progress = session.progress();
  progress.SetBar(PercentOf(session.bytes_done, session.bytes_total));
  if (size > static_cast<uint64_t>(kCopyBlockSize) && written > 0) {
    int percent = PercentOf(static_cast<int64_t>(written), static_cast<int64_t>(size));
    progress.SetDetail(CopyProgressText(target, percent));
  }
  progress.PumpMessages();
}

// Copies the payload entry `source` into the open `file` (at `partial`) in
// blocks; `target` is what the user is shown. The blocks are decoded and
// written by the pipeline's threads; this thread shows the progress before
// each block and checks Cancel, and no block is handed to the writer once
// Cancel is seen. When `target` was free, the whole file gets its name and
// `times` through the open file: a path looked up again costs as much as the
// writes of a small file. Sets `*named` when the file is at `target`.
int CopyEntry(InstallSession& session, CopyPipeline& pipeline, const cc::Str& source,
              const cc::Str& target, const cc::Str& partial, std::unique_ptr<File> file,
              const FileTimes& times, bool targetFree, bool* named) {
  const cc::Str copyError = ErrorText(session.store, u".s.i.Var.CopyFileError", target);
  int index = -1;
  PayloadEntry entry;
  if (FindEntry(session.archive, source, true, &index, &entry) != kPayloadOk) {
    return AbandonCopy(session, std::move(file), partial, copyError);
  }
  pipeline.Begin(index, file.get());
  uint64_t written = 0;
  for (;;) {
    ShowCopyProgress(session, target, written, entry.uncompressedSize);
    if (session.Canceling()) {
      pipeline.Stop();
      return AbandonCopy(session, std::move(file), partial, cc::Str());
    }
    size_t chunk = 0;
    uint32_t status = pipeline.NextBlock(&chunk);
    if ((status != kPayloadOk && status != kPayloadMoreData) || pipeline.WriteFailed()) {
      pipeline.Stop();
      return AbandonCopy(session, std::move(file), partial, copyError);
    }
    session.bytes_done += static_cast<int64_t>(chunk);
    written += chunk;
    if (status == kPayloadOk) break;
  }
  if (!pipeline.Finish()) return AbandonCopy(session, std::move(file), partial, copyError);
  // A target that appeared meanwhile is not replaced here: SwapIn does it.
  // The times go after the rename, which may hand the new name the
  // creation time of a file of that name deleted a moment ago.
  *named = targetFree && file->RenameTo(target);
  if (*named) file->SetTimes(times);
  if (!file->Close()) {
    return AbandonCopy(session, std::move(file), *named ? target : partial, copyError);
  }
  ++session.timings.files;
  return kFileStepOk;
}

// The overwrite decision, the copy and the swap of a file that is extracted.
// Sets `*kept` when the file that was there stays as it was (the user's
// skip, a keep mode, Ignore): the install did not write it.
int PlaceFile(InstallSession& session, CopyPipeline& pipeline, int n, const FileItem& item,
              const cc::Str& parentPath, const cc::Str& target, cc::Str* fileOver, bool* kept) {
  if (!CreateFolder(session, parentPath, false)) {
    session.store.Set(u"Ret.ErrorInfo",
                      ErrorText(session.store, u".s.i.Var.CreateFolderError", parentPath));
    return kFileStepFolderFailed;
  }
  FileSystem& files = *session.platform.files;
  const uint64_t time = ReadItemTime(session.store, n);
  const FileTimes times{time, time, time};
  const bool targetFree = !FileExists(files, target);
  if (!targetFree) {
    *fileOver = u"1";
    int cmp = CompareFileTimes(time, GetFileWriteTime(session.platform, target, false));
    OverwriteDecision decision = DecideOverwrite(item.overwrite_mode, session.overwrite_answer, cmp);
    if (decision == OverwriteDecision::kAsk) decision = AskOverwrite(session, target, cmp);
    if (decision == OverwriteDecision::kCancel) {
      return StopWithError(session, cc::Str(u".s.i.Var.CopyFileError"));
    }
    if (decision == OverwriteDecision::kKeep) {
      *kept = true;
      return kFileStepOk;
    }
  }
  const cc::Str partial = target + cc::Str(kPartialSuffix);
  std::unique_ptr<File> file;
  while (!file) {
    file = files.Open(partial, OpenMode::kCreateToRename);
    // A read-only leftover of an earlier run is removed and the file made anew.
    if (!file && DeleteFileForced(files, partial)) file = files.Open(partial, OpenMode::kCreateToRename);
    if (file) break;
    FileErrorAnswer answer = AskFileError(session, target);
    if (answer == FileErrorAnswer::kAbort) {
      return StopWithError(session, ErrorText(session.store, u".s.i.Var.CreateFileError", target));
    }
    if (answer == FileErrorAnswer::kIgnore) {
      ShowStatusLine(session.progress(), session.log, cc::Str(u"Ignore file:") + target + cc::Str(u"\r\n"));
      *kept = true;
      return kFileStepOk;
    }
  }
  bool named = false;
  int result = CopyEntry(session, pipeline, item.source, target, partial, std::move(file),
                         times, targetFree, &named);
  if (result < 0 || named) return result;
  RoomResult swap = SwapIn(session, partial, target, &result);
  if (swap == RoomResult::kAborted) return result;
  if (swap == RoomResult::kIgnored) {
    *kept = true;
    return kFileStepOk;
  }
  files.SetTimes(target, times);
  return kFileStepOk;
}

// The removal mode the record gives the file: "0" remove, "2" shared; a
// file the install kept rather than wrote gets "1", which the uninstall
// leaves alone, so a user's own file is never deleted as if it were ours.
cc::Str RecordedRemovalMode(int uninstallMode, bool kept) {
  if (kept) return cc::Str(u"1");
  return uninstallMode == kUninstallShared ? cc::Str(u"2") : cc::Str(u"0");
}

}  // namespace

cc::Str CopyProgressText(const cc::Str& target, int percent) {
  return target + cc::Str::Formatted(u"(%d/100)", percent);
}

bool IsCopyProgressText(const cc::Str& target, const cc::Str& text) {
  if (target.IsEmpty() || !text.StartsWith(target)) return false;
  const std::u16string_view rest = text.View().substr(target.View().size());
  constexpr std::u16string_view kEnd = u"/100)";
  if (rest.size() < 2 + kEnd.size() || rest.front() != u'(' ||
      rest.substr(rest.size() - kEnd.size()) != kEnd) {
    return false;
  }
  const std::u16string_view number = rest.substr(1, rest.size() - 1 - kEnd.size());
  return std::all_of(number.begin(), number.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

int InstallFileItem(InstallSession& session, CopyPipeline& pipeline, int n, const FileItem& item,
                    const cc::Str& indent, const cc::Str& parentPath) {
  const cc::Str target = parentPath + InstalledFileName(item.source);
  ShowDetail(session.progress(), target);
  cc::Str fileOver = u"0";
  bool kept = false;
  bool extract = session.archive != nullptr &&
                 !session.store.GetBool(cc::Str::Formatted(u"s.f.%d.Item.I", n), false);
  if (extract) {
    int result = PlaceFile(session, pipeline, n, item, parentPath, target, &fileOver, &kept);
    if (result < 0) return result;
  }
  ShowStatusLine(session.progress(), session.log, indent + target + cc::Str(u"\r\n"));
  if (item.uninstall_mode != kUninstallKeep) {
    session.record.AddLine(u"File?=", target);
    session.record.AddLine(u"FileOver?=", fileOver);
    session.record.AddLine(u"FileUnins?=", RecordedRemovalMode(item.uninstall_mode, kept));
  }
  return kFileStepOk;
}
