#include "install/copy_pipeline.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/file_system.h"
#include "runtime/payload_archive.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t MicrosecondsBetween(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration_cast<std::chrono::microseconds>(end - start).count();
}

}  // namespace

CopyPipeline::CopyPipeline(PayloadArchive* archive, std::vector<int> planned,
                           std::function<void()> keepAlive, CopyTimings* timings)
    : archive_(archive),
      password_(PayloadArchivePassword(archive)),
      keepAlive_(std::move(keepAlive)),
      timings_(timings) {
  plan_.reserve(planned.size());
  for (int index : planned) plan_.push_back(Locate(index));
}

CopyPipeline::~CopyPipeline() {
  {
    std::lock_guard<Mutex> lock(mutex_);
    quit_ = true;
  }
  readerWake_.NotifyAll();
  writerWake_.NotifyAll();
  if (reader_.joinable()) reader_.join();
  if (writer_.joinable()) writer_.join();
  if (timings_ != nullptr) {
    timings_->read_us += busy_.read_us;
    timings_->write_us += busy_.write_us;
    timings_->flush_us += busy_.flush_us;
    timings_->wait_read_us += busy_.wait_read_us;
    timings_->wait_write_us += busy_.wait_write_us;
    timings_->blocks += busy_.blocks;
  }
}

CopyPipeline::Planned CopyPipeline::Locate(int index) {
  Planned planned;
  planned.index = index;
  planned.located = LocateEntryData(archive_, index, &planned.data);
  return planned;
}

void CopyPipeline::StartThreads() {
  blocks_.resize(kPipelineBlocks);
  for (int id = 0; id < kPipelineBlocks; ++id) {
    blocks_[id].bytes = std::make_unique<unsigned char[]>(kCopyBlockSize);
    free_.push_back(id);
  }
  started_ = true;
  reader_ = std::thread([this] { ReadLoop(); });
  writer_ = std::thread([this] { WriteLoop(); });
}

void CopyPipeline::MoveReader(size_t position) {
  readerPosition_ = position;
  ++readerMoves_;
  readerWake_.NotifyOne();
}

void CopyPipeline::DropStaleBlocks() {
  while (!ready_.empty() && blocks_[ready_.front()].position < consumerPosition_) {
    free_.push_back(ready_.front());
    ready_.pop_front();
  }
  readerWake_.NotifyOne();
}

void CopyPipeline::Begin(int index, File* file) {
  if (!started_) StartThreads();
  // Locating reads the archive's directory: on this thread, never the reader's.
  Planned unplanned;
  bool inPlan = false;
  {
    std::lock_guard<Mutex> lock(mutex_);
    for (size_t p = consumerPosition_; p < plan_.size() && !inPlan; ++p) inPlan = plan_[p].index == index;
  }
  if (!inPlan) unplanned = Locate(index);

  std::lock_guard<Mutex> lock(mutex_);
  file_ = file;
  dropWrites_ = false;
  writeFailed_ = false;
  if (!inPlan) {
    // Positions shift: everything decoded ahead is for the old plan.
    plan_.insert(plan_.begin() + static_cast<std::ptrdiff_t>(consumerPosition_), unplanned);
    for (int id : ready_) free_.push_back(id);
    ready_.clear();
    MoveReader(consumerPosition_);
    return;
  }
  while (plan_[consumerPosition_].index != index) ++consumerPosition_;
  DropStaleBlocks();
  // Entries the walk skipped need not be decoded at all.
  if (readerPosition_ < consumerPosition_) MoveReader(consumerPosition_);
}

uint32_t CopyPipeline::NextBlock(size_t* size) {
  std::unique_lock<Mutex> lock(mutex_);
  int id = -1;
  while (id < 0) {
    WaitWithKeepAlive(lock, consumerWake_, [this] { return !ready_.empty(); }, &busy_.wait_read_us);
    id = ready_.front();
    ready_.pop_front();
    if (blocks_[id].position < consumerPosition_) {
      free_.push_back(id);
      readerWake_.NotifyOne();
      id = -1;
    }
  }
  const Block& block = blocks_[id];
  const uint32_t status = block.status;
  *size = block.size;
  midEntry_ = status == kPayloadMoreData;
  if (!midEntry_) ++consumerPosition_;
  if ((status == kPayloadOk || status == kPayloadMoreData) && !dropWrites_) {
    toWrite_.push_back(id);
    writerWake_.NotifyOne();
  } else {
    free_.push_back(id);
    readerWake_.NotifyOne();
  }
  return status;
}

