// A dialog built from a template, run modally, with data exchange between its controls and the
// object's fields.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Wnd.h"

class CDialog;

class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, bool save, bool bindingPass = false)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(save), binding(bindingPass) {}
  CDialog* m_pDlgWnd;
  bool m_bSaveAndValidate;
  // The pass before the dialog's window exists: only DDX_Control acts, naming the program's own
  // control objects, so that the window's controls are built into them.
  bool binding;
  int m_idLastControl = 0;
  bool failed = false;
};

class CDialog : public CWnd {
 public:
  explicit CDialog(int templateId, CWnd* parent = nullptr);

  // Runs the dialog: IDOK or IDCANCEL as ended, or -1 when it cannot be shown.
  virtual int DoModal();
  void EndDialog(int result);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  BOOL DestroyWindow() override;

  // Passes one message through pre-translation and on to its window, as the modal loop does.
  void PumpMessage(MSG& msg);
  // Only the pre-translation: the message's window and the windows it lies in, up to its
  // top-level one; true when one of them took the message.
  BOOL PreTranslateInput(MSG& msg);

  bool IsRunning() const { return running_; }
  bool HasEnded() const { return ended_; }
  int TemplateId() const { return templateId_; }
  const DialogTemplate* Template() const;

  // Makes `object` the control `id` of the windows that this dialog creates from now on.
  void BindControl(int id, CWnd& object);

 protected:
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
  virtual void OnOK();
  virtual void OnCancel();

  BOOL PreTranslateMessage(MSG* msg) override;
  bool OnCmdMsg(UINT id, int code) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  DECLARE_MESSAGE_MAP()

 private:
  void BindControls();
  void CreateFromTemplate(const DialogTemplate& source);
  RECT ToPixels(int x, int y, int cx, int cy) const;
  void CentreOver(const CWnd* owner);
  void SendDialogKey(int id);

  int templateId_;
  CWnd* requestedParent_;
  bool running_ = false;
  bool ended_ = false;
  int result_ = IDCANCEL;
  // Control ids and the program's objects that the template's controls are built into.
  std::vector<std::pair<int, CWnd*>> bound_;
};

// Data exchange helpers.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Check(CDataExchange* pDX, int id, int& value);
// The text in every form of bytes that shows what the user typed (CWnd::GetWindowTextForms); the
// first form is the window text, and going in only that is shown.
void DDX_Text(CDataExchange* pDX, int id, std::vector<std::string>& forms);
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars);
