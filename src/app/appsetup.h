#pragma once

class QString;
class QTranslator;

namespace orvalith {

// Options of the toolkit's drawing and scaling to the screen: to be called before
// the application object is made.
void setRenderingOptions();

// Names, domain and version of the application. The settings store is named
// after these, so they must be set before anything opens it.
void setApplicationIdentity();

// Loads the catalogue matching the system locale (es_ES, es_AR, ... all end at
// "es"). Returns false, leaving the translator empty, when there is none.
bool loadSystemTranslation(QTranslator &translator);

// Loads Qt's own catalogue for the program's language (the one the catalogue
// above holds), for the texts of Qt's dialogs. Returns false when there is none.
bool loadToolkitTranslation(QTranslator &translator, const QString &language);

// Makes the native types available to the documents as "import Orvalith 1.0".
void registerQmlTypes();

} // namespace orvalith
