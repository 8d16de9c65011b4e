#pragma once

namespace soten::platform {

// A root shell or a batch job often has no XDG_RUNTIME_DIR. Qt then picks
// /tmp/runtime-<user> itself, but says so on stderr; point the variable at
// that folder first so users never read the warning. Call before the Qt
// application object is made.
void EnsureRuntimeFolder();

}  // namespace soten::platform
