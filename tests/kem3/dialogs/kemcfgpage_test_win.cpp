// The generated rows on a real form, from the launcher's own table: building a
// page, changing a check box, a spin edit and a unit, reading back into the
// database and the settings file; leaving without reading back; refreshing
// and relabelling open controls; row captions and value lists in a larger font.
#include "kem3/dialogs/kemcfgpage_win.h"

#include <gtest/gtest.h>

#include <map>

#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemgroup_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "kem3/dialogs/kemcfglayout.h"
#include "kem3/dialogs/kemcfgrows_win.h"
#include "kem3/framework/kemexe.h"
#include "launcher/ov3cfg.h"
#include "platform/app_scope_win.h"
#include "platform/inifile.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

class CfgPageWin : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("ov3.exe"));
    cfgInit();
    cfgTranslateHook = [this](const String& Name) {
      auto it = Texts.find(Name);
      return it == Texts.end() ? WideString() : Utf8ToWide(it->second);
    };
    DefineSettings(nullptr);
    Form = NewForm<TQuietForm>(Application);
    Form->SetBounds(0, 0, 526, 400);
    Form->SetColor(clBtnFace);
    Form->Show();
  }
  void TearDown() override {
    cfgClearPage(Form);
    cfgDone();
    SetProgramFileName("");
  }
  template <class T>
  T* Bound(int Id) {
    auto* control = dynamic_cast<T*>(cfgBoundControl(Id));
    EXPECT_NE(control, nullptr) << Id;
    return control;
  }
  // Picks a unit as the user does; the box reports the change.
  void PickUnit(int Id, int Entry) {
    auto* box = dynamic_cast<TKemUnitComboBox*>(cfgBoundUnitBox(Id));
    ASSERT_NE(box, nullptr);
    box->SetItemIndex(Entry);
    box->OnChange(box);
  }
  String OnDisk(const String& Key) const { return TIniFile(Dir.file("ov3.ini")).ReadString("Window", Key, "-"); }

  TAppScope App;
  TempDir Dir;
  TFakeTimerService Timers;
  std::map<String, String> Texts{{"144", "Auto hide"},
                                 {"AutoHide", "Hide the bar automatically"},
                                 {"AutoHideMethod", "Method"},
                                 {"AutoHideHideDelay", "Hide after"},
                                 {"AutoHideShowDelay", "Show after"},
                                 {"AutoHideStepLength", "Steps"},
                                 {"AutoHideStepSpeed", "Time per step"},
                                 {"TdPreferences_AutoHideMethods", "Slide|At once"}};
  TForm* Form = nullptr;
};

TEST_F(CfgPageWin, ChangesOnAPageLandInTheDatabase) {
  cfgRefreshValueLists();
  EXPECT_EQ(cfgBuildPage(Form, 200, 32, 1, 0, 100, 0, 0, 0), 152);
  // The frame with its check box in the caption line, sized to its caption.
  auto* check = Bound<TKemCheckbox>(ovsAutoHide);
  auto* frame = dynamic_cast<TKemGroup*>(check->Parent());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->BoundsRect(), Bounds(0, 32, 526, 144));
  EXPECT_EQ(frame->OffsetVert(), 2);
  EXPECT_EQ(check->BoundsRect(), Bounds(8, 0, check->Width(), cfgCheckHeight));
  EXPECT_LT(check->Width(), 300);
  EXPECT_EQ(check->Caption(), u"Hide the bar automatically");
  auto* method = Bound<TKemDropDownList>(ovsAutoHideMethod);
  EXPECT_EQ(method->Items()->Count(), 2);
  EXPECT_EQ(method->ItemIndex(), 0);
  auto* delay = Bound<TKemSpinEdit>(ovsAutoHideHideDelay);
  EXPECT_EQ(delay->FloatVal(), 2000);
  EXPECT_EQ(delay->BoundsRect(), Bounds(135, 44, 77, 21));

  // Reading back an untouched page changes nothing.
  const int pending = cfgTimer()->Changes();
  cfgReadPage();
  EXPECT_EQ(cfgTimer()->Changes(), pending);
  EXPECT_FALSE(cfgFindItem(ovsAutoHide)->Changed);

  // The user ticks the box, types a number and shows the delay in seconds:
  // the value and its limits follow the unit.
  check->SetChecked(true);
  Bound<TKemSpinEdit>(ovsAutoHideSteps)->SetValue(7);
  PickUnit(ovsAutoHideHideDelay, 2);
  EXPECT_DOUBLE_EQ(delay->FloatVal(), 2.0);
  EXPECT_DOUBLE_EQ(delay->MinValue(), 0.1);
  EXPECT_DOUBLE_EQ(delay->MaxValue(), 50.0);
  EXPECT_DOUBLE_EQ(delay->Increment(), 0.1);
  delay->SetFloatVal(2.5);
  cfgReadPage();
  EXPECT_EQ(cfgTimer()->Changes(), pending + 3);
  EXPECT_EQ(cfgFindItem(ovsAutoHide)->Value, Variant(true));
  EXPECT_EQ(cfgFindItem(ovsAutoHideSteps)->Value.VarType(), varInteger);
  EXPECT_EQ(cfgGetInt(ovsAutoHideSteps), 7);
  EXPECT_TRUE(cfgFindItem(ovsAutoHideHideDelay)->Changed);
  EXPECT_EQ(SettingMs(ovsAutoHideHideDelay), 2500);
  cfgWriteAll();
  GetIniFile()->UpdateFile();
  EXPECT_EQ(OnDisk("Auto hide"), "yes");
  EXPECT_EQ(OnDisk("Auto hide steps"), "7");
  EXPECT_EQ(OnDisk("Auto hide hidedelay"), "2.5");
  EXPECT_EQ(OnDisk("Auto hide hidedelay (Unit)"), "s");

  // Clearing the page frees every generated control and its binding.
  cfgClearPage(Form);
  EXPECT_EQ(Form->ControlCount(), 0);
  EXPECT_EQ(cfgBindingCount(), 0);
}

