// The control gallery: one form, built in code, showing every standard
// control of the platform on the pages of a notebook, with buttons that open
// each standard dialog. It runs on either backend.
#pragma once

namespace brevant {

class TComponent;
class TForm;
class TWinControl;

// Builds a page of further controls into a new gallery. Programs that link
// the suite's layers add their pages here; the gallery itself only knows
// the platform, so a program linking only the platform has none.
using TGalleryPageBuilder = void (*)(TForm* gallery, TWinControl* page);
// Adds a page named name (also the name of its speed button, "Page" + name)
// to every gallery created from now on.
void AddGalleryPage(const char* name, TGalleryPageBuilder build);

// A new gallery form owned by owner (not shown). Its components are named
// (Notebook, StatusBar, MessageButton, InputButton, ColorButton,
// OpenPictureButton, SavePictureButton, page buttons PageStandard,
// PageEdits, PageContainers ...), so tests and scripts can find them.
TForm* CreateGalleryForm(TComponent* owner);

}  // namespace brevant
