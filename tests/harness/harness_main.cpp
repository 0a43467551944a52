// velmora-harness: runs the install engine on a packed setup, without the
// wizard, for the end-to-end tests and the benchmark. Not shipped.
//
//   velmora-harness install SETUP.exe [KEY=VALUE ...] [--answers FILE] [--timings]
//       Loads the payload and configuration of SETUP.exe as start-up does,
//       computes the initial results, applies the KEY=VALUE result
//       overrides, runs RunInstall with every question answered by its
//       default (overwrite, Ignore, OK) unless FILE scripts the answers, and
//       prints the status labels and lines. Exit status 0 exactly when
//       RunInstall returned true; 1 when it returned false; 2 for bad usage
//       or a setup that cannot be loaded.
//   velmora-harness uninstall FOLDER [--answers FILE]
//       Removes the installation in FOLDER from its record FOLDER +
//       "unins.exe.dat" (only when the record names that very file), asking
//       about shared files with every question answered by its default (keep
//       the shared file, Ignore) unless FILE scripts the answers, and prints
//       the status labels. Exit status 0 exactly when the removal returned
//       0; 1 otherwise; 2 for bad usage.
//   velmora-harness read-record FILE
//       Prints the keys of an uninstall record, "KEY=VALUE" one per line.
//   velmora-harness write-record FILE KEY=VALUE...
//       Writes an uninstall record holding the "[Log]" lines KEY=VALUE in
//       order (KEY with its "=" as the record spells it, "File?" counted),
//       as a forged or planted record would be. Exit status 0 when written.
//   velmora-harness cipher-speed MEGABYTES
//       Prints how fast the payload cipher deciphers, in MB/s.
//   velmora-harness write-floor SETUP.exe FOLDER [--no-flush]
//       The floor of the install's writing: one file in FOLDER for every
//       file entry ("N*name") of SETUP.exe's payload, of the entry's size,
//       written in the copy loop's blocks (each flushed unless --no-flush)
//       without reading the payload. Prints "elapsed_ms: N".
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/cipher_keys.h"
#include "core/key_arr.h"
#include "install/install_driver.h"
#include "install/install_session.h"
#include "install/page_text.h"
#include "install/uninstall_record.h"
#include "platform/fake/fake_prompts.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/path_text.h"
#include "platform/platform.h"
#include "platform/system_helpers.h"
#include "platform/win32/win32_module_resources.h"
#include "platform/win32/win32_platform.h"
#include "runtime/language.h"
#include "runtime/payload_cipher.h"
#include "runtime/payload_loader.h"
#include "runtime/result_store.h"
#include "runtime/setup_log.h"
#include "tests/harness/answer_script.h"
#include "tests/harness/harness_progress.h"
#include "tests/harness/win32/setup_module.h"
#include "uninstall/earlier_installation.h"
#include "uninstall/uninstall_folder.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: velmora-harness install SETUP.exe [KEY=VALUE ...] [--answers FILE] [--timings]\n"
    "       velmora-harness uninstall FOLDER [--answers FILE]\n"
    "       velmora-harness read-record FILE\n"
    "       velmora-harness cipher-speed MEGABYTES\n"
    "       velmora-harness write-floor SETUP.exe FOLDER [--no-flush]\n";

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int Usage(const std::string& problem) {
  std::fprintf(stderr, "velmora-harness: %s\n%s", problem.c_str(), kUsage);
  return kExitUsage;
}

struct InstallArgs {
  cc::Str setup;
  std::vector<std::pair<cc::Str, cc::Str>> overrides;
  cc::Str answers;
  bool timings = false;
};

