/** @file Qt's own texts (standard buttons, file dialogs) in Japanese. */
#pragma once

class QCoreApplication;
class QTranslator;

namespace tw {

/// Installs Qt's Japanese translation ("qtbase_ja" from Qt's translations
/// folder) in `app`, whatever the user's locale: the program speaks Japanese
/// throughout. Returns the translator (owned by `app`), or nullptr when the
/// translation is not installed, in which case Qt's buttons stay English.
QTranslator* InstallQtTranslations(QCoreApplication& app);

}  // namespace tw
