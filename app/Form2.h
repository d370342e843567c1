// The About dialog: logo, name, version, a notice, the home-page and support
// links, and a Close button.
#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Toolkit.h"

namespace nb {

class TForm2 : public ui::Form {
 public:
  explicit TForm2(ui::Toolkit& toolkit);
  ~TForm2() override;

  ui::Toolkit& Ui;

  ui::GroupBox Box1;
  ui::Image LogoImage;
  ui::Label ProgramLabel;
  ui::Label VersionLabel;
  ui::Label NoticeLabel;
  ui::Label HomePageLabel1;
  ui::Label HomePageLabel2;
  ui::Label SupportLabel1;
  ui::Label SupportLabel2;
  ui::GroupBox Box2;
  ui::Button Button1;

  void HomePageLabel2Click();
  void SupportLabel2Click();
  void Button1Click();
};

}  // namespace nb
