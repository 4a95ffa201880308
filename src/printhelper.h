#pragma once

#include <QObject>
#include <QSettings>
#include <QVariant>

// Prints the exported composite on one page, or saves it as a PNG or JPEG file
// in a folder that is remembered between runs.
class PrintHelper : public QObject
{
    Q_OBJECT
public:
    explicit PrintHelper(QObject *parent = nullptr);

public slots:
    void printImage(QVariant image);
    void saveImage(QVariant image);

private:
    QSettings m_settings;
};
