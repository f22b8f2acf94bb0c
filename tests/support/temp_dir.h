// A fresh folder for one test, removed with everything in it afterwards.
#pragma once
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("orv_test_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A file name inside the folder as UTF-8 text, the form the program's calls take.
  std::string file(const std::string& name) const {
    auto u8 = (path_ / std::filesystem::u8path(name)).u8string();
    return std::string(u8.begin(), u8.end());
  }

 private:
  std::filesystem::path path_;
};
