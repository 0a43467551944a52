// Packed fixture programs checked by tools we did not write: wrestool lists
// and extracts the resources, pefile parses the image and checks its
// checksum and relocations, osslsigncode signs and verifies it, and Wine's
// loader runs it and finds the payload.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <set>
#include <sstream>

#include "tools/pe_resources.h"
#include "tools/pe_test_support.h"
#include "tests/support/linux_test_support.h"
#include "tools/test_support.h"

namespace pe {
namespace {

using test_support::RunShell;

std::string Quote(const std::string& s) { return test_support::ShellQuote(s); }

bool HaveTool(const std::string& name) {
  std::string ignored;
  return RunShell("command -v " + name + " >/dev/null 2>&1", &ignored) == 0;
}

// The lines of `wrestool -l` without the offsets, which move.
std::set<std::string> WrestoolListing(const std::string& path) {
  std::string out;
  EXPECT_EQ(RunShell("wrestool -l " + Quote(path), &out), 0) << out;
  std::set<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    lines.insert(std::regex_replace(line, std::regex("offset=0x[0-9a-f]+ ?"), ""));
  return lines;
}

// What pefile sees: checksum verdict, relocations, ASLR flag, BIN/2.
const char kPefileScript[] = R"(
import sys, hashlib, pefile
pe = pefile.PE(sys.argv[1])
print('checksum', pe.verify_checksum())
rel = [(e.rva, e.type) for b in getattr(pe, 'DIRECTORY_ENTRY_BASERELOC', []) for e in b.entries]
print('relocations', len(rel), hashlib.sha1(repr(rel).encode()).hexdigest())
print('aslr', bool(pe.OPTIONAL_HEADER.DllCharacteristics & 0x40))
for t in (pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, 'DIRECTORY_ENTRY_RESOURCE') else []):
    if t.name is None or str(t.name) != 'BIN':
        continue
    for n in t.directory.entries:
        if n.id != 2:
            continue
        d = n.directory.entries[0].data.struct
        data = pe.get_data(d.OffsetToData, d.Size)
        print('bin2', len(data), hashlib.sha1(data).hexdigest())
)";

std::map<std::string, std::string> Pefile(const std::string& script, const std::string& path) {
  std::string out;
  EXPECT_EQ(RunShell("/usr/bin/python3 " + Quote(script) + " " + Quote(path) + " 2>&1", &out), 0)
      << out;
  std::map<std::string, std::string> fields;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    size_t space = line.find(' ');
    if (space != std::string::npos) fields[line.substr(0, space)] = line.substr(space + 1);
  }
  return fields;
}

std::string Sha1(const std::string& path) {
  std::string out;
  EXPECT_EQ(RunShell("sha1sum " + Quote(path), &out), 0);
  return out.substr(0, 40);
}

class PeResourcesToolsTest : public ::testing::Test {
 protected:
  // Packs fixture `name` with `data`; returns the packed program's path.
  std::string Pack(const std::string& name, const std::vector<uint8_t>& data,
                   std::vector<uint8_t>* original) {
    LoadFixture(name, original);
    if (original->empty()) return "";
    std::vector<uint8_t> packed;
    std::string error;
    EXPECT_TRUE(SetResource(*original, u"BIN", 2, data, &packed, &error)) << error;
    std::string path = (dir_.path() / (name + "-packed.exe")).string();
    EXPECT_TRUE(WriteBytes(path, packed));
    return path;
  }

  std::string Path(const std::string& file) const { return (dir_.path() / file).string(); }

  pack::ScratchDir dir_;
};

struct FixtureCase {
  const char* fixture;
  size_t size;
};
const FixtureCase kFixtures[] = {
    {"fixture64", 150000}, {"fixture64s", 10}, {"fixture64n", 4097},
    {"fixture32", 65536},  {"fixture32s", 1},
};

TEST_F(PeResourcesToolsTest, WrestoolListsAndExtractsThePayload) {
  if (!HaveTool("wrestool")) GTEST_FAIL() << "wrestool (icoutils) is not installed";
  for (size_t i = 0; i < std::size(kFixtures); ++i) {
    const FixtureCase& c = kFixtures[i];
    SCOPED_TRACE(std::string("case ") + std::to_string(i) + " (" + c.fixture + ")");
    std::vector<uint8_t> original, data = PatternBytes(c.size, 100 + i);
    std::string packed = Pack(c.fixture, data, &original);
    if (IsSkipped() || HasFailure()) return;
    std::set<std::string> expected;
    if (!ListResources(original).empty()) {
      std::string source = Path("original.exe");
      WriteBytes(source, original);
      expected = WrestoolListing(source);
    }
    std::erase_if(expected, [](const std::string& line) {
      return line.rfind("--type='BIN' --name=2 ", 0) == 0;
    });
    expected.insert("--type='BIN' --name=2 --language=0 [size=" + std::to_string(c.size) + "]");
    EXPECT_EQ(WrestoolListing(packed), expected);

    std::string extracted;
    EXPECT_EQ(RunShell("wrestool -x --raw -t BIN -n 2 " + Quote(packed), &extracted), 0);
    EXPECT_EQ(extracted.size(), data.size());
    EXPECT_TRUE(extracted == std::string(data.begin(), data.end()));
  }
}

