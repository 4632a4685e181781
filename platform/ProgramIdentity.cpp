#include "platform/ProgramIdentity.h"

namespace {
// Plain pointers, so that the names can be handed in while static objects are made.
constinit ProgramIdentity identity;
}  // namespace

void SetProgramIdentity(const ProgramIdentity& names) {
  identity = names;
}

const ProgramIdentity& GetProgramIdentity() {
  return identity;
}
