#pragma once
// Qt's own texts (file dialogs, standard buttons, print dialogs) in German, like the rest
// of the program. Without the translation files installed they stay English.

class QTranslator;

namespace lumo {

// Loads qtbase_de from Qt's translations directory into the translator and installs it
// on the application; false when the file is not there.
bool InstallQtGerman(QTranslator& translator);

} // namespace lumo
