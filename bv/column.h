// TtlColumn: one column of the grid. It names the field(s) it shows through
// its own field list (which also holds the vision that formats, draws and
// edits its cells), keeps the title, footer and cell appearance, its width
// and its place in the layout. A column never paints on its own: every
// change is reported to the grid (through the collection for layout
// changes), which answers with the narrowest relayout or repaint. Reports
// are skipped without a grid, while the grid loads and while a copy runs.
#pragma once

#include <memory>

#include "bv/field_vision_types.h"
#include "classes/collection.h"
#include "graphics/font.h"

namespace brevant {

class TBitmap;
class TCanvas;
class TChildFont;
class TDBTabulon;
class TField;
class TFiler;
class TImageList;
class TPopupMenu;
class TtlColumn;
class TtlColumns;
class TtlColumnLowLevelInfo;
class TtlFieldList;
class TtlGroupInfo;

enum TtlColumnOptionVisual : Byte {
  cvoForeColorFill,
  cvoNoCaption,
  cvoNoFooterMarker,
  cvoWordWrap,
  cvoOwnerDraw
};
using TtlColumnOptionsVisual = TSet<TtlColumnOptionVisual>;
BV_DECLARE_ENUM_INFO(TtlColumnOptionVisual)
BV_DECLARE_ENUM_INFO(TtlColumnOptionsVisual)

enum TtlColumnOptionBehavior : Byte {
  cboNoTitleStates,
  cboNoFooterStates,
  cboFixedWidth,
  cboStandalone,
  cboNoDragging,
  cboNoCustomizing,
  cboNoSelecting
};
using TtlColumnOptionsBehavior = TSet<TtlColumnOptionBehavior>;
BV_DECLARE_ENUM_INFO(TtlColumnOptionBehavior)
BV_DECLARE_ENUM_INFO(TtlColumnOptionsBehavior)

enum TtlColumnOptionMapping : Byte { cioImportCaption, cioImportDomain };
using TtlColumnOptionsMapping = TSet<TtlColumnOptionMapping>;
BV_DECLARE_ENUM_INFO(TtlColumnOptionMapping)
BV_DECLARE_ENUM_INFO(TtlColumnOptionsMapping)

enum TtlColumnFixed : Byte { cfNone, cfLeft };
BV_DECLARE_ENUM_INFO(TtlColumnFixed)

enum TtlTitleState : Byte { tsSortedNone, tsSortedUp, tsSortedDown };
BV_DECLARE_ENUM_INFO(TtlTitleState)

enum TtlFooterState : Byte { fsAverage, fsCount, fsMax, fsMin, fsSum, fsNone };
using TtlFooterStates = TSet<TtlFooterState>;
BV_DECLARE_ENUM_INFO(TtlFooterState)
BV_DECLARE_ENUM_INFO(TtlFooterStates)

// The marker drawn before a footer text ("MAX" ...; empty for fsCount and
// fsNone) and the state's caption in the footer menu ("Maximum" ...).
String FooterStateMarker(TtlFooterState state);
String FooterStateCaption(TtlFooterState state);

// The images drawn for sorted titles (image TitleState - 1); set by the
// environment, nil until then.
TImageList* TitleStateImages();
void SetTitleStateImages(TImageList* images);

// Footer appearance of a column; any change repaints the column's footer.
class TtlFooterAttrs : public TPersistent {
  BV_CLASS(TtlFooterAttrs, TPersistent)
 public:
  explicit TtlFooterAttrs(TtlColumn* column = nullptr) : column_(column) {}
  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor value) { Set(backColor_, value); }
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor value) { Set(fontColor_, value); }
  TFontStyles FontStyle() const { return fontStyle_; }
  void SetFontStyle(TFontStyles value) { Set(fontStyle_, value); }
  const String& FontName() const { return fontName_; }
  void SetFontName(const String& value) { Set(fontName_, value); }
  // Back to the defaults (one repaint).
  void Reset();
  void Assign(const TPersistent* source) override;

 private:
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void Changed();

  TtlColumn* column_;          // the column repainted on changes
  TColor backColor_ = clNone;  // footer background, clNone: the designer's
  TColor fontColor_ = clNone;  // text colour, clNone: the footer font's
  TFontStyles fontStyle_;      // styles added to the footer font
  String fontName_;            // face replacing the footer font's, empty: none
};

