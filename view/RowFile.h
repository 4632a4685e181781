// The listed rows written out as a .qdx file of their own.
#pragma once

#include <string>

class RowListView;
class TableFile;

// Writes the first line while it serves as titles, then each listed row in list order, byte for
// byte as the file holds it with every field it has, each line ended as the file ends its lines.
// The file is written beside `target` and takes its place only when it is whole: false, with the
// target as it was, when any step fails.
bool SaveListedRows(RowListView& list, const TableFile& table, const std::string& target);
