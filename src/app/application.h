#pragma once

class QUrl;

namespace orvalith {

// The whole life of the program around one main document: identity, translation,
// native types, the document, and the print and save service wired to the
// document's window. Returns the exit status: 1 when the document yields no window.
int runApplication(int &argc, char **argv, const QUrl &mainDocument);

} // namespace orvalith
