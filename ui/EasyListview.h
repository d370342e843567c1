// The grouped report list with check boxes: columns with a header, captioned
// groups with a picture, rows of two texts. The model holds everything and does
// the geometry (which lines are visible, what a point hits, scrolling,
// keyboard movement), so that the back end only paints what it is told and
// forwards mouse and keys. Rows are plain values in one vector per group, and
// a row's texts are views: into the list's own copies for rows added with
// AddRow, into the caller's texts for rows added with AddRowViews (the results
// list shows the results store's texts without copying them). A million rows
// cost 40 bytes each in the 64-bit build, 24 in the 32-bit one.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "ui/Control.h"

namespace nb::ui {

struct ListColumn {
  Text caption;
  int width = 100;
  TextAlign align = TextAlign::Left;
};

// A row's item when its owner gave it none.
inline constexpr uint32_t kNoRowItem = 0xFFFFFFFF;

struct ListRow {
  TextView caption;  // first column
  TextView detail;   // second column
  bool checked = false;
  bool selected = false;
  // The owner's number for what the row shows (the results list: its
  // finding's place in the results store); it moves with the row when sorted.
  uint32_t item = kNoRowItem;
};

struct ListGroup {
  Text caption;
  int imageIndex = -1;  // into the list's group pictures; -1 for none
  std::vector<ListRow> rows;
  // What keeps the texts of the rows added with AddRowViews (KeepTextsOf).
  std::vector<std::shared_ptr<const void>> textOwners;
};

struct ListPos {
  int group = -1;
  int row = -1;
  bool Valid() const { return group >= 0 && row >= 0; }
  bool operator==(const ListPos&) const = default;
};

enum class ListKey { Up, Down, Home, End, PageUp, PageDown, Space, Enter };

// What the back end may announce to assistive tools after the model changed.
enum class ListChange { Focus, Selection, CheckState, Reorder };

enum class HitKind { Nothing, Header, GroupHeader, CheckBox, Row };
struct ListHit {
  HitKind kind = HitKind::Nothing;
  int column = -1;
  int group = -1;
  int row = -1;
};

// One line of the list as painted: a group header (row -1) or a row, with its
// top in client coordinates (below the header, scrolling applied).
struct ListLine {
  int group;
  int row;
  int top;
  int height;
};

class TEasyListview : public Control {
 public:
  TEasyListview(Control* parent, Text name);

  // --- Columns and header ---
  int AddColumn(Text caption, int width, TextAlign align = TextAlign::Left);
  int ColumnCount() const { return int(columns_.size()); }
  const ListColumn& Column(int column) const { return columns_[size_t(column)]; }
  int HeaderHeight() const { return headerHeight_; }
  void SetHeaderHeight(int height) { headerHeight_ = height; }
  // Header and group captions may use another height than the rows.
  int CaptionFontHeight() const { return captionFontHeight_; }
  void SetCaptionFontHeight(int height) { captionFontHeight_ = height; }

  // --- Groups ---
  int AddGroup(Text caption, int imageIndex = -1);
  int GroupCount() const { return int(groups_.size()); }
  const ListGroup& Group(int group) const { return groups_[size_t(group)]; }
  // Picture names from the program's resources; a group's image index picks one.
  void SetGroupPictures(std::vector<Text> names) { pictures_ = std::move(names); }
  const std::vector<Text>& GroupPictures() const { return pictures_; }

  // --- Rows ---
  // The list keeps its own copies of the texts.
  int AddRow(int group, Text caption, Text detail = {}, bool checked = false, uint32_t item = kNoRowItem);
  // The row shows the caller's texts: they must stay where they are until the
  // row is removed (RemoveGroupRows) or given a text of its own (SetRowCaption).
  int AddRowViews(int group, TextView caption, TextView detail, bool checked, uint32_t item = kNoRowItem);
  // Holds `owner`, the registration that keeps such texts where they are,
  // until the group's rows are removed.
  void KeepTextsOf(int group, std::shared_ptr<const void> owner);
  void ReserveRows(int group, size_t rows) { groups_[size_t(group)].rows.reserve(rows); }
  int RowCount(int group) const { return int(groups_[size_t(group)].rows.size()); }
  int TotalRowCount() const;
  const ListRow& Row(int group, int row) const { return groups_[size_t(group)].rows[size_t(row)]; }
  TextView RowCaption(int group, int row) const { return Row(group, row).caption; }
  TextView RowDetail(int group, int row) const { return Row(group, row).detail; }
  void SetRowCaption(int group, int row, Text caption);
  void SetRowDetail(int group, int row, Text detail);
  uint32_t RowItem(int group, int row) const { return Row(group, row).item; }
  void SetRowItem(int group, int row, uint32_t item) { groups_[size_t(group)].rows[size_t(row)].item = item; }
  bool Checked(int group, int row) const { return Row(group, row).checked; }
  // Raises OnItemCheckChange only when the state really changes.
  void SetChecked(int group, int row, bool checked);
  void RemoveGroupRows(int group);

