// The information dialog's graphics block: vendor, renderer and versions asked
// of a rendering context made on a hidden window of our own, with every
// OpenGL function looked up at run time (a system without them shows no block).
#include <GL/gl.h>

#include <memory>

#include "kem3/controls/kemlout.h"
#include "kem3/dialogs/keminfo_win.h"
#include "platform/dc_win.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

namespace {

using TCreateContext = HGLRC(WINAPI*)(HDC);
using TDeleteContext = BOOL(WINAPI*)(HGLRC);
using TMakeCurrent = BOOL(WINAPI*)(HDC, HGLRC);
using TGetString = const GLubyte*(WINAPI*)(GLenum);

// A library loaded for the call.
class TLoadedLibrary {
 public:
  explicit TLoadedLibrary(const wchar_t* Name) : FModule(LoadLibraryW(Name)) {}
  ~TLoadedLibrary() {
    if (FModule) FreeLibrary(FModule);
  }
  TLoadedLibrary(const TLoadedLibrary&) = delete;
  TLoadedLibrary& operator=(const TLoadedLibrary&) = delete;
  template <class T>
  T Get(const char* Name) const {
    return FModule ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(FModule, Name))) : nullptr;
  }

 private:
  HMODULE FModule;
};

// A hidden window and its device context for the call.
class TProbeWindow {
 public:
  TProbeWindow()
      : FWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr),
                                nullptr)),
        FDC(FWindow ? std::make_unique<TWindowDC>(FWindow) : nullptr) {}
  ~TProbeWindow() {
    FDC.reset();  // the DC goes before its window
    if (FWindow) DestroyWindow(FWindow);
  }
  TProbeWindow(const TProbeWindow&) = delete;
  TProbeWindow& operator=(const TProbeWindow&) = delete;
  HDC DC() const { return FDC ? FDC->Handle() : nullptr; }

 private:
  HWND FWindow;
  std::unique_ptr<TWindowDC> FDC;
};

String Text(const GLubyte* Value) { return Value ? String(reinterpret_cast<const char*>(Value)) : String(); }

WideString Literal(const String& Value) { return KemLiteralText(Utf8ToWide(Value)); }

// gluGetString's name for the version.
constexpr GLenum kGluVersion = 100800;

String FirstWord(const String& Value) { return Value.substr(0, Value.find(' ')); }

}  // namespace

std::optional<TInfoEntry> OpenGLInfoEntry(const WideString& VersionText) {
  const TLoadedLibrary gl(L"opengl32.dll");
  const auto createContext = gl.Get<TCreateContext>("wglCreateContext");
  const auto deleteContext = gl.Get<TDeleteContext>("wglDeleteContext");
  const auto makeCurrent = gl.Get<TMakeCurrent>("wglMakeCurrent");
  const auto getString = gl.Get<TGetString>("glGetString");
  if (!createContext || !deleteContext || !makeCurrent || !getString) return std::nullopt;
  const TProbeWindow probe;
  if (!probe.DC()) return std::nullopt;
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 24;
  const int index = ChoosePixelFormat(probe.DC(), &format);
  if (index == 0 || !SetPixelFormat(probe.DC(), index, &format)) return std::nullopt;
  const HGLRC context = createContext(probe.DC());
  if (!context) return std::nullopt;
  std::optional<TInfoEntry> entry;
  if (makeCurrent(probe.DC(), context)) {
    entry.emplace();
    entry->Title = u"OpenGL";
    const String vendor = Text(getString(GL_VENDOR)), renderer = Text(getString(GL_RENDERER));
    entry->Lines.push_back(Literal(vendor + ", " + renderer));
    entry->Lines.push_back(u"OpenGL " + VersionText + u" " + Literal(FirstWord(Text(getString(GL_VERSION)))));
    const TLoadedLibrary glu(L"glu32.dll");
    if (const auto gluString = glu.Get<TGetString>("gluGetString")) {
      entry->Lines.push_back(u"GLU " + VersionText + u" " + Literal(FirstWord(Text(gluString(kGluVersion)))));
    }
    makeCurrent(nullptr, nullptr);
  }
  deleteContext(context);
  return entry;
}
