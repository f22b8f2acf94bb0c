// The program's own file and the process-wide settings file object.
#include "kem3/framework/kemexe.h"

#include <memory>

#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/sysutils.h"

// The system's answer, from kemexe_win.cpp or kemexe_posix.cpp.
String SystemProgramFileName();

namespace {

struct TExeState {
  String OverrideName;  // the test seam's name, "" for the system's
  bool DirKnown = false;
  String Dir;
  bool BaseKnown = false;
  String Base;
  std::unique_ptr<TIniFile> Ini;
  bool IniWasMissing = false;
};

TExeState& State() {
  static TExeState state;
  return state;
}

}  // namespace

namespace {

String CurrentProgramFileName() {
  const TExeState& state = State();
  if (!state.OverrideName.empty()) return state.OverrideName;
  return SystemProgramFileName();
}

}  // namespace

String ProgramFileName() { return CurrentProgramFileName(); }

void SetProgramFileName(const String& FileName) {
  FreeIniFile();
  State().OverrideName = FileName;
}

String GetExeDir() {
  TExeState& state = State();
  if (!state.DirKnown) {
    state.Dir = ExtractFilePath(CurrentProgramFileName());
    state.DirKnown = true;
  }
  return state.Dir;
}

String GetExeBaseName() {
  TExeState& state = State();
  if (!state.BaseKnown) {
    String name = ExtractFileName(CurrentProgramFileName());
    const size_t dot = name.find('.');
    if (dot != String::npos) name.resize(dot);
    state.Base = name;
    state.BaseKnown = true;
  }
  return state.Base;
}

TIniFile* GetIniFile() {
  TExeState& state = State();
  if (!state.Ini) {
    const String fileName = GetExeDir() + GetExeBaseName() + ".ini";
    const bool missing = !FileExists(fileName);
    state.Ini = std::make_unique<TIniFile>(fileName);
    state.IniWasMissing = missing;
  }
  return state.Ini.get();
}

bool IniFileWasMissing() { return State().IniWasMissing; }

void FreeIniFile() {
  TExeState& state = State();
  // Cleared before the object goes, so nothing reaches a half-destroyed file.
  std::unique_ptr<TIniFile> doomed = std::move(state.Ini);
  state.IniWasMissing = false;
  state.DirKnown = false;
  state.Dir.clear();
  state.BaseKnown = false;
  state.Base.clear();
  doomed.reset();
}
