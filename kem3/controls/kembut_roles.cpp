// The table of button roles.
#include "kem3/controls/kembut_roles.h"

#include <array>

namespace {

constexpr std::array<TActionTypeRole, atCustom + 1> kRoles = {{
    {-1, false, mrNone, false, false, ""},                 // atNone
    {0, false, mrOk, true, false, "Button_Ok"},            // atOk
    {1, false, mrCancel, false, true, "Button_Cancel"},    // atCancel
    {2, false, mrNone, false, false, "Button_Apply"},      // atApply
    {3, false, mrYes, true, false, "Button_Yes"},          // atYes
    {4, false, mrNo, false, true, "Button_No"},            // atNo
    {3, false, mrYesToAll, true, false, "Button_YesAll"},  // atYesAll
    {4, false, mrNoToAll, false, true, "Button_NoAll"},    // atNoAll
    {5, false, mrOk, true, true, "Button_Close"},          // atClose
    {6, false, mrNone, false, false, "Button_Setup"},      // atSetup
    {7, false, mrNone, false, false, "Button_Options"},    // atOptions
    {8, false, mrOk, false, false, "Button_Print"},        // atPrint
    {9, false, mrNone, true, false, "Button_Next"},        // atNext
    {10, false, mrNone, true, false, "Button_Accept"},     // atAccept
    {11, false, mrNone, false, true, "Button_Reject"},     // atReject
    {12, false, mrNone, false, false, "Button_Browse"},    // atBrowse
    {13, false, mrNone, false, false, "Button_Finish"},    // atFinish
    {14, false, mrNone, false, false, "Button_Add"},       // atAdd
    {15, false, mrNone, false, false, "Button_Remove"},    // atRemove
    {-1, true, mrNone, false, false, ""},                  // atCustom
}};

}  // namespace

const TActionTypeRole& ActionTypeRole(TActionType Type) {
  const auto i = static_cast<std::size_t>(Type);
  return kRoles[i < kRoles.size() ? i : 0];
}

String ButtonTextName(TActionType Type, const String& LanId) {
  const char* name = ActionTypeRole(Type).TextName;
  return *name ? String(name) : "Button_" + LanId;
}
