// A top-level window: the main window or a dialog. The toolkit creates its
// window, shows it and closes it; the form raises the matching events.
#pragma once

#include <functional>
#include <vector>

#include "ui/Control.h"

namespace nb::ui {

// The keys a window handles itself before its focused control sees them.
enum class Key { Tab, Escape, Enter, Space };

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

  // --- Keyboard ---
  // The controls that Tab visits, in this order; without one, every tab stop
  // in the order the controls were made.
  void SetTabOrder(std::vector<Control*> order) { tabOrder_ = std::move(order); }
  std::vector<Control*> TabOrder();
  // The next control after `from` (before it, backward) that the keyboard may
  // focus, going round at the ends; nullptr when none may.
  Control* NextTabStop(Control* from, bool backward);
  // The button that Enter presses when the focus is not on a button, label or list.
  Control* DefaultButton();
  // A key pressed anywhere in the window, before the focused control gets it.
  // Tab and Shift+Tab move the focus; Esc raises OnEscape; Enter or Space
  // clicks a focused label, Enter a focused button or else the default
  // button. True when the window used the key; the focused control gets the
  // rest (a list its Enter and Space, a button its Space).
  bool KeyDown(Key key, bool shift = false);

  // Life of the window, as the toolkit drives it.
  enum class State { Building, Created, Shown, Closed };
  State GetState() const { return state_; }
  void SetState(State state) { state_ = state; }

  std::function<void()> OnCreate;
  std::function<void()> OnShow;
  std::function<void(bool& canClose)> OnCloseQuery;
  std::function<void()> OnDestroy;
  std::function<void()> OnEscape;

  // Asks OnCloseQuery; true when the window may close.
  bool CloseQuery();

 private:
  Text windowClass_;
  FormBorder border_ = FormBorder::Sizeable;
  FormPosition position_ = FormPosition::ScreenCenter;
  int minOuterWidth_ = 0;
  int minOuterHeight_ = 0;
  Control* focused_ = nullptr;
  std::vector<Control*> tabOrder_;
  State state_ = State::Building;
};

}  // namespace nb::ui