  // --- Selection and keyboard focus (one row at a time) ---
  ListPos FocusedRow() const { return focus_; }
  ListPos SelectedRow() const { return selected_; }
  // Where the list shows that it has the keyboard focus: the focused row, or
  // the first row before any row has the focus; invalid when the list is
  // empty (then the whole list shows it).
  ListPos FocusMark() const { return focus_.Valid() ? focus_ : FirstRow(); }
  void SelectRow(ListPos pos);

  // --- Repainting ---
  // Suspends repainting; EndUpdate resumes it with one repaint.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  bool Updating() const { return updating_ > 0; }
  // Repaints passed on to the back end so far.
  int RepaintCount() const { return repaints_; }

  // --- Sorting ---
  // Sorts the rows of every group by the column (0: captions, 1: second
  // texts); asking for the same column again reverses the order. Rows never
  // leave their group, so everything stays in the first group of a one-group list.
  void SortByColumn(int column);
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return ascending_; }

  // --- Geometry, in client pixels ---
  static constexpr int kCheckIndent = 8;
  static constexpr int kCheckSize = 13;
  static constexpr int kBandThickness = 2;
  int RowHeight() const { return rowHeight_; }
  int GroupHeight() const { return groupHeight_; }
  void SetLineHeights(int rowHeight, int groupHeight);
  // The client area without scroll bars, as the back end reports it; the
  // bounds until it does.
  void SetViewSize(int width, int height);
  int ContentHeight() const;
  int ContentWidth() const;
  int ViewHeight() const;
  int ViewWidth() const;
  int ScrollY() const { return scrollY_; }
  int ScrollX() const { return scrollX_; }
  void ScrollTo(int y);
  void ScrollXTo(int x);
  int PageRows() const;
  // The lines that intersect the view, top to bottom.
  std::vector<ListLine> VisibleLines() const;
  ListHit HitTest(int x, int y) const;
  // Top of a row in content coordinates (before scrolling, below the header).
  int RowContentTop(ListPos pos) const;
  void EnsureVisible(ListPos pos);

  // --- User input, from the back end or tests ---
  void MouseDown(int x, int y);
  void KeyDown(ListKey key);
  // Positive notches scroll up, as the wheel reports them.
  void Wheel(int notches);
  // A click on the row's text and a click on its check box, for assistive
  // tools: the same events as the mouse raises.
  void ActivateRow(ListPos pos);
  void ToggleRow(ListPos pos);

  // The back end's ear for focus, selection, check and order changes.
  void SetChangeListener(std::function<void(ListChange, ListPos)> listener) { changed_ = std::move(listener); }

  std::function<void(int group, int row)> OnItemClick;
  std::function<void(int group, int row)> OnItemCheckChange;
  std::function<void(int column)> OnColumnClick;

 private:
  void Repaint();
  void Announce(ListChange change, ListPos pos) {
    if (changed_) changed_(change, pos);
  }
  void ClampScroll();
  // The order of `rows` by the column, as SortByColumn sorts them.
  void SortRows(const std::vector<ListRow>& rows, int column, bool ascending, std::vector<uint32_t>& order) const;
  ListPos Step(ListPos from, int delta) const;
  ListPos FirstRow() const;
  ListPos LastRow() const;
  void MoveFocus(ListPos pos);
  ListRow& MutableRow(ListPos pos) { return groups_[size_t(pos.group)].rows[size_t(pos.row)]; }
  // Keeps a text for the list's rows; it stays where it is until every row is gone.
  TextView Keep(Text text);

  std::vector<ListColumn> columns_;
  std::vector<ListGroup> groups_;
  std::vector<Text> pictures_;
  std::deque<Text> texts_;  // the texts the list keeps for its rows
  ListPos focus_;
  ListPos selected_;
  int updating_ = 0;
  int repaints_ = 0;
  int sortColumn_ = -1;
  bool ascending_ = true;
  int headerHeight_ = 25;
  int captionFontHeight_ = 13;
  int rowHeight_ = 19;
  int groupHeight_ = 26;
  int scrollY_ = 0;
  int scrollX_ = 0;
  int viewWidth_ = -1;
  int viewHeight_ = -1;
  std::function<void(ListChange, ListPos)> changed_;
};

// Orders two cell texts: sizes ("12.50 KB", "1,00 MB", "14 b") by their value,
// anything else alphabetically without regard to case. Negative, 0 or positive.
int CompareCellTexts(TextView a, TextView b);

}  // namespace nb::ui
