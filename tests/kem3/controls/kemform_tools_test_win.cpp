// The form base's toolbars on real windows: the action pictures loaded by
// their names, a toolbar built from a comma list (and again, shorter) with
// its pictures on the screen; the wheel under the pointer; forwarded hints.
#include <gtest/gtest.h>

#include <map>

#include "kem3/controls/kemform_win.h"
#include "kem3/framework/kemactinfo.h"
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
  // Never active: Wine lets it go at once then.
  void ShowQuietly() {
    ShowWindow(Handle(), SW_SHOWNA);
    UpdateWindow(Handle());
  }
};

class TProbeMenuItem : public TKemFormMenuItem {
 public:
  using TKemFormMenuItem::TKemFormMenuItem;
  void Draw(TCanvas* C, TOwnerDrawState State) { AdvancedDrawItem(C, Rect(0, 0, 120, 20), State, false); }
};

}  // namespace

TEST(KemFormToolsWin, ToolbarFromIdsWithTheActionPictures) {
  TAppScope App;
  FreeActionInfos();
  RegisterActionInfos(100000, 5, {100000, "New",  "", -1, "", 100001, "Align",   "", 0,  "",
                                  100002, "Bold", "", -2, "", 100003, "Missing", "", -1, ""});
  RegisterActionInfos(500, 5, {500, "Left", "", -3, ""});
  std::map<String, HMODULE> Asked;
  const std::map<String, TColor> Colors{{"TOOL_HCL_100000", 0x0000C0},
                                        {"TOOL_HCL_100001", 0x00C000},
                                        {"TOOL_HCL_100002", 0xC00000},
                                        {"TOOL_HCL_500", 0x00C0C0}};
  SetToolBitmapLoader([&](HMODULE Module, const String& Name, TBitmap& B) {
    Asked[Name] = Module;
    if (!Colors.count(Name)) throw EResNotFound(Name);
    B.SetSize(16, 16);
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) B.SetPixelColor(X, Y, X < 2 ? clFuchsia : Colors.at(Name));
  });
  TImageList Images(nullptr);
  LoadActionImages(Images, clFuchsia, true);
  SetToolBitmapLoader(nullptr);
  EXPECT_EQ(Asked.size(), 5u);
  EXPECT_EQ(Asked["TOOL_HCL_100000"], LoadResourceLibrary()) << "the library's group";
  EXPECT_EQ(Asked["TOOL_HCL_500"], GetModuleHandleW(nullptr)) << "the program's group";
  EXPECT_EQ(Images.Count(), 4);
  EXPECT_EQ(FindActionInfo(100003)->ImageIndex, -1) << "a missing picture is skipped";

  auto* Form = NewForm<TToolForm>(Application);
  TKemAction* New = Form->AddAction(100000, -1, -1, scNone);
  TKemAction* Bold = Form->AddAction(100002, -1, -1, scNone);
  auto* Bar = new TToolBar(Form);
  Bar->SetParent(Form);
  Bar->SetImages(&Images);
  auto* Menu = new TPopupMenu(Form);
  // Pictures 16 wide: plain and check buttons 23, drop-down 37, separators 8.
  const std::tuple<TToolButtonStyle, int, int, int, TBasicAction*> Want[] = {{tbsButton, 0, 0, 23, New},
                                                                             {tbsSeparator, -1, 23, 8, nullptr},
                                                                             {tbsDropDown, 1, 31, 37, nullptr},
                                                                             {tbsCheck, 2, 68, 23, Bold},
                                                                             {tbsCheck, 3, 91, 23, nullptr}};
  EXPECT_EQ(Form->BuildToolbar("100000,-,100001,100002,500", Bar, {Menu}), 114);
  ASSERT_EQ(Bar->ButtonCount(), 5);
  for (int I = 0; I < 5; ++I) {
    TToolButton* B = Bar->Buttons(I);
    EXPECT_EQ(std::make_tuple(B->Style(), B->ImageIndex(), B->Left(), B->Width(), B->Action()), Want[I]) << I;
  }
  EXPECT_EQ(Bar->Buttons(2)->DropdownMenu(), Menu);
  Bold->SetChecked(true);
  EXPECT_TRUE(Bar->Buttons(3)->Down()) << "a check button shows its action's state";
  EXPECT_TRUE(Bar->Buttons(4)->Grouped());
  // The picture on the screen, its mask colour letting the toolbar's face through.
  Form->ShowQuietly();
  HDC DC = GetDC(Bar->Handle());
  const int Top = (Bar->Buttons(0)->Height() - 16) / 2;
  EXPECT_EQ(GetPixel(DC, 3 + 8, Top + 8), 0x0000C0u);
  EXPECT_EQ(GetPixel(DC, 3, Top + 8), ColorToRGB(clBtnFace));
  ReleaseDC(Bar->Handle(), DC);
  // Built again from fewer tokens: the first buttons go.
  TToolButton* Last = Bar->Buttons(4);
  EXPECT_EQ(Form->BuildToolbar("500", Bar, {}), 23);
  EXPECT_EQ(Bar->ButtonCount(), 1);
  EXPECT_EQ(Bar->Buttons(0), Last);
  FreeActionInfos();
}

TEST(KemFormToolsWin, WheelUnderThePointerAndForwardedHints) {
  TAppScope App;
  auto* Form = NewForm<TToolForm>(Application);
  auto* Focused = new TCustomControl(Form);
  auto* Under = new TCustomControl(Form);
  std::vector<TObject*> Wheeled;
  for (TCustomControl* C : {Focused, Under}) {
    C->SetParent(Form);
    C->SetBounds(C == Under ? 150 : 0, 0, 100, 80);
    C->OnMouseWheel = [&](TObject* Sender, TShiftState, int, TPoint, bool& Handled) {
      Wheeled.push_back(Sender);
      Handled = true;
    };
  }
  Form->ShowQuietly();
  Form->SetActiveControl(Focused);
  const TPoint P = Under->ClientToScreen({50, 40});
  for (bool Ex : {false, true}) {
    Form->SetMouseWheelEx(Ex);
    SendMessageW(Focused->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), PointToLParam(P.X, P.Y));
  }
  EXPECT_EQ(Wheeled, (std::vector<TObject*>{Focused, Under}));

  // A menu entry drawn selected makes its long hint the menu's.
  TBitmap Picture;
  Picture.SetSize(120, 20);
  TProbeMenuItem Open(nullptr), Save(nullptr);
  Open.SetHint(u"Open|Opens a file");
  Save.SetHint(u"Saves");
  Open.Draw(Picture.Canvas(), {odSelected});
  Save.Draw(Picture.Canvas(), {});
  EXPECT_EQ(MenuHint(), u"Opens a file");
  // The form hears it while it is the application's hint; else the hint of
  // the control under the pointer, a disabled one too.
  std::vector<WideString> Heard;
  Form->OnHint = [&](const WideString& H) { Heard.push_back(H); };
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
  ASSERT_FALSE(Heard.empty());
  EXPECT_EQ(Heard.front(), u"Long \u0394");
  SetMenuHint(u"");
}
