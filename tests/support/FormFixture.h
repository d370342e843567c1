// The main window on a simulated machine with the headless toolkit: created
// and shown as the program does at start-up, no windows involved. Tests click
// its controls and queue clicks that arrive while a long operation pumps.
#pragma once

#include <gtest/gtest.h>

#include "app/Form1.h"
#include "support/HostedRun.h"
#include "support/SimRun.h"
#include "ui/headless/HeadlessToolkit.h"

namespace nb::test {

// The window and its machine, made afresh wherever a test needs one.
struct SimForm : SimMachineFixture {
  // CreateForm then ShowForm, as start-up does.
  void Start() {
    ui.Realize(form);
    ui.Show(form);
  }
  std::vector<Text> Entries() const { return EntriesOf(form.State.Results, form.State.DecimalSeparator); }

  ui::HeadlessToolkit ui;
  TForm1 form{os, ui};
};

// A standard user's machine, the window not yet started.
class FormFixture : public testing::Test, protected SimForm {
 protected:
  FormFixture() { machine.SetUpStandardUser(); }
};

}  // namespace nb::test
