// The button roles and the language lookups a button's caption goes through.
#include "kem3/controls/kembut_roles.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemlantext.h"

TEST(ButtonRoles, EachRoleGivesItsActionResultAndKeys) {
  struct Row {
    TActionType type;
    int id;
    TModalResult result;
    bool def, cancel;
    const char* name;
  };
  const Row rows[] = {
      {atOk, 0, mrOk, true, false, "Button_Ok"},
      {atCancel, 1, mrCancel, false, true, "Button_Cancel"},
      {atApply, 2, mrNone, false, false, "Button_Apply"},
      {atYes, 3, mrYes, true, false, "Button_Yes"},
      {atNo, 4, mrNo, false, true, "Button_No"},
      {atYesAll, 3, mrYesToAll, true, false, "Button_YesAll"},
      {atNoAll, 4, mrNoToAll, false, true, "Button_NoAll"},
      {atClose, 5, mrOk, true, true, "Button_Close"},
      {atSetup, 6, mrNone, false, false, "Button_Setup"},
      {atOptions, 7, mrNone, false, false, "Button_Options"},
      {atPrint, 8, mrOk, false, false, "Button_Print"},
      {atNext, 9, mrNone, true, false, "Button_Next"},
      {atAccept, 10, mrNone, true, false, "Button_Accept"},
      {atReject, 11, mrNone, false, true, "Button_Reject"},
      {atBrowse, 12, mrNone, false, false, "Button_Browse"},
      {atFinish, 13, mrNone, false, false, "Button_Finish"},
      {atAdd, 14, mrNone, false, false, "Button_Add"},
      {atRemove, 15, mrNone, false, false, "Button_Remove"},
  };
  for (const Row& row : rows) {
    const TActionTypeRole& role = ActionTypeRole(row.type);
    SCOPED_TRACE(row.name);
    EXPECT_EQ(role.ActionId, row.id);
    EXPECT_FALSE(role.KeepsState);
    EXPECT_EQ(role.ModalResult, row.result);
    EXPECT_EQ(role.Default, row.def);
    EXPECT_EQ(role.Cancel, row.cancel);
    EXPECT_EQ(ButtonTextName(row.type, "Ignored"), row.name);
  }
}

TEST(ButtonRoles, NoneAndCustomTakeTheirTextFromLanId) {
  EXPECT_EQ(ActionTypeRole(atNone).ActionId, -1);
  EXPECT_FALSE(ActionTypeRole(atNone).Default);
  EXPECT_TRUE(ActionTypeRole(atCustom).KeepsState);
  EXPECT_EQ(ButtonTextName(atNone, "Help"), "Button_Help");
  EXPECT_EQ(ButtonTextName(atCustom, "Import"), "Button_Import");
  EXPECT_EQ(ButtonTextName(atCustom, ""), "Button_");
}

TEST(LanguageText, WithoutALanguageNamesAreNotFoundAndTextsAreTheirDefaults) {
  SetLanguageTextHooks({});
  EXPECT_EQ(LanguageTextIndex("Button_Ok"), -2);
  EXPECT_EQ(LanguageText(5, u"Default"), u"Default");
}

TEST(LanguageText, TheLanguageManagersLookupsAnswerOnceInPlace) {
  TLanguageTextHooks hooks;
  hooks.Text = [](int Index, const WideString& Default) { return Index == 7 ? WideString(u"OK") : Default; };
  hooks.FindIndex = [](const String& Name) { return Name == "Button_Ok" ? 7 : -1; };
  SetLanguageTextHooks(hooks);
  EXPECT_EQ(LanguageTextIndex("Button_Ok"), 7);
  EXPECT_EQ(LanguageTextIndex("Button_Nope"), -1);
  EXPECT_EQ(LanguageText(7, u"x"), u"OK");
  EXPECT_EQ(LanguageText(8, u"x"), u"x");
  SetLanguageTextHooks({});
  EXPECT_EQ(LanguageTextIndex("Button_Ok"), -2);
}
