// The desktop's own files that follow the file-type keys: the Exec value of awkward program
// paths, the program of a command, the user's default applications, the MIME type's comment and
// the icon's pixels. What the desktop's tools make of the files after Register and Unregister is
// tested through them, in tests/desktop/.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

#include "TestFiles.h"
#include "platform/IconBitmap.h"
#include "platform/posix/DesktopEntry.h"
#include "platform/posix/DurableFile.h"
#include "platform/posix/MimePackage.h"
#include "platform/posix/RegisteredFileTypes.h"
#include "platform/posix/XdgAssociation.h"

namespace fs = std::filesystem;

namespace {

std::string LineStartingWith(const std::string& text, const std::string& start) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(start, 0) == 0)
      return line;
  }
  return std::string();
}

bool HaveValidator() {
  return std::system("command -v desktop-file-validate > /dev/null 2>&1") == 0;
}

// The program file's path as the Exec value must hold it: quoted when it has a reserved
// character, with '"', '`', '$' and '\' escaped inside the quotes, '%' doubled, and then the
// string escapes of every value (a backslash doubled, a line break as "\n").
TEST(DesktopEntry, ExecQuotesAndEscapesTheProgramPath) {
  const struct {
    const char* program;
    const char* exec;  // null: no entry can be written
  } cases[] = {
      {"/usr/bin/lintaro", "Exec=/usr/bin/lintaro %f"},
      {"lintaro", "Exec=lintaro %f"},
      {"/opt/My Apps/lintaro", "Exec=\"/opt/My Apps/lintaro\" %f"},
      {"/opt/a\"b/lintaro", "Exec=\"/opt/a\\\\\"b/lintaro\" %f"},
      {"/opt/a\\b/lintaro", "Exec=\"/opt/a\\\\\\\\b/lintaro\" %f"},
      {"/opt/$HOME/lintaro", "Exec=\"/opt/\\\\$HOME/lintaro\" %f"},
      {"/opt/100%/lintaro", "Exec=/opt/100%%/lintaro %f"},
      {"/opt/%f x/lintaro", "Exec=\"/opt/%%f x/lintaro\" %f"},
      {"/opt/`reboot`/lintaro", "Exec=\"/opt/\\\\`reboot\\\\`/lintaro\" %f"},
      {"/opt/a\nExec=rm -rf ~/lintaro", "Exec=\"/opt/a\\nExec=rm -rf ~/lintaro\" %f"},
      {"/opt/a\tb/lintaro", "Exec=\"/opt/a\\tb/lintaro\" %f"},
      {"/opt/x;y|z&(w)/it's/lintaro", "Exec=\"/opt/x;y|z&(w)/it's/lintaro\" %f"},
      {"/opt/~*?#<>/lintaro", "Exec=\"/opt/~*?#<>/lintaro\" %f"},
      {"/opt/Sm\xC3\xB6rg\xC3\xA5s/lintaro", "Exec=/opt/Sm\xC3\xB6rg\xC3\xA5s/lintaro %f"},
      {"/opt/Sm\xF6rg\xE5s/lintaro", nullptr},  // not UTF-8
      {"/opt/a\x01/lintaro", nullptr},
      {"/opt/a\x7F/lintaro", nullptr},
      {"bin/lintaro", nullptr},
      {"", nullptr},
  };
  bool validate = HaveValidator();
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    std::string text;
    bool written = DesktopEntryText("Lintaro", c.program, "lintaro", {"application/x-qdx"}, &text);
    ASSERT_EQ(written, c.exec != nullptr);
    if (!written)
      continue;
    EXPECT_EQ(LineStartingWith(text, "Exec="), c.exec);
    if (validate) {
      std::string path = dir.Write("lintaro.desktop", text);
      EXPECT_EQ(std::system(("desktop-file-validate " + path + " > /dev/null").c_str()), 0) << text;
    }
  }
}

// The command value that Register writes gives back the program, quotes and all.
TEST(DesktopEntry, TheProgramOfACommand) {
  const struct {
    const char* command;
    const char* program;  // empty: the command opens nothing
  } cases[] = {
      {"\"/opt/My Apps/lintaro\" %1", "/opt/My Apps/lintaro"},
      {"\"/opt/a\"b/lintaro\" %1", "/opt/a\"b/lintaro"},
      {"\"/opt/lintaro\" \"%1\"", "/opt/lintaro"},
      {"/opt/lintaro %1", "/opt/lintaro"},
      {"/opt/lintaro", ""},
      {"\"/opt/lintaro\" %1 --more", ""},
      {"/opt/lin taro %1", ""},
      {"\"/opt/lintaro %1", ""},
      {"\"\" %1", ""},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgramOfCommand(c.command), c.program) << c.command;
}

