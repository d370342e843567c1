#include "ui/Layout.h"

#include <algorithm>

#include "ui/Control.h"

namespace nb::ui {

void LayoutChildren(Control& parent) {
  const Bounds& area = parent.GetBounds();
  // A panel's bevel stays visible around its aligned children.
  const int inset = parent.Kind() == ControlKind::Panel && parent.Bevel() ? 1 : 0;
  int left = inset, top = inset, right = area.width - inset, bottom = area.height - inset;
  const auto& children = parent.Children();
  auto place = [](Control& c, int x, int y, int w, int h) {
    c.SetBounds({x, y, std::max(0, w), std::max(0, h)});
  };
  auto placed = [](const Control* c, Align a) { return c->GetAlign() == a && c->Visible(); };

  for (Control* c : children)
    if (placed(c, Align::Top)) {
      place(*c, left, top, right - left, c->GetBounds().height);
      top += c->GetBounds().height;
    }
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    if (placed(*it, Align::Bottom)) {
      const int h = (*it)->GetBounds().height;
      place(**it, left, bottom - h, right - left, h);
      bottom -= h;
    }
  for (Control* c : children)
    if (placed(c, Align::Left)) {
      place(*c, left, top, c->GetBounds().width, bottom - top);
      left += c->GetBounds().width;
    }
  for (Control* c : children)
    if (placed(c, Align::Right)) {
      const int w = c->GetBounds().width;
      place(*c, right - w, top, w, bottom - top);
      right -= w;
    }
  for (Control* c : children)
    if (placed(c, Align::Client)) place(*c, left, top, right - left, bottom - top);
  for (Control* c : children)
    if (c->GetAlign() == Align::None && c->RightMargin() >= 0) {
      Bounds b = c->GetBounds();
      b.left = area.width - c->RightMargin() - b.width;
      c->SetBounds(b);
    }
}

}  // namespace nb::ui
