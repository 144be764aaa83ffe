// TToolFormVision: the base of visions that offer a drop-down tool form. It
// keeps the assigned tool form (DropDown) and the drop-down options, answers
// the edit control's drop-down requests and names the form to open: the
// assigned one, else the kind's default. The stock tool forms of the default
// pack (calendar, calculator) are looked up by kind, so kinds name them
// before the pack exists.
#pragma once

#include <functional>

#include "bv/field_vision.h"

namespace brevant {

class TDataSource;

class TToolFormVision : public TznFieldVision {
  BV_CLASS(TToolFormVision, TznFieldVision)
 public:
  explicit TToolFormVision(TComponent* owner = nullptr);

  // The tool form to open; nil means the kind's default.
  TVisionToolForm* DropDown() const { return dropDown_; }
  virtual void SetDropDown(TVisionToolForm* value);
  TfvDropDownOptions DropDownOptions() const { return dropDownOptions_; }
  void SetDropDownOptions(TfvDropDownOptions value) { dropDownOptions_ = value; }

  // The data source of the list shown for fields; nil for visions without a
  // list.
  virtual TDataSource* GetListSourceFor(TtlFieldList* fields);
  // The kind's own tool form, used while DropDown is nil.
  virtual TVisionToolForm* DefaultDropDown();

  // Reason 0 (entering), 1 (typing) and 2 (Alt+Down) ask the matching
  // option.
  bool CanDropDown(Integer reason) override;
  TVisionToolForm* GetDropDown() override;
  // Hands the tool form to the tool form host (see SetToolFormShowHandler).
  void ShowDropDown(IznVisionEditor* editor, TVisionToolForm* toolForm) override;

 private:
  TVisionToolForm* dropDown_ = nullptr;  // assigned tool form (not owned)
  TfvDropDownOptions dropDownOptions_;   // when the drop-down opens by itself
};

// The stock tool forms a kind may name as its default drop-down.
enum TznStockToolForm : Byte { stfCalendar, stfCalculator };
// The registered stock tool form of kind, or nil while none is registered.
TVisionToolForm* StockToolForm(TznStockToolForm kind);
// Registers form (not owned; nil unregisters) as the stock tool form of kind.
void SetStockToolForm(TznStockToolForm kind, TVisionToolForm* form);

// What opens a tool form for a vision and an editor: installed by the tool
// form host; without one ShowDropDown does nothing.
using TToolFormShowHandler =
    std::function<void(TToolFormVision* vision, IznVisionEditor* editor, TVisionToolForm* form)>;
void SetToolFormShowHandler(TToolFormShowHandler handler);

void RegisterToolFormVisionClasses();

}  // namespace brevant
