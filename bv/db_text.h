// TDBQuentaText: a read-only, word-wrapped display of one field (or a list
// of fields) of a data source's current record, formatted by a field vision
// exactly as a grid cell would format it. It is the display-only sibling of
// the data-aware edit: the same field list, vision and mapper wiring, no
// editing. Every data change, scroll, record or field change refreshes the
// text; activity and layout changes of the link bind the fields again.
#pragma once

#include <memory>

#include "bv/field_mapper.h"
#include "bv/field_vision_types.h"
#include "controls/controls.h"

namespace brevant {

class TDataLinkEx;
class TDataSource;
class TField;
class TtlFieldList;
enum TznBorderStyle : Byte;

class TDBQuentaText : public TCustomControl, public IznFieldVisionConsumer {
  BV_CLASS(TDBQuentaText, TCustomControl)
 public:
  explicit TDBQuentaText(TComponent* owner);
  ~TDBQuentaText() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // ---- published properties ----
  // Changing it recreates the window.
  TznBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TznBorderStyle value);
  // The field list's attribute string, read by the mapper.
  const String& Attrs() const;
  void SetAttrs(const String& value);
  TtlMappingOptions MappingOptions() const { return mappingOptions_; }
  void SetMappingOptions(TtlMappingOptions value);
  TznCustomFieldMapper* Mapper() const { return mapper_; }
  void SetMapper(TznCustomFieldMapper* value);
  // A field name or a semicolon list of field names.
  const String& DataField() const;
  void SetDataField(const String& value);
  // The assigned vision (nil: the field list's default vision serves).
  TznFieldVision* Vision() const { return vision_; }
  void SetVision(TznFieldVision* value);
  // Stored when assigned and not imported by the mapper.
  bool IsVisionStored() const;
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* value);
  bool IsColorStored() const;

  // ---- state ----
  TtlFieldList* FieldList() const { return fieldList_.get(); }
  TDataLinkEx* DataLink() const { return dataLink_.get(); }
  // The vision in use: Vision, or the field list's default.
  TznFieldVision* EffectiveVision() const { return effectiveVision_; }
  // The first field of the list, nil while unbound.
  TField* Field() const { return field_; }
  // The text painted now (empty while the field list is not active).
  const String& DisplayText() const { return text_; }
  // Asks for the mapping through the control's own mapping message.
  void RequestMapping();

  // ---- IznFieldVisionConsumer ----
  TComponent* GetComponent() override { return this; }
  bool CanModify() override { return false; }
  bool CanStartEdit() override { return false; }
  void EditStarted() override {}
  void ValuePosted() override {}
  bool UpdateTitle() override { return false; }
  void UpdatePopupMenu() override {}
  void VisionChanged(TznFieldVision* vision) override;
  void FieldsChanged() override { Rebind(); }
  void UpdateActive() override;
  // A repaint, asked by the platform or by the vision, takes the text
  // afresh: the vision may format it differently now.
  void Invalidate() override;
  void LayoutChanged() override { Invalidate(); }
  void ButtonChanged() override {}
  void EditStyleChanged() override {}

  TfvActionEvent OnAction;

  void Dispatch(TMessage& message) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void WMNCCalcSize(TMessage& message) override;
  void WMNCPaint(TMessage& message) override;

 private:
  bool Loading() const { return ComponentState().Contains(csLoading); }
  // Resolves the fields against the link's dataset, takes the bound field,
  // recomputes Active and refreshes the text.
  void Rebind();
  // Takes the text afresh and repaints.
  void RefreshText() { Invalidate(); }
  // The mapping message: imports the mapper's vision for the fields.
  void ApplyMapping();
  // Data link handlers.
  void LinkChanged(TDataLinkEx* sender);
  void LinkScrolled(TDataLinkEx* sender, Integer distance);
  void LinkRecordChanged(TDataLinkEx* sender, TField* field);
  void LinkRebind(TDataLinkEx* sender);
  void LinkFocusControl(TDataLinkEx* sender, TField*& field);

  std::unique_ptr<TDataLinkEx> dataLink_;              // the link to the data source
  std::unique_ptr<TtlFieldList> fieldList_;            // fields and vision
  TznBorderStyle borderStyle_;                         // bs3D at first (set by the constructor)
  TtlMappingOptions mappingOptions_{eioImportDomain};  // what the mapper may import
  TznCustomFieldMapper* mapper_ = nullptr;             // not owned; cleared when freed
  TznFieldVision* vision_ = nullptr;                   // assigned vision, not owned
  TznFieldVision* effectiveVision_ = nullptr;          // vision_ or the default
  TField* field_ = nullptr;                            // first field of the list
  String text_;                                        // the text to show
  bool mapping_ = false;                               // the mapping message runs
};

void RegisterTextDisplayClasses();

}  // namespace brevant
