#include "measurementdocument.h"

#include "changecommand.h"
#include "measuregeometry.h"

#include <QVariantList>
#include <utility>

namespace {

// One number per kind of change: only changes of one kind merge.
enum ChangeKind {
    AddMeasureKind = 1,
    RemoveMeasureKind,
    MovePointKind,
    CalibrateKind,
    MoveCircleKind,
    TurnGuideLineKind,
    TurnSectorEdgeKind,
    ChangeRadiusKind,
    ClearMeasuresKind,
    FitCircleKind,
    ChangePlannedAxisKind,
};

const QString startKey = QStringLiteral("start");
const QString endKey = QStringLiteral("end");
const QString referenceKey = QStringLiteral("reference");
const QString unitKey = QStringLiteral("unit");

QVariantMap measureVariant(const Measure &measure)
{
    QVariantList points;
    for (const QPointF &point : measure.points)
        points.append(
            QVariantMap{{QStringLiteral("x"), point.x()}, {QStringLiteral("y"), point.y()}});
    return {{QStringLiteral("kind"), measure.kind}, {QStringLiteral("points"), points}};
}

// A point from QML (a point value) or from a record (an object with x and y).
QPointF pointFrom(const QVariant &value)
{
    if (value.canConvert<QPointF>() && value.userType() != QMetaType::QVariantMap)
        return value.toPointF();
    const QVariantMap map = value.toMap();
    if (!map.contains(QStringLiteral("x")) || !map.contains(QStringLiteral("y")))
        return measuregeometry::unsetPoint();
    return QPointF(map.value(QStringLiteral("x")).toDouble(),
                   map.value(QStringLiteral("y")).toDouble());
}

Measure measureFrom(const QVariant &value)
{
    const QVariantMap map = value.toMap();
    Measure measure;
    measure.kind = map.value(QStringLiteral("kind")).toString();
    for (const QVariant &point : map.value(QStringLiteral("points")).toList())
        measure.points.append(pointFrom(point));
    return measure;
}

// Adds or removes one measure: the same change seen from its two ends.
class MeasureListCommand : public QUndoCommand
{
public:
    MeasureListCommand(const QString &name, MeasureModel *model, int row, Measure measure,
                       bool adding)
        : QUndoCommand(name), m_model(model), m_row(row), m_measure(std::move(measure)),
          m_adding(adding)
    {}
    void redo() override { m_adding ? add() : remove(); }
    void undo() override { m_adding ? remove() : add(); }

private:
    void add() { m_model->insertMeasure(m_row, m_measure); }
    void remove() { m_model->removeMeasure(m_row); }

    MeasureModel *m_model;
    int m_row;
    Measure m_measure;
    bool m_adding;
};

} // namespace

MeasurementDocument::MeasurementDocument(QObject *parent) : QObject(parent)
{
    m_calibration = {{startKey, measuregeometry::unsetPoint()},
                     {endKey, measuregeometry::unsetPoint()},
                     {referenceKey, 0.0},
                     {unitKey, QString()}};
    connect(&m_stack, &QUndoStack::indexChanged, this, &MeasurementDocument::undoStateChanged);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &MeasurementDocument::undoStateChanged);
    connect(&m_measures, &QAbstractItemModel::rowsInserted, this, &MeasurementDocument::changed);
    connect(&m_measures, &QAbstractItemModel::rowsRemoved, this, &MeasurementDocument::changed);
    connect(&m_measures, &QAbstractItemModel::modelReset, this, &MeasurementDocument::changed);
    connect(&m_measures, &QAbstractItemModel::dataChanged, this, &MeasurementDocument::changed);
    for (auto signal :
         {&MeasurementDocument::calibrationChanged, &MeasurementDocument::circleChanged,
          &MeasurementDocument::lineChanged, &MeasurementDocument::sectorChanged,
          &MeasurementDocument::rightEyeChanged, &MeasurementDocument::referenceTextChanged,
          &MeasurementDocument::plannedAxisChanged})
        connect(this, signal, this, &MeasurementDocument::changed);
}

