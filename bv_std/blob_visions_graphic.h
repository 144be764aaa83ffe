// Picture blobs: moving bitmaps between universal values and bitmaps, the
// picture preview window and the open and save picture dialogs, shared by
// the image and picture visions and the default pack.
#pragma once

#include "rtl/types.h"

namespace brevant {

class TBitmap;
class TComponent;
class TznUniValue;

// Null empties bitmap; otherwise the value's bytes are read as a picture
// (EInvalidGraphic for bytes that are none).
void LoadGraphic(const TznUniValue& value, TBitmap& bitmap);
// An empty bitmap makes the value null; otherwise the value (typed as a
// blob) takes the bitmap's BMP stream and becomes Modified.
void StoreGraphic(TznUniValue& value, const TBitmap& bitmap);
// The modal "Picture preview" window showing bitmap; Return and Escape
// close it. A picture larger than the screen's work area is shown scaled
// down to fit, so the window never outgrows the screen.
void PreviewGraphic(const TBitmap& bitmap);
// The open picture dialog (bitmaps), starting in the folder of the last
// successful load; on success that folder is remembered, the working
// folder is restored and bitmap is loaded from the file.
bool OpenPictureFile(TBitmap& bitmap, TComponent* owner);
// The save picture dialog (bitmaps, overwrite prompt); fileName proposes
// a name and receives the chosen one.
bool SavePictureFile(String& fileName);
// The folder OpenPictureFile starts in ("" before any load).
String LastPictureFolder();
void SetLastPictureFolder(const String& folder);

}  // namespace brevant
