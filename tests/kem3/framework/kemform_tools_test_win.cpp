// The form base's toolbars on real windows: the action pictures loaded by
// their names, a toolbar built from a comma list and built again shorter,
// its buttons painting their pictures; the wheel under the pointer; the hint
// a form forwards.
#include <gtest/gtest.h>

#include <map>

#include "kem3/framework/kemactinfo.h"
#include "kem3/framework/kemform_win.h"
#include "platform/app_scope_win.h"
#include "platform/imglist.h"
#include "platform/menus_win.h"
#include "platform/toolbar_win.h"

namespace {

class TToolForm : public TKemForm {
 public:
  explicit TToolForm(TComponent* AOwner) : TKemForm(AOwner, TCreateNew{}) {
    SetBorderStyle(bsNone);
    SetBounds(40, 40, 300, 80);
  }
  // Shown without ever being active: Wine lets it go at once then.
  void ShowQuietly() {
    ShowWindow(Handle(), SW_SHOWNA);
    UpdateWindow(Handle());
  }
};

struct TLoaderScope {
  explicit TLoaderScope(TToolBitmapLoader L) { SetToolBitmapLoader(std::move(L)); }
  ~TLoaderScope() {
    SetToolBitmapLoader(nullptr);
    FreeActionInfos();
  }
};

}  // namespace

TEST(KemFormToolsWin, ToolbarFromIdsWithTheActionPictures) {
  TAppScope App;
  // clang-format off
  RegisterActionInfos(100000, 5, {100000, "New", "", -1, "",
                                  100001, "Align", "", 0, "",
                                  100002, "Bold", "", -2, "",
                                  100003, "Missing", "", -1, ""});
  RegisterActionInfos(500, 5, {500, "Left", "", -3, ""});
  // clang-format on
  std::map<String, HMODULE> Asked;
  const std::map<String, TColor> Colors{{"TOOL_HCL_100000", 0x0000C0},
                                        {"TOOL_HCL_100001", 0x00C000},
                                        {"TOOL_HCL_100002", 0xC00000},
                                        {"TOOL_HCL_500", 0x00C0C0}};
  TLoaderScope Loader([&](HMODULE Module, const String& Name, TBitmap& B) {
    Asked[Name] = Module;
    auto C = Colors.find(Name);
    if (C == Colors.end()) throw EResNotFound(Name);
    B.SetPixelFormat(pf24bit);
    B.SetSize(16, 16);
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) B.SetPixelColor(X, Y, X < 2 ? clFuchsia : C->second);
  });
  TImageList Images(nullptr);
  LoadActionImages(Images, clFuchsia, true);
  ASSERT_EQ(Asked.size(), 5u);
  EXPECT_EQ(Asked["TOOL_HCL_100000"], LoadResourceLibrary()) << "the library's group";
  EXPECT_EQ(Asked["TOOL_HCL_500"], GetModuleHandleW(nullptr)) << "the program's group";
  EXPECT_EQ(Images.Count(), 4);
  EXPECT_EQ(FindActionInfo(100003)->ImageIndex, -1) << "a missing picture is skipped";
  EXPECT_EQ(FindActionInfo(500)->ImageIndex, 3);

  auto* Form = NewForm<TToolForm>(Application);
  Form->AddAction(100000, -1, -1, scNone);
  TKemAction* Bold = Form->AddAction(100002, -1, -1, scNone);
  auto* Bar = new TToolBar(Form);
  Bar->SetParent(Form);
  Bar->SetImages(&Images);
  auto* Menu = new TPopupMenu(Form);
  struct TWant {
    TToolButtonStyle Style;
    int Image, Left, Width;
    TBasicAction* Action;
  };
  // Pictures 16 wide: plain and check buttons 23, drop-down 37, separators 8.
  const TWant Want[] = {{tbsButton, 0, 0, 23, Form->FindAction(100000)},
                        {tbsSeparator, -1, 23, 8, nullptr},
                        {tbsDropDown, 1, 31, 37, nullptr},
                        {tbsCheck, 2, 68, 23, Bold},
                        {tbsCheck, 3, 91, 23, nullptr}};
  EXPECT_EQ(Form->BuildToolbar("100000,-,100001,100002,500", Bar, {Menu}), 114);
  EXPECT_EQ(Bar->Width(), 114);
  ASSERT_EQ(Bar->ButtonCount(), 5);
  for (int I = 0; I < 5; ++I) {
    TToolButton* B = Bar->Buttons(I);
    SCOPED_TRACE(I);
    EXPECT_EQ(B->Style(), Want[I].Style);
    EXPECT_EQ(B->ImageIndex(), Want[I].Image);
    EXPECT_EQ(B->Left(), Want[I].Left);
    EXPECT_EQ(B->Width(), Want[I].Width);
    EXPECT_EQ(B->Action(), Want[I].Action);
  }
  EXPECT_EQ(Bar->Buttons(2)->DropdownMenu(), Menu);
  EXPECT_TRUE(Bar->Buttons(4)->Grouped());

  // The picture, its mask colour letting the toolbar's face through.
  Form->ShowQuietly();
  HDC DC = GetDC(Bar->Handle());
  const TRect Plain = Bar->Buttons(0)->BoundsRect();
  const int Top = Plain.Top + (Plain.Height() - 16) / 2, Left = Plain.Left + (Plain.Width() - 16) / 2;
  EXPECT_EQ(GetPixel(DC, Left + 8, Top + 8), 0x0000C0u);
  EXPECT_EQ(GetPixel(DC, Left, Top + 8), ColorToRGB(clBtnFace));
  ReleaseDC(Bar->Handle(), DC);

  // Built again from fewer tokens: the first buttons go.
  TToolButton* Last = Bar->Buttons(4);
  EXPECT_EQ(Form->BuildToolbar("500", Bar, {}), 23);
  ASSERT_EQ(Bar->ButtonCount(), 1);
  EXPECT_EQ(Bar->Buttons(0), Last);
  EXPECT_EQ(Bar->Buttons(0)->ImageIndex(), 3);
}