void MeasurementDocument::setPictureSize(const QSizeF &size)
{
    if (size == pictureSize())
        return;
    m_measures.setPictureSize(size);
    m_measures.setLengthFactor(lengthFactor());
    emit pictureSizeChanged();
    emit calibrationChanged();
}

double MeasurementDocument::lengthFactor() const
{
    const double distance =
        measuregeometry::pictureDistance(calibrationStart(), calibrationEnd(), pictureSize());
    return distance > 0 && reference() > 0 ? reference() / distance : 0;
}

void MeasurementDocument::setRightEye(bool right)
{
    if (right == m_rightEye)
        return;
    m_rightEye = right;
    emit rightEyeChanged();
}

void MeasurementDocument::setReferenceText(const QString &text)
{
    if (text == m_referenceText)
        return;
    m_referenceText = text;
    emit referenceTextChanged();
}

bool MeasurementDocument::empty() const
{
    return m_measures.rowCount() == 0 && !measuregeometry::isSet(calibrationStart()) &&
           m_referenceText.isEmpty() && m_plannedAxis < 0;
}

QPointF MeasurementDocument::point(int row, int index) const
{
    if (row < 0)
        return index == 0 ? calibrationStart() : calibrationEnd();
    return m_measures.measure(row).points.value(index, measuregeometry::unsetPoint());
}

void MeasurementDocument::push(const QString &name, int kind, const QString &target,
                               const QVariant &before, const QVariant &after,
                               std::function<void(const QVariant &)> apply)
{
    if (before == after)
        return;
    m_stack.push(new ChangeCommand(name, kind, target, m_step, before, after, std::move(apply)));
}

int MeasurementDocument::addMeasure(const QString &kind, const QVariantList &points)
{
    Measure measure{kind, {}};
    for (const QVariant &point : points)
        measure.points.append(pointFrom(point));
    const int row = m_measures.rowCount();
    m_stack.push(new MeasureListCommand(tr("Add measure"), &m_measures, row, measure, true));
    endStep();
    return row;
}

void MeasurementDocument::removeMeasure(int row)
{
    if (row < 0 || row >= m_measures.rowCount())
        return;
    m_stack.push(new MeasureListCommand(tr("Remove measure"), &m_measures, row,
                                        m_measures.measure(row), false));
    endStep();
}

void MeasurementDocument::movePoint(int row, int index, const QPointF &point)
{
    if (row < 0) {
        if (index < 0 || index > 1)
            return;
        QVariantMap after = m_calibration;
        after.insert(index == 0 ? startKey : endKey, point);
        push(tr("Move point"), MovePointKind, QStringLiteral("calibration %1").arg(index),
             m_calibration, after, [this](const QVariant &value) { applyCalibration(value); });
        return;
    }
    if (row >= m_measures.rowCount() || index < 0 || index >= m_measures.measure(row).points.size())
        return;
    push(tr("Move point"), MovePointKind, QStringLiteral("%1 %2").arg(row).arg(index),
         this->point(row, index), point, [this, row, index](const QVariant &value) {
             m_measures.setPoint(row, index, value.toPointF());
         });
}

void MeasurementDocument::nudgePoint(int row, int index, double dx, double dy)
{
    const QPointF from = point(row, index);
    if (measuregeometry::isSet(from))
        movePoint(row, index, measuregeometry::nudged(from, dx, dy, pictureSize()));
}

bool MeasurementDocument::calibrate(const QPointF &start, const QPointF &end, double reference,
                                    const QString &unit)
{
    if (!(reference > 0) || measuregeometry::pictureDistance(start, end, pictureSize()) <= 0)
        return false;
    const QVariantMap after{
        {startKey, start}, {endKey, end}, {referenceKey, reference}, {unitKey, unit}};
    push(tr("Calibrate"), CalibrateKind, QString(), m_calibration, after,
         [this](const QVariant &value) { applyCalibration(value); });
    endStep();
    return true;
}

