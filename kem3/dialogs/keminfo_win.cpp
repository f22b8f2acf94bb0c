// The information dialog: its controls built in code, the section list and
// its drawing, the pages' blocks, Alt+digit keys and scrolling by the wheel,
// the scroll bar and the keys.
#include "kem3/dialogs/keminfo_win.h"

#include <algorithm>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemlout.h"
#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemutil_win.h"
#include "kem3/graphics/kemicons.h"
#include "kem3/pictures/kemimage_win.h"
#include "platform/application_win.h"
#include "platform/screen_win.h"
#include "platform/scrollbox_win.h"
#include "platform/unicode_convert.h"

int InfoIconSize = 32;
TdInformation* dInformation = nullptr;

namespace {

constexpr int kFormWidth = 620, kFormHeight = 460;
constexpr int kListWidth = 105, kListSpace = 12, kMargin = 8;
constexpr int kWheelStep = 24;
constexpr TColor kListColour = static_cast<TColor>(0xE0E0E0);
constexpr TColor kPageColour = clWhite;
constexpr TColor kCaptionColour = static_cast<TColor>(0x845747);
constexpr TColor kCurrentText = clBlack;
constexpr TColor kLineColour = static_cast<TColor>(0x909090);

struct TSectionInfo {
  const char* Value;     // the list entry's value
  const char* Icon;      // its icon in the resource library
  const char* TextName;  // its caption's language text
  const char16_t* Default;
};
constexpr TSectionInfo kSections[] = {
    {"GENERAL", "INFOGENERAL", "TdInformation_General", u"General"},
    {"LIBRARY", "INFOLIBRARY", "TdInformation_Library", u"Library"},
    {"MODULES", "INFOMODULES", "TdInformation_Modules", u"Modules"},
    {"PLUGINS", "INFOPLUGINS", "TdInformation_Plugins", u"Plug-ins"},
    {"DEVICES", "INFODEVICES", "TdInformation_Devices", u"Devices"},
};

const TSectionInfo& Info(TInfoSection Section) { return kSections[Section - 1]; }

WideString VersionText() { return Translate("TdInformation_Version", u"Version"); }

// A bitmap of one colour with the given pixels set to Corner.
std::unique_ptr<TBitmap> FramePicture(int W, int H, TColor Fill, TColor Corner,
                                      std::initializer_list<std::pair<int, int>> Cut) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(W, H);
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) bitmap->SetPixelColor(x, y, Fill);
  }
  for (const auto& [x, y] : Cut) bitmap->SetPixelColor(x, y, Corner);
  return bitmap;
}

// The section icon from the resource library at InfoIconSize, on the list colour.
TBitmap* SectionIcon(const char* Name, std::vector<std::unique_ptr<TBitmap>>& Owned) {
  static TKemIcons* icons = nullptr;
  if (!icons) {
    icons = new TKemIcons;  // kept for the process: the module's groups do not change
    if (HMODULE module = LoadResourceLibrary()) icons->LoadFromModule(module);
  }
  TKemIconGroup* group = icons->FindGroup(Name);
  TKemIconImage* image = group ? group->BestImage(InfoIconSize, IsHighColor() ? 32 : 4) : nullptr;
  if (!image) return nullptr;
  auto colour = std::make_unique<TBitmap>();
  colour->SetPixelFormat(pf32bit);
  colour->SetSize(InfoIconSize, InfoIconSize);
  TBitmap mask;
  try {
    image->Draw(*colour, mask, true, true);
  } catch (const Exception&) {
    return nullptr;
  }
  colour->SetAlphaFormat(afDefined);
  Owned.push_back(std::move(colour));
  return Owned.back().get();
}

