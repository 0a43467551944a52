// The uninstall record over arbitrary bytes: reading it must never crash,
// and DoUninstall on whatever was read (or on the bytes taken as record
// text directly, so that the fuzzer need not get past the cipher) must
// never crash, hang or remove a file that the record text does not name.
// Inputs whose first byte is odd are enciphered as a record file first, so
// the reader's whole path, cipher included, is reached with chosen text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/key_arr.h"
#include "install/install_session.h"
#include "install/uninstall_record.h"
#include "platform/fake/fake_platform.h"
#include "uninstall/uninstall_driver.h"

namespace {

constexpr char16_t kSentinel[] = u"C:\\Keep\\sentinel.txt";

bool Names(std::string_view text, std::string_view word) {
  for (size_t i = 0; i + word.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < word.size() && (text[i + k] | 0x20) == word[k]) ++k;
    if (k == word.size()) return true;
  }
  return false;
}

// `text` is the record text when known, null when only the bytes of a
// deciphered file are.
void Uninstall(const cc::KeyArr& record, const std::string_view* text) {
  FakePlatform platform;
  platform.fake_files.PutFile(kSentinel, "keep");
  platform.fake_files.PutFile(u"C:\\Program Files\\Demo\\app.exe", "MZ");
  platform.fake_files.PutFolder(u"C:\\Program Files\\Demo\\data");
  platform.fake_registry.PutString(RegRoot::kCurrentUser, u"Software\\Demo", u"v", u"x");
  cc::KeyArr store(false, true);
  store.Set(u"Ret.Location.Path", u"C:\\Program Files\\Demo\\");
  SetupLog log;
  InstallSession session(platform, store, nullptr, log);
  int result = DoUninstall(session, 1, record);
  if (result != kUninstallDone && result != kUninstallSharedCanceled && result != kUninstallAborted) {
    __builtin_trap();
  }
  // Only a record that spells the sentinel's name can reach it.
  if (text && !Names(*text, "sentinel") && !platform.fake_files.Exists(kSentinel)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool encipher = size > 0 && (data[0] & 1);
  if (encipher) bytes.remove_prefix(1);
  std::string file = encipher ? EncodeRecordFile(bytes) : std::string(bytes);

  cc::KeyArr record(false, true);
  if (DecodeRecordFile(file, &record)) Uninstall(record, encipher ? &bytes : nullptr);

  cc::KeyArr plain(false, true);
  plain.Parse(cc::Str::FromUtf8(bytes));
  Uninstall(plain, &bytes);
  return 0;
}
