#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/headless/HeadlessToolkit.h"

namespace nb::ui {
namespace {

TEST(HeadlessToolkit, PumpRunsWhatWasQueuedBeforeItOnly) {
  HeadlessToolkit ui;
  std::vector<int> ran;
  std::vector<uint32_t> hooked;
  ui.SetMessageHook([&](uint32_t m, uintptr_t, intptr_t) { hooked.push_back(m); });
  ui.Post([&] {
    ran.push_back(1);
    ui.Post([&] { ran.push_back(3); });
  });
  ui.PostMessage(0xC001, 0, 0);
  ui.Post([&] { ran.push_back(2); });
  ui.PumpMessages();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(hooked, std::vector<uint32_t>{0xC001});
  ui.PumpMessages();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(ui.pumps, 2);
}

TEST(HeadlessToolkit, MessageBoxesAnswerFromTheScriptAndAreRecorded) {
  HeadlessToolkit ui;
  ui.answers = {winapi::kIdYes};
  EXPECT_EQ(ui.ShowMessage(u"Sure?", u"Confirmation", winapi::kMbYesNo | winapi::kMbIconQuestion), winapi::kIdYes);
  EXPECT_EQ(ui.ShowMessage(u"Sure?", u"Confirmation", winapi::kMbYesNo | winapi::kMbIconQuestion), winapi::kIdNo);
  EXPECT_EQ(ui.ShowMessage(u"Done", u"Information", winapi::kMbIconInformation), winapi::kIdOk);
  ASSERT_EQ(ui.boxes.size(), 3u);
  EXPECT_EQ(ui.boxes[2].text, u"Done");
  EXPECT_EQ(ui.boxes[2].flags, winapi::kMbIconInformation);
}

TEST(Controls, ClicksReachOnlyShowingEnabledControls) {
  HeadlessToolkit ui;
  Form form(u"F", u"TTest", u"Test");
  Panel panel(&form, u"Panel");
  Button button(&panel, u"B", u"Go", {0, 0, 10, 10});
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };
  button.Click();  // the form is not shown yet
  ui.Realize(form);
  ui.Show(form);
  button.Click();
  panel.SetEnabled(false);
  button.Click();
  panel.SetEnabled(true);
  button.SetVisible(false);
  button.Click();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace nb::ui

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/Style.h"

namespace nb::ui {
namespace {

std::string CarriedStyle() {
  const auto path = std::filesystem::path(__FILE__).parent_path() / "../../res/AquaLightSlate.style";
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Style, TheCarriedStyleIsCompleteAndNamed) {
  const std::string text = CarriedStyle();
  const auto style = ParseStyle(text, kStyleName);
  ASSERT_TRUE(style.has_value());
  EXPECT_EQ(style->groupBand, Rgb(0xA0, 0xA0, 0xA0));
  EXPECT_FALSE(ParseStyle(text, u"Another Style").has_value());
}

TEST(Style, MalformedOrIncompleteTextsAreRefused) {
  const std::string text = CarriedStyle();
  auto without = [&](const std::string& line) {
    std::string changed = text;
    changed.erase(changed.find(line), line.size());
    return changed;
  };
  EXPECT_FALSE(ParseStyle(without("splitter=#D2DBE4"), kStyleName).has_value());
  EXPECT_FALSE(ParseStyle(without("name=Aqua Light Slate"), kStyleName).has_value());
  std::string badColour = text;
  badColour.replace(badColour.find("#A0A0A0"), 7, "#A0A0G0");
  EXPECT_FALSE(ParseStyle(badColour, kStyleName).has_value());
  EXPECT_FALSE(ParseStyle("", kStyleName).has_value());
}

}  // namespace
}  // namespace nb::ui
