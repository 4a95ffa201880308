#pragma once

#include "measuremodel.h"

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QUndoStack>
#include <QVariantMap>

// Everything measured on one picture: its calibration, its measures, the circle,
// the guide line and the sector, the eye and the reference text. Every change of
// the measured parts and of the planned axis goes through the undo stack, one step
// per gesture of the user; the eye and the reference are typed, and undone by typing.
class MeasurementDocument : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QSizeF pictureSize READ pictureSize WRITE setPictureSize NOTIFY pictureSizeChanged)
    Q_PROPERTY(MeasureModel *measures READ measures CONSTANT)
    Q_PROPERTY(QPointF calibrationStart READ calibrationStart NOTIFY calibrationChanged)
    Q_PROPERTY(QPointF calibrationEnd READ calibrationEnd NOTIFY calibrationChanged)
    // The length typed for the calibration, in the user's unit.
    Q_PROPERTY(double reference READ reference NOTIFY calibrationChanged)
    Q_PROPERTY(QString unit READ unit NOTIFY calibrationChanged)
    Q_PROPERTY(bool calibrated READ calibrated NOTIFY calibrationChanged)
    // Picture pixels to the user's unit; 0 while uncalibrated.
    Q_PROPERTY(double lengthFactor READ lengthFactor NOTIFY calibrationChanged)
    // Fractions of the picture's width and height.
    Q_PROPERTY(QPointF circleCentre READ circleCentre NOTIFY circleChanged)
    // Screen pixels, as the panel's slider holds it.
    Q_PROPERTY(double circleRadius READ circleRadius NOTIFY circleChanged)
    // Whether the circle was last placed by a fit to points of the picture: its
    // diameter is then a reading.
    Q_PROPERTY(bool circleFitted READ circleFitted NOTIFY circleChanged)
    // The axis planned for a toric lens, 0 to 180 degrees; -1 while none is typed.
    Q_PROPERTY(double plannedAxis READ plannedAxis WRITE setPlannedAxis NOTIFY plannedAxisChanged)
    Q_PROPERTY(double lineRotation READ lineRotation NOTIFY lineChanged)
    Q_PROPERTY(double sectorRotation READ sectorRotation NOTIFY sectorChanged)
    Q_PROPERTY(double sectorAngle READ sectorAngle NOTIFY sectorChanged)
    Q_PROPERTY(bool rightEye READ rightEye WRITE setRightEye NOTIFY rightEyeChanged)
    Q_PROPERTY(
        QString referenceText READ referenceText WRITE setReferenceText NOTIFY referenceTextChanged)
    // Nothing measured, calibrated or typed: a record of it is not worth keeping.
    Q_PROPERTY(bool empty READ empty NOTIFY changed)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY undoStateChanged)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY undoStateChanged)
    Q_PROPERTY(QString undoText READ undoText NOTIFY undoStateChanged)
    Q_PROPERTY(QString redoText READ redoText NOTIFY undoStateChanged)
