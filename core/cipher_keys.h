// The keys of the string cipher and the texts kept enciphered in the
// program. The runtime and the packer both use these: a payload packed with
// another program key cannot be opened.
#pragma once

#include <string>

namespace cc {

// Deciphers the payload password and the footer texts (40 characters).
inline constexpr char kProgramKey[] = ";vRQbQs#/qR!{nKgcOu%K&,PsdE&IRNhfq9wB==g";
// Enciphers and deciphers the uninstall record (60 characters).
inline constexpr char kRecordKey[] = "!RX@!CZW&i+ha@#&6FMz+1RcxE;@W=.Q]B[{U,-0j.8CvjE85GZO/<Uz:DA.";
// Used when a caller passes no key (40 characters).
inline constexpr char kDefaultKey[] = "I:~l,qYrC(U7:WrSXroMRVgMmj>tqBo%[Y;(Ek)r";

inline constexpr int kProgramKeyLength = sizeof(kProgramKey) - 1;
inline constexpr int kRecordKeyLength = sizeof(kRecordKey) - 1;
inline constexpr int kDefaultKeyLength = sizeof(kDefaultKey) - 1;

// Every caller of the cipher in this system passes one extra round.
inline constexpr int kCipherExtraRounds = 1;

// The payload archive's password (30 printable ASCII characters), enciphered
// with the program key and one extra round, as Base64.
inline constexpr char16_t kPayloadPasswordCipher[] = u"ubBVuYvtIxC3f7KTUUOSbOPTl6Ih9mJY9jhJO52k";
// The two built-in footer texts, enciphered the same way: the copyright
// label's text (12 Base64 characters) and the link's (32).
inline constexpr char16_t kFooterTextCipher1[] = u"4QWTVgUcnQ==";
inline constexpr char16_t kFooterTextCipher2[] = u"drBwegrJJBcPV9Co+INLxnbOa3CuKVk=";

// The payload password as bytes (deciphered from kPayloadPasswordCipher);
// the ZIP password of the payload archive.
std::string PayloadPassword();

}  // namespace cc