// A page's scroll box that the keys scroll as well: the arrows by a wheel
// notch, Page Up and Down by its height less a notch, Home and End to the ends.
class TInfoPageBox : public TScrollBox {
 public:
  using TScrollBox::TScrollBox;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = DLGC_WANTARROWS;
      return;
    }
    if (Message.Msg == WM_KEYDOWN && Scroll(static_cast<unsigned>(Message.WParam))) {
      Message.Result = 0;
      return;
    }
    TScrollBox::WndProc(Message);
  }

 private:
  bool Scroll(unsigned Key) {
    const int page = std::max(ClientHeight() - kWheelStep, kWheelStep);
    switch (Key) {
      case VK_UP:
        SetVertPosition(VertPosition() - kWheelStep);
        return true;
      case VK_DOWN:
        SetVertPosition(VertPosition() + kWheelStep);
        return true;
      case VK_PRIOR:
        SetVertPosition(VertPosition() - page);
        return true;
      case VK_NEXT:
        SetVertPosition(VertPosition() + page);
        return true;
      case VK_HOME:
        SetVertPosition(0);
        return true;
      case VK_END:
        SetVertPosition(VertRange());
        return true;
      default:
        return false;
    }
  }
};

std::vector<TInfoLanguage> InstalledLanguages() {
  std::vector<TInfoLanguage> languages;
  for (int i = 0; i < LanguageCount(); ++i) {
    languages.push_back(
        {LanguageCode(i), LanguageDisplayName(i), LanguageCredits(i), LanguageFontName(i, 0), LanguageFontSize(i, 0)});
  }
  return languages;
}

}  // namespace

TdInformation::TdInformation(TComponent* AOwner) : TKemForm(AOwner) {
  SetName("dInformation");
  SetFormName("TdInformation");
  SetBorderStyle(bsDialog);
  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  Font()->SetName("Tahoma");
  Font()->SetSize(8);
  SetClientSize(kFormWidth, kFormHeight);

  const int screenWidth = Screen->Width();
  InfoIconSize = screenWidth <= 640 ? 16 : screenWidth > 1280 ? 48 : 32;

  plInfo = new TKemPanelList(this);
  plInfo->SetName("plInfo");
  plInfo->SetParent(this);
  plInfo->SetStyle(plsListview);
  plInfo->SetColor(kListColour);
  plInfo->SetColorHot(clWhite);
  // A selected entry's body is light too.
  plInfo->SetColorTextSel(kCurrentText);
  plInfo->SetOptions(TKemPanelListOptions{ploDisableKeyboard, ploNoFocusRect, ploListviewScrollVert,
                                          ploListviewArrangeVert, ploClearSelection, ploBitmapOwner});
  plInfo->SetItemWidth(kListWidth - 2 * kMargin);
  plInfo->SetSpaceTop(kMargin);
  plInfo->SetSpaceLeft(kMargin);
  plInfo->SetSpaceRight(kMargin);
  plInfo->OnClick = [this](TObject*) { plInfoClick(); };
  plInfo->OnCustomDrawBack = [this](TObject*, int Index, TCanvas* Canvas, const TRect& Rect, bool& Drawn) {
    plInfoCustomDrawBack(Index, Canvas, Rect, Drawn);
  };

  nb = new TKemNotebook(this);
  nb->SetName("nb");
  nb->SetParent(this);
  nb->SetPages({"Empty", "General", "Library", "Modules", "Plug-ins", "Devices"});
  static const char* const kLayoutNames[] = {"lGeneral", "lLibrary", "lModules", "lPlugins", "lDevices"};
  static const char* const kBoxNames[] = {"sbGeneral", "sbLibrary", "sbModules", "sbPlugins", "sbDevices"};
  for (int i = 0; i < 5; ++i) {
    FPages[i] = nb->GetPage(i + 1);
    FPages[i]->SetColor(kPageColour);
    TScrollBox* box = new TInfoPageBox(this);
    box->SetName(kBoxNames[i]);
    box->SetParent(FPages[i]);
    box->SetBorderStyle(bsNone);
    box->SetColor(kPageColour);
    box->SetTabStop(true);
    Boxes[i] = box;
    TKemLayout* layout = new TKemLayout(this);
    layout->SetName(kLayoutNames[i]);
    layout->SetParent(box);
    layout->SetColor(kPageColour);
    layout->OnLink = [](TObject*, TKemTextLink* Link) {
      if (Link) OpenUrl(Link->Target);
    };
    layout->OnMouseWheelDown = [this](TObject*, TShiftState, TPoint, bool& Handled) {
      ScrollPage(kWheelStep);
      Handled = true;
    };
    layout->OnMouseWheelUp = [this](TObject*, TShiftState, TPoint, bool& Handled) {
      ScrollPage(-kWheelStep);
      Handled = true;
    };
    Layouts[i] = layout;
  }
  nb->SetPageIndex(0);

  btClose = new TKemButton(this);
  btClose->SetName("btClose");
  btClose->SetParent(this);
  btClose->SetActionType(atClose);
  btClose->SetDefault(true);
  btClose->SetCancel(true);
  btClose->SetModalResult(mrOk);

  OnShow = [this](TObject*) { FormShow(); };
  OnLanguageChange = [this](TObject*) { FormLanguageChange(); };
  OnResize = [this](TObject*) { FormResize(); };
  OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
  OnMouseWheelDown = [this](TObject*, TShiftState, TPoint, bool& Handled) {
    ScrollPage(kWheelStep);
    Handled = true;
  };
  OnMouseWheelUp = [this](TObject*, TShiftState, TPoint, bool& Handled) {
    ScrollPage(-kWheelStep);
    Handled = true;
  };
  SetMessageHandler(WM_GETMINMAXINFO, [this](TMessage& Message) {
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    info->ptMinTrackSize = {Width() - ClientWidth() + kFormWidth, Height() - ClientHeight() + kFormHeight};
    Message.Result = 0;
  });
  FormResize();
}

