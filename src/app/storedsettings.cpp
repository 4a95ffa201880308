#include "storedsettings.h"

#include <QJSValue>
#include <QMetaProperty>

namespace {

QVariant valueOf(const QObject *object, const QMetaProperty &property)
{
    QVariant value = property.read(object);
    if (value.userType() == qMetaTypeId<QJSValue>())
        value = value.value<QJSValue>().toVariant();
    return value;
}

} // namespace

// As long as the toolkit's own type waits before writing.
constexpr int writeDelayMs = 500;

StoredSettings::StoredSettings(QObject *parent) : QObject(parent)
{
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(writeDelayMs);
    connect(&m_writeTimer, &QTimer::timeout, this, &StoredSettings::writePending);
}

StoredSettings::~StoredSettings()
{
    writePending();
}

void StoredSettings::writePending()
{
    m_writeTimer.stop();
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        store().setValue(it.key(), it.value());
    m_pending.clear();
}

void StoredSettings::setCategory(const QString &category)
{
    if (category == m_category)
        return;
    m_category = category;
    m_store.reset();
    emit categoryChanged();
}

QSettings &StoredSettings::store() const
{
    if (!m_store) {
        m_store = std::make_unique<QSettings>();
        if (!m_category.isEmpty())
            m_store->beginGroup(m_category);
    }
    return *m_store;
}

QVariant StoredSettings::value(const QString &key, const QVariant &defaultValue) const
{
    return m_pending.contains(key) ? m_pending.value(key) : store().value(key, defaultValue);
}

void StoredSettings::setValue(const QString &key, const QVariant &value)
{
    m_pending.remove(key);
    store().setValue(key, value);
}

void StoredSettings::componentComplete()
{
    load();
}

// A stored value replaces a property's default when it can become that
// property's type; one that cannot is left in the store and the default kept.
// A setting not stored yet is written with its default, once.
void StoredSettings::load()
{
    const QMetaObject *meta = metaObject();
    const int slot = meta->indexOfSlot("storeChangedProperty()");
    m_loading = true;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QString key = QString::fromUtf8(property.name());
        const QVariant initial = valueOf(this, property);
        const QVariant stored = store().value(key, initial);
        if (!stored.isNull() &&
            (!initial.isValid() || (stored.canConvert(initial.userType()) && initial != stored)))
            property.write(this, stored);
        if (!store().contains(key))
            store().setValue(key, valueOf(this, property));
        if (property.hasNotifySignal())
            QMetaObject::connect(this, property.notifySignalIndex(), this, slot);
    }
    m_loading = false;
}

void StoredSettings::storeChangedProperty()
{
    if (m_loading)
        return;
    const QMetaObject *meta = metaObject();
    const int signal = senderSignalIndex();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.notifySignalIndex() == signal)
            m_pending.insert(QString::fromUtf8(property.name()), valueOf(this, property));
    }
    if (!m_writeTimer.isActive())
        m_writeTimer.start();
}
