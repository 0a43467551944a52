#include "install/uninstall_record.h"

#include "core/cipher.h"
#include "core/cipher_keys.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"

namespace {

std::string EncipherEscaped(std::string_view escaped) {
  cc::Str base64 = cc::EncipherText(reinterpret_cast<const uint8_t*>(escaped.data()),
                                    static_cast<int>(escaped.size()), cc::kRecordKey,
                                    cc::kRecordKeyLength, cc::kCipherExtraRounds);
  return std::string(ByteOrderMark(cc::kCodePageUtf8)) + base64.ToUtf8();
}

// Written beside the record and renamed over it only when whole: a crash or
// a full disk on the way leaves the old record, never none or half a one.
bool WriteEncoded(FileSystem& files, const cc::Str& path, const std::string& bytes) {
  const cc::Str temporary = path + cc::Str(kRecordTempSuffix);
  DeleteFileForced(files, temporary);
  // The mark is part of `bytes` already; the file is new, so it is not doubled.
  if (!WriteFileBytes(files, temporary, bytes, cc::kCodePageUtf8, false, false)) {
    DeleteFileForced(files, temporary);
    return false;
  }
  if (FileExists(files, path)) files.SetAttributes(path, kFileAttributeNormal);
  if (files.Move(temporary, path, true)) return true;
  DeleteFileForced(files, temporary);
  return false;
}

}  // namespace

// The parser strips a line's outer blanks; a value's last blank is written
// as this escape, which it turns back into a blank at the end of a value.
// Records written before it existed never hold it: their backslashes are
// all doubled.
constexpr std::string_view kFinalBlankEscape = "\\x20";

std::string EscapeRecordValue(std::string_view value) {
  std::string escaped;
  escaped.reserve(value.size() + 8);
  const bool finalBlank = !value.empty() && value.back() == ' ';
  if (finalBlank) value.remove_suffix(1);
  for (char c : value) {
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\r') {
      escaped += "\\r";
    } else {
      escaped += c;
    }
  }
  if (finalBlank) escaped += kFinalBlankEscape;
  return escaped;
}

void RecordText::Start(const cc::Str& appFolder, const cc::Str& appName) {
  text_ = "[Log]\r\n";
  escaped_ = text_;
  AddLine(u"AppDir=", appFolder);
  AddLine(u"AppName=", appName);
}

void RecordText::AddLine(const char16_t* key, const cc::Str& value) {
  const std::string keyText = cc::Str(key).ToUtf8();
  const std::string valueText = value.ToUtf8();
  text_ += keyText + valueText + "\r\n";
  escaped_ += keyText + EscapeRecordValue(valueText) + "\r\n";
}

std::string EscapeRecordText(std::string_view utf8) {
  std::string escaped;
  escaped.reserve(utf8.size() + utf8.size() / 8);
  bool inValue = false;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\n') inValue = false;
    if (c == '=') inValue = true;
    // A value's last blank: the line ends after it.
    const bool lineEnds = i + 1 == utf8.size() || utf8[i + 1] == '\r' || utf8[i + 1] == '\n';
    if (c == ' ' && inValue && lineEnds) {
      escaped += kFinalBlankEscape;
      continue;
    }
    escaped += c;
    if (c == '\\') escaped += '\\';
  }
  return escaped;
}

std::string EncodeRecordFile(std::string_view utf8) {
  return EncipherEscaped(EscapeRecordText(utf8));
}

std::string EncodeRecordFile(const RecordText& record) {
  return EncipherEscaped(record.EscapedUtf8());
}

bool WriteRecordFile(FileSystem& files, const cc::Str& path, std::string_view utf8) {
  return WriteEncoded(files, path, EncodeRecordFile(utf8));
}

bool WriteRecordFile(FileSystem& files, const cc::Str& path, const RecordText& record) {
  return WriteEncoded(files, path, EncodeRecordFile(record));
}

bool DecodeRecordFile(std::string_view bytes, cc::KeyArr* store) {
  std::u16string text(DecodeText(bytes, cc::kCodePageUtf8).View());
  // A record edited by hand may have gained a final line break.
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
    text.pop_back();
  }
  cc::Str plain = cc::DecipherText(text.data(), static_cast<int>(text.size()), cc::kRecordKey,
                                   cc::kRecordKeyLength, cc::kCipherExtraRounds);
  if (plain.IsNull()) return false;
  store->Parse(plain);
  return true;
}

bool ReadRecordFile(FileSystem& files, const cc::Str& path, cc::KeyArr* store) {
  std::string bytes;
  if (ReadWholeFile(files, path, &bytes) < 0) return false;
  return DecodeRecordFile(bytes, store);
}
