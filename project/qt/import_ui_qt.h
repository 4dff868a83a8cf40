// The import commands' dialogs on screen.
#pragma once

#include "project/terrain_import.h"

#include <memory>

class QWidget;

namespace wv {

std::unique_ptr<ImportUi> MakeImportUi(QWidget* parent);

}  // namespace wv
