#include "tools/pack_command.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "core/cipher_keys.h"
#include "tools/path_text.h"
#include "tools/payload_check.h"
#include "tools/pe_resources.h"
#include "tools/project.h"
#include "tools/zip_writer.h"

namespace pack {
namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr char kRuntimeName[] = "velmora-runtime.exe";
constexpr char16_t kPayloadType[] = u"BIN";
constexpr uint16_t kPayloadId = 2;

constexpr char kUsage[] =
    "usage: velmora-pack build PROJECT_DIR -o SETUP.exe [--runtime RUNTIME.exe]\n"
    "                          [--threads N] [--level 1-9]\n"
    "       velmora-pack inspect SETUP.exe\n"
    "\n"
    "build    packs the project folder (pjcfg.ini, optional unins.exe and user.dll,\n"
    "         payload/, the file items' sources) into a copy of the runtime as\n"
    "         resource BIN/2. The runtime is --runtime, else velmora-runtime.exe\n"
    "         beside this program, else dist/velmora-runtime.exe under the current\n"
    "         folder. 32-bit (shipped) and 64-bit runtimes are accepted. Entries are\n"
    "         compressed on N threads (default: one per processor) at deflate level\n"
    "         --level (default 8; 9 searches longer for little gain).\n"
    "         SOURCE_DATE_EPOCH caps every stored time, so the same project packs\n"
    "         to the same bytes. The payload is limited to\n"
    "         1024 MiB. SETUP.exe is written only when everything succeeded.\n"
    "inspect  lists the payload entries of a setup, deciphers and inflates each,\n"
    "         checks its CRC and that every file item's entry is present.\n"
    "\n"
    "Exit status: 0 success, 1 failure (the message says what and where), 2 usage.\n";

struct BuildArgs {
  std::string project;
  std::string output;
  std::string runtime;
  int threads = 0;
  int level = 8;
};

bool ReadAll(const fs::path& path, std::vector<uint8_t>* bytes, std::string* error) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    *error = ec ? ec.message() : "no such file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot open it for reading";
    return false;
  }
  // Sized once: the payload is read back whole, and growth by doubling
  // would hold twice its size for a moment.
  bytes->resize(static_cast<size_t>(fs::file_size(path, ec)));
  in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
  if (ec || in.bad() || static_cast<size_t>(in.gcount()) != bytes->size()) {
    *error = "read error";
    return false;
  }
  return true;
}

bool ParseInt(const std::string& text, int low, int high, int* value) {
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < low || v > high) return false;
  *value = static_cast<int>(v);
  return true;
}

// Returns an empty string on success, else the usage error.
std::string ParseBuildArgs(const std::vector<std::string>& args, BuildArgs* out) {
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool has_value = i + 1 < args.size();
    if (a == "-o" || a == "--output") {
      if (!has_value) return a + " needs a file name";
      out->output = args[++i];
    } else if (a == "--runtime") {
      if (!has_value) return "--runtime needs a file name";
      out->runtime = args[++i];
    } else if (a == "--threads") {
      if (!has_value || !ParseInt(args[++i], 1, 64, &out->threads)) return "--threads needs a number from 1 to 64";
    } else if (a == "--level") {
      if (!has_value || !ParseInt(args[++i], 1, 9, &out->level)) return "--level needs a number from 1 to 9";
    } else if (!a.empty() && a[0] == '-') {
      return "unknown option " + a;
    } else if (out->project.empty()) {
      out->project = a;
    } else {
      return "more than one project folder given ('" + out->project + "' and '" + a + "')";
    }
  }
  if (out->project.empty()) return "no project folder given";
  if (out->output.empty()) return "no output file given (-o SETUP.exe)";
  return "";
}

fs::path ProgramFolder(const std::string& program) {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) self = PathFromUtf8(program);
  return self.parent_path();
}

fs::path DefaultRuntime(const std::string& program) {
  fs::path folder = ProgramFolder(program);
  std::error_code ec;
  if (!folder.empty() && fs::is_regular_file(folder / kRuntimeName, ec)) return folder / kRuntimeName;
  return fs::path("dist") / kRuntimeName;
}

bool SourceDateEpoch(std::optional<int64_t>* epoch, std::string* error) {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (!text || !*text) return true;
  char* end = nullptr;
  long long v = std::strtoll(text, &end, 10);
  if (*end != '\0' || v < 0) {
    *error = "SOURCE_DATE_EPOCH='" + std::string(text) + "' is not a number of seconds since 1970";
    return false;
  }
  *epoch = v;
  return true;
}

