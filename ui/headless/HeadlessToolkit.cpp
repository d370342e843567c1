#include "ui/headless/HeadlessToolkit.h"

#include "platform/Platform.h"

namespace nb::ui {

void HeadlessToolkit::PumpMessages() {
  ++pumps;
  if (onPump) onPump(pumps);
  RunQueued();
}

void HeadlessToolkit::RunQueued() {
  // Only what was queued before this call; anything queued meanwhile waits.
  std::deque<Queued> now;
  now.swap(queue_);
  for (auto& item : now) {
    if (item.action) {
      item.action();
    } else if (hook_) {
      hook_(item.message.message, item.message.wParam, item.message.lParam);
    }
  }
}

int HeadlessToolkit::ShowMessage(const Text& text, const Text& caption, uint32_t flags) {
  boxes.push_back({text, caption, flags});
  if (answers.empty()) return (flags & 0xF) == winapi::kMbYesNo ? winapi::kIdNo : winapi::kIdOk;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

void HeadlessToolkit::Realize(Form& form) {
  if (!main_) main_ = &form;
  form.SetState(Form::State::Created);
  if (form.OnCreate) form.OnCreate();
}

void HeadlessToolkit::Show(Form& form) {
  form.SetVisible(true);
  form.SetState(Form::State::Shown);
  if (form.OnShow) form.OnShow();
}

void HeadlessToolkit::ShowModal(Form& dialog) {
  modalCaptions.push_back(dialog.Caption());
  const bool mainWasEnabled = main_ && main_->Enabled();
  if (main_ && main_ != &dialog) main_->SetEnabled(false);
  Realize(dialog);
  Show(dialog);
  if (onModal) onModal(dialog);
  if (dialog.GetState() != Form::State::Closed) {
    dialog.SetVisible(false);
    dialog.SetState(Form::State::Closed);
    if (dialog.OnDestroy) dialog.OnDestroy();
  }
  if (main_ && main_ != &dialog) main_->SetEnabled(mainWasEnabled);
}

void HeadlessToolkit::RequestClose(Form& form) {
  if (form.GetState() == Form::State::Closed || !form.CloseQuery()) return;
  form.SetVisible(false);
  form.SetState(Form::State::Closed);
  if (form.OnDestroy) form.OnDestroy();
}

void HeadlessToolkit::OpenLink(Form& window, const Text& target) { links.push_back({&window, target}); }

void HeadlessToolkit::Post(std::function<void()> action) { queue_.push_back({std::move(action), {}}); }

void HeadlessToolkit::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  queue_.push_back({nullptr, {message, wParam, lParam}});
}

}  // namespace nb::ui
