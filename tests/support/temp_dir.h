// A fresh folder for one test, removed with everything in it afterwards.
#pragma once
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ =
        std::filesystem::temp_directory_path() / (Prefix() + std::to_string(stamp) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    // A program a test started may still be ending, and Windows keeps a file
    // it holds (its own image, its working folder) until it has: try again a while.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
      std::error_code ec;
      std::filesystem::remove_all(path_, ec);
      if (!std::filesystem::exists(path_, ec)) return;
      if (std::chrono::steady_clock::now() > deadline) {
        const std::lock_guard<std::mutex> hold(UnremovedLock());
        Unremoved().push_back(path_);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A file name inside the folder as UTF-8 text, the form the program's calls take.
  std::string file(const std::string& name) const {
    auto u8 = (path_ / std::filesystem::u8path(name)).u8string();
    return std::string(u8.begin(), u8.end());
  }

  // The folders this process made that are still there. Only its own: a
  // folder an earlier run left under a process id used again is not this run's.
  static std::vector<std::filesystem::path> Left() {
    const std::lock_guard<std::mutex> hold(UnremovedLock());
    std::vector<std::filesystem::path> left;
    std::error_code ec;
    for (const auto& folder : Unremoved()) {
      std::filesystem::remove_all(folder, ec);  // its holder may have ended since
      if (std::filesystem::exists(folder, ec)) left.push_back(folder);
    }
    return left;
  }

 private:
  static std::string Prefix() {
#ifdef _WIN32
    const int id = _getpid();
#else
    const int id = static_cast<int>(getpid());
#endif
    return "orv_test_" + std::to_string(id) + "_";
  }

  static std::vector<std::filesystem::path>& Unremoved() {
    static std::vector<std::filesystem::path> folders;
    return folders;
  }
  static std::mutex& UnremovedLock() {
    static std::mutex lock;
    return lock;
  }

  std::filesystem::path path_;
};
