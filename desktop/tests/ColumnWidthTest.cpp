// A column fitted to its items is as wide as its widest text as the list's font draws it, also
// when the text longest in bytes is not the widest: multi-byte UTF-8, Windows-1252 bytes, and a
// proportional font's narrow and wide letters.
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTest>
#include <algorithm>

#include "app/MainWindow.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/RowTableView.h"

namespace {
// Space the list leaves around a fitted text.
constexpr int kPadding = 12;

QString Shown(const QByteArray& bytes) {
  QString utf8 = QString::fromUtf8(bytes);
  return utf8.toUtf8() == bytes ? utf8 : QString::fromLatin1(bytes);  // ASCII-range 1252 here
}
}  // namespace

class ColumnWidthTest : public QObject {
  Q_OBJECT

 private:
  SampleFiles files_;

 private slots:
  void aFittedColumnHoldsItsWidestTextAsDrawn() {
    const QByteArray cjk =
        QStringLiteral("漢字仮名交じり文です").toUtf8();  // 10 characters, 30 bytes
    const QByteArray columns[][11] = {
        // Ten CJK texts of 30 bytes beside one ASCII text of 25 characters.
        {cjk, cjk, cjk, cjk, cjk, cjk, cjk, cjk, cjk, cjk, QByteArray(25, 'a')},
        // Narrow letters many bytes long beside a few wide ones.
        {QByteArray(30, 'i'), QByteArray(14, 'W'), "l", "l", "l", "l", "l", "l", "l", "l", "l"},
        // Windows-1252 letters of one byte each beside plain ones.
        {QByteArray(12, '\xC4'), QByteArray(16, 'r'), "x", "x", "x", "x", "x", "x", "x", "x", "x"},
        // Greek two bytes a letter beside ASCII capitals.
        {QStringLiteral("ΩΩΩΩΩΩΩΩ").toUtf8(), QByteArray(13, 'M'), "", "", "", "", "", "", "", "",
         ""},
    };
    QByteArray file = "a;b;c;d\n";
    for (int row = 0; row < 11; ++row) {
      for (int k = 0; k < 4; ++k)
        file += columns[k][row] + (k < 3 ? ";" : "\n");
    }
    std::string path = files_.Write("widths.qdx", file);
    TestProgram::Run({path}, [&](TestProgram& program) {
      QFontMetrics metrics(QApplication::font("QAbstractItemView"));
      for (int k = 0; k < 4; ++k) {
        int widest = 0;
        for (const QByteArray& text : columns[k])
          widest = std::max(widest, metrics.horizontalAdvance(Shown(text)));
        QCOMPARE(program.Window().list.GetColumnWidth(k), widest + kPadding);
        QCOMPARE(program.List().View().horizontalHeader()->sectionSize(k), widest + kPadding);
      }
    });
  }
};

QTEST_MAIN(ColumnWidthTest)
#include "ColumnWidthTest.moc"
