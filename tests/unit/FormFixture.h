// The main window on a simulated machine with the headless toolkit: created
// and shown as the program does at start-up, no windows involved. Tests click
// its controls and queue clicks that arrive while a long operation pumps.
#pragma once

#include <gtest/gtest.h>

#include "app/Form1.h"
#include "platform/sim/SimPlatform.h"
#include "ui/headless/HeadlessToolkit.h"

namespace nb::test {

class FormFixture : public testing::Test {
 protected:
  FormFixture() { machine.SetUpStandardUser(); }

  // CreateForm then ShowForm, as start-up does.
  void Start() {
    ui.Realize(form);
    ui.Show(form);
  }

  sim::SimMachine machine;
  sim::SimPlatform os{machine};
  ui::HeadlessToolkit ui;
  TForm1 form{os, ui};
};

}  // namespace nb::test
