#pragma once

#include <QUndoCommand>
#include <QVariant>
#include <functional>

// One change of a part of the measurement document, from one value to another.
// The value is put in by `apply`, whichever way the stack goes. Changes of the same
// part made within one step of the user (one drag, one wheel burst, one run of a
// held arrow key) merge into one, so that one undo takes the whole step back.
class ChangeCommand : public QUndoCommand
{
public:
    using Apply = std::function<void(const QVariant &)>;

    // kind: one number per name of change; target: which part within that kind
    // (a point of a measure, an edge of the sector); step: the user's step.
    ChangeCommand(const QString &name, int kind, const QString &target, quint64 step,
                  const QVariant &before, const QVariant &after, Apply apply);

    void undo() override;
    void redo() override;
    int id() const override { return m_kind; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    int m_kind;
    QString m_target;
    quint64 m_step;
    QVariant m_before;
    QVariant m_after;
    Apply m_apply;
};
