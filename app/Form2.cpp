#include "app/Form2.h"

#include "NightBroomVersion.h"
#include "app/Links.h"

namespace nb {

TForm2::TForm2(ui::Toolkit& toolkit)
    : Form(u"Form2", u"TForm2", u"About"),
      Ui(toolkit),
      Box1(this, u"Box1", {8, 6, 281, 137}),
      LogoImage(&Box1, u"LogoImage", u"LOGO48", {24, 12, 48, 48}),
      ProgramLabel(&Box1, u"ProgramLabel", u"Night Broom", 85, 8),
      VersionLabel(&Box1, u"VersionLabel", u"Version: " NB_VERSION_TEXT, 88, 40),
      NoticeLabel(&Box1, u"NoticeLabel", u"Free to use. Back up what matters to you.", 29, 72),
      HomePageLabel1(&Box1, u"HomePageLabel1", u"Homepage:", 36, 91),
      HomePageLabel2(&Box1, u"HomePageLabel2", kHomePageAddress, 104, 92),
      SupportLabel1(&Box1, u"SupportLabel1", u"Support:", 50, 110),
      SupportLabel2(&Box1, u"SupportLabel2", kSupportAddress, 104, 110),
      Box2(this, u"Box2", {8, 144, 281, 48}),
      Button1(&Box2, u"Button1", u"Close", {94, 14, 100, 25}) {
  SetBorder(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerCenter);
  ui::Font font;
  font.height = 11;
  font.color = ui::Rgb(0, 0, 0);
  SetFont(font);
  for (ui::Control* c : {static_cast<ui::Control*>(&Box1), static_cast<ui::Control*>(&Box2)}) {
    c->SetFont(font);
    for (ui::Control* child : c->Children()) child->SetFont(font);
  }

  ui::Font script = font;
  script.face = u"Segoe Script";
  script.height = 19;
  script.color = ui::Rgb(102, 102, 102);
  ProgramLabel.SetFont(script);
  VersionLabel.SetAutoSize(false);
  VersionLabel.SetTextAlign(ui::TextAlign::Center);
  VersionLabel.SetWidth(105);
  // The two captions end at the same place, just before their addresses.
  HomePageLabel1.SetTextAlign(ui::TextAlign::Right);
  HomePageLabel1.SetWidth(98 - 36);
  SupportLabel1.SetTextAlign(ui::TextAlign::Right);
  SupportLabel1.SetWidth(98 - 50);
  for (ui::Label* link : {&HomePageLabel2, &SupportLabel2}) {
    ui::Font blue = font;
    blue.color = ui::Rgb(0, 0, 255);
    blue.underline = true;
    link->SetFont(blue);
    link->SetCursor(ui::Cursor::Hand);
    link->SetTabStop(true);
  }
  HomePageLabel2.SetHint(u"Visit to homepage");
  SupportLabel2.SetHint(u"Send letter to support");
  script.height = 11;
  script.color = font.color;
  Button1.SetFont(script);
  Button1.SetDefault(true);

  HomePageLabel2.OnClick = [this] { HomePageLabel2Click(); };
  SupportLabel2.OnClick = [this] { SupportLabel2Click(); };
  Button1.OnClick = [this] { Button1Click(); };
  OnShow = [this] { Button1.SetFocus(); };
  OnEscape = [this] { Button1Click(); };
  SetClientSize(296, 196);
}

TForm2::~TForm2() { DropPeers(); }

void TForm2::HomePageLabel2Click() { Ui.OpenLink(*this, kHomePageAddress); }

void TForm2::SupportLabel2Click() { Ui.OpenLink(*this, Text(u"mailto:") + kSupportAddress); }

void TForm2::Button1Click() { Ui.RequestClose(*this); }

}  // namespace nb