TEST_F(PeResourcesToolsTest, PefileVerifiesChecksumAndRelocations) {
  std::string script = Path("check.py");
  pack::WriteFile(script, kPefileScript);
  for (size_t i = 0; i < std::size(kFixtures); ++i) {
    const FixtureCase& c = kFixtures[i];
    SCOPED_TRACE(std::string("case ") + std::to_string(i) + " (" + c.fixture + ")");
    std::vector<uint8_t> original, data = PatternBytes(c.size, 200 + i);
    std::string packed = Pack(c.fixture, data, &original);
    if (IsSkipped() || HasFailure()) return;
    std::string data_path = Path("data.bin");
    WriteBytes(data_path, data);
    auto before = Pefile(script, FixturePath(c.fixture));
    auto after = Pefile(script, packed);
    EXPECT_EQ(after["checksum"], "True");
    EXPECT_EQ(after["relocations"], before["relocations"]);
    EXPECT_EQ(after["aslr"], before["aslr"]);
    EXPECT_EQ(after["bin2"], std::to_string(c.size) + " " + Sha1(data_path));
  }
}

TEST_F(PeResourcesToolsTest, ObjdumpStillReadsLongSectionNames) {
  // Unstripped images name their debug sections through the string table
  // behind the symbols; that table moves with the sections.
  for (const char* name : {"fixture64", "fixture32"}) {
    std::vector<uint8_t> original;
    std::string packed = Pack(name, PatternBytes(5000, 1), &original);
    if (IsSkipped() || HasFailure()) return;
    std::string out;
    EXPECT_EQ(RunShell("x86_64-w64-mingw32-objdump -h " + Quote(packed) + " 2>&1", &out), 0);
    EXPECT_NE(out.find(".debug_info"), std::string::npos) << name << "\n" << out;
    EXPECT_NE(out.find(".rsrc"), std::string::npos) << name;
  }
}

TEST_F(PeResourcesToolsTest, OsslsigncodeSignsAndVerifiesThePackedProgram) {
  if (!HaveTool("osslsigncode") || !HaveTool("openssl"))
    GTEST_FAIL() << "osslsigncode or openssl is not installed";
  std::string key = Path("key.pem"), cert = Path("cert.pem"), out;
  ASSERT_EQ(RunShell("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=VelmoraTest"
                     " -keyout " + Quote(key) + " -out " + Quote(cert) + " 2>&1", &out), 0)
      << out;
  for (const char* name : {"fixture64", "fixture32s"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> original, data = PatternBytes(20000, 5);
    std::string packed = Pack(name, data, &original);
    if (IsSkipped() || HasFailure()) return;
    std::string signed_path = Path(std::string(name) + "-signed.exe");
    out.clear();
    ASSERT_EQ(RunShell("osslsigncode sign -certs " + Quote(cert) + " -key " + Quote(key) +
                       " -in " + Quote(packed) + " -out " + Quote(signed_path) + " 2>&1", &out), 0)
        << out;
    out.clear();
    EXPECT_EQ(RunShell("osslsigncode verify -CAfile " + Quote(cert) + " -in " +
                       Quote(signed_path) + " 2>&1", &out), 0) << out;
    EXPECT_NE(out.find("Signature verification: ok"), std::string::npos) << out;
    std::smatch current, calculated;
    ASSERT_TRUE(std::regex_search(out, current, std::regex("Current message digest +: ([0-9A-F]+)")))
        << out;
    ASSERT_TRUE(std::regex_search(out, calculated,
                                  std::regex("Calculated message digest +: ([0-9A-F]+)")));
    EXPECT_EQ(current[1], calculated[1]);

    // Packing the signed program again drops the signature: the result is
    // the unsigned packed program, plus the zeros (fewer than 8) by which
    // the signer aligned the signature; they cannot be told from data.
    std::vector<uint8_t> repacked, expected = ReadBytes(packed);
    std::string error;
    ASSERT_TRUE(SetResource(ReadBytes(signed_path), u"BIN", 2, data, &repacked, &error)) << error;
    ASSERT_GE(repacked.size(), expected.size());
    EXPECT_LT(repacked.size() - expected.size(), 8u);
    expected.resize(repacked.size(), 0);
    Image image;
    ASSERT_TRUE(ParseImage(expected, &image, &error)) << error;
    Put32(&expected[image.ChecksumOffset()], ComputeChecksum(expected, image.ChecksumOffset()));
    EXPECT_TRUE(repacked == expected);
  }
}

TEST_F(PeResourcesToolsTest, WineLoaderFindsThePayload) {
  if (!HaveTool("wine")) GTEST_FAIL() << "wine is not installed: the packed program cannot run";
  // Only the 64-bit fixtures run: Wine may be unable to start 32-bit programs
  // (a kernel without 32-bit support); the 32-bit layout is the same code path
  // and is checked by the tools above.
  const FixtureCase cases[] = {{"fixture64", 123457}, {"fixture64n", 64}};
  for (const FixtureCase& c : cases) {
    SCOPED_TRACE(c.fixture);
    std::vector<uint8_t> original, data = PatternBytes(c.size, 300);
    std::string packed = Pack(c.fixture, data, &original);
    if (IsSkipped() || HasFailure()) return;
    std::string out;
    ASSERT_EQ(RunShell(std::string(VELMORA_SOURCE_DIR) + "/scripts/wine.sh " + Quote(packed) +
                       " 2>/dev/null", &out), 0) << out;
    char expected[64];
    std::snprintf(expected, sizeof expected, "BIN/2 size=%zu fnv=%08x", c.size, Fnv1a(data));
    EXPECT_NE(out.find(expected), std::string::npos) << out;
    bool has_resources = std::string(c.fixture) != "fixture64n";
    EXPECT_EQ(out.find("BIN/7 size=6 ") != std::string::npos, has_resources) << out;
    EXPECT_EQ(out.find("GROUP_ICON/1 size=20 ") != std::string::npos, has_resources) << out;
  }
}

}  // namespace
}  // namespace pe
