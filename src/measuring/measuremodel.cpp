#include "measuremodel.h"

#include "measuregeometry.h"

#include <QVariantList>
#include <algorithm>

MeasureModel::MeasureModel(QObject *parent) : QAbstractListModel(parent) {}

int MeasureModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_measures.size();
}

const QString angleKind = QStringLiteral("angle");

// An angle has its vertex between its two ends; every other kind is a straight
// distance between two points.
int MeasureModel::pointCount(const QString &kind)
{
    return kind == angleKind ? 3 : 2;
}

QVariant MeasureModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const Measure &measure = m_measures.at(index.row());
    const QPointF unset = measuregeometry::unsetPoint();
    switch (role) {
    case Qt::DisplayRole:
    case KindRole:
        return measure.kind;
    case PointsRole: {
        QVariantList points;
        for (const QPointF &point : measure.points)
            points.append(point);
        return points;
    }
    case StartRole:
        return measure.points.value(0, unset);
    case EndRole:
        return measure.points.value(1, unset);
    case CompleteRole:
        return std::all_of(measure.points.begin(), measure.points.end(), measuregeometry::isSet) &&
               measure.points.size() == pointCount(measure.kind);
    case LengthRole:
        return length(index.row());
    case AngleRole:
        return angle(index.row());
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> MeasureModel::roleNames() const
{
    return {{KindRole, "kind"},  {PointsRole, "points"},     {StartRole, "start"},
            {EndRole, "end"},    {CompleteRole, "complete"}, {LengthRole, "length"},
            {AngleRole, "angle"}};
}

QVariantMap MeasureModel::get(int row) const
{
    QVariantMap values;
    if (row < 0 || row >= m_measures.size())
        return values;
    const QHash<int, QByteArray> roles = roleNames();
    for (auto it = roles.begin(); it != roles.end(); ++it)
        values.insert(QString::fromLatin1(it.value()), data(index(row), it.key()));
    return values;
}

double MeasureModel::length(int row) const
{
    if (row < 0 || row >= m_measures.size())
        return 0;
    const QVector<QPointF> &points = m_measures.at(row).points;
    if (points.size() < 2 || m_measures.at(row).kind == angleKind)
        return 0;
    return m_lengthFactor *
           measuregeometry::pictureDistance(points.at(0), points.at(1), m_pictureSize);
}

double MeasureModel::angle(int row) const
{
    if (row < 0 || row >= m_measures.size() || m_measures.at(row).kind != angleKind)
        return 0;
    const QVector<QPointF> &points = m_measures.at(row).points;
    if (points.size() < 3 || !std::all_of(points.begin(), points.end(), measuregeometry::isSet))
        return 0;
    const auto pixels = [this, &points](int i) {
        return measuregeometry::toPixels(points.at(i), m_pictureSize);
    };
    return measuregeometry::angleAt(pixels(0), pixels(1), pixels(2));
}

void MeasureModel::insertMeasure(int row, const Measure &measure)
{
    row = std::clamp(row, 0, int(m_measures.size()));
    beginInsertRows(QModelIndex(), row, row);
    m_measures.insert(row, measure);
    endInsertRows();
    emit countChanged();
}

void MeasureModel::removeMeasure(int row)
{
    if (row < 0 || row >= m_measures.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_measures.remove(row);
    endRemoveRows();
    emit countChanged();
}

void MeasureModel::setPoint(int row, int index, const QPointF &point)
{
    if (row < 0 || row >= m_measures.size() || index < 0)
        return;
    QVector<QPointF> &points = m_measures[row].points;
    if (index >= points.size())
        points.resize(index + 1);
    points[index] = point;
    const QModelIndex changed = this->index(row);
    emit dataChanged(changed, changed);
}

void MeasureModel::resetMeasures(const QVector<Measure> &measures)
{
    if (measures == m_measures)
        return;
    const bool countChanges = measures.size() != m_measures.size();
    beginResetModel();
    m_measures = measures;
    endResetModel();
    if (countChanges)
        emit countChanged();
}

void MeasureModel::setLengthFactor(double factor)
{
    if (factor == m_lengthFactor)
        return;
    m_lengthFactor = factor;
    lengthsChanged();
}

void MeasureModel::setPictureSize(const QSizeF &size)
{
    if (size == m_pictureSize)
        return;
    m_pictureSize = size;
    lengthsChanged();
}

void MeasureModel::lengthsChanged()
{
    if (!m_measures.isEmpty())
        emit dataChanged(index(0), index(m_measures.size() - 1), {LengthRole, AngleRole});
}
