// The window's placement kept between runs of the desktop program: where the user left it, at
// its size, maximized or not, and never off every screen.
#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "desktop/tests/TestProgram.h"
#include "platform/Registry.h"
#include "platform/RegistryStore.h"
#include "platform/qt/TopWindow.h"

namespace {
// The 52-byte settings image: version, the save item checked, and a normal placement.
std::vector<BYTE> Image(const QRect& r) {
  const int32_t words[13] = {
      110, 8, 44, 0, 1, -1, -1, -1, -1, r.left(), r.top(), r.right() + 1, r.bottom() + 1};
  std::vector<BYTE> bytes(sizeof words);
  std::memcpy(bytes.data(), words, sizeof words);  // little-endian, as on every machine we build
  return bytes;
}

void Store(const std::vector<BYTE>& image) {
  HKEY key = nullptr;
  QCOMPARE(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Lintaro", 0, "", REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key, nullptr),
           ERROR_SUCCESS);
  DWORD size = static_cast<DWORD>(image.size());
  RegSetValueExA(key, "Config - SIZE", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), 4);
  RegSetValueExA(key, "Config", 0, REG_BINARY, image.data(), size);
  RegCloseKey(key);
}

bool ShownMaximized(TestProgram& program) {
  WINDOWPLACEMENT placement;
  program.Window().GetWindowPlacement(&placement);
  return placement.showCmd == SW_SHOWMAXIMIZED;
}

bool SaveChecked(TestProgram& program) {
  return (program.Window().GetMenu()->GetMenuState(ID_OPTIONS_SAVE_SETTINGS, MF_BYCOMMAND) &
          MF_CHECKED) != 0;
}
}  // namespace

class PlacementTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir config_;

 private slots:
  void init() {
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    ResetRegistryStore();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software");
  }

  void aMovedAndResizedWindowOpensWhereItWasLeft() {
    const QRect moved(140, 90, 520, 380);
    TestProgram::Run({}, [&](TestProgram& program) {
      program.Action(ID_OPTIONS_SAVE_SETTINGS)->trigger();
      program.Top().setGeometry(moved);
      QTRY_COMPARE(program.Top().geometry(), moved);
      program.Action(ID_FILE_EXIT)->trigger();
    });
    TestProgram::Run({}, [&](TestProgram& program) {
      QCOMPARE(program.Top().geometry(), moved);
      QVERIFY(SaveChecked(program));
      WINDOWPLACEMENT placement;
      program.Window().GetWindowPlacement(&placement);
      QCOMPARE(placement.showCmd, UINT{SW_SHOWNORMAL});
      QCOMPARE(placement.rcNormalPosition, (RECT{140, 90, 660, 470}));
    });
  }

  void aMaximizedWindowComesBackMaximizedOverItsNormalPlace() {
    const QRect normal(60, 50, 400, 300);
    TestProgram::Run({}, [&](TestProgram& program) {
      program.Action(ID_OPTIONS_SAVE_SETTINGS)->trigger();
      program.Top().setGeometry(normal);
      QTRY_COMPARE(program.Top().geometry(), normal);
      program.Top().showMaximized();
      // Maximized once the window system has made it so, and not before.
      QTRY_VERIFY(ShownMaximized(program));
      program.Action(ID_FILE_EXIT)->trigger();
    });
    TestProgram::Run({}, [&](TestProgram& program) {
      QVERIFY(program.Top().isMaximized());
      QCOMPARE(program.Top().normalGeometry(), normal);
    });
  }

  void aPlacementOffEveryScreenIsPulledBack() {
    Store(Image(QRect(5000, 4000, 400, 300)));
    TestProgram::Run({}, [&](TestProgram& program) {
      QRect shown = program.Top().geometry();
      QCOMPARE(shown.size(), QSize(400, 300));
      QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(shown));
      // The platform holds the place the window really has, and saves that at the end.
      WINDOWPLACEMENT placement;
      program.Window().GetWindowPlacement(&placement);
      QCOMPARE(placement.rcNormalPosition.left, shown.left());
      QVERIFY(SaveChecked(program));
    });
  }
};

QTEST_MAIN(PlacementTest)
#include "PlacementTest.moc"
