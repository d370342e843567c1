#include "ui/Control.h"

#include <algorithm>

#include "ui/Form.h"
#include "ui/Layout.h"

namespace nb::ui {

Control::Control(ControlKind kind, Control* parent, Text name)
    : kind_(kind), parent_(parent), name_(std::move(name)) {
  if (parent_) {
    parent_->children_.push_back(this);
    font_ = parent_->font_;  // children take their parent's font until told otherwise
  }
}

Control::~Control() {
  peer_.reset();
  if (parent_) std::erase(parent_->children_, this);
}

Form* Control::OwnerForm() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return c->kind_ == ControlKind::Form ? static_cast<Form*>(c) : nullptr;
}

void Control::SetCaption(Text caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Notify([](ControlPeer& p) { p.CaptionChanged(); });
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (parent_ && align_ != Align::None) parent_->Relayout();
  Notify([](ControlPeer& p) { p.VisibleChanged(); });
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify([](ControlPeer& p) { p.EnabledChanged(); });
}

bool Control::Usable() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->enabled_) return false;
  return true;
}

void Control::SetFont(Font font) {
  font_ = std::move(font);
  Notify([](ControlPeer& p) { p.FontChanged(); });
}

void Control::SetUnderline(bool underline) {
  if (font_.underline == underline) return;
  font_.underline = underline;
  Notify([](ControlPeer& p) { p.FontChanged(); });
}

void Control::SetBounds(Bounds bounds) {
  if (bounds == bounds_) return;
  const bool resized = bounds.width != bounds_.width || bounds.height != bounds_.height;
  bounds_ = bounds;
  Notify([](ControlPeer& p) { p.BoundsChanged(); });
  if (resized && !children_.empty()) Relayout();
}

void Control::SetWidth(int width) {
  Bounds b = bounds_;
  b.width = width;
  SetBounds(b);
}

void Control::SetHeight(int height) {
  Bounds b = bounds_;
  b.height = height;
  SetBounds(b);
}

void Control::SetAlign(Align align) {
  align_ = align;
  if (parent_) parent_->Relayout();
}

void Control::SetFocus() {
  if (Form* form = OwnerForm()) form->SetFocusedControl(this);
  Notify([](ControlPeer& p) { p.FocusRequested(); });
}

bool Control::Focused() {
  Form* form = OwnerForm();
  return form && form->FocusedControl() == this;
}

void Control::DropPeers() {
  for (Control* child : children_) child->DropPeers();
  peer_.reset();
}

void Control::Relayout() { LayoutChildren(*this); }

void Control::Click() {
  if (!Showing() || !Usable()) return;
  if (OnClick) OnClick();
}

void Control::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter();
}

void Control::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave();
}

}  // namespace nb::ui
