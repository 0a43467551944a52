#include "runtime/payload_loader.h"

#include <limits>
#include <new>
#include <string_view>

#include "core/cipher_keys.h"
#include "core/key_arr.h"
#include "platform/file_helpers.h"
#include "platform/module_resources.h"
#include "platform/path_text.h"
#include "platform/platform.h"
#include "platform/system_helpers.h"

namespace {

PayloadArchive* g_current_payload = nullptr;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Reads the whole entry `name` into `*bytes`. Returns kPayloadOk,
// kPayloadNotFound, the read's failure, or kPayloadReadError when the
// entry's size cannot be allocated.
uint32_t ReadWholeEntry(PayloadArchive* archive, const cc::Str& name, std::string* bytes) {
  PayloadEntry entry;
  uint32_t status = FindEntry(archive, name, true, nullptr, &entry);
  if (status != kPayloadOk) return status;
  if (entry.uncompressedSize > bytes->max_size() ||
      entry.uncompressedSize > std::numeric_limits<size_t>::max()) {
    return kPayloadReadError;
  }
  try {
    bytes->resize(static_cast<size_t>(entry.uncompressedSize));
  } catch (const std::bad_alloc&) {
    return kPayloadReadError;
  } catch (const std::length_error&) {
    return kPayloadReadError;
  }
  size_t bytesRead = 0;
  return ReadEntry(archive, entry.index, bytes->data(), bytes->size(), &bytesRead);
}

// The payload password: deciphered as UTF-8 and handed to the archive in the
// ANSI code page, as every narrow password is.
std::string PasswordForArchive() {
  return cc::Str::FromUtf8(cc::PayloadPassword()).ToBytes(cc::kCodePageAnsi);
}

void ParseConfiguration(std::string_view utf8, cc::KeyArr& config) {
  if (utf8.substr(0, kUtf8Mark.size()) == kUtf8Mark) utf8.remove_prefix(kUtf8Mark.size());
  config.Parse(cc::Str::FromUtf8(utf8), true);
}

bool IsAbsolutePath(const cc::Str& path) {
  return path[0] == u'\\' || path[0] == u'/' || path[1] == u':';
}

}  // namespace

LoadedPayload::~LoadedPayload() { Close(); }

void LoadedPayload::Close() {
  if (archive_ != nullptr && g_current_payload == archive_.get()) g_current_payload = nullptr;
  archive_.reset();
  resource_.clear();
  resource_.shrink_to_fit();
}

bool LoadPayloadAtStartup(Platform& platform, cc::KeyArr& config, LoadedPayload* payload,
                          uint32_t* status) {
  if (status != nullptr) *status = kPayloadNotFound;
  const cc::Str type(kPayloadResourceType);
  // In place when the module allows it: nothing before the install may
  // touch the whole payload, and a copy would read every page of it.
  std::string_view bytes;
  std::string copy;
  if (!platform.resources->View(type, kPayloadResourceId, &bytes)) {
    if (!platform.resources->Read(type, kPayloadResourceId, &copy)) return false;
  }
  payload->Close();
  payload->resource_ = std::move(copy);
  if (!payload->resource_.empty()) bytes = payload->resource_;
  uint32_t result = kPayloadOk;
  payload->archive_ =
      OpenPayload(bytes.data(), bytes.size(), PasswordForArchive().c_str(), &result);
  if (payload->archive_ != nullptr) {
    SetCurrentPayload(payload->archive_.get());
    std::string text;
    result = ReadWholeEntry(payload->archive_.get(), cc::Str(kConfigEntryName), &text);
    if (result == kPayloadOk) ParseConfiguration(text, config);
  }
  if (status != nullptr) *status = result;
  return true;
}

PayloadArchive* CurrentPayload() { return g_current_payload; }

PayloadArchive* SetCurrentPayload(PayloadArchive* archive) {
  PayloadArchive* previous = g_current_payload;
  g_current_payload = archive;
  return previous;
}

cc::Str ResolvePayloadFileOnDisk(Platform& platform, const cc::KeyArr* config,
                                 const cc::Str& name) {
  cc::Str base = config != nullptr ? config->Get(cc::Str(kEditLocBaseKey)) : cc::Str();
  bool absolute = IsAbsolutePath(name);
  cc::Str path = base.IsEmpty() || absolute ? name : WithTrailingBackslash(base) + name;
  if (absolute || FileExists(*platform.files, path)) return path;
  cc::Str folder = GetModulePath(*platform.system, true);
  if (folder.IsEmpty()) return path;
  folder = WithTrailingBackslash(folder);
  // A program run from its build folder finds the project one level up.
  if (!FolderExists(*platform.files, folder + cc::Str(u"Lang\\")) &&
      !FolderExists(*platform.files, folder + cc::Str(u"Theme\\"))) {
    folder += cc::Str(u"..\\");
  }
  return folder + name;
}

bool LoadPayloadFile(PayloadArchive* archive, Platform& platform, const cc::KeyArr* config,
                     const cc::Str& name, std::string* bytes) {
  bytes->clear();
  if (archive != nullptr) {
    uint32_t status = ReadWholeEntry(archive, name, bytes);
    if (status == kPayloadOk) return true;
    bytes->clear();
    // Only a missing entry goes on to the disk: a damaged payload must not
    // be replaced silently by whatever file lies around.
    if (status != kPayloadNotFound) return false;
  }
  cc::Str path = ResolvePayloadFileOnDisk(platform, config, name);
  if (ReadWholeFile(*platform.files, path, bytes) < 0) {
    bytes->clear();
    return false;
  }
  return true;
}

bool LoadPayloadFile(Platform& platform, const cc::KeyArr* config, const cc::Str& name,
                     std::string* bytes) {
  return LoadPayloadFile(CurrentPayload(), platform, config, name, bytes);
}
