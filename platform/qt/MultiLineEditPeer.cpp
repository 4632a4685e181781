#include "platform/qt/MultiLineEditPeer.h"

#include <QFontMetrics>
#include <QSignalBlocker>
#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/CellText.h"
#include "platform/Edit.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/TopWindow.h"

namespace {
// Measuring every label of a row of 200,000 fields would keep the box from opening at once; the
// widest lies among the longest few.
constexpr size_t kMeasuredLabels = 32;
constexpr int kMostLabelCharacters = 40;
constexpr int kTabGap = 12;

}  // namespace

MultiLineEditPeer::MultiLineEditPeer(CEdit& edit, TopWindow& window, QWidget* parent)
    : QPlainTextEdit(parent), ControlPeer(edit, window), edit_(edit) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  connect(this, &QPlainTextEdit::textChanged, this, [this] { UserEdited(); });
  installEventFilter(&window);
}

void MultiLineEditPeer::Sync() {
  bool readOnly = (edit_.GetStyle() & ES_READONLY) != 0;
  if (isReadOnly() != readOnly)
    setReadOnly(readOnly);
  const std::string& text = edit_.GetWindowText();
  if (text == shown_)
    return;
  shown_ = text;
  PlaceTabStop(text);
  QSignalBlocker quiet(this);
  setPlainText(QString::fromStdU16String(CellsUtf16(text)));
}

void MultiLineEditPeer::PlaceTabStop(const std::string& text) {
  // Each line's text before its first tab, by length.
  std::vector<std::pair<size_t, std::string_view>> labels;
  size_t line = 0;
  while (line < text.size()) {
    size_t end = std::min(text.find('\n', line), text.size());
    size_t tab = text.find('\t', line);
    if (tab < end)
      labels.emplace_back(tab - line, std::string_view(text).substr(line, tab - line));
    line = end + 1;
  }
  size_t measured = std::min(labels.size(), kMeasuredLabels);
  std::partial_sort(labels.begin(), labels.begin() + static_cast<std::ptrdiff_t>(measured),
                    labels.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  QFontMetrics metrics(font());
  int widest = 0;
  for (size_t i = 0; i < measured; ++i)
    widest = std::max(widest, metrics.horizontalAdvance(EightBitText::Decode(labels[i].second)));
  int most = metrics.averageCharWidth() * kMostLabelCharacters;
  setTabStopDistance(std::min(widest, most) + kTabGap);
}

void MultiLineEditPeer::UserEdited() {
  if (isReadOnly() || !window_.Accepting())
    return;
  shown_ = EightBitText::Encode(toPlainText());
  edit_.SetWindowText(shown_);
}
