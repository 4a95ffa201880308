#include "changecommand.h"

#include <utility>

ChangeCommand::ChangeCommand(const QString &name, int kind, const QString &target, quint64 step,
                             const QVariant &before, const QVariant &after, Apply apply)
    : QUndoCommand(name), m_kind(kind), m_target(target), m_step(step), m_before(before),
      m_after(after), m_apply(std::move(apply))
{}

void ChangeCommand::undo()
{
    m_apply(m_before);
}

void ChangeCommand::redo()
{
    m_apply(m_after);
}

// A step that ends where it began leaves nothing to undo.
bool ChangeCommand::mergeWith(const QUndoCommand *other)
{
    const auto *change = static_cast<const ChangeCommand *>(other);
    if (change->m_step != m_step || change->m_target != m_target)
        return false;
    m_after = change->m_after;
    setObsolete(m_after == m_before);
    return true;
}
