// The gallery's page of the shared environment: every image list of the
// environment with its pictures, so the artwork can be looked at.
#pragma once

namespace brevant {

class TForm;
class TWinControl;

// Fills page with the environment's image lists (nothing before start-up).
void BuildEnvironmentPage(TForm* gallery, TWinControl* page);

}  // namespace brevant
