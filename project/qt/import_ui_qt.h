// The importers' dialogs on screen, for the project view's import commands.
#pragma once

#include "project/terrain_import.h"

#include <memory>

class QWidget;

namespace wv {

std::unique_ptr<ImportUi> MakeImportUi(QWidget* parent);

}  // namespace wv
