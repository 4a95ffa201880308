#pragma once

#include <QAbstractListModel>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QVector>

// One measure: what kind it is and the points it is made of, in the order they
// are placed. A "distance" has two; an "angle" three: one end, the vertex, the
// other end.
struct Measure
{
    QString kind;
    QVector<QPointF> points;

    bool operator==(const Measure &other) const
    {
        return kind == other.kind && points == other.points;
    }
};

// The measures on one picture, as the overlay, the measures list and the export
// read them. A length is never stored: it is worked out from the points and the
// calibration's factor whenever it is asked for. The model is only changed by
// the document's undo commands.
class MeasureModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
public:
    enum Role {
        KindRole = Qt::UserRole + 1,
        PointsRole,
        StartRole,
        EndRole,
        CompleteRole,
        LengthRole,
        // In degrees, 0 to 180, for an angle; 0 for other kinds.
        AngleRole,
    };
    Q_ENUM(Role)

    explicit MeasureModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The same as the roles, for scripts that walk the list.
    Q_INVOKABLE QVariantMap get(int row) const;
    Q_INVOKABLE double length(int row) const;
    Q_INVOKABLE double angle(int row) const;

    const QVector<Measure> &measures() const { return m_measures; }
    Measure measure(int row) const { return m_measures.value(row); }
    void insertMeasure(int row, const Measure &measure);
    void removeMeasure(int row);
    void setPoint(int row, int index, const QPointF &point);
    void resetMeasures(const QVector<Measure> &measures);

    // Picture pixels to the user's unit; 0 while uncalibrated.
    void setLengthFactor(double factor);
    void setPictureSize(const QSizeF &size);
    QSizeF pictureSize() const { return m_pictureSize; }

    static int pointCount(const QString &kind);

signals:
    void countChanged();

private:
    void lengthsChanged();

    QVector<Measure> m_measures;
    double m_lengthFactor = 0;
    QSizeF m_pictureSize;
};
