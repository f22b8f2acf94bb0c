// Path routines of the common services: prefixes, relative paths and the path
// variables of stored file names.
#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemutil.h"
#include "platform/sysutils.h"

String StripPathPrefix(std::string_view path, std::string_view prefix) {
  if (path.size() >= prefix.size() && AnsiSameText(path.substr(0, prefix.size()), prefix))
    return String(path.substr(prefix.size()));
  return String(path);
}

String ExpandRelativePath(std::string_view path, std::string_view baseFolder) {
  if (path.find(":\\") != std::string_view::npos || path.find("\\\\") != std::string_view::npos) return String(path);
  return String(baseFolder) + String(path);
}

String ExpandPathVariables(std::string_view path) {
  if (path.empty() || path.front() != '%') return String(path);
  const size_t close = path.find('%', 1);
  if (close == std::string_view::npos) return String(path);
  const std::string_view name = path.substr(1, close - 1);
  std::string_view rest = path.substr(close + 1);
  if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
  String folder;
  if (SameText(name, "SystemRoot"))
    folder = GetWindowsDir() + "\\";
  else if (SameText(name, "ProgramFiles"))
    folder = GetShellFolder(51, true) + "\\";
  return folder + String(rest);
}
