// The visual style: a named set of colours for windows, panels, buttons, the
// list header and group bands. The program carries "Aqua Light Slate" among its
// resources as lines of "key=#RRGGBB" under a "name=" line.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Text.h"

namespace nb::ui {

inline constexpr char16_t kStyleName[] = u"Aqua Light Slate";

// Colours as COLORREF values (red in the low byte).
struct StyleColours {
  uint32_t window = 0;          // form and dialog background
  uint32_t panel = 0;           // panels and strips
  uint32_t topPanel = 0;        // the band with the logo
  uint32_t panelEdge = 0;       // the bevel line of a panel
  uint32_t text = 0;            // captions drawn on panels
  uint32_t buttonFace = 0;
  uint32_t buttonHot = 0;       // under the pointer
  uint32_t buttonPressed = 0;
  uint32_t buttonBorder = 0;
  uint32_t buttonText = 0;
  uint32_t disabledText = 0;
  uint32_t headerFace = 0;
  uint32_t headerEdge = 0;
  uint32_t headerText = 0;
  uint32_t listBackground = 0;
  uint32_t listText = 0;
  uint32_t groupText = 0;
  uint32_t groupBand = 0;
  uint32_t selection = 0;
  uint32_t selectionText = 0;
  uint32_t checkBorder = 0;
  uint32_t checkMark = 0;
  uint32_t splitter = 0;
};

// The colours of a style text whose "name=" line is `name`; no value when the
// name differs, a colour is malformed or one is missing.
std::optional<StyleColours> ParseStyle(std::string_view text, TextView name);

}  // namespace nb::ui
