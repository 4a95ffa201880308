#pragma once

#include <QHash>
#include <QObject>
#include <QQmlParserStatus>
#include <QSettings>
#include <QString>
#include <QTimer>

#include <memory>

// Settings whose properties are declared in the document, as with the toolkit's
// own settings type, but each change writes its own key alone. Two windows open
// side by side then never write back each other's older choices: the toolkit's
// type writes every property whenever one of them changes. Changes are gathered
// for a moment and written together, so that a drag (a window's size, a colour
// being chosen) does not write the file at every step.
// Stored values are read as that type reads them, so that files written before
// keep their meaning.
class StoredSettings : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(QString category READ category WRITE setCategory NOTIFY categoryChanged)
public:
    explicit StoredSettings(QObject *parent = nullptr);
    ~StoredSettings() override;

    QString category() const { return m_category; }
    void setCategory(const QString &category);

    // A key of the same group that no property names, as the toolkit's type offers.
    Q_INVOKABLE QVariant value(const QString &key, const QVariant &defaultValue = {}) const;
    Q_INVOKABLE void setValue(const QString &key, const QVariant &value);

    void classBegin() override {}
    void componentComplete() override;

signals:
    void categoryChanged();

private slots:
    void storeChangedProperty();

private:
    void load();
    void writePending();
    QSettings &store() const;

    QString m_category;
    mutable std::unique_ptr<QSettings> m_store;
    bool m_loading = false;
    QHash<QString, QVariant> m_pending;
    QTimer m_writeTimer;
};
