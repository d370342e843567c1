// Places aligned children inside their parent's client area: top-aligned ones
// stacked from the top in child order, bottom-aligned ones from the bottom in
// reverse child order (so the last one sits lowest), then left, then right,
// then the one that fills what is left. Children anchored to the right keep
// their distance from the right edge. A bevelled panel keeps a one-pixel
// border free.
#pragma once

namespace nb::ui {

class Control;
void LayoutChildren(Control& parent);

}  // namespace nb::ui
