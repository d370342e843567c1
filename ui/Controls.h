// The simple controls: buttons, labels, panels, group boxes, pictures, the
// splitter and the read-only memo.
#pragma once

#include <vector>

#include "ui/Control.h"

namespace nb::ui {

class Button : public Control {
 public:
  Button(Control* parent, Text name, Text caption, Bounds bounds);
  // The dialog's default button (Enter presses it).
  bool IsDefault() const { return default_; }
  void SetDefault(bool isDefault) { default_ = isDefault; }

 private:
  bool default_ = false;
};

// A caption of its own size. A right-aligned label keeps its right edge where
// it is when its caption grows or shrinks.
class Label : public Control {
 public:
  Label(Control* parent, Text name, Text caption, int left, int top);
  // Sized to its caption by the back end (the default), or a fixed box.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }

 private:
  bool autoSize_ = true;
};

// A container; its own caption is drawn centred (the status line of a strip).
class Panel : public Control {
 public:
  Panel(Control* parent, Text name);
};

// A framed container with its caption in the frame.
class GroupBox : public Control {
 public:
  GroupBox(Control* parent, Text name, Bounds bounds);
};

// A picture from the program's resources, named like "LOGO32".
class Image : public Control {
 public:
  Image(Control* parent, Text name, Text picture, Bounds bounds);
  const Text& Picture() const { return picture_; }

 private:
  Text picture_;
};

// Resizes the control aligned just before it, within limits.
class Splitter : public Control {
 public:
  Splitter(Control* parent, Text name, Control& target, int minSize, int maxSize);
  Control& Target() const { return target_; }
  int MinSize() const { return min_; }
  int MaxSize() const { return max_; }
  // Gives the target this width (or height), clamped to the limits, and lays
  // the parent out again.
  void DragTo(int size);

 private:
  Control& target_;
  int min_;
  int max_;
};

// A read-only text of lines with both scroll bars.
class Memo : public Control {
 public:
  Memo(Control* parent, Text name);
  void Clear();
  void AddLine(Text line);
  const std::vector<Text>& Lines() const { return lines_; }
  // The lines joined by CR LF, as the edit control holds them.
  Text JoinedText() const;

 private:
  std::vector<Text> lines_;
};

}  // namespace nb::ui
