#pragma once
// A scripted Prompter for tests: records every message and answers questions
// from a queue the test fills in advance (No when the queue is empty), so a
// test can never hang on a modal box.

#include "gui/common/prompter.h"

#include <QList>
#include <QString>

namespace mirandel::test {

class FakePrompter : public Prompter {
public:
    enum Kind { Error, Warning, Question };
    struct Message {
        Kind kind;
        QString text;
    };

    void error(QWidget *parent, const QString &text) override;
    void warning(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;

    // Answers for the next questions, in order.
    void setNextAnswers(QList<bool> answers) { m_answers = std::move(answers); }
    void setNextAnswer(bool answer) { m_answers = {answer}; }

    const QList<Message> &messages() const { return m_messages; }
    QStringList texts() const;
    QString lastText() const { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
    QList<bool> m_answers;
};

} // namespace mirandel::test
