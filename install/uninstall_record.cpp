#include "install/uninstall_record.h"

#include "core/cipher.h"
#include "core/cipher_keys.h"
#include "platform/file_helpers.h"

void RecordText::Start(const cc::Str& appFolder, const cc::Str& appName) {
  text_ = "[Log]\r\n";
  AddLine(u"AppDir=", appFolder);
  AddLine(u"AppName=", appName);
}

void RecordText::AddLine(const char16_t* key, const cc::Str& value) {
  text_ += cc::Str(key).ToUtf8();
  text_ += value.ToUtf8();
  text_ += "\r\n";
}

std::string EscapeRecordText(std::string_view utf8) {
  std::string escaped;
  escaped.reserve(utf8.size() + utf8.size() / 8);
  for (char c : utf8) {
    escaped += c;
    if (c == '\\') escaped += '\\';
  }
  return escaped;
}

std::string EncodeRecordFile(std::string_view utf8) {
  std::string escaped = EscapeRecordText(utf8);
  cc::Str base64 = cc::EncipherText(reinterpret_cast<const uint8_t*>(escaped.data()),
                                    static_cast<int>(escaped.size()), cc::kRecordKey,
                                    cc::kRecordKeyLength, cc::kCipherExtraRounds);
  return std::string(ByteOrderMark(cc::kCodePageUtf8)) + base64.ToUtf8();
}

bool WriteRecordFile(FileSystem& files, const cc::Str& path, std::string_view utf8) {
  std::string bytes = EncodeRecordFile(utf8);
  // The mark is part of `bytes` already; the file is new, so it is not doubled.
  return WriteFileBytes(files, path, bytes, cc::kCodePageUtf8, false, false);
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
