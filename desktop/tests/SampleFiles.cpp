#include "desktop/tests/SampleFiles.h"

#include <QFile>
#include <QtGlobal>

const QByteArray SampleFiles::kPeople =
    "name;city;age\n"
    "Anna;Lund;34\n"
    "bo;Malmo;7\n"
    "\xC3\x85sa;Ume\xC3\xA5;28\n"
    "J\xF6rg;K\xF6ln;40\n"
    "Cecilia;Lund;51\n"
    "Erik\n";

const QStringList SampleFiles::kPeopleRows = {
    "Anna|Lund|34", "bo|Malmo|7", "Åsa|Umeå|28", "Jörg|Köln|40", "Cecilia|Lund|51", "Erik||",
};

SampleFiles::SampleFiles() {
  if (!dir_.isValid())
    qFatal("cannot make a folder for the test files");
  people = Write("people.qdx", kPeople);
  QByteArray rows = "id;text\n";
  for (int i = 0; i < 5000; ++i)
    rows += "row" + QByteArray::number(i) + ";x\n";
  big = Write("big.qdx", rows);
}

std::string SampleFiles::Write(const QString& name, const QByteArray& content) {
  QFile file(dir_.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
    qFatal("cannot write the test file");
  return dir_.filePath(name).toStdString();
}
