// How a dialog's window is built from its template: into the program's own control objects, which
// are bound before anything is created and start each run as a new window does.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Resource.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/ControlVisitor.h"
#include "platform/Dialog.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

// Looks at each dialog when its window is created; then the user acts once and presses OK.
class WatchingBackend : public HeadlessBackend {
 public:
  WatchingBackend() { SetBackend(this); }
  ~WatchingBackend() override { SetBackend(nullptr); }
  int MessageBox(CWnd&, const std::string&, const std::string&, UINT) override { return IDOK; }
  int RunFileDialog(CFileDialog&) override { return IDCANCEL; }

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

// Names the kind that each control says it is.
class KindNames : public ControlVisitor {
 public:
  std::vector<std::string> names;
  void StaticText(CWnd&) override { names.push_back("static"); }
  void Icon(CWnd&) override { names.push_back("icon"); }
  void PushButton(CButton&) override { names.push_back("push button"); }
  void CheckBox(CButton&) override { names.push_back("check box"); }
  void Edit(CEdit&) override { names.push_back("edit"); }
  void ComboBox(CComboBox&) override { names.push_back("combo box"); }
  void ListView(CListCtrl&) override { names.push_back("list view"); }
};

TEST(Dialog, EachControlOfATemplateTellsItsKind) {
  struct {
    int templateId;
    std::vector<std::string> kinds;
  } const cases[] = {
      {IDD_MAIN, {"list view"}},
      {IDD_ABOUT, {"icon", "static", "push button"}},
      {IDD_FIELD_QUERY,
       {"static", "combo box", "static", "edit", "check box", "push button", "push button"}},
      {IDD_DUPLICATES, {"static", "combo box", "push button", "push button"}},
  };
  WatchingBackend backend;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.templateId);
    KindNames kinds;
    backend.atCreation = [&](CDialog& dialog) {
      for (CWnd* control : dialog.Children())
        control->Accept(kinds);
    };
    CDialog dialog(c.templateId);
    dialog.DoModal();
    EXPECT_EQ(kinds.names, c.kinds);
  }
}

}  // namespace
