// One call for each kind of control, chosen by the control itself: its class and its style tell
// which it is, as the window class and style do in a template. A backend makes its peers this way.
#pragma once

class CWnd;
class CButton;
class CEdit;
class CComboBox;
class CListCtrl;

class ControlVisitor {
 public:
  virtual ~ControlVisitor() = default;

  virtual void StaticText(CWnd& control) = 0;
  virtual void Icon(CWnd& control) = 0;
  virtual void PushButton(CButton& control) = 0;
  virtual void CheckBox(CButton& control) = 0;
  virtual void Edit(CEdit& control) = 0;
  // An edit box of several lines (ES_MULTILINE).
  virtual void MultiLineEdit(CEdit& control) = 0;
  virtual void ComboBox(CComboBox& control) = 0;
  virtual void ListView(CListCtrl& control) = 0;
};
