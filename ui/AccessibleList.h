// What assistive tools see of a grouped list: the list itself (child 0), and
// as its children, in the order they are painted, each group followed by its
// rows. Children are numbered from 1; a number stays valid only until rows are
// added or removed. The Windows side answers its accessibility queries from
// here, and the headless toolkit serves the same answers to tests.
#pragma once

#include <cstdint>

#include "ui/EasyListview.h"

namespace nb::ui {

enum class AccRole { List, Grouping, ListItem };

// Accessible states as bits; the Windows side maps them to its own.
enum AccState : uint32_t {
  kAccSelected = 1u << 0,
  kAccFocused = 1u << 1,
  kAccChecked = 1u << 2,
  kAccOffscreen = 1u << 3,
  kAccFocusable = 1u << 4,
  kAccSelectable = 1u << 5,
  kAccUnavailable = 1u << 6,
  kAccInvisible = 1u << 7,
};

enum class AccNav { FirstChild, LastChild, Next, Previous };

class AccessibleList {
 public:
  static constexpr int kSelf = 0;
  static constexpr int kNone = -1;

  explicit AccessibleList(TEasyListview& list) : list_(list) {}

  int ChildCount() const { return list_.GroupCount() + list_.TotalRowCount(); }
  bool Valid(int id) const { return id >= 0 && id <= ChildCount(); }
  // A child's place: a group (row -1) or a row; {-1, -1} for the list itself.
  ListPos PosOf(int id) const;
  int IdOf(ListPos pos) const;
  int IdOfGroup(int group) const { return IdOf({group, -1}); }

  AccRole Role(int id) const;
  Text Name(int id) const;
  // A row's second column; nothing for the list and the groups.
  Text Value(int id) const;
  uint32_t States(int id) const;
  // In the list's client coordinates.
  Bounds Location(int id) const;
  // The child under a client point, kSelf on the list's empty parts and
  // header, kNone outside the list.
  int HitTest(int x, int y) const;
  int Navigate(int id, AccNav nav) const;
  int FocusedId() const;
  int SelectedId() const;

  // "Click" for a row, nothing for the list and the groups.
  Text DefaultActionName(int id) const;
  // A row's default action is a click on it; false for anything else.
  bool DoDefaultAction(int id);
  // Ticks or unticks a row's check box as the mouse does.
  bool Toggle(int id);
  // Brings a row's check box to the given state, toggling it as the mouse does
  // when it differs; false for anything but a usable row.
  bool SetCheck(int id, bool checked);
  // Gives the row the focus and the selection, without a click.
  bool Select(int id);

  TEasyListview& List() const { return list_; }

 private:
  bool IsRow(int id) const { return Valid(id) && id != kSelf && PosOf(id).row >= 0; }

  TEasyListview& list_;
};

}  // namespace nb::ui
