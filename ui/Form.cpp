#include "ui/Form.h"

namespace nb::ui {

namespace {
void LayoutTree(Control& control) {
  control.Relayout();
  for (Control* child : control.Children()) LayoutTree(*child);
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

bool Form::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  return canClose;
}

}  // namespace nb::ui