// Returns an empty text on success, else the usage problem.
std::string ParseInstallArgs(const std::vector<cc::Str>& args, InstallArgs* out) {
  for (size_t i = 1; i < args.size(); ++i) {
    const cc::Str& arg = args[i];
    if (arg == cc::Str(u"--answers")) {
      if (i + 1 >= args.size()) return "--answers needs a file name";
      out->answers = args[++i];
    } else if (arg == cc::Str(u"--timings")) {
      out->timings = true;
    } else if (out->setup.IsNull()) {
      out->setup = arg;
    } else {
      int equals = arg.IndexOf(u'=');
      if (equals <= 0) return "'" + arg.ToUtf8() + "' is not KEY=VALUE";
      out->overrides.emplace_back(arg.Substring(0, equals), arg.Substring(equals + 1));
    }
  }
  return out->setup.IsNull() ? "install needs the setup program" : "";
}

// An error for the error page: a language key reference is looked up first.
cc::Str ResolveError(const cc::KeyArr& store) {
  cc::Str error = store.Get(u"Ret.ErrorInfo");
  if (error.StartsWith(u".s.")) {
    cc::Str text = PageText(store, error);
    if (!text.IsEmpty()) return text;
  }
  return error;
}

void PrintTimings(const CopyTimings& t) {
  char line[300];
  std::snprintf(line, sizeof line,
                "timings: read_us=%lld write_us=%lld flush_us=%lld wait_read_us=%lld wait_write_us=%lld "
                "blocks=%lld files=%lld\n",
                static_cast<long long>(t.read_us), static_cast<long long>(t.write_us),
                static_cast<long long>(t.flush_us), static_cast<long long>(t.wait_read_us),
                static_cast<long long>(t.wait_write_us), static_cast<long long>(t.blocks),
                static_cast<long long>(t.files));
  Print(line);
}

int RunInstallCommand(const std::vector<cc::Str>& args) {
  InstallArgs a;
  std::string problem = ParseInstallArgs(args, &a);
  if (!problem.empty()) return Usage(problem);

  std::unique_ptr<Platform> platform = CreateWin32Platform();
  void* module = LoadModuleAsData(a.setup);
  if (!module) return Usage("cannot load '" + a.setup.ToUtf8() + "' as a program");
  Win32ModuleResources resources(module);
  platform->resources = &resources;

  FakePrompts prompts;
  if (!a.answers.IsNull()) {
    std::string script, error;
    if (ReadWholeFile(*platform->files, a.answers, &script) < 0) {
      return Usage("cannot read the answers file '" + a.answers.ToUtf8() + "'");
    }
    if (!LoadAnswerScript(script, &prompts, &error)) return Usage(error);
  }
  HarnessProgress progress(stdout);
  platform->prompts = &prompts;
  platform->progress = &progress;

  // As start-up does: payload and configuration, log, language, initial results.
  cc::KeyArr store(false, true);
  LoadedPayload payload;
  uint32_t status = kPayloadOk;
  if (!LoadPayloadAtStartup(*platform, store, &payload, &status) || status != kPayloadOk) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%X", status);
    return Usage("'" + a.setup.ToUtf8() + "' has no readable payload (status " + code + ")");
  }
  SetupLog log;
  if (store.GetBool(u"s.c.Var.OutLog", false)) log.OpenBesideProgram(*platform);
  cc::Str lang = ChooseLanguage(store, GetUserLocaleCode(*platform->system, true));
  StoreCurrentLanguage(store, lang);
  ComputeInitialResults(store, lang, *platform);
  for (const auto& [key, value] : a.overrides) store.Set(key, value);

  InstallSession session(*platform, store, payload.archive(), log);
  EnableEarlierInstallationRemoval(session);
  auto start = std::chrono::steady_clock::now();
  bool ok = RunInstall(session, kInstallPhase);
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  log.Close();
  if (a.timings) {
    PrintTimings(session.timings);
    Print("elapsed_ms: " + std::to_string(elapsed.count()) + "\n");
  }
  Print(std::string("result: ") + (ok ? "true" : "false") + "\n");
  if (!ok) Print("error: " + ResolveError(store).ToUtf8() + "\n");
  if (store.GetBool(u"Ret.Canceled", false)) Print("canceled\n");
  return ok ? 0 : kExitFailed;
}

