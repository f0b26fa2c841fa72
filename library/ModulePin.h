#pragma once

namespace brontelx {

// Keeps libBrontelX.so loaded for the rest of the process once a window of it exists: a host that
// unloads the library (dlclose) while a window is open would otherwise leave the window's code
// unmapped, and crash at the next event. Cheap after the first call.
void PinModule() noexcept;

}  // namespace brontelx
