#include "ui/Controls.h"

#include <algorithm>

namespace nb::ui {

Button::Button(Control* parent, Text name, Text caption, Bounds bounds) : Control(ControlKind::Button, parent, std::move(name)) {
  SetTabStop(true);
  SetCaption(std::move(caption));
  SetBounds(bounds);
}

Label::Label(Control* parent, Text name, Text caption, int left, int top) : Control(ControlKind::Label, parent, std::move(name)) {
  SetCaption(std::move(caption));
  // A first guess at the caption's size; the win32 back end measures it.
  SetBounds({left, top, int(Caption().size()) * 7, GetFont().height + 3});
}

Panel::Panel(Control* parent, Text name) : Control(ControlKind::Panel, parent, std::move(name)) {}

GroupBox::GroupBox(Control* parent, Text name, Bounds bounds) : Control(ControlKind::GroupBox, parent, std::move(name)) {
  SetBounds(bounds);
}

Image::Image(Control* parent, Text name, Text picture, Bounds bounds)
    : Control(ControlKind::Image, parent, std::move(name)), picture_(std::move(picture)) {
  SetBounds(bounds);
}

Splitter::Splitter(Control* parent, Text name, Control& target, int minSize, int maxSize)
    : Control(ControlKind::Splitter, parent, std::move(name)), target_(target), min_(minSize), max_(maxSize) {}

void Splitter::DragTo(int size) {
  const int clamped = std::clamp(size, min_, max_);
  const Align a = target_.GetAlign();
  if (a == Align::Top || a == Align::Bottom)
    target_.SetHeight(clamped);
  else
    target_.SetWidth(clamped);
  if (Parent()) Parent()->Relayout();
}

Memo::Memo(Control* parent, Text name) : Control(ControlKind::Memo, parent, std::move(name)) { SetTabStop(true); }

void Memo::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  Notify([](ControlPeer& p) { p.ContentChanged(); });
}

void Memo::AddLine(Text line) {
  lines_.push_back(std::move(line));
  Notify([](ControlPeer& p) { p.ContentChanged(); });
}

Text Memo::JoinedText() const {
  Text all;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i) all += u"\r\n";
    all += lines_[i];
  }
  return all;
}

}  // namespace nb::ui