TdInformation::~TdInformation() = default;

void TdInformation::FormShow() {
  // 1. The sections.
  FSections = InfoSections(!LibraryInfos().empty(), ShowLibrary);
  plInfo->Clear();
  for (TInfoSection section : FSections) {
    std::vector<std::unique_ptr<TBitmap>> owned;
    TBitmap* icon = SectionIcon(Info(section).Icon, owned);
    plInfo->AddItem(Utf8ToWide(Info(section).Value), Variant(String(Info(section).Value)), icon, nullptr,
                    icon != nullptr);
    for (auto& bitmap : owned) bitmap.release();  // the list owns its bitmaps now
  }
  // 2. Names in the language, the first section.
  UpdateLanguage();
  // 3. Text styles, shared by every layout of the process (the first of a name stays).
  if (!FindTextStyle("infocaption")) {
    AddTextStyle("infocaption", "verdana", 8, clWhite, kaLeft, TRect{})->AddTab(-4);
    AddTextStyle("infotext", "tahoma", 8, clWhite, kaLeft, TRect{})->AddTabs({20, -4});
    AddTextStyle("infolink", "tahoma", 8, static_cast<TColor>(0xFFE0E0), kaLeft, TRect{})->AddTabs({-10, -4});
    AddTextStyle("infoline", "tahoma", 1, clWhite, kaLeft, TRect{})->AddTab(-4);
  }
  // 4, 5. The frame pictures on every page; the logo on the library's.
  for (TKemLayout* layout : Layouts) {
    layout->Clear(true);
    AddFramePictures(*layout);
  }
  Layouts[isLibrary - 1]->AddPicture(CreateResourceBitmap("KEM3LOGO", ResourceLibraryModule()));
  // 6. The blocks.
  TKemLayout& general = *Layouts[isGeneral - 1];
  AddInfoBlock(general, ProgramInfo());
  if (ShowSystem)
    AddInfoBlock(general, SystemInfoEntry(GetWindowsVersionInfo(), VersionText(), GetDataAccessVersion()));
  if (ShowOpenGL) {
    if (const std::optional<TInfoEntry> gl = OpenGLInfoEntry(VersionText())) AddInfoBlock(general, *gl);
  }
  TKemLayout& library = *Layouts[isLibrary - 1];
  if (ShowLibrary)
    AddInfoBlock(library, LibraryInfoEntry(hlGetVersion(), hlGetTitle(), hlGetCopyright(), VersionText()));
  for (const TInfoEntry& entry : LibraryInfos()) AddInfoBlock(library, entry);
  SelectSection(isGeneral);
  FormResize();
}

