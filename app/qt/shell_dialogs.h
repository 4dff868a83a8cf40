// Gives the application object its dialogs from the core: the new-calculation-file
// dialog for New, the new-project dialog for the new-project command, and the splash
// window of start-up.
#pragma once

namespace wv {

void InstallShellDialogs();

}  // namespace wv
