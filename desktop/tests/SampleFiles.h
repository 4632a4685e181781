// The files that the desktop tests open, written to a folder of their own that goes with them.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

class SampleFiles {
 public:
  // A name in UTF-8, a name and a city in Windows-1252, and a row that lacks two fields.
  static const QByteArray kPeople;
  // Its data rows as the list shows them, cells joined by "|".
  static const QStringList kPeopleRows;

  // Writes people.qdx and big.qdx, 5000 rows "rowN;x" under the titles "id;text".
  SampleFiles();

  // Writes a file into the folder; returns its path.
  std::string Write(const QString& name, const QByteArray& content);

  std::string people;
  std::string big;

 private:
  QTemporaryDir dir_;
};
