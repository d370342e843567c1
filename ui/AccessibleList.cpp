#include "ui/AccessibleList.h"

#include <algorithm>

namespace nb::ui {

ListPos AccessibleList::PosOf(int id) const {
  if (id <= kSelf) return {};
  int first = 1;  // the group's own number
  for (int g = 0; g < list_.GroupCount(); ++g) {
    const int rows = list_.RowCount(g);
    if (id == first) return {g, -1};
    if (id <= first + rows) return {g, id - first - 1};
    first += rows + 1;
  }
  return {};
}

int AccessibleList::IdOf(ListPos pos) const {
  if (pos.group < 0 || pos.group >= list_.GroupCount() || pos.row >= list_.RowCount(pos.group)) return kNone;
  int id = 1;
  for (int g = 0; g < pos.group; ++g) id += list_.RowCount(g) + 1;
  return id + pos.row + 1;
}

AccRole AccessibleList::Role(int id) const {
  if (id == kSelf) return AccRole::List;
  return PosOf(id).row < 0 ? AccRole::Grouping : AccRole::ListItem;
}

Text AccessibleList::Name(int id) const {
  if (!Valid(id)) return {};
  if (id == kSelf) return list_.ColumnCount() > 0 ? list_.Column(0).caption : Text{};
  const ListPos pos = PosOf(id);
  return pos.row < 0 ? list_.Group(pos.group).caption : Text(list_.RowCaption(pos.group, pos.row));
}

Text AccessibleList::Value(int id) const {
  if (!IsRow(id)) return {};
  const ListPos pos = PosOf(id);
  return Text(list_.RowDetail(pos.group, pos.row));
}

uint32_t AccessibleList::States(int id) const {
  if (!Valid(id)) return 0;
  uint32_t states = 0;
  if (!list_.Showing()) states |= kAccInvisible | kAccOffscreen;
  if (!list_.Usable()) states |= kAccUnavailable;
  if (id == kSelf) {
    states |= kAccFocusable;
    if (list_.Focused()) states |= kAccFocused;
    return states;
  }
  const Bounds where = Location(id);
  const int viewTop = list_.HeaderHeight();
  const int viewBottom = viewTop + list_.ViewHeight();
  if (where.top + where.height <= viewTop || where.top >= viewBottom) states |= kAccOffscreen;
  const ListPos pos = PosOf(id);
  if (pos.row < 0) return states;
  states |= kAccFocusable | kAccSelectable;
  const ListRow& row = list_.Row(pos.group, pos.row);
  if (row.checked) states |= kAccChecked;
  if (row.selected) states |= kAccSelected;
  if (list_.FocusedRow() == pos && list_.Focused()) states |= kAccFocused;
  return states;
}

Bounds AccessibleList::Location(int id) const {
  if (!Valid(id)) return {};
  const Bounds& whole = list_.GetBounds();
  if (id == kSelf) return {0, 0, whole.width, whole.height};
  const ListPos pos = PosOf(id);
  const int width = std::max(list_.ViewWidth(), list_.ContentWidth());
  const int top = list_.HeaderHeight() - list_.ScrollY();
  if (pos.row >= 0) return {-list_.ScrollX(), top + list_.RowContentTop(pos), width, list_.RowHeight()};
  const int groupTop = list_.RowContentTop({pos.group, 0}) - list_.GroupHeight();
  return {-list_.ScrollX(), top + groupTop, width, list_.GroupHeight() + list_.RowCount(pos.group) * list_.RowHeight()};
}

int AccessibleList::HitTest(int x, int y) const {
  const Bounds& whole = list_.GetBounds();
  if (x < 0 || y < 0 || x >= whole.width || y >= whole.height) return kNone;
  const ListHit hit = list_.HitTest(x, y);
  switch (hit.kind) {
    case HitKind::GroupHeader: return IdOfGroup(hit.group);
    case HitKind::Row:
    case HitKind::CheckBox: return IdOf({hit.group, hit.row});
    default: return kSelf;
  }
}

int AccessibleList::Navigate(int id, AccNav nav) const {
  if (!Valid(id)) return kNone;
  const int count = ChildCount();
  if (id == kSelf) {
    if (count == 0) return kNone;
    if (nav == AccNav::FirstChild) return 1;
    if (nav == AccNav::LastChild) return count;
    return kNone;
  }
  const ListPos pos = PosOf(id);
  switch (nav) {
    case AccNav::Next: return id < count ? id + 1 : kNone;
    case AccNav::Previous: return id > 1 ? id - 1 : kNone;
    case AccNav::FirstChild:
      return pos.row < 0 && list_.RowCount(pos.group) > 0 ? id + 1 : kNone;
    case AccNav::LastChild:
      return pos.row < 0 && list_.RowCount(pos.group) > 0 ? id + list_.RowCount(pos.group) : kNone;
  }
  return kNone;
}

int AccessibleList::FocusedId() const {
  if (!list_.Focused()) return kNone;
  const ListPos pos = list_.FocusedRow();
  return pos.Valid() ? IdOf(pos) : kSelf;
}

int AccessibleList::SelectedId() const {
  const ListPos pos = list_.SelectedRow();
  return pos.Valid() ? IdOf(pos) : kNone;
}

Text AccessibleList::DefaultActionName(int id) const { return IsRow(id) ? Text{u"Click"} : Text{}; }

bool AccessibleList::DoDefaultAction(int id) {
  if (!IsRow(id) || !list_.Showing() || !list_.Usable()) return false;
  list_.ActivateRow(PosOf(id));
  return true;
}

bool AccessibleList::Toggle(int id) {
  if (!IsRow(id) || !list_.Showing() || !list_.Usable()) return false;
  list_.ToggleRow(PosOf(id));
  return true;
}

bool AccessibleList::SetCheck(int id, bool checked) {
  if (!IsRow(id) || !list_.Showing() || !list_.Usable()) return false;
  const ListPos pos = PosOf(id);
  if (list_.Checked(pos.group, pos.row) != checked) list_.ToggleRow(pos);
  return true;
}

bool AccessibleList::Select(int id) {
  if (!IsRow(id)) return false;
  const ListPos pos = PosOf(id);
  list_.SelectRow(pos);
  list_.EnsureVisible(pos);
  return true;
}

}  // namespace nb::ui
