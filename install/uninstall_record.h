// The uninstall record: the text that an install run builds line by line
// (configuration-text syntax, one "[Log]" section, UTF-8, "\r\n" line ends)
// and its file "unins.exe.dat" beside the uninstaller.
//
// File form: in every value each backslash doubled and each line feed or
// carriage return written as "\\n" or "\\r" (the configuration parser turns
// these back, so a path holding "\\n" does not come back as a line break and
// a value holding a line break does not split its line), a value's last
// blank written as "\\x20" (the parser strips a line's outer blanks and
// reads this escape back as a blank only at the end of a value), the
// result enciphered with the record key (cc::kRecordKey,
// one extra round) and written as its Base64 text after the UTF-8
// byte-order mark EF BB BF.
//
// Read back, counted keys ("File?=") become "Log.File0", "Log.File1", ...
// with "Log.File.Count", and plain keys "Log.AppDir" and so on.
#pragma once

#include <string>
#include <string_view>

#include "core/key_arr.h"
#include "core/str.h"

class FileSystem;

inline constexpr char16_t kRecordFileName[] = u"unins.exe.dat";
inline constexpr char16_t kUninstallerFileName[] = u"unins.exe";
// A record is written to its path plus this suffix first.
inline constexpr char16_t kRecordTempSuffix[] = u".new";

// The record under construction, held as UTF-8.
class RecordText {
 public:
  // Starts over with "[Log]", "AppDir=" + `appFolder` and "AppName=" +
  // `appName`.
  void Start(const cc::Str& appFolder, const cc::Str& appName);
  // Appends `key` (with its "=", e.g. u"File?="), `value` and "\r\n".
  void AddLine(const char16_t* key, const cc::Str& value);
  // The lines as added, values unescaped.
  const std::string& Utf8() const { return text_; }
  // The same lines with their values escaped for the file.
  const std::string& EscapedUtf8() const { return escaped_; }

 private:
  std::string text_;
  std::string escaped_;
};

// `value` (UTF-8) escaped for one record line: backslashes doubled, line
// feeds and carriage returns as "\\n" and "\\r", a final blank as "\\x20".
std::string EscapeRecordValue(std::string_view value);

// `utf8` with every backslash doubled and the last blank of a value (a line
// with "=" that ends in a blank) as "\\x20": the file form of record text
// whose values hold no line breaks (line breaks stay line ends).
std::string EscapeRecordText(std::string_view utf8);

// The bytes of the record file for the record text `utf8` (mark included).
std::string EncodeRecordFile(std::string_view utf8);

// The bytes of the record file for `record`, its values escaped.
std::string EncodeRecordFile(const RecordText& record);

// Writes EncodeRecordFile of `utf8` to `path` + kRecordTempSuffix, flushes,
// closes and renames it over `path` (read-only too). False when it cannot
// be written or renamed; an existing record at `path` is then unchanged.
bool WriteRecordFile(FileSystem& files, const cc::Str& path, std::string_view utf8);

// The same for `record`, its values escaped.
bool WriteRecordFile(FileSystem& files, const cc::Str& path, const RecordText& record);

// Parses the bytes of a record file (decoded by their byte-order mark,
// UTF-8 without one) into `store`. False, with `store` unchanged, when the
// text is not a record (the Base64 text is rejected).
bool DecodeRecordFile(std::string_view bytes, cc::KeyArr* store);

// Reads the record file at `path` into `store`. False, with `store`
// unchanged, when the file cannot be read or is not a record.
bool ReadRecordFile(FileSystem& files, const cc::Str& path, cc::KeyArr* store);