TEST_F(CfgPageWin, LeavingWithoutReadingBackKeepsTheStoredUnit) {
  cfgBuildPage(Form, 200, 32, 1, 0, 100, 0, 0, 0);
  PickUnit(ovsAutoHideShowDelay, 2);
  EXPECT_EQ(cfgFindItem(ovsAutoHideShowDelay)->DisplayUnit, 32);
  cfgClearPage(Form);  // Cancel
  const TcfgDbItem* item = cfgFindItem(ovsAutoHideShowDelay);
  EXPECT_EQ(item->DisplayUnit, unMillisecond);
  cfgWriteAll();
  GetIniFile()->UpdateFile();
  EXPECT_EQ(OnDisk("Auto hide showdelay"), "500");
  EXPECT_EQ(OnDisk("Auto hide showdelay (Unit)"), "ms");
}

TEST_F(CfgPageWin, OpenControlsFollowTheirSettingsAndTheLanguage) {
  cfgBuildPage(Form, 200, 32, 1, 0, 100, 0, 0, 0);
  std::vector<int> heard;
  const int listener = cfgAddRefreshListener([&](int Id) { heard.push_back(Id); });
  // Auto-hide switched by its hot key while the page is open.
  cfgSetValueNotify(ovsAutoHide, true);
  cfgSetValue(ovsAutoHideMethod, "1");
  cfgRefreshControls({ovsAutoHide, ovsAutoHideMethod});
  EXPECT_TRUE(Bound<TKemCheckbox>(ovsAutoHide)->Checked());
  EXPECT_EQ(Bound<TKemDropDownList>(ovsAutoHideMethod)->ItemIndex(), 1);
  EXPECT_EQ(heard, (std::vector<int>{ovsAutoHide, ovsAutoHideMethod}));
  cfgRemoveRefreshListener(listener);
  // OK then reads back what the bar already has: no change undone.
  cfgReadPage();
  EXPECT_EQ(cfgFindItem(ovsAutoHide)->Value, Variant(true));

  Texts["AutoHide"] = "Automatisch ausblenden";
  Texts["TdPreferences_AutoHideMethods"] = "Gleitend|Sofort";
  cfgRelabel();
  EXPECT_EQ(Bound<TKemCheckbox>(ovsAutoHide)->Caption(), u"Automatisch ausblenden");
  EXPECT_EQ(Bound<TKemDropDownList>(ovsAutoHideMethod)->Items()->Get(1), u"Sofort");
  EXPECT_EQ(Bound<TKemDropDownList>(ovsAutoHideMethod)->ItemIndex(), 1);
}

// A language with a larger dialog font (German: 8 pt scaled by 1.25): every
// row caption keeps the place the layout gives it, in that language and
// after a switch back.
TEST_F(CfgPageWin, RowCaptionsKeepTheirPlaceInALargerFont) {
  Form->Font()->SetSize(10);
  cfgRefreshValueLists();
  cfgBuildPage(Form, 200, 32, 1, 0, 100, 0, 0, 0);
  std::vector<TRect> places;
  for (const TcfgRow& row : cfgLayoutPage(Form->ClientWidth(), 200, 32, 1, 0, 100, 0, 0, 0).Rows)
    if (!IsRectEmpty(row.Label)) places.push_back(row.Label);
  const auto labels = [this] {
    std::vector<TKemLabel*> found;
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto* label = dynamic_cast<TKemLabel*>(Form->Components(i))) found.push_back(label);
    return found;
  };
  ASSERT_EQ(labels().size(), places.size());
  ASSERT_GE(places.size(), 5u);
  for (int size : {10, 8}) {
    Form->Font()->SetSize(size);
    cfgRelabel();
    for (size_t i = 0; i < places.size(); ++i) {
      EXPECT_EQ(labels()[i]->BoundsRect(), places[i]) << size << ": " << WideToUtf8(labels()[i]->Caption());
      EXPECT_FALSE(labels()[i]->Caption().empty());
    }
  }
}

// Value lists show their longest text whole: in German's larger font the
// Icons page's lists grow within their column.
TEST_F(CfgPageWin, ValueListsShowTheirLongestTextWithinTheirColumn) {
  Texts["TdPreferences_IconsTitles"] = "Unter den Symbolen|Nirgends|Im Hinweis";
  Texts["TdPreferences_IconStretchs"] = "Immer|Nur größere Bilder|Nie";
  Texts["TdPreferences_IconsComments"] = "Nirgends|Im Hinweis";
  Form->Font()->SetSize(10);
  cfgRefreshValueLists();
  cfgBuildPage(Form, ovgIcons, 32, 1, 0, 100, 0, 0, 0);
  for (int id : {ovsIconsStretch, ovsIconsTitle, ovsIconsComment}) {
    auto* list = Bound<TKemDropDownList>(id);
    TFontTextMeasure measure(*list->Font());
    for (int i = 0; i < list->Items()->Count(); ++i)
      EXPECT_GE(list->Width() - 21, measure.TextExtent(list->Items()->Get(i)).cx) << id << " " << i;
    EXPECT_GE(list->Width(), 131);  // never narrower than its layout
    EXPECT_LE(list->BoundsRect().Right, Form->ClientWidth());
  }
}

}  // namespace