void TdInformation::AddFramePictures(TKemLayout& Layout) {
  const TColor c = kPageColour;
  Layout.AddPicture(FramePicture(10, 25, kCaptionColour, c, {{0, 0}, {0, 1}, {1, 0}, {0, 2}, {2, 0}}));
  Layout.AddPicture(FramePicture(10, 25, kCaptionColour, c, {{9, 0}, {9, 1}, {8, 0}, {9, 2}, {7, 0}}));
  Layout.AddPicture(FramePicture(5, 5, kLineColour, c, {{0, 4}, {0, 3}, {1, 4}, {0, 2}, {2, 4}}));
  Layout.AddPicture(FramePicture(5, 5, kLineColour, c, {{4, 4}, {4, 3}, {3, 4}, {4, 2}, {2, 4}}));
  Layout.AddPicture(FramePicture(1, 8, kLineColour, c, {}));
  Layout.AddPicture(FramePicture(5, 5, kLineColour, c, {}));
  Layout.AddPicture(FramePicture(1, 5, c, c, {}));
}

void TdInformation::AddInfoBlock(TKemLayout& Layout, const TInfoEntry& Entry) {
  const std::vector<WideString> paragraphs =
      InfoBlockParagraphs(Entry, Layout.GetParagraphCount() > 0,
                          Translate("TdInformation_Translations", u"Translations"), InstalledLanguages());
  for (const WideString& paragraph : paragraphs) Layout.AddParagraph(paragraph);
}

void TdInformation::FormLanguageChange() {
  for (int i = 0; i < plInfo->Count(); ++i) {
    const TSectionInfo& info = Info(FSections[static_cast<std::size_t>(i)]);
    plInfo->Items(i)->SetCaption(Translate(info.TextName, info.Default));
  }
  plInfo->Rebuild();
}

void TdInformation::PlaceLayouts() {
  for (std::size_t i = 0; i < Layouts.size(); ++i) {
    TKemLayout* layout = Layouts[i];
    TScrollBox* box = Boxes[i];
    // A hidden page may not have followed the notebook's size yet.
    FPages[i]->SetBounds(0, 0, nb->ClientWidth(), nb->ClientHeight());
    box->SetBounds(0, 0, FPages[i]->ClientWidth(), FPages[i]->ClientHeight());
    // The text keeps the bar's room whether the bar shows or not, so its
    // lines do not break anew as the bar comes and goes.
    const int width = std::max(box->Width() - GetSystemMetrics(SM_CXVSCROLL), 1);
    const int top = -box->VertPosition();
    layout->SetBounds(0, top, width, layout->Height());
    layout->SetBounds(0, top, width, std::max(layout->CalcLayoutHeight(), 1));
  }
}

void TdInformation::FormResize() {
  const int w = ClientWidth(), h = ClientHeight();
  const int buttonWidth = 75, buttonHeight = 23;
  plInfo->SetBounds(0, 0, kListWidth, h);
  nb->SetBounds(kListWidth + kListSpace, kMargin, w - kListWidth - kListSpace - kMargin,
                h - 3 * kMargin - buttonHeight);
  btClose->SetBounds(w - kMargin - buttonWidth, h - kMargin - buttonHeight, buttonWidth, buttonHeight);
  PlaceLayouts();
}

void TdInformation::SelectSection(TInfoSection Section) {
  if (Section == isNone || std::find(FSections.begin(), FSections.end(), Section) == FSections.end()) return;
  FCurrent = Section;
  // The current section's entry is marked by its darker band around the
  // picture; its name stands below that band on the light body, so it keeps
  // the list's dark text (white there could not be read). The list draws the
  // texts itself, after the background.
  for (int i = 0; i < plInfo->Count() && i < static_cast<int>(FSections.size()); ++i) {
    plInfo->Items(i)->TextColor = FSections[static_cast<std::size_t>(i)] == Section ? kCurrentText : clNone;
  }
  nb->SetPageIndex(Section);
  if (Boxes[Section - 1]->HandleAllocated() && Visible()) Boxes[Section - 1]->SetFocus();
  plInfo->Invalidate();
}

