// TAboutForm: the demonstration's About box, read from its own form text:
// white with faint horizontal lines, a navy band with the emblem on the
// left, the title, the description, the web address (which opens with the
// desktop's handler when clicked) and an OK button.
#pragma once

#include "controls/forms.h"

namespace brevant {

class TButton;
class TImage;
class TLabel;
class TPanel;

class TAboutForm : public TForm {
  BV_CLASS(TAboutForm, TForm)
 public:
  using TForm::TForm;

  // The colour of the lines FormPaint draws every third pixel row.
  static constexpr TColor kLineColor = 16250871;

  // ---- the components of the form text ----
  TPanel* pnBand = nullptr;          // the navy band on the left
  TImage* imgEmblem = nullptr;       // the emblem on the band
  TImage* imgGridPicture = nullptr;  // the grid picture at the top right
  TLabel* lbTitle = nullptr;         // "Brevant component suite"
  TLabel* lbText = nullptr;          // the description
  TLabel* lbWeb = nullptr;           // the web address, a link
  TButton* btnOK = nullptr;          // default and cancel, closes with OK

  // ---- handlers bound by the form text ----
  // Draws the pictures and styles the web address as a navy link.
  void FormCreate(TObject* sender);
  // The faint lines across the whole form.
  void FormPaint(TObject* sender);
  // Opens the web address with the desktop's handler.
  void lbWebClick(TObject* sender);

 protected:
  void Loaded() override;
};

}  // namespace brevant
