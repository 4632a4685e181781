// How a cell's bytes are shown: as UTF-8 when they are valid UTF-8, as Windows-1252 otherwise. The
// list, the clipboard and a row's details all show cells by this one rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CellText.h"
#include "platform/Clipboard.h"
#include "platform/TypedText.h"

namespace {

struct ShowCase {
  const char* what;
  std::string bytes;
  CellEncoding encoding;
  std::string shown;  // UTF-8
};

const ShowCase kShowCases[] = {
    {"empty", "", CellEncoding::Ascii, ""},
    {"ascii", "Lund;34", CellEncoding::Ascii, "Lund;34"},
    {"utf-8 two bytes", "Ume\xC3\xA5", CellEncoding::Utf8, "Ume\xC3\xA5"},
    {"utf-8 three bytes", "\xE2\x82\xAC 5", CellEncoding::Utf8, "\xE2\x82\xAC 5"},
    {"utf-8 four bytes", "\xF0\x9F\x98\x80", CellEncoding::Utf8, "\xF0\x9F\x98\x80"},
    {"1252 letter", "K\xF6ln", CellEncoding::Windows1252, "K\xC3\xB6ln"},
    {"1252 euro", "\x80 5", CellEncoding::Windows1252, "\xE2\x82\xAC 5"},
    {"1252 quotes", "\x93hi\x94", CellEncoding::Windows1252, "\xE2\x80\x9Chi\xE2\x80\x9D"},
    {"1252 last high control", "\x9F", CellEncoding::Windows1252, "\xC5\xB8"},
    {"1252 undefined bytes are C1 controls", "\x81\x8D", CellEncoding::Windows1252,
     "\xC2\x81\xC2\x8D"},
    {"overlong slash", "\xC0\xAF", CellEncoding::Windows1252, "\xC3\x80\xC2\xAF"},
    {"overlong three bytes", "\xE0\x80\xAF", CellEncoding::Windows1252,
     "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},
    {"surrogate", "\xED\xA0\x80", CellEncoding::Windows1252, "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
    {"above U+10FFFF", "\xF4\x90\x80\x80", CellEncoding::Windows1252,
     "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
    {"cut sequence", "ab\xC3", CellEncoding::Windows1252, "ab\xC3\x83"},
    {"lone continuation", "\xA9 2024", CellEncoding::Windows1252, "\xC2\xA9 2024"},
    {"valid, then invalid: the whole cell is 1252", "\xC3\xA5\xE5", CellEncoding::Windows1252,
     "\xC3\x83\xC2\xA5\xC3\xA5"},
};

TEST(CellText, ACellIsUtf8WhenItsBytesAreElseWindows1252) {
  for (const ShowCase& c : kShowCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(EncodingOfCell(c.bytes), c.encoding);
    std::string shown = "<";
    AppendCellUtf8(shown, c.bytes);
    EXPECT_EQ(shown, "<" + c.shown);
    // The same characters for a window system that speaks UTF-16.
    EXPECT_EQ(Utf16ToUtf8(CellUtf16(c.bytes, c.bytes.size())), c.shown);
  }
}

struct HeadCase {
  const char* what;
  std::string bytes;
  size_t limit;
  std::u16string shown;
};

// Only the head of a long cell is shown, but the whole cell decides how: a limit that cuts a
// UTF-8 letter in two steps back before it, and a cell whose invalid byte lies past the head is
// still shown as Windows-1252.
const HeadCase kHeadCases[] = {
    {"within the limit", "Ume\xC3\xA5", 9, u"Ume\u00E5"},
    {"cut at the limit", "abcdef", 3, u"abc"},
    {"utf-8 letter that the limit splits", "Ume\xC3\xA5", 4, u"Ume"},
    {"utf-8 letter that ends at the limit", "Ume\xC3\xA5x", 5, u"Ume\u00E5"},
    {"invalid past the head", "\xC3\xA5x\xE5", 2, u"\u00C3\u00A5"},
    {"four bytes become a surrogate pair", "\xF0\x9F\x98\x80!", 5, u"\U0001F600!"},
    {"1252 cut by bytes", "K\xF6ln", 2, u"K\u00F6"},
};

TEST(CellText, OnlyTheHeadOfALongCellIsShownAsTheWholeCellDecides) {
  for (const HeadCase& c : kHeadCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CellUtf16(c.bytes, c.limit), c.shown);
  }
}

TEST(CellText, ALoneSurrogateIsNoCharacter) {
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                        u"b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Utf16ToUtf8(u"\xDE00"), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(u"\xD83D")), "\xEF\xBF\xBD");
}

struct TypedCase {
  const char* what;
  std::string composed;
  std::string decomposed;
  std::vector<std::string> forms;
};

// The composed form comes first: it is what the box holds and what a file made on Windows or
// Linux mostly has.
const TypedCase kTypedCases[] = {
    {"ascii is one form", "Lund", "Lund", {"Lund"}},
    {"a letter of both code pages",
     "Ume\xC3\xA5",
     "Umea\xCC\x8A",
     {"Ume\xC3\xA5", "Umea\xCC\x8A", "Ume\xE5"}},
    {"a 1252 letter above 0x9F without a decomposition",
     "\xC3\x86",
     "\xC3\x86",
     {"\xC3\x86", "\xC6"}},
    {"a 1252 letter below 0xA0", "\xE2\x82\xAC 5", "\xE2\x82\xAC 5", {"\xE2\x82\xAC 5", "\x80 5"}},
    {"a letter that 1252 lacks",
     "\xC5\x81\xC3\xB3"
     "d\xC5\xBA",
     "\xC5\x81o\xCC\x81"
     "dz\xCC\x81",
     {"\xC5\x81\xC3\xB3"
      "d\xC5\xBA",
      "\xC5\x81o\xCC\x81"
      "dz\xCC\x81"}},
    {"a character beyond 16 bits", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", {"\xF0\x9F\x98\x80"}},
    {"empty", "", "", {""}},
};

TEST(TypedText, EveryTextOfBytesThatShowsTheTypedCharacters) {
  for (const TypedCase& c : kTypedCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TypedForms(c.composed, c.decomposed), c.forms);
  }
}

// Each cell decides for itself: a UTF-8 cell beside a Windows-1252 one keeps its characters, and
// the separators between them are the same byte in both forms.
TEST(CellText, ClipboardTextDecidesCellByCell) {
  ClipboardText text;
  text.AppendCell("Ume\xC3\xA5");
  text.AppendSeparator('\t');
  text.AppendCell("K\xF6ln");
  text.AppendSeparator('\n');
  EXPECT_EQ(text.Bytes(), "Ume\xC3\xA5\tK\xF6ln\n");
  EXPECT_EQ(text.Utf8(), "Ume\xC3\xA5\tK\xC3\xB6ln\n");
  EXPECT_EQ(text.Size(), text.Bytes().size());
}

}  // namespace
