#include "platform/posix/XdgAssociation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/IconBitmap.h"
#include "platform/PngWriter.h"
#include "platform/ProgramIdentity.h"
#include "platform/posix/DesktopEntry.h"
#include "platform/posix/DurableFile.h"
#include "platform/posix/MimeAppsList.h"
#include "platform/posix/MimePackage.h"
#include "platform/posix/QuietCommand.h"
#include "platform/posix/XdgDirs.h"

namespace {

// Puts the bytes in place unless the file holds them already. Readers other than the user may
// need these files (a package is built from them), so a new file is readable by all, and a
// replaced one keeps its mode.
bool Put(const std::string& path, const std::string& bytes, bool* changed) {
  std::string old;
  if (ReadWholeFile(path, &old) == 0 && old == bytes)
    return true;
  size_t slash = path.rfind('/');
  std::string folder = path.substr(0, slash), name = path.substr(slash + 1);
  struct stat before;
  mode_t mode = stat(path.c_str(), &before) == 0 ? before.st_mode & 07777 : 0644;
  if (MakeFolders(folder) != 0 || ReplaceFile(folder, name, bytes) != 0)
    return false;
  chmod(path.c_str(), mode);
  *changed = true;
  return true;
}

bool Remove(const std::string& path, bool* changed) {
  if (unlink(path.c_str()) == 0) {
    *changed = true;
    return true;
  }
  return errno == ENOENT;
}

}  // namespace

XdgAssociation::XdgAssociation(std::string dataHome, std::string configHome, bool refresh)
    : dataHome_(std::move(dataHome)), configHome_(std::move(configHome)), refresh_(refresh) {}

XdgAssociation XdgAssociation::ForUser() {
  return XdgAssociation(XdgDataHome(), XdgConfigHome(), true);
}

std::string XdgAssociation::DesktopEntryPath() const {
  return dataHome_ + "/applications/" + GetProgramIdentity().desktopEntry;
}

std::string XdgAssociation::MimePackagePath() const {
  return dataHome_ + "/mime/packages/" + GetProgramIdentity().mimePackage;
}

std::string XdgAssociation::IconPath(int size) const {
  std::string pixels = std::to_string(size);
  return dataHome_ + "/icons/hicolor/" + pixels + "x" + pixels + "/apps/" +
         GetProgramIdentity().iconName + ".png";
}

std::string XdgAssociation::MimeAppsPath() const {
  return configHome_ + "/mimeapps.list";
}

bool XdgAssociation::Mirror(const std::vector<DesktopFileType>& types) const {
  // Files without the program's names would be no one's.
  const ProgramIdentity& names = GetProgramIdentity();
  if (dataHome_.empty() || !*names.desktopEntry || !*names.iconName || !*names.mimePackage)
    return false;
  bool mimeChanged = false, entryChanged = false, withIcon = false;
  for (const DesktopFileType& type : types)
    withIcon = withIcon || type.icon;
  std::vector<std::string> handled;
  bool done = MirrorMimePackage(types, &mimeChanged);
  done = MirrorIcon(types) && done;
  done = MirrorDesktopEntry(types, withIcon, &handled, &entryChanged) && done;
  if (!configHome_.empty())
    done = MirrorDefaults(handled) && done;
  if (refresh_ && mimeChanged)
    RunQuietly({"update-mime-database", dataHome_ + "/mime"});
  if (refresh_ && entryChanged)
    RunQuietly({"update-desktop-database", dataHome_ + "/applications"});
  return done;
}

bool XdgAssociation::MirrorMimePackage(const std::vector<DesktopFileType>& types,
                                       bool* changed) const {
  if (types.empty())
    return Remove(MimePackagePath(), changed);
  return Put(MimePackagePath(), MimePackageText(types, GetProgramIdentity().iconName), changed);
}

bool XdgAssociation::MirrorIcon(const std::vector<DesktopFileType>& types) const {
  const Icon* icon = nullptr;
  for (const DesktopFileType& type : types)
    icon = icon ? icon : type.icon;
  bool done = true, changed = false;
  for (int size : kIconSizes) {
    std::string png = EncodePng(RenderIconBitmap(icon, size));
    done = (png.empty() ? Remove(IconPath(size), &changed) : Put(IconPath(size), png, &changed)) &&
           done;
  }
  return done;
}

bool XdgAssociation::MirrorDesktopEntry(const std::vector<DesktopFileType>& types, bool withIcon,
                                        std::vector<std::string>* handled, bool* changed) const {
  std::string program;
  for (const DesktopFileType& type : types) {
    if (program.empty())
      program = type.program;
    if (!program.empty() && type.program == program)
      handled->push_back(type.mimeType);
  }
  std::string text;
  const char* icon = withIcon ? GetProgramIdentity().iconName : "";
  if (handled->empty() || !DesktopEntryText(program, icon, *handled, &text)) {
    handled->clear();
    return Remove(DesktopEntryPath(), changed);
  }
  return Put(DesktopEntryPath(), text, changed);
}

bool XdgAssociation::MirrorDefaults(const std::vector<std::string>& handled) const {
  std::string text;
  int error = ReadWholeFile(MimeAppsPath(), &text);
  if (error == ENOENT && handled.empty())
    return true;
  if (error != 0 && error != ENOENT)
    return false;
  std::string updated = UpdateDefaultApplications(text, handled, GetProgramIdentity().desktopEntry);
  if (updated == text)
    return true;
  bool changed = false;
  return Put(MimeAppsPath(), updated, &changed);
}
