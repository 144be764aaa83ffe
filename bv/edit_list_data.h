// TznEditListData: the object dataset and data source an edit control owns
// while it edits, over which list visions show their drop-down lists (a
// pick list, a lookup table). Created on first request through the edit's
// field list and freed with it or when the edit leaves edit state.
#pragma once

#include "rtl/object.h"

namespace brevant {

class TDataSource;
class TObjDataSet;

class TznEditListData {
 public:
  TznEditListData();
  ~TznEditListData();
  TznEditListData(const TznEditListData&) = delete;
  TznEditListData& operator=(const TznEditListData&) = delete;

  TObjDataSet* DataSet() const { return dataSet_.get(); }
  // The source is linked to DataSet from the start; a vision may point it
  // at another dataset (a lookup field's own).
  TDataSource* DataSource() const { return dataSource_.get(); }

 private:
  TObjectPtr<TObjDataSet> dataSet_;     // the editor's object dataset (owned)
  TObjectPtr<TDataSource> dataSource_;  // the editor's data source (owned)
};

}  // namespace brevant
