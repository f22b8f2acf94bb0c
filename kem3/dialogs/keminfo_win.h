// TdInformation: the modal information dialog. A list of sections on the left
// (general, library) and one page per section on the right, each a layout of
// framed blocks of mark-up: the program's entry and the system's on the
// general page, the component library's and the registered libraries' on the
// library page.
#pragma once
#include <array>
#include <optional>

#include "kem3/controls/kemform_win.h"
#include "kem3/dialogs/keminfo.h"

class TKemButton;
class TKemLayout;
class TKemNote;
class TKemNotebook;
class TKemPanelList;
class TScrollBox;

// The section list's icon size: 16 on screens up to 640 pixels wide, 48 above 1280.
extern int InfoIconSize;

class TdInformation : public TKemForm {
 public:
  explicit TdInformation(TComponent* AOwner);
  ~TdInformation() override;

  bool ShowSystem = true;
  bool ShowOpenGL = true;
  bool ShowLibrary = true;

  TKemPanelList* plInfo = nullptr;
  TKemNotebook* nb = nullptr;
  TKemButton* btClose = nullptr;
  // The five sections' pages, indexed by TInfoSection - 1: each a scroll box
  // (its bar follows the thumb as it is dragged; the arrow, page, Home and
  // End keys scroll it) holding the layout of its text.
  std::array<TScrollBox*, 5> Boxes{};
  std::array<TKemLayout*, 5> Layouts{};

  TInfoSection CurrentSection() const { return FCurrent; }
  // Shows the section's page when the list holds it.
  void SelectSection(TInfoSection Section);
  // Scrolls the current page by Delta pixels (positive: further down the text).
  void ScrollPage(int Delta);

 private:
  void FormShow();
  void FormLanguageChange();
  void FormResize();
  void FormKeyDown(std::uint16_t& Key, TShiftState Shift);
  void plInfoClick();
  void plInfoCustomDrawBack(int Index, TCanvas* Canvas, const TRect& Rect, bool& Drawn);
  void AddFramePictures(TKemLayout& Layout);
  void AddInfoBlock(TKemLayout& Layout, const TInfoEntry& Entry);
  void PlaceLayouts();

  std::vector<TInfoSection> FSections;
  TInfoSection FCurrent = isNone;
  std::array<TKemNote*, 5> FPages{};
};

// The dialog of the process while it shows, else nullptr.
extern TdInformation* dInformation;

// Shows the dialog modally with the three switches; ResourceName names the
// form layout, which is built in code here.
void ShowInformation(bool ShowSystem, bool ShowOpenGL, bool ShowLibrary, const String& ResourceName);

// The graphics block, made on a rendering context of a window of our own;
// nothing when the OpenGL libraries or a context are not to be had.
std::optional<TInfoEntry> OpenGLInfoEntry(const WideString& VersionText);
