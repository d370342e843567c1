#include "ui/EasyListview.h"

#include "ui/FoldedSort.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace nb::ui {

namespace {

// "12.50 KB" -> 12800, "1,00 MB" -> 1048576, "14 b" -> 14; no value otherwise.
std::optional<double> SizeValue(TextView text) {
  size_t i = 0;
  double value = 0;
  bool digits = false;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
    value = value * 10 + (text[i++] - u'0');
    digits = true;
  }
  if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
    ++i;
    double scale = 0.1;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
      value += (text[i++] - u'0') * scale;
      scale /= 10;
      digits = true;
    }
  }
  if (!digits || i >= text.size() || text[i] != u' ') return std::nullopt;
  const TextView unit = text.substr(i + 1);
  if (unit == u"KB") return value * 1024;
  if (unit == u"MB") return value * 1048576;
  if (unit == u"b") return value;
  return std::nullopt;
}

// Alphabetical order without regard to case. Runs of equal characters are
// passed over at memory speed: the paths of one section share long beginnings.
int CompareFolded(TextView a, TextView b) {
  size_t i = 0;
  const size_t n = std::min(a.size(), b.size());
  while (i < n) {
    i = size_t(std::mismatch(a.begin() + i, a.begin() + n, b.begin() + i).first - a.begin());
    if (i == n) break;
    const char16_t ca = FoldCase(a[i]);
    const char16_t cb = FoldCase(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// A cell's text with its size value read once, for sorting.
struct SortKey {
  std::optional<double> size;
  TextView text;
};

int CompareKeys(const SortKey& a, const SortKey& b) {
  if (a.size && b.size) return *a.size < *b.size ? -1 : (*a.size > *b.size ? 1 : 0);
  return CompareFolded(a.text, b.text);
}

}  // namespace

int CompareCellTexts(TextView a, TextView b) { return CompareKeys({SizeValue(a), a}, {SizeValue(b), b}); }

TEasyListview::TEasyListview(Control* parent, Text name) : Control(ControlKind::Listview, parent, std::move(name)) {
  SetTabStop(true);
}

int TEasyListview::AddColumn(Text caption, int width, TextAlign align) {
  columns_.push_back({std::move(caption), width, align});
  Repaint();
  return ColumnCount() - 1;
}

int TEasyListview::AddGroup(Text caption, int imageIndex) {
  groups_.push_back({std::move(caption), imageIndex, {}, {}});
  Repaint();
  return GroupCount() - 1;
}

int TEasyListview::AddRow(int group, Text caption, Text detail, bool checked, uint32_t item) {
  const TextView kept = Keep(std::move(caption));
  return AddRowViews(group, kept, Keep(std::move(detail)), checked, item);
}

int TEasyListview::AddRowViews(int group, TextView caption, TextView detail, bool checked, uint32_t item) {
  auto& rows = groups_[size_t(group)].rows;
  rows.push_back({caption, detail, checked, false, item});
  Repaint();
  return int(rows.size()) - 1;
}

void TEasyListview::KeepTextsOf(int group, std::shared_ptr<const void> owner) {
  groups_[size_t(group)].textOwners.push_back(std::move(owner));
}

TextView TEasyListview::Keep(Text text) {
  if (text.empty()) return {};
  texts_.push_back(std::move(text));
  return texts_.back();
}

int TEasyListview::TotalRowCount() const {
  int total = 0;
  for (const auto& g : groups_) total += int(g.rows.size());
  return total;
}

void TEasyListview::SetRowCaption(int group, int row, Text caption) {
  MutableRow({group, row}).caption = Keep(std::move(caption));
  Repaint();
}

void TEasyListview::SetRowDetail(int group, int row, Text detail) {
  MutableRow({group, row}).detail = Keep(std::move(detail));
  Repaint();
}

void TEasyListview::SetChecked(int group, int row, bool checked) {
  ListRow& r = MutableRow({group, row});
  if (r.checked == checked) return;
  r.checked = checked;
  Repaint();
  Announce(ListChange::CheckState, {group, row});
  if (OnItemCheckChange) OnItemCheckChange(group, row);
}

void TEasyListview::RemoveGroupRows(int group) {
  groups_[size_t(group)].rows = {};
  groups_[size_t(group)].textOwners.clear();
  if (TotalRowCount() == 0) texts_.clear();
  if (focus_.group == group) focus_ = {};
  if (selected_.group == group) selected_ = {};
  ClampScroll();
  Repaint();
}

void TEasyListview::SelectRow(ListPos pos) {
  if (selected_.Valid()) MutableRow(selected_).selected = false;
  selected_ = pos;
  if (pos.Valid()) MutableRow(pos).selected = true;
  Repaint();
  if (pos.Valid()) Announce(ListChange::Selection, pos);
}

void TEasyListview::EndUpdate() {
  if (updating_ == 0) return;
  if (--updating_ == 0) {
    ClampScroll();
    Repaint();
  }
}

void TEasyListview::Repaint() {
  if (updating_ > 0) return;
  ++repaints_;
  Notify([](ControlPeer& p) { p.ContentChanged(); });
}

void TEasyListview::SortRows(const std::vector<ListRow>& rows, int column, bool ascending,
                             std::vector<uint32_t>& order) const {
  // Each cell's size is read once, not at every comparison.
  std::vector<SortKey> keys(rows.size());
  size_t sizes = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TextView text = column == 0 ? rows[i].caption : rows[i].detail;
    keys[i] = {SizeValue(text), text};
    sizes += keys[i].size ? 1 : 0;
  }
  if (sizes == 0) {
    // Only texts: the fast sort of texts with long common beginnings.
    std::vector<TextView> texts(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) texts[i] = keys[i].text;
    keys = {};
    SortFolded(order, texts);
    if (ascending) return;
    // Descending, equal texts still in their first order.
    std::reverse(order.begin(), order.end());
    for (size_t from = 0; from < order.size();) {
      size_t to = from + 1;
      while (to < order.size() && CompareFolded(texts[order[from]], texts[order[to]]) == 0) ++to;
      std::reverse(order.begin() + std::ptrdiff_t(from), order.begin() + std::ptrdiff_t(to));
      from = to;
    }
    return;
  }
  std::stable_sort(order.begin(), order.end(), [&](uint32_t x, uint32_t y) {
    const int c = CompareKeys(keys[x], keys[y]);
    return ascending ? c < 0 : c > 0;
  });
}

void TEasyListview::SortByColumn(int column) {
  if (column < 0 || column >= ColumnCount()) return;
  // Nothing changes until a group's new order is complete: when memory runs
  // out during a sort, the rows stay as they were.
  const bool ascending = column == sortColumn_ ? !ascending_ : true;
  for (int g = 0; g < GroupCount(); ++g) {
    auto& rows = groups_[size_t(g)].rows;
    std::vector<uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    SortRows(rows, column, ascending, order);
    // Focus and selection follow their rows.
    int focusTo = -1, selectedTo = -1;
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    for (size_t to = 0; to < order.size(); ++to) {
      const int from = int(order[to]);
      if (focus_.group == g && focus_.row == from) focusTo = int(to);
      if (selected_.group == g && selected_.row == from) selectedTo = int(to);
      sorted.push_back(rows[size_t(from)]);
    }
    rows = std::move(sorted);
    if (focusTo >= 0) focus_.row = focusTo;
    if (selectedTo >= 0) selected_.row = selectedTo;
  }
  ascending_ = ascending;
  sortColumn_ = column;
  Repaint();
  Announce(ListChange::Reorder, {});
}

void TEasyListview::SetLineHeights(int rowHeight, int groupHeight) {
  rowHeight_ = rowHeight;
  groupHeight_ = groupHeight;
  ClampScroll();
  Repaint();
}

int TEasyListview::ContentHeight() const {
  int height = 0;
  for (const auto& g : groups_) height += groupHeight_ + int(g.rows.size()) * rowHeight_;
  return height;
}

int TEasyListview::ContentWidth() const {
  int width = 0;
  for (const auto& c : columns_) width += c.width;
  return width;
}

void TEasyListview::SetViewSize(int width, int height) {
  viewWidth_ = width;
  viewHeight_ = height;
  ClampScroll();
}

int TEasyListview::ViewHeight() const {
  return std::max(0, (viewHeight_ >= 0 ? viewHeight_ : GetBounds().height) - headerHeight_);
}
int TEasyListview::ViewWidth() const { return viewWidth_ >= 0 ? viewWidth_ : GetBounds().width; }

void TEasyListview::ClampScroll() {
  scrollY_ = std::clamp(scrollY_, 0, std::max(0, ContentHeight() - ViewHeight()));
  scrollX_ = std::clamp(scrollX_, 0, std::max(0, ContentWidth() - ViewWidth()));
}

void TEasyListview::ScrollTo(int y) {
  const int before = scrollY_;
  scrollY_ = y;
  ClampScroll();
  if (scrollY_ != before) Repaint();
}

void TEasyListview::ScrollXTo(int x) {
  const int before = scrollX_;
  scrollX_ = x;
  ClampScroll();
  if (scrollX_ != before) Repaint();
}

int TEasyListview::PageRows() const { return std::max(1, ViewHeight() / rowHeight_); }

std::vector<ListLine> TEasyListview::VisibleLines() const {
  std::vector<ListLine> lines;
  const int viewTop = scrollY_;
  const int viewBottom = scrollY_ + ViewHeight();
  int top = 0;  // content coordinates
  for (int g = 0; g < GroupCount() && top < viewBottom; ++g) {
    const int rows = RowCount(g);
    const int groupBottom = top + groupHeight_ + rows * rowHeight_;
    if (groupBottom > viewTop) {
      if (top + groupHeight_ > viewTop) lines.push_back({g, -1, headerHeight_ + top - scrollY_, groupHeight_});
      const int rowsTop = top + groupHeight_;
      int r = std::max(0, (viewTop - rowsTop) / rowHeight_);
      for (; r < rows; ++r) {
        const int rowTop = rowsTop + r * rowHeight_;
        if (rowTop >= viewBottom) break;
        lines.push_back({g, r, headerHeight_ + rowTop - scrollY_, rowHeight_});
      }
    }
    top = groupBottom;
  }
  return lines;
}

ListHit TEasyListview::HitTest(int x, int y) const {
  ListHit hit;
  const int cx = x + scrollX_;
  if (y < 0 || x < 0 || x >= ViewWidth() || y >= headerHeight_ + ViewHeight()) return hit;
  if (y < headerHeight_) {
    int left = 0;
    for (int c = 0; c < ColumnCount(); ++c) {
      if (cx >= left && cx < left + columns_[size_t(c)].width) {
        hit.kind = HitKind::Header;
        hit.column = c;
        return hit;
      }
      left += columns_[size_t(c)].width;
    }
    return hit;
  }
  const int cy = y - headerHeight_ + scrollY_;
  int top = 0;
  for (int g = 0; g < GroupCount(); ++g) {
    if (cy < top + groupHeight_) {
      hit.kind = HitKind::GroupHeader;
      hit.group = g;
      return hit;
    }
    const int rowsTop = top + groupHeight_;
    const int rows = RowCount(g);
    if (cy < rowsTop + rows * rowHeight_) {
      hit.group = g;
      hit.row = (cy - rowsTop) / rowHeight_;
      hit.kind = (cx >= kCheckIndent && cx < kCheckIndent + kCheckSize + 2) ? HitKind::CheckBox : HitKind::Row;
      return hit;
    }
    top = rowsTop + rows * rowHeight_;
  }
  return hit;
}

int TEasyListview::RowContentTop(ListPos pos) const {
  int top = 0;
  for (int g = 0; g < pos.group; ++g) top += groupHeight_ + RowCount(g) * rowHeight_;
  return top + groupHeight_ + pos.row * rowHeight_;
}

void TEasyListview::EnsureVisible(ListPos pos) {
  if (!pos.Valid()) return;
  const int top = RowContentTop(pos);
  // Show the group's caption too when its first row comes into view.
  const int wantTop = pos.row == 0 ? top - groupHeight_ : top;
  if (wantTop < scrollY_)
    ScrollTo(wantTop);
  else if (top + rowHeight_ > scrollY_ + ViewHeight())
    ScrollTo(top + rowHeight_ - ViewHeight());
}

ListPos TEasyListview::FirstRow() const {
  for (int g = 0; g < GroupCount(); ++g)
    if (RowCount(g) > 0) return {g, 0};
  return {};
}

ListPos TEasyListview::LastRow() const {
  for (int g = GroupCount() - 1; g >= 0; --g)
    if (RowCount(g) > 0) return {g, RowCount(g) - 1};
  return {};
}

ListPos TEasyListview::Step(ListPos from, int delta) const {
  ListPos pos = from;
  while (delta > 0) {
    if (pos.row + 1 < RowCount(pos.group)) {
      ++pos.row;
    } else {
      int g = pos.group + 1;
      while (g < GroupCount() && RowCount(g) == 0) ++g;
      if (g >= GroupCount()) break;
      pos = {g, 0};
    }
    --delta;
  }
  while (delta < 0) {
    if (pos.row > 0) {
      --pos.row;
    } else {
      int g = pos.group - 1;
      while (g >= 0 && RowCount(g) == 0) --g;
      if (g < 0) break;
      pos = {g, RowCount(g) - 1};
    }
    ++delta;
  }
  return pos;
}

void TEasyListview::MoveFocus(ListPos pos) {
  if (!pos.Valid()) return;
  focus_ = pos;
  SelectRow(pos);
  EnsureVisible(pos);
  Announce(ListChange::Focus, pos);
}

void TEasyListview::MouseDown(int x, int y) {
  const ListHit hit = HitTest(x, y);
  switch (hit.kind) {
    case HitKind::Header:
      if (OnColumnClick) OnColumnClick(hit.column);
      break;
    case HitKind::CheckBox:
      focus_ = {hit.group, hit.row};
      SetChecked(hit.group, hit.row, !Checked(hit.group, hit.row));
      Repaint();
      break;
    case HitKind::Row:
      MoveFocus({hit.group, hit.row});
      if (OnItemClick) OnItemClick(hit.group, hit.row);
      break;
    default:
      break;
  }
}

void TEasyListview::KeyDown(ListKey key) {
  const ListPos start = focus_.Valid() ? focus_ : FirstRow();
  if (!start.Valid()) return;
  switch (key) {
    case ListKey::Up: MoveFocus(focus_.Valid() ? Step(start, -1) : start); break;
    case ListKey::Down: MoveFocus(focus_.Valid() ? Step(start, 1) : start); break;
    case ListKey::Home: MoveFocus(FirstRow()); break;
    case ListKey::End: MoveFocus(LastRow()); break;
    case ListKey::PageUp: MoveFocus(Step(start, -PageRows())); break;
    case ListKey::PageDown: MoveFocus(Step(start, PageRows())); break;
    case ListKey::Space:
      focus_ = start;
      EnsureVisible(start);
      SetChecked(start.group, start.row, !Checked(start.group, start.row));
      break;
    case ListKey::Enter:
      MoveFocus(start);
      if (OnItemClick) OnItemClick(start.group, start.row);
      break;
  }
}

void TEasyListview::ActivateRow(ListPos pos) {
  if (!pos.Valid()) return;
  MoveFocus(pos);
  if (OnItemClick) OnItemClick(pos.group, pos.row);
}

void TEasyListview::ToggleRow(ListPos pos) {
  if (!pos.Valid()) return;
  focus_ = pos;
  SetChecked(pos.group, pos.row, !Checked(pos.group, pos.row));
  Repaint();
}

void TEasyListview::Wheel(int notches) { ScrollTo(scrollY_ - notches * 3 * rowHeight_); }

}  // namespace nb::ui
