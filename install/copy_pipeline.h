// The copy pipeline of the file step: payload entries are deciphered and
// inflated on a reader thread and written (each block flushed) on a writer
// thread, while the calling thread, the one that pumps the window's
// messages, keeps the progress, the questions and the cancel check.
//
//   reader thread        calling thread                 writer thread
//   decodes blocks  -->  per block: progress, pump,  --> Write + Flush
//   into free buffers    cancel check, hand over          returns the buffer
//        ^                                                      |
//        +------------------- free buffers <-------------------+
//
// The buffers form one fixed pool (kPipelineBlocks blocks of kCopyBlockSize
// bytes), so the read-ahead is bounded. The reader follows a plan: the
// entries the walk is expected to copy, in order, so that it can run ahead
// across files. A file the walk skips (kept, ignored) is skipped by the
// reader too; an entry the plan does not hold is read when asked for.
//
// Only the writer touches the open file between Begin and Finish (or
// Stop); everything else the file step does with files stays on the
// calling thread, so the file system is never used from two threads at
// once.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "install/install_session.h"
#include "platform/thread_sync.h"
#include "runtime/payload_entry_stream.h"

class File;
class PayloadArchive;

// Blocks in the pool: the read-ahead is at most this many blocks.
inline constexpr int kPipelineBlocks = 32;

class CopyPipeline {
 public:
  // `archive` must stay open while the pipeline lives; `planned` are entry
  // indices in the order the walk is expected to copy them. `keepAlive` is
  // called about every kKeepAliveMs while the calling thread waits (it
  // pumps the window's messages); `timings` receives where the time went
  // when the pipeline ends. No thread starts before the first Begin.
  CopyPipeline(PayloadArchive* archive, std::vector<int> planned, std::function<void()> keepAlive,
               CopyTimings* timings);
  // Stops both threads; blocks not yet written are dropped.
  ~CopyPipeline();
  CopyPipeline(const CopyPipeline&) = delete;
  CopyPipeline& operator=(const CopyPipeline&) = delete;

  static constexpr int kKeepAliveMs = 20;

  // Starts copying entry `index` into `file`, which stays the caller's and
  // must stay open until Finish or Stop returns.
  void Begin(int index, File* file);

  // Hands the next block of the entry to the writer and returns the status
  // of its read (kPayloadMoreData: more follows; kPayloadOk: it was the
  // last) with `*size` its bytes; any other status means the entry cannot
  // be read, and nothing of that block is written. Waits for the reader
  // when it is behind.
  uint32_t NextBlock(size_t* size);

  // True once a write of the current file failed; the blocks after it are
  // dropped.
  bool WriteFailed();

  // Waits until every block handed over is written and flushed. True when
  // all writes succeeded.
  bool Finish();

  // Drops the blocks handed over but not yet written and waits for the
  // write in progress, if any: afterwards nothing more is written to the
  // file. The rest of the entry is dropped too.
  void Stop();

 private:
  struct Block {
    std::unique_ptr<unsigned char[]> bytes;
    size_t size = 0;
    uint32_t status = 0;
    size_t position = 0;  // in the plan
  };
  struct Planned {
    int index = -1;
    uint32_t located = 0;  // status of LocateEntryData
    PayloadEntryData data;
  };

  void StartThreads();
  void ReadLoop();
  void WriteLoop();
  // Under the lock: the reader goes to plan position `position`.
  void MoveReader(size_t position);
  // Under the lock: returns ready blocks before the consumer's position.
  void DropStaleBlocks();
  // Waits on `cv` until `done` holds, calling keepAlive_ (unlocked) about
  // every kKeepAliveMs; adds the time waited to `*waited_us`.
  void WaitWithKeepAlive(std::unique_lock<Mutex>& lock, ConditionVariable& cv,
                         const std::function<bool()>& done, int64_t* waited_us);
  Planned Locate(int index);

  PayloadArchive* archive_;
  std::string password_;
  std::function<void()> keepAlive_;
  CopyTimings* timings_;

  Mutex mutex_;
  ConditionVariable readerWake_;    // free blocks, a move, the end
  ConditionVariable consumerWake_;  // ready blocks, writes done
  ConditionVariable writerWake_;    // blocks to write, the end
  std::vector<Planned> plan_;
  std::vector<Block> blocks_;
  std::vector<int> free_;
  std::deque<int> ready_;    // decoded, in plan order
  std::deque<int> toWrite_;  // handed to the writer, in file order
  size_t readerPosition_ = 0;
  uint64_t readerMoves_ = 0;  // counts MoveReader calls: the reader restarts its entry
  size_t consumerPosition_ = 0;
  bool midEntry_ = false;     // the consumer has taken some blocks of its entry, not the last
  File* file_ = nullptr;
  bool writing_ = false;      // the writer is inside Write/Flush
  bool dropWrites_ = false;   // Stop or a failed write: drop what is queued
  bool writeFailed_ = false;
  bool quit_ = false;
  bool started_ = false;
  // Busy times of the two threads and the counts, published on destruction.
  CopyTimings busy_;

  std::thread reader_;
  std::thread writer_;
};
