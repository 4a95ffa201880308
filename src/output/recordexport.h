#pragma once

#include <QObject>
#include <QString>

// Hands the measures list on as text: to the clipboard, or into a file chosen by
// the user, by default beside the last saved picture.
class RecordExport : public QObject
{
    Q_OBJECT
public:
    explicit RecordExport(QObject *parent = nullptr);

    Q_INVOKABLE void copyText(const QString &text);
    // Asks for a file name, starting from the suggested one in the folder where
    // pictures were last saved, and writes the text there in UTF-8. True once
    // written; false when the user cancelled or the file could not be written
    // (the user is told why).
    Q_INVOKABLE bool saveTextAs(const QString &text, const QString &suggestedName);
};
