// The toolkit's object model: controls are plain objects holding their state
// (caption, visibility, font, bounds) and their events. A back end attaches a
// peer to each control and hears about every change through it; the headless
// back end needs no windows at all, the win32 one keeps real child windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Text.h"

namespace nb::ui {

// A colour as Windows writes it (COLORREF): red in the low byte.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

enum class ControlKind { Form, Panel, GroupBox, Button, Label, Image, Splitter, Memo, Listview };
enum class Align { None, Top, Bottom, Left, Right, Client };
enum class TextAlign { Left, Center, Right };
enum class Cursor { Default, Hand };

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Bounds&) const = default;
};

struct Font {
  Text face = u"Segoe UI";
  int height = 13;  // pixels at 96 dots per inch
  bool bold = false;
  bool underline = false;
  uint32_t color = Rgb(51, 51, 51);
};

// The back end's side of one control. Every call is a notification after the
// model has changed; the peer reads the new state from its control.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void CaptionChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void FontChanged() {}
  virtual void BoundsChanged() {}
  virtual void FocusRequested() {}
  // Content beyond the caption changed (memo lines, list rows): repaint.
  virtual void ContentChanged() {}
};

class Form;

class Control {
 public:
  Control(ControlKind kind, Control* parent, Text name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  const Text& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }
  // The form this control belongs to (itself for a form).
  Form* OwnerForm();

  const Text& Caption() const { return caption_; }
  void SetCaption(Text caption);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible itself and inside visible parents.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled itself and inside enabled parents.
  bool Usable() const;

  const Font& GetFont() const { return font_; }
  void SetFont(Font font);
  void SetUnderline(bool underline);

  const Bounds& GetBounds() const { return bounds_; }
  void SetBounds(Bounds bounds);
  void SetWidth(int width);
  void SetHeight(int height);
  Align GetAlign() const { return align_; }
  void SetAlign(Align align);
  // Keeps the right edge this far from the parent's right edge when laid out.
  void AnchorRight(int margin) { rightMargin_ = margin; }
  int RightMargin() const { return rightMargin_; }

  TextAlign GetTextAlign() const { return textAlign_; }
  void SetTextAlign(TextAlign align) { textAlign_ = align; }
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor cursor) { cursor_ = cursor; }
  const Text& Hint() const { return hint_; }
  void SetHint(Text hint) { hint_ = std::move(hint); }
  bool Bevel() const { return bevel_; }
  void SetBevel(bool bevel) { bevel_ = bevel; }

  // Gives the keyboard focus to this control; the form remembers it.
  void SetFocus();
  bool Focused();
  // Tab and Shift+Tab stop here (buttons, lists and the memo from the start,
  // labels when their form says so).
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
  // A tab stop that shows and takes input: the keyboard may move here.
  bool CanFocus() const { return tabStop_ && Showing() && Usable(); }

  ControlPeer* Peer() const { return peer_.get(); }
  void SetPeer(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }
  // Drops the peers of this control and all below it, children first.
  void DropPeers();

  // Lays the children out inside this control's client area.
  void Relayout();

  std::function<void()> OnClick;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

  // User input, delivered by the back ends and by tests. A click on a control
  // that is hidden or disabled does nothing.
  void Click();
  void MouseEnter();
  void MouseLeave();

 protected:
  template <typename F>
  void Notify(F call) {
    if (peer_) call(*peer_);
  }

 private:
  ControlKind kind_;
  Control* parent_;
  Text name_;
  std::vector<Control*> children_;
  Text caption_;
  bool visible_ = true;
  bool enabled_ = true;
  Font font_;
  Bounds bounds_;
  Align align_ = Align::None;
  int rightMargin_ = -1;
  TextAlign textAlign_ = TextAlign::Left;
  Cursor cursor_ = Cursor::Default;
  Text hint_;
  bool bevel_ = true;
  bool tabStop_ = false;
  std::unique_ptr<ControlPeer> peer_;
};

}  // namespace nb::ui
