// The importers' questions answered by their dialogs, for the project view's import
// commands; the view passes the way it runs a dialog, and the wait cursor is Qt's.
#pragma once

#include "project/import_ui.h"

#include <memory>

namespace wv {

std::unique_ptr<ImportUi> MakeImportUi(DialogImportUi::DialogRunner runDialog);

}  // namespace wv
