// Reads the #include lines of the source folders and finds a loop between the
// folders, so that every include between them keeps running one way.
#pragma once
#include <filesystem>
#include <string>

struct IncludeOrder {
  int files = 0;     // source files read
  int includes = 0;  // includes that cross from one folder into another
  // Empty when the folders include each other one way only; otherwise the
  // folders of the loop and, last, the include (file:line) that closes it.
  std::string loop;
};

// The folder a source path belongs to: launcher, platform, hooklib, or one of
// kem3's folders (kem3/controls…); files at kem3's root count as "kem3".
std::string SourceFolderOf(const std::string& path);

IncludeOrder CheckIncludeOrder(const std::filesystem::path& root);
