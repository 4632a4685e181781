// The path on the command line: one leading and one trailing double quote come off, nothing
// else, and a path that cannot be read is reported once.
#include <gtest/gtest.h>

#include "TestFiles.h"

namespace {

TEST(Startup, CommandLinePathQuotesAndBlanks) {
  TempDir dir;
  dir.Write("with blank.qdx", "a;b\n1;2\n");
  dir.Write("plain.qdx", "a;b\n1;2\n");
  const std::vector<std::string> loadsWeird = {"title Loading...", "title we\"ird.qdx"};
  const std::vector<std::string> loadsBlank = {"title Loading...", "title with blank.qdx"};
  const std::vector<std::string> loadsPlain = {"title Loading...", "title plain.qdx"};
#if defined(_WIN32)
  // Windows file names hold no double quote, and lose trailing blanks when a file is opened.
  const bool quotesInNames = false;
  const std::vector<std::string> trailingBlank = {"title Loading...", "title plain.qdx "};
#else
  const bool quotesInNames = true;
  dir.Write("we\"ird.qdx", "a;b\n1;2\n");
#endif
  const std::vector<std::string> fails = {"box Error: Failed to open file."};
  const std::vector<std::string> nothing = {};
  struct Case {
    const char* what;
    std::string tail;
    const std::vector<std::string>& events;
  };
  std::vector<Case> cases = {
    {"no arguments", "", nothing},
    {"quoted path with a blank", "\"with blank.qdx\"", loadsBlank},
    {"unquoted path with a blank is one path", "with blank.qdx", loadsBlank},
    {"blanks before the path are skipped", "   plain.qdx", loadsPlain},
    {"only a leading quote", "\"plain.qdx", loadsPlain},
    {"only a trailing quote", "plain.qdx\"", loadsPlain},
    // The closing quote is not the last character, so it stays, and so does the blank.
    {"quoted path followed by a blank", "\"plain.qdx\" ", fails},
#if defined(_WIN32)
    {"trailing blank of an unquoted path is kept", "plain.qdx ", trailingBlank},
#else
    {"trailing blank of an unquoted path is kept", "plain.qdx ", fails},
#endif
    {"two paths are one path", "plain.qdx plain.qdx", fails},
    {"a lone double quote leaves no path", "\"", nothing},
    {"two double quotes leave no path", "\"\"", nothing},
  };
  if (quotesInNames) {
    cases.push_back({"a quote inside the path stays", "we\"ird.qdx", loadsWeird});
    cases.push_back({"a quote inside a quoted path stays", "\"we\"ird.qdx\"", loadsWeird});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Later messages of the modal loop must not load the path again.
    ScriptOutput run = RunScript(dir, "start " + c.tail + "\nsyscommand 16\ndump\nselect none\n");
    ASSERT_EQ(run.status, 0) << run.err;
    Transcript t = ReadTranscript(run.out);
    std::vector<std::string> expected = c.events;
    expected.push_back("about");
    EXPECT_EQ(t.events, expected);
    ASSERT_EQ(t.dumps.size(), 1u);
    if (&c.events == &nothing || &c.events == &fails) {
      EXPECT_EQ(t.dumps[0].window, "Lintaro 1.2 by Quorvel");
      EXPECT_EQ(t.dumps[0].columns, "0:");
    } else {
      EXPECT_EQ(t.dumps[0].columns, "2: a;b");
      EXPECT_EQ(t.dumps[0].rows, std::vector<std::string>{"1;2"});
    }
  }
}

}  // namespace
