#include "platform/Backend.h"

#include <cstdlib>

namespace {
Backend* current = nullptr;
}  // namespace

Backend& CurrentBackend() {
  // Every window operation needs a backend; running without one is a programming error.
  if (!current)
    std::abort();
  return *current;
}

void SetBackend(Backend* backend) {
  current = backend;
}
