// Runs a dialog modally: retrieves messages until the loop is ended, offering each first to a
// filter, then to an accelerator table, then to the dialog manager, before dispatching it.
#pragma once

#include "platform/win32/native/MessageFilter.h"
#include "platform/win32/native/NativeTypes.h"

namespace native {

class ModalLoop {
 public:
  // `owner`, if any, is disabled while the loop runs. True when End ended the loop; false when the
  // process is asked to quit (the quit request is passed on) or the dialog's window is gone.
  bool Run(Handle dialog, Handle owner, Handle accelerators, MessageFilter* filter);
  void End(int result);
  bool Running() const { return running_; }
  int Result() const { return result_; }

 private:
  bool running_ = false;
  bool ended_ = false;
  int result_ = 0;
  Handle dialog_ = nullptr;
};

}  // namespace native
