#include "platform/posix/XdgAssociation.h"

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
  if (MakeFolders(FolderOf(path)) != 0 || ReplaceFile(path, bytes, 0644) != 0)
    return false;
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
  std::vector<std::string> own, handled;
  for (const DesktopFileType& type : types)
    own.push_back(type.mimeType);
  bool done = MirrorMimePackage(types, &mimeChanged);
  done = MirrorIcon(types) && done;
  done = MirrorDesktopEntry(types, withIcon, &handled, &entryChanged) && done;
  if (!configHome_.empty())
    done = MirrorDefaults(own, handled) && done;
  if (refresh_ && mimeChanged)
    RunQuietly({"update-mime-database", dataHome_ + "/mime"});
  if (refresh_ && entryChanged)
    RefreshApplications();
  RemoveEmptyFolders(FolderOf(DesktopEntryPath()), dataHome_);
  return done;
}

void XdgAssociation::RefreshApplications() const {
  const std::string folder = FolderOf(DesktopEntryPath());
  RunQuietly({"update-desktop-database", folder});
  // The cache of a folder that holds no entry says nothing, and goes with the last entry.
  const std::string cache = folder + "/mimeinfo.cache";
  std::string text;
  if (ReadWholeFile(cache, &text) == 0 && (text == "[MIME Cache]\n" || text.empty()))
    unlink(cache.c_str());
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
    if (png.empty())
      RemoveEmptyFolders(FolderOf(IconPath(size)), dataHome_);
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
  const ProgramIdentity& names = GetProgramIdentity();
  const char* icon = withIcon ? names.iconName : "";
  if (handled->empty() || !DesktopEntryText(names.displayName, program, icon, *handled, &text)) {
    handled->clear();
    return Remove(DesktopEntryPath(), changed);
  }
  return Put(DesktopEntryPath(), text, changed);
}

bool XdgAssociation::MirrorDefaults(const std::vector<std::string>& own,
                                    const std::vector<std::string>& handled) const {
  // A file that cannot be read is never written over: what it holds would be lost.
  std::string text;
  int error = ReadWholeFile(MimeAppsPath(), &text);
  if (error != 0 && error != ENOENT)
    return false;
  std::string updated =
      UpdateDefaultApplications(text, own, handled, GetProgramIdentity().desktopEntry);
  if (updated == text)
    return true;
  bool changed = false;
  if (updated.empty() && LinkedFile(MimeAppsPath()) == MimeAppsPath())
    return Remove(MimeAppsPath(), &changed);
  return Put(MimeAppsPath(), updated, &changed);
}
