// Qt's own texts in Japanese: the stock dialogs (file, folder, print, preview), the
// message boxes' buttons and their questions speak the language of the program's menus,
// whatever the user's locale. Qt's translations come from the system (Debian's
// qt6-translations-l10n); without them the stock texts stay English, which is no error.
#pragma once

namespace wv {

// Installs Qt's Japanese translations into the running application. True when found.
bool InstallQtTranslations();

}  // namespace wv
