#pragma once

namespace brontelx::platform::qt {

// Makes the fonts in the folder "fonts" beside the module (library or program) that contains the
// backend available to the windows, so that a family the system lacks, such as Tahoma, can still be
// drawn as designed. Runs once; a missing folder changes nothing: the system's substitutes serve.
void LoadBundledFonts();

}  // namespace brontelx::platform::qt
