// A single-line edit box whose length limit counts the bytes the program receives, not the
// characters on screen.
#pragma once

#include <QLineEdit>
#include <functional>
#include <string>

class EditControl : public QLineEdit {
 public:
  explicit EditControl(QWidget* parent);

  // The most bytes the text may hold; 0 or less means no limit.
  void SetByteLimit(int limit);
  int ByteLimit() const { return byteLimit_; }
  // Shows the platform's text, telling no one.
  void ShowText(const std::string& bytes);

  // Called with the new text as bytes whenever the user changes it.
  std::function<void(const std::string& bytes)> typed;

 private:
  void UserEdited(const QString& text);

  int byteLimit_ = 0;
};
