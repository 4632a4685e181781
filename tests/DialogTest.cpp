// How a dialog's window is built from its template: into the program's own control objects, which
// are bound before anything is created and start each run as a new window does.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/Resource.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Dialog.h"

namespace {

// Looks at each dialog when its window is created; then the user acts once and presses OK.
class WatchingBackend : public QuietBackend {
 public:
  std::function<void(CDialog&)> atCreation;
  std::function<void()> user;

 protected:
  bool CanShow(CDialog& dialog) override {
    if (atCreation)
      atCreation(dialog);
    return true;
  }
  bool NextMessage(CDialog& dialog, MSG& msg) override {
    if (user)
      user();
    msg = MSG{&dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
              reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDOK)), false};
    return true;
  }
};

// A dialog on the field chooser's template that binds two of its controls and exchanges one.
class ChooserDialog : public CDialog {
 public:
  ChooserDialog() : CDialog(IDD_FIELD_QUERY) {}

  CComboBox field;
  CButton exact;
  int checked = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_FIELD, field);
    DDX_Control(pDX, IDC_EXACT, exact);
    DDX_Check(pDX, IDC_EXACT, checked);
  }
};

TEST(Dialog, BuildsItsControlsIntoTheBoundObjectsAsNewWindows) {
  WatchingBackend backend;
  ChooserDialog dialog;
  std::vector<std::string> seen;
  backend.atCreation = [&](CDialog&) {
    bool bound = dialog.GetDlgItem(IDC_FIELD) == &dialog.field &&
                 dialog.GetDlgItem(IDC_EXACT) == &dialog.exact;
    seen.push_back(std::string(bound ? "bound" : "not bound") + ", " +
                   std::to_string(dialog.field.GetCount()) + " entries, check " +
                   std::to_string(dialog.exact.GetCheck()));
  };
  // The objects keep what the user left in them after their window is gone.
  backend.user = [&] {
    dialog.field.AddString("city");
    dialog.exact.Click();
  };
  std::vector<int> checkedAfter;
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(dialog.DoModal(), IDOK);
    checkedAfter.push_back(dialog.checked);
  }
  EXPECT_EQ(seen, std::vector<std::string>(2, "bound, 0 entries, check 0"));
  // The second run opens with the check set from the field, so the click clears it.
  EXPECT_EQ(checkedAfter, (std::vector<int>{1, 0}));
}

}  // namespace
