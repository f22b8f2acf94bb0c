// The running program's file name in the native build.
#include <unistd.h>

#include <vector>

#include "platform/types.h"

String SystemProgramFileName() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return String();
    if (static_cast<size_t>(length) < buffer.size()) return String(buffer.data(), static_cast<size_t>(length));
    buffer.resize(buffer.size() * 2);
  }
}