class TtlColumn : public TCollectionItem, public IznFieldVisionConsumer {
  BV_CLASS(TtlColumn, TCollectionItem)
 public:
  explicit TtlColumn(TCollection* collection = nullptr);
  ~TtlColumn() override;

  // ---- published properties ----
  const String& FieldName() const { return fieldName_; }
  void SetFieldName(const String& value);
  // The assigned vision (nil: the default vision serves).
  TznFieldVision* Vision() const { return vision_; }
  void SetVision(TznFieldVision* value);
  TtlColumnOptionsVisual OptionsVisual() const { return optionsVisual_; }
  void SetOptionsVisual(TtlColumnOptionsVisual value);
  TtlColumnOptionsBehavior OptionsBehavior() const { return optionsBehavior_; }
  void SetOptionsBehavior(TtlColumnOptionsBehavior value);
  TtlColumnOptionsMapping OptionsMapping() const { return optionsMapping_; }
  void SetOptionsMapping(TtlColumnOptionsMapping value);
  TtlColumnFixed Fixed() const { return fixed_; }
  void SetFixed(TtlColumnFixed value);
  const String& DisplayFormat() const;
  void SetDisplayFormat(const String& value);
  const String& EditFormat() const;
  void SetEditFormat(const String& value);
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  TznDefAlignment CaptionAlignment() const { return captionAlignment_; }
  void SetCaptionAlignment(TznDefAlignment value);
  // Created on first read (empty, transparent).
  TBitmap* TitleGlyph();
  void SetTitleGlyph(TBitmap* value);
  // The glyph as it is, nil when never read or cleared.
  TBitmap* TitleGlyphIfAny() const { return titleGlyph_.get(); }
  Integer TitleImageIndex() const { return titleImageIndex_; }
  void SetTitleImageIndex(Integer value);
  TtlTitleState TitleState() const { return titleState_; }
  void SetTitleState(TtlTitleState value);
  const String& FooterText() const { return footerText_; }
  void SetFooterText(const String& value);
  TznDefAlignment FooterTextAlignment() const { return footerTextAlignment_; }
  void SetFooterTextAlignment(TznDefAlignment value);
  TtlFooterState FooterState() const { return footerState_; }
  void SetFooterState(TtlFooterState value);
  TtlFooterStates FooterStates() const { return footerStates_; }
  void SetFooterStates(TtlFooterStates value) { footerStates_ = value; }
  Integer Tag() const { return tag_; }
  void SetTag(Integer value) { tag_ = value; }
  // Values below 2 become 2.
  Integer Width() const { return width_; }
  void SetWidth(Integer value);
  Integer LayoutLevel() const { return layoutLevel_; }
  void SetLayoutLevel(Integer value);
  Integer LayoutIndex() const { return layoutIndex_; }
  void SetLayoutIndex(Integer value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TznDefAlignment Alignment() const { return alignment_; }
  void SetAlignment(TznDefAlignment value);
  TznDefLayout VertAlignment() const { return vertAlignment_; }
  void SetVertAlignment(TznDefLayout value);
  // Created on first read; painting reads FontIfAny (nil: the designer's
  // cell font applies).
  TChildFont* Font();
  void SetFont(TChildFont* value);
  TChildFont* FontIfAny() const { return font_.get(); }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  // ---- stored conditions ----
  bool IsVisionStored() const;
  bool IsCaptionStored() const;
  bool IsTitleGlyphStored() const;
  bool IsFontStored() const { return font_ != nullptr; }

  // ---- non-published state ----
  // -1, or the order in which the column became sorted; streamed as a
  // defined property.
  Integer SortOrder() const { return sortOrder_; }
  TtlFieldList* FieldList() const { return fieldList_.get(); }
  // The field list's main field, nil when unbound.
  TField* Field() const { return field_; }
  // Vision, or the default vision the field list took.
  TznFieldVision* EffectiveVision() const;
  TtlFooterAttrs* FooterAttrs() const { return footerAttrs_.get(); }
  // The line of the group and the place in that line (layout).
  Integer Line() const { return line_; }
  Integer PosInLine() const { return posInLine_; }
  // Heights of one title, cell and footer line of the column's group.
  Integer TitleLineHeight() const { return titleLineHeight_; }
  Integer CellLineHeight() const { return cellLineHeight_; }
  Integer FooterLineHeight() const { return footerLineHeight_; }
  void SetLineHeights(Integer title, Integer cell, Integer footer);
  // The caption the title shows (the field list's effective caption).
  const String& EffectiveCaption() const;

  // ---- operations ----
  void BindField();
  // Stores the effective caption and alignments in the field list; True
  // when any of them changed.
  bool UpdateDisplayAttrs();
  // Imports vision and caption from the grid's field mapper, as
  // OptionsMapping allows (nothing without a mapper or field name).
  void ApplyMapping();
  // A partial copy: mask 0 is a full Assign, else the groups of the
  // cmk* bits.
  void CopyFrom(const TtlColumn* source, Cardinal mask);
  // The user-level changes of title clicks and the footer menu.
  void ChangeTitleState(TtlTitleState state, bool exclusive, bool notify);
  void ChangeFooterState(TtlFooterState state);
  bool IsSelectable() const;
  // Asks the grid to make this column current and open its editor;
  // answers whether the editor opened.
  bool RequestEdit();
  // The group the column stands in (nil when every column of its group is
  // hidden, or before the first layout).
  TtlGroupInfo* GroupInfo() const { return groupInfo_; }
  // Line flags, offset in the line and visible neighbours (layout).
  TtlColumnLowLevelInfo* LowLevelInfo() const { return lowLevel_.get(); }
  bool StartsGroup() const { return layoutLevel_ == 0 && layoutIndex_ == 0; }
  Integer CalcTitleHeight(Integer lines, Integer extra);

  // ---- geometry (grid client coordinates; empty when not shown) ----
  TRect TitleRect(bool outer) const;
  TRect CellRect(Integer row, bool outer, bool vertical) const;
  TRect FooterRect(bool withOffset, bool outer) const;
  // Draw the title or footer onto canvas moved by (-dx, -dy); clipped
  // (optional) tells whether the text did not fit.
  void DrawTitle(TCanvas* canvas, Integer dx, bool* clipped = nullptr, Integer dy = 0);
  void DrawFooter(TCanvas* canvas, Integer dx, bool* clipped = nullptr, Integer dy = 0);
  // The text DrawFooter shows (marker and text, or the text alone).
  String FooterDisplayText() const;

  // ---- reports ----
  void InvalidateColumn();
  // Re-measures the grid's lines; relays out when they changed, else
  // repaints the column.
  void ColumnLayoutChanged();
  // Set while a copy runs (reports are suppressed).
  bool Assigning() const { return assigning_; }

  TtlColumns* Columns() const;
  TDBTabulon* Grid() const;
  String DisplayName() const override;
  void Assign(const TPersistent* source) override;
  void SetCollection(TCollection* collection) override;
  // Outside a layout operation the column's whole group moves (see
  // TtlColumns::MoveGroupToIndex).
  void SetIndex(Integer index) override;
  // Leaves its group renumbered behind it (DetachColumn).
  void BeforeDestruction() override;
  // A component the column refers to is being freed.
  void ComponentFreed(TComponent* component);

  // ---- IznFieldVisionConsumer ----
  TComponent* GetComponent() override;
  bool CanModify() override;
  bool CanStartEdit() override;
  void EditStarted() override {}
  void ValuePosted() override;
  bool UpdateTitle() override { return UpdateDisplayAttrs(); }
  void UpdatePopupMenu() override {}
  void VisionChanged(TznFieldVision* vision) override;
  void FieldsChanged() override { BindField(); }
  void UpdateActive() override;
  void Invalidate() override { InvalidateColumn(); }
  void LayoutChanged() override { ColumnLayoutChanged(); }
  void ButtonChanged() override {}
  void EditStyleChanged() override {}

 protected:
  void DefineProperties(TFiler* filer) override;

 private:
  friend class TtlColumns;
  // Reports are skipped without a grid, while it loads and while copying.
  TDBTabulon* ReportGrid() const;
  bool HasMapper() const;
  bool GridLoading() const;
  void StoreSortOrder(Integer value);
  // Width, visibility, layout place and Fixed go through the collection.
  void ReportToCollection();
  // The layout operations behind Width and Visible.
  void ResizeInLayout(Integer value);
  void ShowInLayout(bool value);
  // Whether the collection's layout operations apply now.
  bool InLiveLayout() const;
  void TitleChanged();
  void FontChanged(TChildFont* font);
  void CopyGeometry(const TtlColumn* source);
  void CopyStates(const TtlColumn* source);
  void CopyVisual(const TtlColumn* source);
  void FinishCopy();
  // The grid and the column's left edge on screen; False when not shown.
  bool ScreenSpan(TDBTabulon*& grid, Integer& left) const;

  String fieldName_;                          // field names (';' list)
  TznFieldVision* vision_ = nullptr;          // assigned vision
  TtlColumnOptionsVisual optionsVisual_;      // visual options
  TtlColumnOptionsBehavior optionsBehavior_;  // behaviour options
  TtlColumnOptionsMapping optionsMapping_{cioImportCaption, cioImportDomain};  // imports
  TtlColumnFixed fixed_ = cfNone;                                              // fixed at the left
  String caption_;                                                             // typed caption
  TznDefAlignment captionAlignment_ = talDefault;     // title text alignment
  std::unique_ptr<TBitmap> titleGlyph_;               // title picture, once read
  Integer titleImageIndex_ = -1;                      // image of the grid's TitleImages
  TtlTitleState titleState_ = tsSortedNone;           // sort marker
  Integer sortOrder_ = -1;                            // order of becoming sorted
  String footerText_;                                 // footer text
  TznDefAlignment footerTextAlignment_ = talDefault;  // footer text alignment
  TtlFooterState footerState_ = fsNone;               // footer aggregate
  TtlFooterStates footerStates_{fsAverage, fsCount, fsMax, fsMin, fsSum, fsNone};  // menu
  Integer tag_ = 0;                                                                // user data
  Integer width_ = 45;                               // pixels, at least 2
  Integer layoutLevel_ = 0;                          // line in the group
  Integer layoutIndex_ = 0;                          // place in the line
  bool readOnly_ = false;                            // never edited
  TColor color_ = clNone;                            // cell colour, clNone: designer's
  TznDefAlignment alignment_ = talDefault;           // cell text alignment
  TznDefLayout vertAlignment_ = tlaDefault;          // cell vertical alignment
  std::unique_ptr<TChildFont> font_;                 // cell font overlay, once read
  TPopupMenu* popupMenu_ = nullptr;                  // not owned; cleared when freed
  bool visible_ = true;                              // shown
  std::unique_ptr<TtlFooterAttrs> footerAttrs_;      // footer appearance
  std::unique_ptr<TtlFieldList> fieldList_;          // binding and vision
  TField* field_ = nullptr;                          // main field, nil unbound
  TtlGroupInfo* groupInfo_ = nullptr;                // layout group, owned by the collection
  std::unique_ptr<TtlColumnLowLevelInfo> lowLevel_;  // line flags, offset, neighbours
  Integer line_ = 0;                                 // computed line in the group (-1 hidden)
  Integer posInLine_ = 0;                            // computed place in the line (-1 hidden)
  Integer titleLineHeight_ = 0;                      // one title line
  Integer cellLineHeight_ = 0;                       // one cell line
  Integer footerLineHeight_ = 0;                     // one footer line
  bool assigning_ = false;                           // a copy runs
  bool mapping_ = false;                             // ApplyMapping runs
  std::shared_ptr<const bool> alive_ =
      std::make_shared<const bool>(true);  // expires with the column
};

// Bits of TtlColumn::CopyFrom's mask.
constexpr Cardinal cmkGeometry = 1, cmkVisible = 2, cmkStates = 4, cmkVisual = 8, cmkFieldName = 32,
                   cmkVision = 64, cmkBehavior = 128;

}  // namespace brevant