// Queues the answers of the script at `path`; an empty text when they were
// read, else the usage problem.
std::string LoadAnswers(Platform& platform, const cc::Str& path, FakePrompts* prompts) {
  std::string script, error;
  if (ReadWholeFile(*platform.files, path, &script) < 0) {
    return "cannot read the answers file '" + path.ToUtf8() + "'";
  }
  return LoadAnswerScript(script, prompts, &error) ? "" : error;
}

int UninstallCommand(const std::vector<cc::Str>& args) {
  cc::Str folder, answers;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == cc::Str(u"--answers") && i + 1 < args.size()) answers = args[++i];
    else if (folder.IsNull()) folder = args[i];
    else return Usage("uninstall takes one folder");
  }
  if (folder.IsNull()) return Usage("uninstall needs the application folder");
  std::unique_ptr<Platform> platform = CreateWin32Platform();
  FakePrompts prompts;
  if (!answers.IsNull()) {
    std::string problem = LoadAnswers(*platform, answers, &prompts);
    if (!problem.empty()) return Usage(problem);
  }
  HarnessProgress progress(stdout);
  platform->prompts = &prompts;
  platform->progress = &progress;
  cc::KeyArr store(false, true);
  SetupLog log;  // the uninstall command writes no log
  InstallSession session(*platform, store, nullptr, log);
  int result = UninstallFolder(session, folder, 1);
  Print("result: " + std::to_string(result) + "\n");
  if (result != 0) Print("error: " + store.Get(u"Ret.ErrorInfo").ToUtf8() + "\n");
  return result == 0 ? 0 : kExitFailed;
}

int ReadRecordCommand(const std::vector<cc::Str>& args) {
  if (args.size() != 2) return Usage("read-record needs one file");
  std::unique_ptr<Platform> platform = CreateWin32Platform();
  cc::KeyArr record(false, true);
  if (!ReadRecordFile(*platform->files, args[1], &record)) {
    std::fprintf(stderr, "velmora-harness: '%s' is not a readable uninstall record\n", args[1].ToUtf8().c_str());
    return kExitFailed;
  }
  for (int i = 0; i < record.Count(); ++i) {
    Print(record.KeyAt(i).ToUtf8() + "=" + record.ValueAt(i).ToUtf8() + "\n");
  }
  return 0;
}

int WriteRecordCommand(const std::vector<cc::Str>& args) {
  if (args.size() < 3) return Usage("write-record needs a file and KEY=VALUE lines");
  RecordText record;
  record.Start(u"", u"");
  for (size_t i = 2; i < args.size(); ++i) {
    const int equals = args[i].IndexOf(u'=');
    if (equals <= 0) return Usage("write-record takes KEY=VALUE lines");
    const cc::Str key = args[i].Substring(0, equals + 1);
    record.AddLine(key.GetBuffer(), args[i].Substring(equals + 1));
  }
  std::unique_ptr<Platform> platform = CreateWin32Platform();
  if (!WriteRecordFile(*platform->files, args[1], record)) {
    std::fprintf(stderr, "velmora-harness: cannot write '%s'\n", args[1].ToUtf8().c_str());
    return kExitFailed;
  }
  return 0;
}

// Deciphers `bytes` in place with the payload reader's own cipher; returns a
// value that depends on the result, so the work cannot be optimised away.
uint32_t DecipherForSpeed(std::string& bytes, const std::string& password) {
  PayloadCipher cipher(password);
  auto* data = reinterpret_cast<unsigned char*>(bytes.data());
  cipher.Decipher(data, data, bytes.size());
  uint32_t check = 0;
  for (size_t i = 0; i < bytes.size(); i += 4096) check = check * 31 + data[i];
  return check;
}