public:
    explicit MeasurementDocument(QObject *parent = nullptr);

    QSizeF pictureSize() const { return m_measures.pictureSize(); }
    void setPictureSize(const QSizeF &size);
    MeasureModel *measures() { return &m_measures; }
    QPointF calibrationStart() const
    {
        return m_calibration.value(QStringLiteral("start")).toPointF();
    }
    QPointF calibrationEnd() const { return m_calibration.value(QStringLiteral("end")).toPointF(); }
    double reference() const { return m_calibration.value(QStringLiteral("reference")).toDouble(); }
    QString unit() const { return m_calibration.value(QStringLiteral("unit")).toString(); }
    bool calibrated() const { return lengthFactor() > 0; }
    double lengthFactor() const;
    QPointF circleCentre() const { return m_circleCentre; }
    double circleRadius() const { return m_circleRadius; }
    bool circleFitted() const { return m_circleFitted; }
    double plannedAxis() const { return m_plannedAxis; }
    void setPlannedAxis(double axis);
    double lineRotation() const { return m_lineRotation; }
    double sectorRotation() const { return m_sectorRotation; }
    double sectorAngle() const { return m_sectorAngle; }
    bool rightEye() const { return m_rightEye; }
    void setRightEye(bool right);
    QString referenceText() const { return m_referenceText; }
    void setReferenceText(const QString &text);
    bool empty() const;
    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    QString undoText() const { return m_stack.undoText(); }
    QString redoText() const { return m_stack.redoText(); }
    QUndoStack *undoStack() { return &m_stack; }

    // row -1 names the calibration, whose points are 0 (start) and 1 (end).
    Q_INVOKABLE QPointF point(int row, int index) const;
    // Returns the new measure's row.
    Q_INVOKABLE int addMeasure(const QString &kind, const QVariantList &points);
    Q_INVOKABLE void removeMeasure(int row);
    Q_INVOKABLE void movePoint(int row, int index, const QPointF &point);
    // By whole picture pixels, kept on the picture.
    Q_INVOKABLE void nudgePoint(int row, int index, double dx, double dy);
    // False (and nothing changes) when the two points coincide or the length is not positive.
    Q_INVOKABLE bool calibrate(const QPointF &start, const QPointF &end, double reference,
                               const QString &unit);
    Q_INVOKABLE void moveCircle(const QPointF &centre);
    Q_INVOKABLE void changeRadius(double radius);
    // The centre and the radius at once, as one step with the rest of the fit.
    // The clicks of one fit end steps of their own: every fit until the next
    // startFit() is one step all the same.
    Q_INVOKABLE void startFit() { m_fitStep = ++m_step; }
    Q_INVOKABLE void fitCircle(const QPointF &centre, double radius);
    Q_INVOKABLE void turnGuideLine(double rotation);
    Q_INVOKABLE void turnSector(double rotation, double angle);
    // The measures and the calibration go, in one step that can be undone.
    Q_INVOKABLE void clearMeasures();
    // Ends the user's current step: the next change starts a new one.
    Q_INVOKABLE void endStep() { ++m_step; }
    Q_INVOKABLE void undo();
    Q_INVOKABLE void redo();

    // A fresh document for another picture: nothing measured, no reference, the left
    // eye (as at start), nothing to undo. The circle, the guide line and the sector
    // keep their place, as the panel shows them.
    Q_INVOKABLE void reset();
    // Everything kept in a record, and back; fromVariant leaves nothing to undo.
    Q_INVOKABLE QVariantMap toVariant() const;
    Q_INVOKABLE void fromVariant(const QVariantMap &values);

signals:
    void pictureSizeChanged();
    void calibrationChanged();
    void circleChanged();
    void lineChanged();
    void sectorChanged();
    void rightEyeChanged();
    void referenceTextChanged();
    void plannedAxisChanged();
    void undoStateChanged();
    // Whatever a record holds has changed.
    void changed();

private:
    void push(const QString &name, int kind, const QString &target, const QVariant &before,
              const QVariant &after, std::function<void(const QVariant &)> apply);
    void applyCalibration(const QVariant &calibration);
    void applyMeasures(const QVariant &measures);
    void applyPlannedAxis(const QVariant &axis);
    static double plannedAxisFrom(double axis);
    QVariant measuresVariant() const;
    QVariantMap clearedCalibration() const;

    MeasureModel m_measures;
    QUndoStack m_stack;
    quint64 m_step = 0;
    quint64 m_fitStep = 0;
    QVariantMap m_calibration;
    QPointF m_circleCentre{0.5, 0.5};
    double m_circleRadius = 128;
    bool m_circleFitted = false;
    double m_plannedAxis = -1;
    double m_lineRotation = 45;
    double m_sectorRotation = 30;
    double m_sectorAngle = 30;
    bool m_rightEye = false;
    QString m_referenceText;
};