void TdInformation::ScrollPage(int Delta) {
  if (FCurrent == isNone) return;
  TScrollBox* box = Boxes[FCurrent - 1];
  box->SetVertPosition(box->VertPosition() + Delta);
}

void TdInformation::FormKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Shift != TShiftState{ssAlt}) return;
  const TInfoSection section = InfoSectionOfKey(FSections, static_cast<char16_t>(Key));
  if (section == isNone) return;
  plInfo->ClickItem(static_cast<int>(std::find(FSections.begin(), FSections.end(), section) - FSections.begin()));
  Key = 0;
}

void TdInformation::plInfoClick() {
  const int index = plInfo->ItemIndex();
  if (index < 0 || index >= static_cast<int>(FSections.size())) return;
  const TInfoSection section = FSections[static_cast<std::size_t>(index)];
  if (section != FCurrent) SelectSection(section);
}

void TdInformation::plInfoCustomDrawBack(int Index, TCanvas* Canvas, const TRect& Rect, bool& Drawn) {
  Drawn = true;
  const auto fill = [&](const TRect& R, TColor C) {
    Canvas->Brush()->SetColor(C);
    Canvas->FillRect(R);
  };
  fill(Rect, kListColour);
  TRect item{Rect.Left + 2, Rect.Top + 3, Rect.Right - 2, Rect.Bottom - 1};
  const bool selected = Index == plInfo->ItemIndex();
  const bool current =
      Index < static_cast<int>(FSections.size()) && FSections[static_cast<std::size_t>(Index)] == FCurrent;
  TColor band = static_cast<TColor>(0xC0C0C0), line = static_cast<TColor>(0xC0C0C0),
         body = static_cast<TColor>(0xC0C0C0);
  if (selected) {
    band = static_cast<TColor>(0xB78A7A), line = kCaptionColour, body = static_cast<TColor>(0xDBC4BC);
  } else if (current) {
    band = static_cast<TColor>(0xA0A0A0), line = static_cast<TColor>(0x787878), body = static_cast<TColor>(0xC0C0C0);
  }
  const int bandBottom = std::min(item.Top + InfoIconSize + 8, item.Bottom);
  fill(TRect{item.Left, item.Top, item.Right, bandBottom}, band);
  fill(TRect{item.Left, bandBottom, item.Right, std::min(bandBottom + 1, item.Bottom)}, line);
  fill(TRect{item.Left, std::min(bandBottom + 1, item.Bottom), item.Right, item.Bottom}, body);
  // The corners rounded by 3-pixel cuts.
  for (int i = 0; i < 3; ++i) {
    const int len = 3 - i;
    fill(TRect{item.Left, item.Top + i, item.Left + len, item.Top + i + 1}, kListColour);
    fill(TRect{item.Right - len, item.Top + i, item.Right, item.Top + i + 1}, kListColour);
    fill(TRect{item.Left, item.Bottom - 1 - i, item.Left + len, item.Bottom - i}, kListColour);
    fill(TRect{item.Right - len, item.Bottom - 1 - i, item.Right, item.Bottom - i}, kListColour);
  }
}

void ShowInformation(bool ShowSystem, bool ShowOpenGL, bool ShowLibrary, const String& /*ResourceName*/) {
  // Freed with Free, so its destruction runs as a form's should, also when showing fails.
  struct TFreeDialog {
    void operator()(TdInformation* Form) const {
      dInformation = nullptr;
      Form->Free();
    }
  };
  const std::unique_ptr<TdInformation, TFreeDialog> dialog(NewForm<TdInformation>(Application));
  dInformation = dialog.get();
  dialog->ShowSystem = ShowSystem;
  dialog->ShowOpenGL = ShowOpenGL;
  dialog->ShowLibrary = ShowLibrary;
  dialog->ShowModal();
}