// The .qdx type as the keys define it after Register (with the program) and after Unregister
// (without).
DesktopFileType Qdx(const std::string& program) {
  return DesktopFileType{"qdx", "application/x-qdx", "Sekvential file", nullptr, program};
}

// A scratch home: the desktop's files of its user, not refreshed.
struct Home {
  TempDir dir;
  XdgAssociation files{dir.Path("data"), dir.Path("config"), false};
  std::string MimeApps() const { return files.MimeAppsPath(); }
  bool Register() const { return files.Mirror({Qdx("/usr/bin/lintaro")}); }
  bool Unregister() const { return files.Mirror({Qdx("")}); }
};

std::optional<std::string> Contents(const std::string& path) {
  std::string text;
  if (ReadWholeFile(path, &text) != 0)
    return std::nullopt;
  return text;
}

// The user's file is theirs: Register puts Lintaro first for its own type only, and Unregister
// takes exactly that away again, so each file comes back byte for byte, whatever else names
// Lintaro, whatever its groups, comments and line ends (a last line gains the end it lacked).
TEST(MimeAppsList, RegisterAndUnregisterChangeOnlyOurEntry) {
  const struct {
    const char* what;
    std::optional<std::string> before;  // none: no file
    std::string registered;
    std::optional<std::string> unregistered = std::nullopt;  // none: as before
  } cases[] = {
      {"no file", std::nullopt, "[Default Applications]\napplication/x-qdx=lintaro.desktop;\n"},
      {"others that name Lintaro, other groups and comments",
       "# my choices\n[Added Associations]\napplication/x-qdx=lintaro.desktop;o.desktop;\n"
       "text/plain=lintaro.desktop;\n\n[Default Applications]\ntext/csv=lintaro.desktop;\n"
       "# plain text in gedit\ntext/plain = gedit.desktop;lintaro.desktop\n\n"
       "[Removed Associations]\ntext/html=lintaro.desktop;\n",
       "# my choices\n[Added Associations]\napplication/x-qdx=lintaro.desktop;o.desktop;\n"
       "text/plain=lintaro.desktop;\n\n[Default Applications]\ntext/csv=lintaro.desktop;\n"
       "# plain text in gedit\ntext/plain = gedit.desktop;lintaro.desktop\n"
       "application/x-qdx=lintaro.desktop;\n\n"
       "[Removed Associations]\ntext/html=lintaro.desktop;\n"},
      {"another program's choice for our type comes second",
       "[Default Applications]\napplication/x-qdx=o.desktop\n",
       "[Default Applications]\napplication/x-qdx=lintaro.desktop;o.desktop\n"},
      {"CR LF line ends",
       "[Default Applications]\r\ntext/csv=lintaro.desktop;\r\napplication/x-qdx=o.desktop;\r\n",
       "[Default Applications]\r\ntext/csv=lintaro.desktop;\r\n"
       "application/x-qdx=lintaro.desktop;o.desktop;\r\n"},
      {"CR LF line ends, no group of defaults, no line end at the end",
       "[Added Associations]\r\ntext/plain=a.desktop;",
       "[Added Associations]\r\ntext/plain=a.desktop;\r\n\r\n[Default Applications]\r\n"
       "application/x-qdx=lintaro.desktop;\r\n",
       "[Added Associations]\r\ntext/plain=a.desktop;\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Home home;
    if (c.before)
      home.dir.Write("config/mimeapps.list", *c.before);
    ASSERT_TRUE(home.Register());
    EXPECT_EQ(Contents(home.MimeApps()), c.registered);
    ASSERT_TRUE(home.Unregister());
    EXPECT_EQ(Contents(home.MimeApps()), c.unregistered ? c.unregistered : c.before);
  }
}

// A dotfiles folder: the file is a link into another folder, and stays one; the changes reach
// its target, and no temporary file is left in either folder.
TEST(MimeAppsList, ALinkStaysALinkAndItsTargetIsChanged) {
  Home home;
  const std::string before = "[Default Applications]\ntext/csv=lintaro.desktop;\n";
  std::string target = home.dir.Write("dotfiles/mimeapps.list", before);
  fs::create_directories(home.dir.Path("config"));
  fs::create_symlink("../dotfiles/mimeapps.list", home.MimeApps());
  ASSERT_TRUE(home.Register());
  EXPECT_TRUE(fs::is_symlink(home.MimeApps()));
  EXPECT_EQ(Contents(target), before + "application/x-qdx=lintaro.desktop;\n");
  ASSERT_TRUE(home.Unregister());
  EXPECT_TRUE(fs::is_symlink(home.MimeApps()));
  EXPECT_EQ(Contents(target), before);
  for (const char* folder : {"config", "dotfiles"})
    EXPECT_EQ(std::distance(fs::directory_iterator(home.dir.Path(folder)), {}), 1) << folder;
}

// A file that cannot be read cannot be kept: it is left as it is, and Register says it failed.
// Root reads every file, so the run is another user's then.
TEST(MimeAppsList, AFileThatCannotBeReadIsLeftAlone) {
  Home home;
  const std::string path = home.dir.Write("config/mimeapps.list", "[Default Applications]\n");
  fs::create_directories(home.dir.Path("data"));
  for (const char* folder : {"", "config", "data"})
    fs::permissions(home.dir.Path(folder), fs::perms::all);
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
      _exit(2);
    _exit(home.Register() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  fs::permissions(path, fs::perms::owner_read, fs::perm_options::add);
  EXPECT_EQ(Contents(path), "[Default Applications]\n");
}

TEST(MimePackage, TheDescriptionBecomesXmlText) {
  const struct {
    const char* description;
    const char* comment;
  } cases[] = {
      {"Sekvential file", "<comment>Sekvential file</comment>"},
      {"A & B <x> \"y\"", "<comment>A &amp; B &lt;x&gt; &quot;y&quot;</comment>"},
      {"Caf\xE9", "<comment>Caf\xC3\xA9</comment>"},  // 8-bit text read as Latin-1
      {"Caf\xC3\xA9", "<comment>Caf\xC3\xA9</comment>"},
      {"a\x01\x1F"
       "b",
       "<comment>ab</comment>"},
  };
  for (const auto& c : cases) {
    DesktopFileType type{"qdx", "application/x-qdx", c.description, nullptr, ""};
    std::string text = MimePackageText({type}, "lintaro");
    EXPECT_EQ(LineStartingWith(text, "    <comment>"), std::string("    ") + c.comment)
        << c.description;
  }
}

// Two images: red and transparent over transparent and blue at 2 pixels, green at 1.
const char* const kTwo[] = {"9.", ".C"};
const char* const kOne[] = {"A"};
const char* const kShort[] = {"9", "Zx"};
const IconImage kImages[] = {{2, kTwo}, {1, kOne}};
const IconImage kDamaged[] = {{2, kShort}};
const Icon kIcon = {1, kImages};
const Icon kDamagedIcon = {2, kDamaged};

TEST(IconBitmap, ExactSizeElseTheLargestImageScaled) {
  const uint32_t red = 0xFF0000FF, blue = 0x0000FFFF, green = 0x00FF00FF, none = 0;
  const struct {
    const Icon* icon;
    int size, x, y;
    uint32_t rgba;
  } cases[] = {
      {&kIcon, 1, 0, 0, green},       {&kIcon, 2, 0, 0, red},  {&kIcon, 2, 1, 0, none},
      {&kIcon, 2, 1, 1, blue},        {&kIcon, 4, 1, 1, red},  {&kIcon, 4, 2, 1, none},
      {&kIcon, 4, 3, 3, blue},        {&kIcon, 3, 2, 2, blue}, {&kDamagedIcon, 2, 1, 0, none},
      {&kDamagedIcon, 2, 0, 1, none},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " at " << c.x << "," << c.y);
    IconBitmap bitmap = RenderIconBitmap(c.icon, c.size);
    ASSERT_EQ(bitmap.rgba.size(), static_cast<size_t>(c.size * c.size * 4));
    const uint8_t* p = &bitmap.rgba[static_cast<size_t>(c.y * c.size + c.x) * 4];
    EXPECT_EQ(uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3], c.rgba);
  }
  EXPECT_TRUE(RenderIconBitmap(nullptr, 16).rgba.empty());
}

}  // namespace
