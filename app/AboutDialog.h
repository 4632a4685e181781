// The About box.
#pragma once

#include "platform/Dialog.h"

class AboutDialog : public CDialog {
 public:
  AboutDialog();
};
