#include "tools/pack_command.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "core/cipher_keys.h"
#include "tools/path_text.h"
#include "tools/payload_check.h"
#include "tools/pe_image.h"
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

// Renames the finished `temp` to `path`; removes it when that fails.
bool MoveIntoPlace(const fs::path& temp, const fs::path& path, std::string* error) {
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (!ec) return true;
  fs::remove(temp, ec);
  *error = "cannot replace '" + PathToUtf8(path) + "': " + ec.message();
  return false;
}

// Copies the file `from` to the end of `out` in pieces, adding them to
// `checksum`. False when it cannot be read whole or written.
bool CopyInto(const fs::path& from, uint64_t size, std::ofstream& out, pe::ImageChecksum* checksum) {
  std::ifstream in(from, std::ios::binary);
  std::vector<char> piece(1 << 20);
  for (uint64_t left = size; left > 0 && in && out;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, piece.size()));
    if (!in.read(piece.data(), static_cast<std::streamsize>(n))) return false;
    checksum->Add(reinterpret_cast<const uint8_t*>(piece.data()), n);
    out.write(piece.data(), static_cast<std::streamsize>(n));
    left -= n;
  }
  return in && out;
}

// Writes the setup: `split` around the payload archive at `payload` (of
// `split.hole` bytes), streamed, the checksum computed on the way. Goes
// through a temporary file beside `path`, so that a failure never leaves a
// partial setup behind.
bool WriteSetup(const fs::path& path, const pe::SplitImage& split, const fs::path& payload,
                std::string* error) {
  fs::path temp = path;
  temp += ".partial";
  bool ok = false;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    pe::ImageChecksum checksum(split.checksum_offset);
    checksum.Add(split.head.data(), split.head.size());
    out.write(reinterpret_cast<const char*>(split.head.data()), static_cast<std::streamsize>(split.head.size()));
    bool copied = out && CopyInto(payload, split.hole, out, &checksum);
    checksum.Add(split.tail.data(), split.tail.size());
    out.write(reinterpret_cast<const char*>(split.tail.data()), static_cast<std::streamsize>(split.tail.size()));
    uint8_t field[4];
    pe::Put32(field, checksum.Value());
    out.seekp(static_cast<std::streamoff>(split.checksum_offset));
    out.write(reinterpret_cast<const char*>(field), sizeof field);
    out.close();
    ok = copied && out.good();
  }
  if (!ok) {
    std::error_code ec;
    fs::remove(temp, ec);
    *error = "cannot write '" + PathToUtf8(temp) + "'";
    return false;
  }
  return MoveIntoPlace(temp, path, error);
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
  // The setup is the runtime rebuilt around the archive, which is copied
  // in from its file: neither is ever held in memory whole.
  pe::SplitImage split;
  bool placed = SetResourceAround(image, kPayloadType, kPayloadId, archive_size, &split, &error);
  std::vector<uint8_t>().swap(image);
  bool written = placed && WriteSetup(output, split, archive_path, &error);
  std::error_code removed;
  fs::remove(archive_path, removed);
  if (!placed) {
    return Fail(err, "cannot put the payload into the runtime '" + PathToUtf8(runtime) + "': " + error);
  }
  if (!written) return Fail(err, error);
  const uint64_t payload_size = archive_size;
  const uint64_t setup_size = split.head.size() + split.hole + split.tail.size();
  out << "packed " << project.entries.size() << " entries (" << payload_size << " bytes of payload, "
      << project.added_keys << " keys added to pjcfg.ini) into " << PathToUtf8(output) << " ("
      << setup_size << " bytes, " << bits << "-bit runtime)\n";
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
