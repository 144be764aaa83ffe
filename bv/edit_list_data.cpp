// The editor's own object dataset and data source.
#include "bv/edit_list_data.h"

#include "bv_db/obj_dataset.h"
#include "db/datasource.h"

namespace brevant {

TznEditListData::TznEditListData()
    : dataSet_(Create<TObjDataSet>(nullptr)), dataSource_(Create<TDataSource>(nullptr)) {
  dataSource_->SetDataSet(dataSet_.get());
}

// The source goes first, so the dataset has no link left when it closes.
TznEditListData::~TznEditListData() {
  dataSource_.reset();
  dataSet_.reset();
}

}  // namespace brevant
