#include "core/cipher.h"

#include <cstring>
#include <vector>

#include "core/cipher_keys.h"

namespace cc {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kRoundStep = 0xB9;
constexpr int kBadCharacterValue = 63;

int Rounds(int n, int keyLength, int extraRounds) { return 16 / keyLength + 52 / n + extraRounds; }

// The mixing value of one byte: `z` its left neighbour (already enciphered),
// `y` its right neighbour. Left shifts drop the bits above the byte.
uint8_t Mix(uint8_t z, uint8_t y, uint8_t sum, int e, int p, const uint8_t* key, int keyLength) {
  const unsigned left = (z >> 5) ^ static_cast<uint8_t>(y << 2);
  const unsigned right = (y >> 3) ^ static_cast<uint8_t>(z << 4);
  const unsigned keyed = (key[(e ^ p) % keyLength] ^ z) + (sum ^ y);
  return static_cast<uint8_t>((left + right) ^ keyed);
}

// A single byte has no neighbour: mixing it with itself could not be undone
// (distinct bytes would collide), so it is shifted by the key schedule alone.
uint8_t SingleByteMix(uint8_t sum, int e, const uint8_t* key, int keyLength) {
  return Mix(0, 0, sum, e, 0, key, keyLength);
}

int Base64Value(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return c - u'a' + 26;
  if (c >= u'0' && c <= u'9') return c - u'0' + 52;
  if (c == u'+') return 62;
  if (c == u'/') return 63;
  if (c == u'=') return 0;
  return kBadCharacterValue;
}

// The key bytes to use: the default key for a null key, a negative length
// meaning up to the terminating zero.
const uint8_t* ResolveKey(const char* key, int* keyLength) {
  if (!key) {
    *keyLength = static_cast<int>(std::strlen(kDefaultKey));
    return reinterpret_cast<const uint8_t*>(kDefaultKey);
  }
  if (*keyLength < 0) *keyLength = static_cast<int>(std::strlen(key));
  return reinterpret_cast<const uint8_t*>(key);
}

}  // namespace

Str Base64Encode(const uint8_t* bytes, int n) {
  std::u16string out;
  if (!bytes || n <= 0) return Str(out);
  out.reserve(static_cast<size_t>((n + 2) / 3) * 4);
  for (int i = 0; i < n; i += 3) {
    const int count = n - i < 3 ? n - i : 3;
    uint32_t group = bytes[i] << 16;
    if (count > 1) group |= bytes[i + 1] << 8;
    if (count > 2) group |= bytes[i + 2];
    out.push_back(kAlphabet[(group >> 18) & 63]);
    out.push_back(kAlphabet[(group >> 12) & 63]);
    out.push_back(count > 1 ? kAlphabet[(group >> 6) & 63] : u'=');
    out.push_back(count > 2 ? kAlphabet[group & 63] : u'=');
  }
  return Str(out);
}

bool Base64Decode(const char16_t* text, int length, std::string* out) {
  out->clear();
  if (!text || length < 3 || length % 4 != 0) return false;
  int count = length / 4 * 3;
  if (text[length - 2] == u'=') {
    count -= 2;
  } else if (text[length - 1] == u'=') {
    count -= 1;
  }
  out->reserve(length / 4 * 3);
  for (int i = 0; i < length; i += 4) {
    const uint32_t group = (Base64Value(text[i]) << 18) | (Base64Value(text[i + 1]) << 12) |
                           (Base64Value(text[i + 2]) << 6) | Base64Value(text[i + 3]);
    out->push_back(static_cast<char>(group >> 16));
    out->push_back(static_cast<char>(group >> 8));
    out->push_back(static_cast<char>(group));
  }
  out->resize(count);
  return true;
}

void EncipherBytes(uint8_t* data, int n, const uint8_t* key, int keyLength, int extraRounds) {
  if (!data || !key || n < 1 || keyLength < 1) return;
  const int rounds = Rounds(n, keyLength, extraRounds);
  uint8_t z = data[n - 1];
  uint8_t sum = 0;
  for (int round = 0; round < rounds; ++round) {
    sum = static_cast<uint8_t>(sum + kRoundStep);
    const int e = sum >> 2;
    if (n == 1) {
      data[0] = static_cast<uint8_t>(data[0] + SingleByteMix(sum, e, key, keyLength));
      continue;
    }
    for (int p = 0; p < n - 1; ++p) {
      data[p] = static_cast<uint8_t>(data[p] + Mix(z, data[p + 1], sum, e, p, key, keyLength));
      z = data[p];
    }
    data[n - 1] = static_cast<uint8_t>(data[n - 1] + Mix(z, data[0], sum, e, n - 1, key, keyLength));
    z = data[n - 1];
  }
}

void DecipherBytes(uint8_t* data, int n, const uint8_t* key, int keyLength, int extraRounds) {
  if (!data || !key || n < 1 || keyLength < 1) return;
  const int rounds = Rounds(n, keyLength, extraRounds);
  if (rounds < 1) return;
  uint8_t sum = static_cast<uint8_t>(rounds * kRoundStep);
  for (int round = 0; round < rounds; ++round) {
    const int e = sum >> 2;
    if (n == 1) {
      data[0] = static_cast<uint8_t>(data[0] - SingleByteMix(sum, e, key, keyLength));
    } else {
      for (int p = n - 1; p >= 1; --p) {
        const uint8_t y = data[p + 1 == n ? 0 : p + 1];
        data[p] = static_cast<uint8_t>(data[p] - Mix(data[p - 1], y, sum, e, p, key, keyLength));
      }
      data[0] = static_cast<uint8_t>(data[0] - Mix(data[n - 1], data[1], sum, e, 0, key, keyLength));
    }
    sum = static_cast<uint8_t>(sum - kRoundStep);
  }
}

Str EncipherText(const uint8_t* bytes, int n, const char* key, int keyLength, int extraRounds,
                 int resultCodePage) {
  if (!bytes) return Str();
  if (n < 0) n = static_cast<int>(std::strlen(reinterpret_cast<const char*>(bytes)));
  const uint8_t* keyBytes = ResolveKey(key, &keyLength);
  std::vector<uint8_t> copy(bytes, bytes + n);
  EncipherBytes(copy.data(), n, keyBytes, keyLength, extraRounds);
  return Base64Encode(copy.data(), n).ToCodePage(resultCodePage);
}

Str DecipherText(const char16_t* base64, int length, const char* key, int keyLength, int extraRounds,
                 int resultCodePage, int bytesCodePage) {
  if (!base64) return Str();
  if (length < 0) length = static_cast<int>(std::u16string_view(base64).size());
  std::string bytes;
  if (!Base64Decode(base64, length, &bytes)) return Str();
  const uint8_t* keyBytes = ResolveKey(key, &keyLength);
  DecipherBytes(reinterpret_cast<uint8_t*>(bytes.data()), static_cast<int>(bytes.size()), keyBytes, keyLength,
                extraRounds);
  return Str::FromBytes(bytes.data(), static_cast<int>(bytes.size()), bytesCodePage).ToCodePage(resultCodePage);
}

}  // namespace cc