void MeasurementDocument::moveCircle(const QPointF &centre)
{
    push(tr("Move circle"), MoveCircleKind, QString(), m_circleCentre, centre,
         [this](const QVariant &value) {
             m_circleCentre = value.toPointF();
             emit circleChanged();
         });
}

void MeasurementDocument::changeRadius(double radius)
{
    push(tr("Change radius"), ChangeRadiusKind, QString(), m_circleRadius, radius,
         [this](const QVariant &value) {
             m_circleRadius = value.toDouble();
             emit circleChanged();
         });
}

void MeasurementDocument::fitCircle(const QPointF &centre, double radius)
{
    const QVariantList before{m_circleCentre, m_circleRadius, m_circleFitted};
    const QVariantList after{centre, radius, true};
    const quint64 step = m_step;
    m_step = m_fitStep;
    push(tr("Fit circle"), FitCircleKind, QString(), before, after, [this](const QVariant &value) {
        const QVariantList circle = value.toList();
        m_circleCentre = circle.value(0).toPointF();
        m_circleRadius = circle.value(1).toDouble();
        m_circleFitted = circle.value(2).toBool();
        emit circleChanged();
    });
    m_step = step;
}

// The keys typed into the field in one go make one step, as a drag does.
void MeasurementDocument::setPlannedAxis(double axis)
{
    push(tr("Change planned axis"), ChangePlannedAxisKind, QString(), m_plannedAxis,
         plannedAxisFrom(axis), [this](const QVariant &value) { applyPlannedAxis(value); });
}

double MeasurementDocument::plannedAxisFrom(double axis)
{
    return axis >= 0 && axis <= 180 ? axis : -1;
}

void MeasurementDocument::applyPlannedAxis(const QVariant &axis)
{
    const double value = plannedAxisFrom(axis.toDouble());
    if (value == m_plannedAxis)
        return;
    m_plannedAxis = value;
    emit plannedAxisChanged();
}

void MeasurementDocument::turnGuideLine(double rotation)
{
    push(tr("Turn guide line"), TurnGuideLineKind, QString(), m_lineRotation, rotation,
         [this](const QVariant &value) {
             m_lineRotation = value.toDouble();
             emit lineChanged();
         });
}

// The angles come as the panel holds them (a guide line at 180 is the one at 0 drawn
// the same, and kept as given).
void MeasurementDocument::turnSector(double rotation, double angle)
{
    const QVariantList before{m_sectorRotation, m_sectorAngle};
    const QVariantList after{rotation, angle};
    push(tr("Turn sector edge"), TurnSectorEdgeKind, QString(), before, after,
         [this](const QVariant &value) {
             const QVariantList angles = value.toList();
             m_sectorRotation = angles.value(0).toDouble();
             m_sectorAngle = angles.value(1).toDouble();
             emit sectorChanged();
         });
}

void MeasurementDocument::clearMeasures()
{
    const QVariantList before{m_calibration, measuresVariant()};
    const QVariantList after{clearedCalibration(), QVariantList()};
    push(tr("Clear measures"), ClearMeasuresKind, QString(), before, after,
         [this](const QVariant &value) {
             const QVariantList parts = value.toList();
             applyCalibration(parts.value(0));
             applyMeasures(parts.value(1));
         });
    endStep();
}

void MeasurementDocument::undo()
{
    endStep();
    m_stack.undo();
}

void MeasurementDocument::redo()
{
    endStep();
    m_stack.redo();
}

void MeasurementDocument::reset()
{
    QVariantMap values = toVariant();
    values.remove(QStringLiteral("calibration"));
    values.remove(QStringLiteral("measures"));
    values.remove(QStringLiteral("referenceText"));
    values.remove(QStringLiteral("plannedAxis"));
    values.remove(QStringLiteral("circleFitted"));
    values.insert(QStringLiteral("rightEye"), false);
    fromVariant(values);
}