bool CopyPipeline::WriteFailed() {
  std::lock_guard<Mutex> lock(mutex_);
  return writeFailed_;
}

bool CopyPipeline::Finish() {
  std::unique_lock<Mutex> lock(mutex_);
  WaitWithKeepAlive(lock, consumerWake_, [this] { return toWrite_.empty() && !writing_; },
                    &busy_.wait_write_us);
  file_ = nullptr;
  return !writeFailed_;
}

void CopyPipeline::Stop() {
  std::unique_lock<Mutex> lock(mutex_);
  dropWrites_ = true;
  for (int id : toWrite_) free_.push_back(id);
  toWrite_.clear();
  // The rest of the entry is for nobody: asked for again, it starts afresh.
  if (midEntry_) {
    midEntry_ = false;
    ++consumerPosition_;
    DropStaleBlocks();
    if (readerPosition_ < consumerPosition_) MoveReader(consumerPosition_);
  }
  readerWake_.NotifyOne();
  WaitWithKeepAlive(lock, consumerWake_, [this] { return !writing_; }, &busy_.wait_write_us);
  file_ = nullptr;
}

void CopyPipeline::WaitWithKeepAlive(std::unique_lock<Mutex>& lock, ConditionVariable& cv,
                                     const std::function<bool()>& done, int64_t* waited_us) {
  if (done()) return;
  const Clock::time_point start = Clock::now();
  while (!cv.WaitFor(lock, kKeepAliveMs, done)) {
    if (!keepAlive_) continue;
    lock.unlock();
    keepAlive_();
    lock.lock();
  }
  *waited_us += MicrosecondsBetween(start, Clock::now());
}

void CopyPipeline::ReadLoop() {
  PayloadEntryStream stream;
  bool streamOpen = false;
  size_t streamPosition = 0;
  uint64_t streamMoves = 0;
  std::unique_lock<Mutex> lock(mutex_);
  for (;;) {
    readerWake_.Wait(lock, [this] { return quit_ || (readerPosition_ < plan_.size() && !free_.empty()); });
    if (quit_) return;
    const size_t position = readerPosition_;
    const uint64_t moves = readerMoves_;
    const Planned planned = plan_[position];
    const int id = free_.back();
    free_.pop_back();
    lock.unlock();

    const Clock::time_point start = Clock::now();
    uint32_t status = kPayloadOk;
    if (!streamOpen || streamPosition != position || streamMoves != moves) {
      stream.Reset();
      status = planned.located;
      if (status == kPayloadOk) status = stream.Start(planned.data, password_);
      streamOpen = status == kPayloadOk;
      streamPosition = position;
      streamMoves = moves;
    }
    Block& block = blocks_[id];
    size_t size = 0;
    if (status == kPayloadOk) status = stream.Read(block.bytes.get(), kCopyBlockSize, &size);
    if (status != kPayloadMoreData) streamOpen = false;
    const int64_t busy = MicrosecondsBetween(start, Clock::now());

    lock.lock();
    busy_.read_us += busy;
    if (moves != readerMoves_) {  // moved meanwhile: this block is for nobody
      free_.push_back(id);
      continue;
    }
    block.size = size;
    block.status = status;
    block.position = position;
    ready_.push_back(id);
    if (status != kPayloadMoreData) ++readerPosition_;
    consumerWake_.NotifyOne();
  }
}

void CopyPipeline::WriteLoop() {
  std::unique_lock<Mutex> lock(mutex_);
  for (;;) {
    writerWake_.Wait(lock, [this] { return quit_ || !toWrite_.empty(); });
    if (quit_) return;
    const int id = toWrite_.front();
    toWrite_.pop_front();
    if (!dropWrites_) {
      writing_ = true;
      File* file = file_;
      const Block& block = blocks_[id];
      lock.unlock();
      const Clock::time_point start = Clock::now();
      const bool written = file->Write(block.bytes.get(), static_cast<int>(block.size));
      const Clock::time_point wrote = Clock::now();
      if (written) file->Flush();
      const Clock::time_point flushed = Clock::now();
      lock.lock();
      writing_ = false;
      busy_.write_us += MicrosecondsBetween(start, wrote);
      busy_.flush_us += MicrosecondsBetween(wrote, flushed);
      ++busy_.blocks;
      if (!written) {
        writeFailed_ = true;
        dropWrites_ = true;
      }
    }
    free_.push_back(id);
    readerWake_.NotifyOne();
    consumerWake_.NotifyOne();
  }
}
