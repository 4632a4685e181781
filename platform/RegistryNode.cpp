#include "platform/RegistryNode.h"

#include <algorithm>

namespace {

unsigned char Fold(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// The first element whose name does not sort before `name`.
template <class Items>
auto LowerBound(Items& items, std::string_view name) {
  return std::lower_bound(
      items.begin(), items.end(), name,
      [](const auto& item, std::string_view n) { return CompareRegistryNames(item.name, n) < 0; });
}

// Whether `at` is the element of that name.
template <class Items, class Iterator>
bool IsAt(const Items& items, Iterator at, std::string_view name) {
  return at != items.end() && CompareRegistryNames(at->name, name) == 0;
}

}  // namespace

int CompareRegistryNames(std::string_view a, std::string_view b) {
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    unsigned char x = Fold(a[i]);
    unsigned char y = Fold(b[i]);
    if (x != y)
      return x < y ? -1 : 1;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

RegistryNode* RegistryNode::Find(const KeyPath& path) {
  RegistryNode* node = this;
  for (const std::string& step : path) {
    auto at = LowerBound(node->subkeys, step);
    if (!IsAt(node->subkeys, at, step))
      return nullptr;
    node = &*at;
  }
  return node;
}

RegistryNode& RegistryNode::Create(const KeyPath& path, bool* created) {
  *created = false;
  RegistryNode* node = this;
  for (const std::string& step : path) {
    auto at = LowerBound(node->subkeys, step);
    if (!IsAt(node->subkeys, at, step)) {
      at = node->subkeys.insert(at, RegistryNode{step, {}, {}});
      *created = true;
    }
    node = &*at;
  }
  return *node;
}

bool RegistryNode::Remove(const KeyPath& path) {
  if (path.empty())
    return false;
  RegistryNode* parent = Find(KeyPath(path.begin(), path.end() - 1));
  if (!parent)
    return false;
  auto at = LowerBound(parent->subkeys, path.back());
  if (!IsAt(parent->subkeys, at, path.back()))
    return false;
  parent->subkeys.erase(at);
  return true;
}

const RegistryValue* RegistryNode::FindValue(std::string_view valueName) const {
  auto at = LowerBound(values, valueName);
  return IsAt(values, at, valueName) ? &*at : nullptr;
}

void RegistryNode::SetValue(const RegistryValue& value) {
  auto at = LowerBound(values, value.name);
  if (!IsAt(values, at, value.name)) {
    values.insert(at, value);
    return;
  }
  at->type = value.type;
  at->data = value.data;
}

namespace {

KeyPath FullPath(const RegistryKeyRef& ref) {
  KeyPath path = ref.open;
  path.insert(path.end(), ref.below.begin(), ref.below.end());
  return path;
}

}  // namespace

LSTATUS RegistryNode::FindKey(const RegistryKeyRef& key, RegistryNode** found) {
  RegistryNode* open = Find(key.open);
  if (!open)
    return ERROR_KEY_DELETED;
  *found = open->Find(key.below);
  return *found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS RegistryNode::QueryValue(const RegistryKeyRef& key, const std::string& valueName,
                                 RegistryValue* value) {
  RegistryNode* found = nullptr;
  if (LSTATUS status = FindKey(key, &found); status != ERROR_SUCCESS)
    return status;
  const RegistryValue* stored = found->FindValue(valueName);
  if (!stored)
    return ERROR_FILE_NOT_FOUND;
  *value = *stored;
  return ERROR_SUCCESS;
}

LSTATUS RegistryNode::CreateKey(const RegistryKeyRef& key, DWORD* disposition, bool* changed) {
  RegistryNode* open = Find(key.open);
  if (!open)
    return ERROR_KEY_DELETED;
  open->Create(key.below, changed);
  *disposition = *changed ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LSTATUS RegistryNode::SetValue(const RegistryKeyRef& key, const RegistryValue& value,
                               bool* changed) {
  RegistryNode* found = nullptr;
  if (LSTATUS status = FindKey(key, &found); status != ERROR_SUCCESS)
    return status;
  // The same data again writes nothing, so saving settings that did not change takes no lock.
  const RegistryValue* stored = found->FindValue(value.name);
  *changed = !stored || stored->type != value.type || stored->data != value.data;
  found->SetValue(value);
  return ERROR_SUCCESS;
}

LSTATUS RegistryNode::DeleteKey(const RegistryKeyRef& key, bool* changed) {
  if (key.open.empty() && key.below.empty())
    return ERROR_ACCESS_DENIED;
  RegistryNode* found = nullptr;
  if (LSTATUS status = FindKey(key, &found); status != ERROR_SUCCESS)
    return status;
  if (!found->subkeys.empty())
    return ERROR_ACCESS_DENIED;
  *changed = Remove(FullPath(key));
  RemoveEmptiedAbove(key);
  return ERROR_SUCCESS;
}

LSTATUS RegistryNode::DeleteTree(const RegistryKeyRef& key, bool* changed) {
  RegistryNode* found = nullptr;
  if (LSTATUS status = FindKey(key, &found); status != ERROR_SUCCESS)
    return status;
  if (!key.below.empty()) {
    *changed = Remove(FullPath(key));
    RemoveEmptiedAbove(key);
    return ERROR_SUCCESS;
  }
  *changed = !found->values.empty() || !found->subkeys.empty();
  found->values.clear();
  found->subkeys.clear();
  return ERROR_SUCCESS;
}

void RegistryNode::RemoveEmptiedAbove(const RegistryKeyRef& key) {
  KeyPath path = FullPath(key);
  for (size_t above = key.below.size(); above > 1; --above) {
    path.pop_back();
    RegistryNode* node = Find(path);
    if (!node || !node->values.empty() || !node->subkeys.empty())
      return;
    Remove(path);
  }
}

LSTATUS RegistryNode::ListKey(const RegistryKeyRef& key, RegistryListing* listing) {
  RegistryNode* found = nullptr;
  if (LSTATUS status = FindKey(key, &found); status != ERROR_SUCCESS)
    return status;
  listing->values = found->values;
  listing->subkeys.clear();
  for (const RegistryNode& subkey : found->subkeys)
    listing->subkeys.push_back(subkey.name);
  return ERROR_SUCCESS;
}
