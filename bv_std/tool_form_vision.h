// TToolFormVision: the base of visions that offer a drop-down tool form. It
// keeps the assigned tool form (DropDown) and the drop-down options, answers
// the edit control's drop-down requests, names the form to open (the
// assigned one, else the kind's default) and opens it through the tool form
// host, whose user it is while the form is open. The stock tool forms of the
// default pack (calendar, calculator, list, blob picker) are looked up by kind, so kinds
// name them before the pack exists.
#pragma once

#include <functional>

#include "bv/field_vision.h"
#include "bv/tool_form_intf.h"

namespace brevant {

class TDataSource;

class TToolFormVision : public TznFieldVision, public IVisionToolFormUser {
  BV_CLASS(TToolFormVision, TznFieldVision)
 public:
  explicit TToolFormVision(TComponent* owner = nullptr);
  // An open drop-down closes (discarding) before its user goes.
  void BeforeDestruction() override;

  // The tool form to open; nil means the kind's default. The vision hears
  // when the assigned form is freed and forgets it.
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
  // Opens the tool form for editor through the tool form host (or the
  // handler installed with SetToolFormShowHandler).
  void ShowDropDown(IznVisionEditor* editor, TVisionToolForm* toolForm) override;

  // ---- IVisionToolFormUser ----
  // GetListSourceFor the field list of the edit the open form serves; nil
  // while none is open.
  TDataSource* GetListSource() override;
  void SetToolForm(IVisionToolForm* toolForm) override { openToolForm_ = toolForm; }
  bool PostEdit(IznVisionEditor* editor, bool selectAll) override {
    return TznFieldVision::PostEdit(editor, selectAll);
  }
  bool PostOrMove(IznVisionEditor* editor, bool selectAll) override {
    return TznFieldVision::PostOrMove(editor, selectAll);
  }
  // The drop-down open for this vision, nil while none is.
  IVisionToolForm* OpenToolForm() const { return openToolForm_; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Tells the open drop-down (if it serves editor) that the value changed.
  void TellCurrentChanged(IznVisionEditor* editor);

 private:
  TVisionToolForm* dropDown_ = nullptr;      // assigned tool form (not owned)
  TfvDropDownOptions dropDownOptions_;       // when the drop-down opens by itself
  IVisionToolForm* openToolForm_ = nullptr;  // the open drop-down, reported by the host
};

// The stock tool forms a kind may name as its default drop-down.
enum TznStockToolForm : Byte { stfCalendar, stfCalculator, stfDataList, stfBlobPicker };
// The registered stock tool form of kind, or nil while none is registered.
TVisionToolForm* StockToolForm(TznStockToolForm kind);
// Registers form (not owned; nil unregisters) as the stock tool form of kind.
void SetStockToolForm(TznStockToolForm kind, TVisionToolForm* form);

// What opens a tool form for a vision and an editor in place of the tool
// form host (tests record the request); without one the host opens it.
using TToolFormShowHandler =
    std::function<void(TToolFormVision* vision, IznVisionEditor* editor, TVisionToolForm* form)>;
void SetToolFormShowHandler(TToolFormShowHandler handler);

void RegisterToolFormVisionClasses();

}  // namespace brevant
