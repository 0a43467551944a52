// The string cipher and the Base64 coding around it. Used for the payload
// password, the built-in footer texts and the uninstall record.
#pragma once

#include <cstdint>
#include <string>

#include "core/str.h"

namespace cc {

// Base64 (standard alphabet, "=" padding) of `n` bytes: 4 * ceil(n / 3) chars.
Str Base64Encode(const uint8_t* bytes, int n);
// Decodes `length` characters of `text`. Returns false (and clears `out`)
// when `length` is below 3 or not a multiple of 4. A character outside the
// alphabet counts as 63 and "=" as 0.
bool Base64Decode(const char16_t* text, int length, std::string* out);

// In place. Does nothing when n < 1 or keyLength < 1.
void EncipherBytes(uint8_t* data, int n, const uint8_t* key, int keyLength, int extraRounds);
// The exact inverse of EncipherBytes with the same arguments.
void DecipherBytes(uint8_t* data, int n, const uint8_t* key, int keyLength, int extraRounds);

// Copies `n` bytes (n < 0: up to the terminating zero), enciphers them and
// returns their Base64 text in `resultCodePage`. A null key means the
// default key.
Str EncipherText(const uint8_t* bytes, int n, const char* key, int keyLength, int extraRounds,
                 int resultCodePage = kCodePageUtf16LE);
// Base64-decodes, deciphers and decodes the bytes as text in
// `bytesCodePage`, giving a string in `resultCodePage`. A null key means the
// default key. Returns a null string when the Base64 text is rejected.
Str DecipherText(const char16_t* base64, int length, const char* key, int keyLength, int extraRounds,
                 int resultCodePage = kCodePageUtf16LE, int bytesCodePage = kCodePageUtf8);

}  // namespace cc
