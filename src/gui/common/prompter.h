#pragma once
// Prompter: the one way the program shows a message or asks a question.
// The program uses MessageBoxPrompter (QMessageBox); tests use a scripted fake
// that records every text and gives the answers the test chose, so no test
// can hang on a modal box.

#include <QString>

class QWidget;

namespace mirandel {

class Prompter {
public:
    virtual ~Prompter() = default;
    // Error icon, one OK button.
    virtual void error(QWidget *parent, const QString &text) = 0;
    // Warning icon, one OK button.
    virtual void warning(QWidget *parent, const QString &text) = 0;
    // Confirmation with Yes and No; true for Yes.
    virtual bool question(QWidget *parent, const QString &text) = 0;
};

class MessageBoxPrompter : public Prompter {
public:
    void error(QWidget *parent, const QString &text) override;
    void warning(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;
};

} // namespace mirandel