int CipherSpeedCommand(const std::vector<cc::Str>& args) {
  int megabytes = args.size() == 2 ? args[1].ToInt() : 0;
  if (megabytes <= 0) return Usage("cipher-speed needs a positive number of megabytes");
  std::string block(1 << 20, '\x5A');
  const std::string password = cc::PayloadPassword();
  uint32_t check = 0;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < megabytes; ++i) check ^= DecipherForSpeed(block, password);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char line[120];
  std::snprintf(line, sizeof line, "cipher: %d MB in %.3f s = %.1f MB/s (check %08x)\n", megabytes, seconds,
                megabytes / (seconds > 0 ? seconds : 1e-9), check);
  Print(line);
  return 0;
}

// Writes `size` bytes into a new file at `path` in blocks of kCopyBlockSize
// from `block`. False when the file cannot be created or written.
bool WriteInBlocks(FileSystem& files, const cc::Str& path, uint64_t size,
                   const std::vector<unsigned char>& block, bool flush) {
  std::unique_ptr<File> file = files.Open(path, OpenMode::kCreate);
  if (!file) return false;
  uint64_t written = 0;
  do {  // an empty file gets one empty write, as in the install
    int chunk = static_cast<int>(std::min<uint64_t>(size - written, kCopyBlockSize));
    if (!file->Write(block.data(), chunk)) return false;
    if (flush) file->Flush();
    written += static_cast<uint64_t>(chunk);
  } while (written < size);
  return file->Close();
}

int WriteFloorCommand(const std::vector<cc::Str>& args) {
  if (args.size() < 3 || args.size() > 4) return Usage("write-floor needs a setup and a folder");
  bool flush = !(args.size() == 4 && args[3] == cc::Str(u"--no-flush"));
  if (args.size() == 4 && flush) return Usage("write-floor takes --no-flush only");
  std::unique_ptr<Platform> platform = CreateWin32Platform();
  void* module = LoadModuleAsData(args[1]);
  if (!module) return Usage("cannot load '" + args[1].ToUtf8() + "' as a program");
  Win32ModuleResources resources(module);
  platform->resources = &resources;
  cc::KeyArr store(false, true);
  LoadedPayload payload;
  if (!LoadPayloadAtStartup(*platform, store, &payload, nullptr) || payload.archive() == nullptr) {
    return Usage("'" + args[1].ToUtf8() + "' has no readable payload");
  }
  const cc::Str folder = WithTrailingBackslash(args[2]);
  std::vector<unsigned char> block(kCopyBlockSize, 0x5A);
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < PayloadEntryCount(payload.archive()); ++i) {
    PayloadEntry entry;
    GetPayloadEntry(payload.archive(), i, &entry);
    if (entry.name.IndexOf(u'*') < 0) continue;
    if (!WriteInBlocks(*platform->files, folder + cc::Str::Formatted(u"%d.bin", i), entry.uncompressedSize,
                       block, flush)) {
      std::fprintf(stderr, "velmora-harness: cannot write into '%s'\n", folder.ToUtf8().c_str());
      return kExitFailed;
    }
  }
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  Print("elapsed_ms: " + std::to_string(elapsed.count()) + "\n");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows passes UTF-16 arguments");
  InstallWin32AnsiConverter();
  std::vector<cc::Str> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  if (args.empty()) return Usage("no command");
  int result = kExitUsage;
  if (args[0] == cc::Str(u"install")) result = RunInstallCommand(args);
  else if (args[0] == cc::Str(u"uninstall")) result = UninstallCommand(args);
  else if (args[0] == cc::Str(u"read-record")) result = ReadRecordCommand(args);
  else if (args[0] == cc::Str(u"write-record")) result = WriteRecordCommand(args);
  else if (args[0] == cc::Str(u"cipher-speed")) result = CipherSpeedCommand(args);
  else if (args[0] == cc::Str(u"write-floor")) result = WriteFloorCommand(args);
  else return Usage("unknown command '" + args[0].ToUtf8() + "'");
  std::fflush(stdout);
  return result;
}
