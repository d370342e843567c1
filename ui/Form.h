// A top-level window: the main window or a dialog. The toolkit creates its
// window, shows it and closes it; the form raises the matching events.
#pragma once

#include <functional>

#include "ui/Control.h"

namespace nb::ui {

enum class FormBorder { Sizeable, Dialog };
enum class FormPosition { ScreenCenter, OwnerCenter };

class Form : public Control {
 public:
  Form(Text name, Text windowClass, Text caption);
  ~Form() override;

  const Text& WindowClass() const { return windowClass_; }
  FormBorder Border() const { return border_; }
  void SetBorder(FormBorder border) { border_ = border; }
  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition position) { position_ = position; }

  int ClientWidth() const { return GetBounds().width; }
  int ClientHeight() const { return GetBounds().height; }
  // Sets the client area (the back end reports resizes through it) and lays
  // the controls out.
  void SetClientSize(int width, int height);
  int MinOuterWidth() const { return minOuterWidth_; }
  int MinOuterHeight() const { return minOuterHeight_; }
  void SetMinOuterSize(int width, int height) {
    minOuterWidth_ = width;
    minOuterHeight_ = height;
  }

  Control* FocusedControl() const { return focused_; }
  void SetFocusedControl(Control* control) { focused_ = control; }

  // Life of the window, as the toolkit drives it.
  enum class State { Building, Created, Shown, Closed };
  State GetState() const { return state_; }
  void SetState(State state) { state_ = state; }

  std::function<void()> OnCreate;
  std::function<void()> OnShow;
  std::function<void(bool& canClose)> OnCloseQuery;
  std::function<void()> OnDestroy;

  // Asks OnCloseQuery; true when the window may close.
  bool CloseQuery();

 private:
  Text windowClass_;
  FormBorder border_ = FormBorder::Sizeable;
  FormPosition position_ = FormPosition::ScreenCenter;
  int minOuterWidth_ = 0;
  int minOuterHeight_ = 0;
  Control* focused_ = nullptr;
  State state_ = State::Building;
};

}  // namespace nb::ui