// Writes `bytes` to a temporary file beside `path` and renames it into
// place, so that a failure never leaves a partial setup behind.
bool WriteAtomically(const fs::path& path, const std::vector<uint8_t>& bytes, std::string* error) {
  fs::path temp = path;
  temp += ".partial";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out) out.close();
    if (!out) {
      std::error_code ec;
      fs::remove(temp, ec);
      *error = "cannot write '" + PathToUtf8(temp) + "'";
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    fs::remove(temp, ec);
    *error = "cannot replace '" + PathToUtf8(path) + "': " + ec.message();
    return false;
  }
  return true;
}

int Fail(std::ostream& err, const std::string& message) {
  err << "velmora-pack: " << message << "\n";
  return kExitFailure;
}

bool LoadRuntime(const fs::path& path, std::vector<uint8_t>* image, int* bits, std::string* error) {
  std::string why;
  if (!ReadAll(path, image, &why)) {
    *error = "cannot read the runtime '" + PathToUtf8(path) + "': " + why;
    return false;
  }
  *bits = PeImageBits(*image);
  if (*bits == 0) {
    *error = "the runtime '" + PathToUtf8(path) + "' is not a Windows program (PE) image";
    return false;
  }
  return true;
}

int Build(const std::vector<std::string>& args, const std::string& program, std::ostream& out,
          std::ostream& err) {
  BuildArgs a;
  std::string usage_error = ParseBuildArgs(args, &a);
  if (!usage_error.empty()) {
    err << "velmora-pack: " << usage_error << "\n" << kUsage;
    return kExitUsage;
  }
  fs::path output = PathFromUtf8(a.output);
  fs::path runtime = a.runtime.empty() ? DefaultRuntime(program) : PathFromUtf8(a.runtime);
  std::string error;
  std::vector<uint8_t> image;
  int bits = 0;
  if (!LoadRuntime(runtime, &image, &bits, &error)) return Fail(err, error);

  ProjectOptions project_options;
  if (!SourceDateEpoch(&project_options.source_date_epoch, &error)) return Fail(err, error);
  Project project;
  if (!ReadProject(PathFromUtf8(a.project), project_options, &project, &error)) return Fail(err, error);

  ZipOptions zip_options;
  zip_options.password = cc::PayloadPassword();
  zip_options.threads = a.threads;
  zip_options.level = a.level;
  // The archive goes through a file beside the output: compressing holds only
  // a few entries in memory, never the whole archive.
  fs::path archive_path = output;
  archive_path += ".payload.partial";
  uint64_t archive_size = 0;
  if (!WriteZipFile(project.entries, zip_options, archive_path, &archive_size, &error)) {
    return Fail(err, error);
  }
  std::vector<uint8_t> payload;
  std::string why;
  bool read = ReadAll(archive_path, &payload, &why);
  std::error_code removed;
  fs::remove(archive_path, removed);
  if (!read) return Fail(err, "cannot read back the payload archive: " + why);

  std::vector<uint8_t> setup;
  if (!SetResource(image, kPayloadType, kPayloadId, payload, &setup, &error)) {
    return Fail(err, "cannot put the payload into the runtime '" + PathToUtf8(runtime) + "': " + error);
  }
  size_t payload_size = payload.size();
  std::vector<uint8_t>().swap(payload);
  std::vector<uint8_t>().swap(image);
  if (!WriteAtomically(output, setup, &error)) return Fail(err, error);
  out << "packed " << project.entries.size() << " entries (" << payload_size << " bytes of payload, "
      << project.added_keys << " keys added to pjcfg.ini) into " << PathToUtf8(output) << " ("
      << setup.size() << " bytes, " << bits << "-bit runtime)\n";
  return kExitOk;
}

int Inspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 2) {
    err << "velmora-pack: inspect needs exactly one setup program\n" << kUsage;
    return kExitUsage;
  }
  fs::path path = PathFromUtf8(args[1]);
  std::vector<uint8_t> image;
  std::string error;
  if (!ReadAll(path, &image, &error)) return Fail(err, "cannot read '" + args[1] + "': " + error);
  if (PeImageBits(image) == 0) return Fail(err, "'" + args[1] + "' is not a Windows program (PE) image");
  std::vector<uint8_t> payload;
  if (!GetResource(image, kPayloadType, kPayloadId, &payload, &error)) {
    return Fail(err, "'" + args[1] + "' carries no payload: " + error);
  }
  std::vector<uint8_t>().swap(image);
  return CheckPayload(payload, cc::PayloadPassword(), out, err) ? kExitOk : kExitFailure;
}

}  // namespace

int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const std::string& program) {
  if (!args.empty() && args[0] == "build") return Build(args, program, out, err);
  if (!args.empty() && args[0] == "inspect") return Inspect(args, out, err);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    out << kUsage;
    return kExitOk;
  }
  err << kUsage;
  return kExitUsage;
}

}  // namespace pack
