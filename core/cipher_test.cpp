#include "core/cipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/cipher_keys.h"

namespace cc {
namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out;
  char pair[3];
  for (uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    out += pair;
  }
  return out;
}

bool IsPrintableAscii(std::string_view text) {
  for (char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

TEST(Base64Test, EncodeAndDecode) {
  struct Case {
    std::string bytes;
    const char16_t* text;
  };
  const Case cases[] = {
      {"f", u"Zg=="},           {"fo", u"Zm8="},    {"foo", u"Zm9v"},
      {"foob", u"Zm9vYg=="},    {"fooba", u"Zm9vYmE="}, {"foobar", u"Zm9vYmFy"},
      {std::string("\xFF\xFE\x00\x01", 4), u"//4AAQ=="},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::vector<uint8_t> bytes = Bytes(cases[i].bytes);
    EXPECT_EQ(Str(cases[i].text), Base64Encode(bytes.data(), static_cast<int>(bytes.size()))) << "case " << i;
    std::string decoded;
    const int length = static_cast<int>(std::u16string_view(cases[i].text).size());
    EXPECT_TRUE(Base64Decode(cases[i].text, length, &decoded)) << "case " << i;
    EXPECT_EQ(cases[i].bytes, decoded) << "case " << i;
  }
  EXPECT_TRUE(Base64Encode(nullptr, 0).IsEmpty());
}

TEST(Base64Test, DecodeRejectsLengthsAndCountsBadCharacters) {
  struct Case {
    const char16_t* text;
    bool accepted;
    std::string bytes;
  };
  const Case cases[] = {
      {u"", false, ""},
      {u"Zg", false, ""},
      {u"Zg=", false, ""},
      {u"Zm9vY", false, ""},
      {u"Zm9vYmE", false, ""},
      {u"!!!!", true, "\xFF\xFF\xFF"},  // outside the alphabet reads as 63
      {u"Z\u00E9==", true, "\x67"},
      {u"ab=c", true, "\x69"},          // "=" second to last: two bytes fewer
      {u"====", true, std::string(1, '\0')},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    std::string out = "stale";
    const int length = static_cast<int>(std::u16string_view(cases[i].text).size());
    EXPECT_EQ(cases[i].accepted, Base64Decode(cases[i].text, length, &out)) << "case " << i;
    EXPECT_EQ(cases[i].bytes, out) << "case " << i;
  }
}

// Known answers from a separate transcription of the cipher, so the byte
// order, round count and key schedule cannot drift together with the
// inverse.
TEST(CipherTest, KnownAnswers) {
  const char* key40 = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
  struct Case {
    int n;
    const char* key;
    int extraRounds;
    const char* hex;
  };
  const Case cases[] = {
      {30, key40, 1, "4ddc5ae2d04f42754ee313b629ffb87a3a98e00f9af3018879666ad3274f"},  // 2 rounds
      {60, key40, 1,
       "6af6ba41db4143055c29d33b74673ae3f261a0d0273f9d0e73cda2d573ca3b41a3cc26ec92fb86be6db8873eaa6ad853ff784dfc"
       "604661f7ff898c6a"},  // 1 round
      {2, key40, 1, "617d"},
      {5, "K", 1, "8774a69cab"},  // 27 rounds
      {3, key40, 0, "df0261"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    std::vector<uint8_t> data(cases[i].n);
    for (int k = 0; k < cases[i].n; ++k) data[k] = static_cast<uint8_t>(7 * k + 3);
    const std::vector<uint8_t> original = data;
    const auto* key = reinterpret_cast<const uint8_t*>(cases[i].key);
    const int keyLength = static_cast<int>(std::strlen(cases[i].key));
    EncipherBytes(data.data(), cases[i].n, key, keyLength, cases[i].extraRounds);
    EXPECT_EQ(cases[i].hex, Hex(data)) << "case " << i;
    DecipherBytes(data.data(), cases[i].n, key, keyLength, cases[i].extraRounds);
    EXPECT_EQ(original, data) << "case " << i;
  }
}

TEST(CipherTest, DecipherInvertsEveryLengthAndRoundCount) {
  std::mt19937 random(99);
  for (int extraRounds : {0, 1, 5, 300}) {
    for (int n = 1; n <= 70; ++n) {
      std::vector<uint8_t> data(n);
      for (uint8_t& b : data) b = static_cast<uint8_t>(random());
      std::vector<uint8_t> key(1 + random() % 64);
      for (uint8_t& b : key) b = static_cast<uint8_t>(random());
      const std::vector<uint8_t> original = data;
      EncipherBytes(data.data(), n, key.data(), static_cast<int>(key.size()), extraRounds);
      const bool hasRounds = 16 / static_cast<int>(key.size()) + 52 / n + extraRounds >= 1;
      if (n > 1 && hasRounds) {
        EXPECT_NE(original, data) << "n " << n << " extra " << extraRounds;
      }
      DecipherBytes(data.data(), n, key.data(), static_cast<int>(key.size()), extraRounds);
      EXPECT_EQ(original, data) << "n " << n << " extra " << extraRounds;
    }
  }
}

// One byte has no neighbour to mix with; every value must still come back,
// so enciphering must map the 256 values onto 256 different ones.
TEST(CipherTest, SingleByteIsReversible) {
  const uint8_t key[] = {'k', 'e', 'y'};
  std::set<uint8_t> seen;
  for (int v = 0; v < 256; ++v) {
    uint8_t b = static_cast<uint8_t>(v);
    EncipherBytes(&b, 1, key, 3, 1);
    seen.insert(b);
    DecipherBytes(&b, 1, key, 3, 1);
    EXPECT_EQ(v, b);
  }
  EXPECT_EQ(256u, seen.size());
}

TEST(CipherTest, DegenerateArgumentsChangeNothing) {
  uint8_t data[] = {1, 2, 3};
  const uint8_t key[] = {9};
  EncipherBytes(data, 0, key, 1, 1);
  EncipherBytes(data, 3, key, 0, 1);
  EncipherBytes(data, 3, nullptr, 1, 1);
  EncipherBytes(data, 3, key, 1, -100);  // no rounds
  DecipherBytes(data, 3, key, 1, -100);
  EXPECT_EQ(1, data[0]);
  EXPECT_EQ(2, data[1]);
  EXPECT_EQ(3, data[2]);
}

TEST(CipherTextTest, RoundTripsThroughBase64) {
  const std::string texts[] = {"a", "uninstall record\r\nline 2", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC",
                               std::string(200, 'x')};
  for (size_t i = 0; i < std::size(texts); ++i) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(texts[i].data());
    const Str base64 = EncipherText(bytes, static_cast<int>(texts[i].size()), kRecordKey, kRecordKeyLength,
                                    kCipherExtraRounds);
    EXPECT_EQ(static_cast<int>((texts[i].size() + 2) / 3 * 4), base64.GetLength()) << "case " << i;
    const Str text = DecipherText(base64.GetBuffer(), base64.GetLength(), kRecordKey, kRecordKeyLength,
                                  kCipherExtraRounds);
    EXPECT_EQ(Str::FromUtf8(texts[i]), text) << "case " << i;
    EXPECT_EQ(kCodePageUtf16LE, text.GetCodePage()) << "case " << i;
    const Str wrongKey = DecipherText(base64.GetBuffer(), -1, kProgramKey, kProgramKeyLength, kCipherExtraRounds);
    EXPECT_NE(text, wrongKey) << "case " << i;
  }
}

TEST(CipherTextTest, DefaultKeyCodePagesAndRejects) {
  const auto* bytes = reinterpret_cast<const uint8_t*>("hello");
  const Str withDefault = EncipherText(bytes, -1, nullptr, 0, 1);
  EXPECT_EQ(withDefault, EncipherText(bytes, 5, kDefaultKey, kDefaultKeyLength, 1));
  EXPECT_EQ(withDefault, EncipherText(bytes, 5, kDefaultKey, -1, 1));
  const Str utf8 = EncipherText(bytes, 5, nullptr, 0, 1, kCodePageUtf8);
  EXPECT_EQ(kCodePageUtf8, utf8.GetCodePage());
  EXPECT_EQ(withDefault, utf8);
  EXPECT_EQ(Str(u"hello"), DecipherText(withDefault.GetBuffer(), -1, nullptr, 0, 1));

  const Str latin = DecipherText(withDefault.GetBuffer(), -1, nullptr, 0, 1, kCodePageWindows1252);
  EXPECT_EQ(kCodePageWindows1252, latin.GetCodePage());
  EXPECT_EQ("hello", std::string(latin.Bytes()));

  EXPECT_TRUE(DecipherText(u"abc", 3, nullptr, 0, 1).IsNull());
  EXPECT_TRUE(DecipherText(u"abcde", -1, nullptr, 0, 1).IsNull());
  EXPECT_TRUE(DecipherText(nullptr, 4, nullptr, 0, 1).IsNull());
  EXPECT_TRUE(EncipherText(nullptr, 4, nullptr, 0, 1).IsNull());
}

TEST(CipherKeysTest, KeysAndEncipheredConstants) {
  EXPECT_EQ(40, kProgramKeyLength);
  EXPECT_EQ(60, kRecordKeyLength);
  EXPECT_EQ(40, kDefaultKeyLength);
  for (const char* key : {kProgramKey, kRecordKey, kDefaultKey}) EXPECT_TRUE(IsPrintableAscii(key)) << key;

  EXPECT_EQ(40u, std::u16string_view(kPayloadPasswordCipher).size());
  const std::string password = PayloadPassword();
  EXPECT_EQ(30u, password.size());
  EXPECT_TRUE(IsPrintableAscii(password));
  EXPECT_EQ(Str::FromUtf8(password),
            DecipherText(kPayloadPasswordCipher, -1, kProgramKey, kProgramKeyLength, kCipherExtraRounds));

  struct Case {
    const char16_t* cipher;
    const char16_t* text;
  };
  const Case footers[] = {{kFooterTextCipher1, u"Velmora"}, {kFooterTextCipher2, u"https://velmora.example"}};
  for (size_t i = 0; i < std::size(footers); ++i) {
    EXPECT_EQ(Str(footers[i].text),
              DecipherText(footers[i].cipher, -1, kProgramKey, kProgramKeyLength, kCipherExtraRounds))
        << "case " << i;
  }
}

}  // namespace
}  // namespace cc
