// The backend's own rules, each over a table of cases: how long 8-bit text is cut for showing
// (which way a cell is decoded is platform/CellText's, tested in tests/CellTextTest.cpp), how
// keys and icons are translated, and which items of a pop-up menu can be picked.
#include <QTest>

#include "platform/qt/EightBitText.h"
#include "platform/qt/IconRenderer.h"
#include "platform/qt/PopupMenu.h"
#include "platform/qt/TopWindow.h"
#include "platform/qt/VirtualKey.h"

class BackendPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void cutsLongTextAtACharacter_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("shownLength");
    QTest::addColumn<QChar>("last");
    const int limit = static_cast<int>(EightBitText::kShownBytes);
    QTest::newRow("ascii") << QByteArray(limit + 10, 'a') << limit << QChar('a');
    // 1023 'a' and then a two-byte letter across the limit: the letter is left out whole.
    QTest::newRow("utf-8 across the limit")
        << QByteArray(limit - 1, 'a') + "\xC3\xA5\xC3\xA5" << limit - 1 << QChar('a');
    QTest::newRow("1252") << QByteArray(limit + 5, '\xF6') << limit << QChar(0xF6);
    // The whole text decides: valid UTF-8 up to the limit, but not after it.
    QTest::newRow("1252 after the limit")
        << QByteArray(limit - 2, 'a') + "\xC3\xA5" + "\xF6" << limit << QChar(0xA5);
  }

  void cutsLongTextAtACharacter() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, shownLength);
    QFETCH(QChar, last);
    QString shown = EightBitText::DecodeShown(std::string_view(bytes.constData(), bytes.size()));
    QCOMPARE(shown.size(), shownLength);
    QCOMPARE(shown.back(), last);
  }

  void titlesShowTheirTextUnchanged_data() {
    QTest::addColumn<QByteArray>("title");
    QTest::newRow("plain") << QByteArray("/home/anna/people.qdx");
    QTest::newRow("marker") << QByteArray("/tmp/[*]/a.qdx");
    QTest::newRow("two markers") << QByteArray("[*]x[*]");
    QTest::newRow("doubled marker") << QByteArray("[[*]]");
    QTest::newRow("1252") << QByteArray("C:\\K\xF6ln.qdx");
  }

  void titlesShowTheirTextUnchanged() {
    QFETCH(QByteArray, title);
    QWidget window;
    window.setWindowTitle(TopWindow::TitleText(title.toStdString()));
    window.show();
    QVERIFY(window.windowHandle());
    QCOMPARE(window.windowHandle()->title(),
             EightBitText::Decode(std::string_view(title.constData(), title.size())));
  }

  void translatesKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<uint>("virtualKey");
    QTest::newRow("A") << int(Qt::Key_A) << uint('A');
    QTest::newRow("P") << int(Qt::Key_P) << uint('P');
    QTest::newRow("7") << int(Qt::Key_7) << uint('7');
    QTest::newRow("Return") << int(Qt::Key_Return) << uint(VK_RETURN);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << uint(VK_RETURN);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << uint(VK_ESCAPE);
    QTest::newRow("F1") << int(Qt::Key_F1) << uint(0x70);
    QTest::newRow("F3") << int(Qt::Key_F3) << uint(VK_F3);
    QTest::newRow("menu key") << int(Qt::Key_Menu) << uint(VK_APPS);
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << uint(VirtualKey::kNext);
    QTest::newRow("unknown") << int(Qt::Key_Launch0) << 0u;
  }

  void translatesKeys() {
    QFETCH(int, key);
    QFETCH(uint, virtualKey);
    QCOMPARE(VirtualKey::FromQtKey(key), virtualKey);
  }

  void greysSubmenusOut_data() {
    QTest::addColumn<uint>("state");
    QTest::addColumn<bool>("opens");
    QTest::newRow("enabled") << 0u << true;
    QTest::newRow("greyed") << uint(MF_GRAYED) << false;
  }

  // A greyed submenu cannot be opened; its items keep their own state.
  void greysSubmenusOut() {
    QFETCH(uint, state);
    QFETCH(bool, opens);
    CMenu menu;
    auto files = std::make_unique<CMenu>();
    files->AppendMenu(MF_STRING, 57616, "&1 /tmp/a&&b.qdx");
    menu.AppendMenu(std::move(files), "Recent &files");
    menu.EnableMenuItem(0, MF_BYPOSITION | state);
    PopupMenu popup(menu, nullptr);
    QCOMPARE(popup.actions().size(), 1);
    QAction* submenu = popup.actions().front();
    QCOMPARE(submenu->isEnabled(), opens);
    QVERIFY(submenu->menu());
    QCOMPARE(submenu->menu()->actions().size(), 1);
    QAction* file = submenu->menu()->actions().front();
    QVERIFY(file->isEnabled());
    QCOMPARE(file->data().toUInt(), 57616u);
  }

  // Which pixels an icon has at a size is the IconBitmap table's (tests/DesktopFilesTest.cpp);
  // here, that the image shows its colours as they are, transparency included.
  void rendersIconPixels() {
    static const char* const rows[] = {"9C", ".F"};
    static const IconImage images[] = {{2, rows}};
    static const Icon icon{1, images};
    QImage image = IconRenderer::Render(&icon, 2);
    QCOMPARE(image.pixel(0, 0), 0xFFFF0000u);
    QCOMPARE(image.pixel(1, 0), 0xFF0000FFu);
    QCOMPARE(qAlpha(image.pixel(0, 1)), 0);
    QCOMPARE(image.pixel(1, 1), 0xFFFFFFFFu);
    QVERIFY(IconRenderer::Render(nullptr, 3).isNull());
  }
};

QTEST_MAIN(BackendPartsTest)
#include "BackendPartsTest.moc"
