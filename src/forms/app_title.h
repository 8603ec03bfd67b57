// The application object of the process: its title, which the desktop shows for the program in
// its task list. One per process; dialogs that should not announce themselves there blank it
// when they load.
#pragma once

#include <string>

namespace quillon::forms {

const std::string& AppTitle();
void setAppTitle(std::string title);

}  // namespace quillon::forms
