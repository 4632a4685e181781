// The listed rows as they leave the program: cells for the clipboard as spreadsheets take them,
// the rows of a file byte for byte, and where the clipboard text stops. The commands around them
// are played as whole flows in tests/scripts.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestFiles.h"
#include "app/GoToRowDialog.h"
#include "app/Strings.h"
#include "platform/Clipboard.h"
#include "table/TableFile.h"
#include "view/RowListView.h"
#include "view/RowOperations.h"
#include "view/RowText.h"

namespace {

class Listed : public ::testing::Test {
 protected:
  void Load(const std::string& bytes) {
    list.DeleteAllItems();
    while (list.GetColumnCount() > 0)
      list.DeleteColumn(0);
    table = std::make_unique<TableFile>(kColumnTitleFormat);
    ASSERT_TRUE(table->Parse(dir.Write("f.qdx", bytes).c_str(), true));
    list.SetTable(table.get());
    for (int32_t k = 0; k < table->columnCount; ++k)
      list.InsertColumn(k, table->ColumnName(k));
    ListAllRows(list, *table);
  }
  ~Listed() override {
    list.DeleteAllItems();
    list.SetTable(nullptr);
  }

  QuietBackend backend;
  TempDir dir;
  std::unique_ptr<TableFile> table;
  RowListView list;
};

TEST_F(Listed, ACellThatASpreadsheetWouldSplitIsQuoted) {
  struct {
    const char* what;
    std::string field;
    std::string cell;
  } const cases[] = {
      {"plain", "Lund", "Lund"},
      {"empty", "", ""},
      {"a tab", "a\tb", "\"a\tb\""},
      {"quotes are doubled", "say \"hi\"", "\"say \"\"hi\"\"\""},
      {"a quote alone", "\"", "\"\"\"\""},
      {"blanks and commas need nothing", " a, b ", " a, b "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Load("k;v;w\nx;" + c.field + ";y\n");
    ClipboardText text;
    AppendListedRow(list, *table, 0, text);
    EXPECT_EQ(text.Bytes(), "x\t" + c.cell + "\ty");
  }
}

// A short row's missing cells are empty, and fields past the columns are not shown, so not copied.
TEST_F(Listed, ARowIsCopiedAsItsCellsShowIt) {
  Load("a;b;c\n1\n2;3;4;5\n");
  ClipboardText shortRow;
  AppendListedRow(list, *table, 0, shortRow);
  EXPECT_EQ(shortRow.Bytes(), "1\t\t");
  ClipboardText longRow;
  AppendListedRow(list, *table, 1, longRow);
  EXPECT_EQ(longRow.Bytes(), "2\t3\t4");
}

TEST_F(Listed, ListedRowsStopAtTheLimit) {
  Load("a;b\n1;2\n3;4\n");
  const std::string whole = "a\tb\n1\t2\n3\t4\n";
  for (size_t limit : {whole.size(), whole.size() + 1, size_t{64} << 20}) {
    ClipboardText text;
    EXPECT_TRUE(AppendListedRows(list, *table, limit, text)) << limit;
    EXPECT_EQ(text.Bytes(), whole);
  }
  for (size_t limit : {size_t{0}, whole.size() - 1, size_t{4}}) {
    ClipboardText text;
    EXPECT_FALSE(AppendListedRows(list, *table, limit, text)) << limit;
  }
}

TEST(GoToRow, ANumberAmongTheRowsIsTheOnlyAnswer) {
  struct {
    const char* text;
    long row;
  } const cases[] = {
      {"1", 1},    {"250", 250},
      {" 7 ", 7},  {"251", -1},
      {"0", -1},   {"-3", -1},
      {"", -1},    {"  ", -1},
      {"7a", -1},  {"a7", -1},
      {"+7", -1},  {"7 7", -1},
      {"3.0", -1}, {"99999999999999999999", -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseRowNumber(c.text, 250), c.row) << "'" << c.text << "'";
}

}  // namespace
