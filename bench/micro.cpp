// lintaro-micro: the hot loops one by one, with Google Benchmark: the split, field access, the
// sort, the case-folded search, the duplicate walk and the width fit. Each runs on a generated
// table of 200,000 rows (about 20 MB) held in memory; the ones that spread over the cores take
// the number of threads as their argument.
//
//   build/bench/bin/lintaro-micro [--benchmark_filter=REGEX]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/Strings.h"
#include "table/RowIndex.h"
#include "table/RowSplitter.h"
#include "table/TableFile.h"
#include "table/Workers.h"
#include "tests/TestFiles.h"
#include "view/RowListView.h"
#include "view/RowOperations.h"
#include "view/TextMatcher.h"

namespace {

// Rows like qdx-gen's: an id, a name of 2 or 3 words in mixed case, a number, a town, a comment.
std::string Content(size_t rows) {
  std::mt19937 random(1);
  std::vector<std::string> words;
  for (int i = 0; i < 3000; ++i) {
    std::string w;
    for (unsigned n = 2 + random() % 3; n > 0; --n) {
      w += "bdgklmnprstv"[random() % 12];
      w += "aeiouy\xE4\xF6"[random() % 8];
    }
    words.push_back(w);
  }
  std::string bytes = "id;name;phone;city;comment\n";
  for (size_t r = 0; r < rows; ++r) {
    bytes += 'R';
    bytes += std::to_string(100000000 + r);
    bytes += ';';
    for (unsigned n = 2 + random() % 2; n > 0; --n)
      bytes += words[random() % words.size()] + (n > 1 ? " " : "");
    if (random() % 3 == 0)
      bytes[bytes.rfind(';') + 1] -= 32;
    bytes += ';';
    bytes += std::to_string(random() % 1000000000);
    bytes += ';';
    bytes += words[random() % 100];
    bytes += ';';
    for (unsigned n = 2 + random() % 3; n > 0; --n)
      bytes += words[random() % words.size()] + " ";
    bytes += "\n";
  }
  return bytes;
}

const std::string& Bytes() {
  static const std::string bytes = Content(200000);
  return bytes;
}

// The generated table loaded from a file, as the program loads it.
struct Loaded {
  QuietBackend backend;
  std::string path = (std::filesystem::temp_directory_path() / "lintaro-micro.qdx").string();
  TableFile table{kColumnTitleFormat};
  RowListView list;

  Loaded() {
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(Bytes().data(), 1, Bytes().size(), f);
    std::fclose(f);
    table.Parse(path.c_str(), true);
    list.SetTable(&table);
    for (int32_t k = 0; k < table.columnCount; ++k)
      list.InsertColumn(k, table.ColumnName(k));
  }
  ~Loaded() {
    list.DeleteAllItems();
    std::filesystem::remove(path);
  }
  void ListAll() {
    list.DeleteAllItems();
    ListAllRows(list, table);
  }
};

Loaded& Table() {
  static Loaded loaded;
  return loaded;
}

void Threads(benchmark::State& state) {
  Workers::SetCount(static_cast<unsigned>(state.range(0)));
}

// A byte at a time (0) and 64 bytes at a time (1).
void BM_Split(benchmark::State& state) {
  auto split = state.range(0) ? SplitRowsWide : SplitRowsNarrow;
  std::string copy;
  std::vector<const char*> starts(Bytes().size() / 8);
  for (auto _ : state) {
    state.PauseTiming();
    copy = Bytes();
    state.ResumeTiming();
    split(copy.data(), copy.size(), starts.data(), static_cast<int32_t>(starts.size()), {});
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Bytes().size()));
}
BENCHMARK(BM_Split)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Counting, splitting and indexing in parts on every core.
void BM_IndexRows(benchmark::State& state) {
  Threads(state);
  std::string copy;
  for (auto _ : state) {
    state.PauseTiming();
    copy = Bytes() + '\0';
    state.ResumeTiming();
    RowIndex index;
    IndexRows(copy.data(), copy.size() - 1, 5, index);
    std::free(index.rowStarts);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Bytes().size()));
}
BENCHMARK(BM_IndexRows)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Field 4 of every row, in file order.
void BM_FieldText(benchmark::State& state) {
  Loaded& t = Table();
  for (auto _ : state) {
    size_t total = 0;
    for (int32_t i = 0; i < t.table.DataRowCount(); ++i)
      total += static_cast<unsigned char>(*t.table.FieldText(t.table.DataRow(i), 4));
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * t.table.DataRowCount());
}
BENCHMARK(BM_FieldText)->Unit(benchmark::kMillisecond);

// An operation on the list of every row, on state.range(0) threads.
template <class Operation>
void OnTheList(benchmark::State& state, Operation&& operation) {
  Threads(state);
  Loaded& t = Table();
  for (auto _ : state) {
    state.PauseTiming();
    t.ListAll();
    state.ResumeTiming();
    operation(t);
  }
  state.SetItemsProcessed(state.iterations() * t.table.DataRowCount());
}

// The name column, from file order.
void BM_Sort(benchmark::State& state) {
  OnTheList(state, [](Loaded& t) { t.list.SortByColumn(1, 1); });
}
BENCHMARK(BM_Sort)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// "contains" in the comment column, with the 32-byte search (1) and a byte at a time (0).
void BM_FoldedSearch(benchmark::State& state) {
  Workers::SetCount(1);
  TextMatcher::SetWide(state.range(0) != 0);
  Loaded& t = Table();
  TextMatcher matcher({"Kan"}, false, t.list.TextBytes());
  for (auto _ : state) {
    size_t hits = 0;
    for (int32_t i = 0; i < t.table.DataRowCount(); ++i)
      hits += matcher.Matches(t.table.FieldText(t.table.DataRow(i), 4));
    benchmark::DoNotOptimize(hits);
  }
  TextMatcher::SetWide(true);
  state.SetItemsProcessed(state.iterations() * t.table.DataRowCount());
}
BENCHMARK(BM_FoldedSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Pick over the list: the search on every core, then one pass that deletes.
void BM_Pick(benchmark::State& state) {
  OnTheList(state, [](Loaded& t) { KeepMatchingRows(t.list, 4, {"kan"}, false); });
}
BENCHMARK(BM_Pick)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Duplicates on the name column: its sort and the walk.
void BM_Duplicates(benchmark::State& state) {
  OnTheList(state, [](Loaded& t) { KeepDuplicateRows(t.list, 1); });
}
BENCHMARK(BM_Duplicates)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Fitting every column's width to its items.
void BM_WidthFit(benchmark::State& state) {
  OnTheList(state, [](Loaded& t) {
    for (int32_t k = 0; k < t.table.columnCount; ++k)
      t.list.SetColumnWidth(k, LVSCW_AUTOSIZE);
  });
}
BENCHMARK(BM_WidthFit)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
