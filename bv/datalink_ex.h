// TDataLinkEx: a data link whose notifications go to assignable slots, so a
// control can handle them in its own methods. Each notification calls its
// slot when assigned and does nothing else (DataSetChanged does not fall
// back on RecordChanged, LayoutChanged not on DataSetChanged).
#pragma once

#include "db/datasource.h"
#include "rtl/method.h"

namespace brevant {

class TDataLinkEx;
using TDataLinkExEvent = TEvent<void(TDataLinkEx* Sender)>;
using TDataLinkExScrolledEvent = TEvent<void(TDataLinkEx* Sender, Integer Distance)>;
using TDataLinkExFieldEvent = TEvent<void(TDataLinkEx* Sender, TField* Field)>;
using TDataLinkExFocusEvent = TEvent<void(TDataLinkEx* Sender, TField*& Field)>;

class TDataLinkEx : public TDataLink {
 public:
  TDataLinkExEvent OnActiveChanged;
  TDataLinkExEvent OnDataSetChanged;
  TDataLinkExScrolledEvent OnDataSetScrolled;
  TDataLinkExEvent OnEditingChanged;
  // Receives a copy of the field; clearing the copy clears the caller's
  // reference. A nil field is not passed on.
  TDataLinkExFocusEvent OnFocusControl;
  TDataLinkExEvent OnLayoutChanged;
  TDataLinkExFieldEvent OnRecordChanged;
  TDataLinkExEvent OnUpdateData;

  // The dataset's fetches beyond the buffered records (nothing notified).
  using TDataLink::FetchNextRecord;
  using TDataLink::FetchPriorRecord;

 protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  void DataSetScrolled(Integer distance) override;
  void EditingChanged() override;
  void FocusControl(TField*& field) override;
  void LayoutChanged() override;
  void RecordChanged(TField* field) override;
  void UpdateData() override;
};

}  // namespace brevant
