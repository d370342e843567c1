// The toolkit without windows, for tests. The pump runs queued actions (a
// click that arrives while a long operation pumps) and delivers queued
// messages to the message hook; message boxes answer from a script and are
// recorded, as are opened links, modal dialogs and restore requests.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "ui/Toolkit.h"

namespace nb::ui {

class HeadlessToolkit : public Toolkit {
 public:
  struct Box {
    Text text;
    Text caption;
    uint32_t flags;
  };
  struct Link {
    Form* window;
    Text target;
  };
  struct Message {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
  };

  void PumpMessages() override;
  int ShowMessage(const Text& text, const Text& caption, uint32_t flags) override;

  // Toolkit
  void Realize(Form& form) override;
  void Show(Form& form) override;
  void ShowModal(Form& dialog) override;
  void RequestClose(Form& form) override;
  void OpenLink(Form& window, const Text& target) override;
  void RestoreApplication() override { ++restores; }
  void SetMessageHook(MessageHook hook) override { hook_ = std::move(hook); }

  // --- The test's side ---
  // Runs at the next pump (or RunQueued), in the order queued.
  void Post(std::function<void()> action);
  // Delivered to the message hook at the next pump (or RunQueued).
  void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  // Dispatches what is queued, as the message loop does between handlers.
  void RunQueued();

  Form* MainForm() const { return main_; }

  int pumps = 0;
  std::function<void(int pumpNumber)> onPump;
  // Answers for message boxes in order; without one, Yes/No boxes get IDNO and others IDOK.
  std::deque<int> answers;
  std::vector<Box> boxes;
  std::vector<Link> links;
  // Runs while a modal dialog is open (clicks in the dialog); the dialog is
  // closed afterwards if it is still open.
  std::function<void(Form& dialog)> onModal;
  std::vector<Text> modalCaptions;
  int restores = 0;

 private:
  Form* main_ = nullptr;
  MessageHook hook_;
  struct Queued {
    std::function<void()> action;
    Message message;
  };
  std::deque<Queued> queue_;
};

}  // namespace nb::ui
