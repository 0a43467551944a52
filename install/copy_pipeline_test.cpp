#include "install/copy_pipeline.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/cipher_keys.h"
#include "platform/fake/fake_file_system.h"
#include "runtime/payload_archive.h"
#include "runtime/payload_test_support.h"

namespace {

// Entry i holds `i + 1` blocks and a few bytes of its own.
std::string EntryBytes(int i) {
  std::string bytes(static_cast<size_t>(kCopyBlockSize) * (i + 1) + 7 * i, '\0');
  for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<char>((k * 13 + i * 101) & 0xFF);
  return bytes;
}

struct Payload {
  Payload() {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 5; ++i) entries.emplace_back("e" + std::to_string(i), EntryBytes(i));
    bytes = payload_test::MakeArchive(entries, cc::PayloadPassword());
    archive = OpenPayload(bytes.data(), bytes.size(), cc::PayloadPassword().c_str());
  }
  std::string bytes;
  PayloadArchivePtr archive;
};

// Copies `index` through the pipeline into a new file; returns its bytes,
// or "(status N)" when a read failed.
std::string CopyThrough(CopyPipeline& pipeline, FakeFileSystem& files, int index) {
  const cc::Str path = cc::Str::Formatted(u"C:\\out%d.bin", index);
  std::unique_ptr<File> file = files.Open(path, OpenMode::kCreate);
  if (!file) return "(cannot create)";
  pipeline.Begin(index, file.get());
  for (;;) {
    size_t size = 0;
    uint32_t status = pipeline.NextBlock(&size);
    if (status == kPayloadOk) break;
    if (status != kPayloadMoreData) {
      pipeline.Stop();
      return "(status " + std::to_string(status) + ")";
    }
  }
  if (!pipeline.Finish() || !file->Close()) return "(write failed)";
  std::string bytes;
  files.GetFileBytes(path, &bytes);
  return bytes;
}

// Whatever the plan says, each entry asked for arrives whole: entries the
// walk skips are skipped, entries the plan lacks or has passed are read
// when asked for.
TEST(CopyPipelineTest, EveryEntryAskedForArrivesWhole) {
  struct Case {
    const char* name;
    std::vector<int> plan;
    std::vector<int> asked;
  };
  const Case cases[] = {
      {"as planned", {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}},
      {"some skipped", {0, 1, 2, 3, 4}, {1, 4}},
      {"no plan", {}, {3, 0, 2}},
      {"not in the plan", {0, 2}, {0, 1, 2}},
      {"asked again after it passed", {4, 3}, {4, 3, 4}},
      {"same entry twice", {2, 2}, {2, 2}},
  };
  for (const Case& c : cases) {
    Payload payload;
    ASSERT_NE(payload.archive, nullptr);
    FakeFileSystem files;
    CopyTimings timings;
    {
      CopyPipeline pipeline(payload.archive.get(), c.plan, nullptr, &timings);
      for (int index : c.asked) {
        EXPECT_TRUE(CopyThrough(pipeline, files, index) == EntryBytes(index)) << c.name << ", entry " << index;
      }
    }
    int64_t blocks = 0;
    for (int index : c.asked) blocks += index == 0 ? 1 : index + 2;  // entry 0 fills one block exactly
    EXPECT_EQ(timings.blocks, blocks) << c.name;
  }
}

// A copy stopped half-way leaves nothing behind in the pipeline: the same
// entry asked for again arrives whole, from its start.
TEST(CopyPipelineTest, AnEntryStoppedHalfWayStartsAfreshWhenAskedAgain) {
  Payload payload;
  ASSERT_NE(payload.archive, nullptr);
  FakeFileSystem files;
  CopyPipeline pipeline(payload.archive.get(), {2, 3}, nullptr, nullptr);
  std::unique_ptr<File> file = files.Open(u"C:\\stopped.bin", OpenMode::kCreate);
  ASSERT_NE(file, nullptr);
  pipeline.Begin(2, file.get());
  size_t size = 0;
  ASSERT_EQ(pipeline.NextBlock(&size), kPayloadMoreData);
  pipeline.Stop();
  file->Close();
  EXPECT_TRUE(CopyThrough(pipeline, files, 2) == EntryBytes(2));
  EXPECT_TRUE(CopyThrough(pipeline, files, 3) == EntryBytes(3));
}

// A damaged entry reports its status to the caller; the next entry is read
// as usual.
TEST(CopyPipelineTest, ADamagedEntryFailsAloneAndTheNextIsReadAsUsual) {
  Payload payload;
  ASSERT_NE(payload.archive, nullptr);
  PayloadEntry damaged;
  int index = -1;
  ASSERT_EQ(FindEntry(payload.archive.get(), u"e1", true, &index, &damaged), kPayloadOk);
  // Garble the middle of entry 1's data, well after its first block.
  size_t start = payload.bytes.find("e1") + 2;
  for (size_t k = start + damaged.compressedSize / 2; k < start + damaged.compressedSize / 2 + 64; ++k) {
    payload.bytes[k] = static_cast<char>(payload.bytes[k] ^ 0x5A);
  }
  FakeFileSystem files;
  CopyPipeline pipeline(payload.archive.get(), {1, 2}, nullptr, nullptr);
  const std::string result = CopyThrough(pipeline, files, 1);
  EXPECT_EQ(result.substr(0, 8), "(status ") << result.size();
  EXPECT_TRUE(CopyThrough(pipeline, files, 2) == EntryBytes(2));
}

}  // namespace