TEST(KemFormToolsWin, WheelUnderThePointerAndTheForwardedHint) {
  TAppScope App;
  auto* Form = NewForm<TToolForm>(Application);
  auto* Focused = new TCustomControl(Form);
  auto* Under = new TCustomControl(Form);
  for (TCustomControl* C : {Focused, Under}) C->SetParent(Form);
  Focused->SetBounds(0, 0, 100, 80);
  Under->SetBounds(150, 0, 100, 80);
  Form->ShowQuietly();
  Form->SetActiveControl(Focused);
  std::vector<TObject*> Wheeled;
  for (TCustomControl* C : {Focused, Under})
    C->OnMouseWheel = [&](TObject* Sender, TShiftState, int, TPoint, bool& Handled) {
      Wheeled.push_back(Sender);
      Handled = true;
    };
  const TPoint P = Under->ClientToScreen({50, 40});
  for (bool Ex : {false, true}) {
    Form->SetMouseWheelEx(Ex);
    SendMessageW(Focused->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), PointToLParam(P.X, P.Y));
  }
  EXPECT_EQ(Wheeled, (std::vector<TObject*>{Focused, Under}));

  // The menu entry drawn selected last gives its long hint; otherwise the
  // control under the pointer does (disabled too). Each change is heard once.
  std::vector<WideString> Heard;
  Form->OnHint = [&](const WideString& H) { Heard.push_back(H); };
  SetMenuHint(u"Opens a file");
  Application->SetHint(u"Opens a file");
  Form->UpdateActions();
  ASSERT_FALSE(Heard.empty());
  EXPECT_EQ(Heard.front(), u"Opens a file");
  Under->SetHint(u"Short|Long \u0394");
  Under->SetEnabled(false);
  SetCursorPos(P.X, P.Y);
  Heard.clear();
  Application->SetHint(u"other");
  Form->UpdateActions();
  Form->UpdateActions();
  ASSERT_FALSE(Heard.empty());
  EXPECT_EQ(Heard.front(), u"Long \u0394");
  EXPECT_LE(Heard.size(), 2u);
  SetMenuHint(u"");
}
