// The control gallery: one form, built in code, showing every standard
// control of the platform on the pages of a notebook, with buttons that open
// each standard dialog. It runs on either backend.
#pragma once

namespace brevant {

class TComponent;
class TForm;

// A new gallery form owned by owner (not shown). Its components are named
// (Notebook, StatusBar, MessageButton, InputButton, ColorButton,
// OpenPictureButton, SavePictureButton, page buttons PageStandard,
// PageEdits, PageContainers ...), so tests and scripts can find them.
TForm* CreateGalleryForm(TComponent* owner);

}  // namespace brevant
