#include "printhelper.h"

PrintHelper::PrintHelper(QObject *parent) : QObject(parent) {}

void PrintHelper::printImage(QVariant image)
{
    Q_UNUSED(image)
}

void PrintHelper::saveImage(QVariant image)
{
    Q_UNUSED(image)
}