QVariantMap MeasurementDocument::clearedCalibration() const
{
    return {{startKey, measuregeometry::unsetPoint()},
            {endKey, measuregeometry::unsetPoint()},
            {referenceKey, 0.0},
            {unitKey, unit()}};
}

void MeasurementDocument::applyCalibration(const QVariant &calibration)
{
    const QVariantMap map = calibration.toMap();
    m_calibration = {{startKey, pointFrom(map.value(startKey))},
                     {endKey, pointFrom(map.value(endKey))},
                     {referenceKey, map.value(referenceKey).toDouble()},
                     {unitKey, map.value(unitKey).toString()}};
    m_measures.setLengthFactor(lengthFactor());
    emit calibrationChanged();
}

void MeasurementDocument::applyMeasures(const QVariant &measures)
{
    QVector<Measure> list;
    for (const QVariant &measure : measures.toList())
        list.append(measureFrom(measure));
    m_measures.resetMeasures(list);
}

QVariant MeasurementDocument::measuresVariant() const
{
    QVariantList list;
    for (const Measure &measure : m_measures.measures())
        list.append(measureVariant(measure));
    return list;
}

QVariantMap MeasurementDocument::toVariant() const
{
    auto pointMap = [](const QPointF &point) {
        return QVariantMap{{QStringLiteral("x"), point.x()}, {QStringLiteral("y"), point.y()}};
    };
    const QVariantMap calibration{{startKey, pointMap(calibrationStart())},
                                  {endKey, pointMap(calibrationEnd())},
                                  {referenceKey, reference()},
                                  {unitKey, unit()}};
    return {{QStringLiteral("calibration"), calibration},
            {QStringLiteral("measures"), measuresVariant()},
            {QStringLiteral("circleCentre"), pointMap(m_circleCentre)},
            {QStringLiteral("circleRadius"), m_circleRadius},
            {QStringLiteral("lineRotation"), m_lineRotation},
            {QStringLiteral("sectorRotation"), m_sectorRotation},
            {QStringLiteral("sectorAngle"), m_sectorAngle},
            {QStringLiteral("rightEye"), m_rightEye},
            {QStringLiteral("referenceText"), m_referenceText},
            {QStringLiteral("circleFitted"), m_circleFitted},
            {QStringLiteral("plannedAxis"), m_plannedAxis}};
}

// A part missing from the values is left as it is, or cleared where it is the
// picture's own (the calibration, the measures, the reference text).
void MeasurementDocument::fromVariant(const QVariantMap &values)
{
    m_stack.clear();
    endStep();
    applyCalibration(values.value(QStringLiteral("calibration"), clearedCalibration()));
    applyMeasures(values.value(QStringLiteral("measures")));
    auto number = [&values](const char *key, double current) {
        const QVariant value = values.value(QLatin1String(key));
        return value.isValid() ? value.toDouble() : current;
    };
    const QVariant centre = values.value(QStringLiteral("circleCentre"));
    m_circleCentre = centre.isValid() ? pointFrom(centre) : m_circleCentre;
    m_circleRadius = number("circleRadius", m_circleRadius);
    m_lineRotation = number("lineRotation", m_lineRotation);
    m_sectorRotation = number("sectorRotation", m_sectorRotation);
    m_sectorAngle = number("sectorAngle", m_sectorAngle);
    m_circleFitted = values.value(QStringLiteral("circleFitted")).toBool();
    emit circleChanged();
    emit lineChanged();
    emit sectorChanged();
    setRightEye(values.value(QStringLiteral("rightEye"), m_rightEye).toBool());
    setReferenceText(values.value(QStringLiteral("referenceText")).toString());
    applyPlannedAxis(values.value(QStringLiteral("plannedAxis"), -1));
}
