#include "compositemark.h"

#include "recordmetadata.h"

CompositeMark::CompositeMark(QObject *parent) : QObject(parent) {}

bool CompositeMark::carriesOverlay(const QUrl &file) const
{
    return file.isLocalFile() && orvalith::carriesCompositeMark(file.toLocalFile());
}
