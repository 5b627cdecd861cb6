#include "gui/fake_prompter.h"

namespace mirandel::test {

void FakePrompter::error(QWidget *, const QString &text)
{
    m_messages.append({Error, text});
}

void FakePrompter::warning(QWidget *, const QString &text)
{
    m_messages.append({Warning, text});
}

bool FakePrompter::question(QWidget *, const QString &text)
{
    m_messages.append({Question, text});
    return m_answers.isEmpty() ? false : m_answers.takeFirst();
}

QStringList FakePrompter::texts() const
{
    QStringList list;
    for (const Message &m : m_messages)
        list.append(m.text);
    return list;
}

} // namespace mirandel::test
