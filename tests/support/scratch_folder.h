// A scratch folder for tests, removed with everything in it when the test
// ends. Portable (both flavours' tests use it).
#pragma once

#include <atomic>
#include <filesystem>
#include <random>
#include <string>

namespace test_support {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("velmora-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace test_support
