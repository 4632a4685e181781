// The desktop's own files that follow the file-type keys: the Exec value of awkward program
// paths, the program of a command, the user's default applications, the MIME type's comment and
// the icon's pixels. What the desktop's tools make of the files after Register and Unregister is
// tested through them, in tests/desktop/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "TestFiles.h"
#include "platform/IconBitmap.h"
#include "platform/posix/DesktopEntry.h"
#include "platform/posix/MimeAppsList.h"
#include "platform/posix/MimePackage.h"
#include "platform/posix/RegisteredFileTypes.h"

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
    bool written = DesktopEntryText(c.program, "lintaro", {"application/x-qdx"}, &text);
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

TEST(MimeAppsList, OurEntryIsTheDefaultOfOurTypesOnly) {
  const char* const ours = "lintaro.desktop";
  const struct {
    const char* what;
    const char* before;
    std::vector<std::string> types;
    const char* after;
  } cases[] = {
      {"no file",
       "",
       {"application/x-qdx"},
       "[Default Applications]\napplication/x-qdx=lintaro.desktop;\n"},
      {"other groups and lines stay",
       "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
       "text/plain=gedit.desktop\n\n[Removed Associations]\n",
       {"application/x-qdx"},
       "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
       "text/plain=gedit.desktop\napplication/x-qdx=lintaro.desktop;\n\n[Removed Associations]\n"},
      {"another choice comes second",
       "[Default Applications]\napplication/x-qdx=other.desktop\n",
       {"application/x-qdx"},
       "[Default Applications]\napplication/x-qdx=lintaro.desktop;other.desktop;\n"},
      {"a group elsewhere gets the line",
       "[Default Applications]\n[Other]\nx=lintaro.desktop\n",
       {"application/x-qdx"},
       "[Default Applications]\napplication/x-qdx=lintaro.desktop;\n[Other]\nx=lintaro.desktop\n"},
      {"removed, with the line",
       "[Default Applications]\napplication/x-qdx=lintaro.desktop;\n",
       {},
       "[Default Applications]\n"},
      {"removed, keeping the others",
       "[Default Applications]\napplication/x-qdx=lintaro.desktop;other.desktop;\n"
       "text/plain=gedit.desktop\n",
       {},
       "[Default Applications]\napplication/x-qdx=other.desktop;\ntext/plain=gedit.desktop\n"},
      {"another program's default stays",
       "[Default Applications]\napplication/x-qdx=o.desktop\n",
       {},
       "[Default Applications]\napplication/x-qdx=o.desktop\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UpdateDefaultApplications(c.before, c.types, ours), c.after) << c.what;
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
