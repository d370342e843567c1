#include "ui/Form.h"

#include <algorithm>

#include "ui/Controls.h"

namespace nb::ui {

namespace {
void LayoutTree(Control& control) {
  control.Relayout();
  for (Control* child : control.Children()) LayoutTree(*child);
}

void CollectTabStops(const Control& control, std::vector<Control*>& out) {
  for (Control* child : control.Children()) {
    if (child->TabStop()) out.push_back(child);
    CollectTabStops(*child, out);
  }
}

Control* FindDefaultButton(const Control& control) {
  for (Control* child : control.Children()) {
    if (child->Kind() == ControlKind::Button && static_cast<Button*>(child)->IsDefault()) return child;
    if (Control* found = FindDefaultButton(*child)) return found;
  }
  return nullptr;
}
}  // namespace

Form::Form(Text name, Text windowClass, Text caption)
    : Control(ControlKind::Form, nullptr, std::move(name)), windowClass_(std::move(windowClass)) {
  SetCaption(std::move(caption));
  SetVisible(false);
}

Form::~Form() = default;

void Form::SetClientSize(int width, int height) {
  Bounds b = GetBounds();
  b.width = width;
  b.height = height;
  SetBounds(b);
  LayoutTree(*this);
}

std::vector<Control*> Form::TabOrder() {
  if (!tabOrder_.empty()) return tabOrder_;
  std::vector<Control*> stops;
  CollectTabStops(*this, stops);
  return stops;
}

Control* Form::NextTabStop(Control* from, bool backward) {
  const std::vector<Control*> order = TabOrder();
  const int n = int(order.size());
  if (n == 0) return nullptr;
  const auto at = std::find(order.begin(), order.end(), from);
  // From outside the order, forward starts at the first stop and backward at the last.
  int i = at != order.end() ? int(at - order.begin()) : (backward ? n : -1);
  for (int step = 0; step < n; ++step) {
    i = (i + (backward ? n - 1 : 1)) % n;
    if (order[size_t(i)]->CanFocus()) return order[size_t(i)];
  }
  return nullptr;
}

Control* Form::DefaultButton() { return FindDefaultButton(*this); }

bool Form::KeyDown(Key key, bool shift) {
  Control* focus = focused_;
  const ControlKind kind = focus ? focus->Kind() : ControlKind::Form;
  switch (key) {
    case Key::Tab:
      if (Control* next = NextTabStop(focus, shift)) next->SetFocus();
      return true;
    case Key::Escape:
      if (!OnEscape) return false;
      OnEscape();
      return true;
    case Key::Space:
      if (kind != ControlKind::Label) return false;
      focus->Click();
      return true;
    case Key::Enter:
      if (kind == ControlKind::Label || kind == ControlKind::Button) {
        focus->Click();
        return true;
      }
      if (kind == ControlKind::Listview) return false;
      if (Control* button = DefaultButton()) {
        button->Click();
        return true;
      }
      return false;
  }
  return false;
}

bool Form::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  return canClose;
}

}  // namespace nb::ui
