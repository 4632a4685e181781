// The registry file reader on any file contents, for either root. Whatever it accepts must survive
// a write and a re-read unchanged: the same keys, values and names, and the same text again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/RegistryNode.h"
#include "platform/posix/RegistryText.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "registry_text: %s\n", what);
  std::abort();
}

void RoundTrip(std::string_view text, RegistryRoot root) {
  RegistryNode read;
  if (!ParseRegistryText(text, root, &read))
    return;
  std::string written = FormatRegistryText(root, read);
  RegistryNode reread;
  Require(ParseRegistryText(written, root, &reread), "the written text reads");
  Require(reread == read, "the same keys come back");
  Require(FormatRegistryText(root, reread) == written, "the same text comes back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  RoundTrip(text, RegistryRoot::CurrentUser);
  RoundTrip(text, RegistryRoot::ClassesRoot);
  return 0;
}
