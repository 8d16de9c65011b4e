#pragma once

namespace soten::platform {

// A root shell or a batch job often has no XDG_RUNTIME_DIR. Qt then picks
// /tmp/runtime-<user> itself, but says so on stderr; point the variable at a
// folder of the user's own first so users never read the warning. Call
// before the Qt application object is made.
//
// The shared temporary folder is anyone's: the usual name is used only when
// this call creates it, or finds it a real folder (not a link) of the user's
// own that nobody else may enter; nothing there is ever changed. Otherwise
// the folder is a new private one with a name of its own, removed at exit.
void EnsureRuntimeFolder();

}  // namespace soten::platform
