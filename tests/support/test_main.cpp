// Entry of every test executable.
#include <gtest/gtest.h>

#include <cstdio>
#ifdef _WIN32
#include <windows.h>
#endif

#include "support/temp_dir.h"

namespace {

// Every test removes the folders it made; the run names any that stayed. It
// does not fail on them: under Wine a bar's global hooks load its kem3.dll
// into Wine's own desktop process, which keeps that folder until Wine ends.
class NoFoldersLeft : public testing::Environment {
 public:
  void TearDown() override {
    for (const auto& folder : TempDir::Left()) std::fprintf(stderr, "left behind: %s\n", folder.string().c_str());
  }
};

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // A crashing test must fail the run, not wait for someone to close a dialog.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
#endif
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new NoFoldersLeft);
  return RUN_ALL_TESTS();
}
