#pragma once
// The About box: logo, program name, description, software code, version and
// document code, and the maker's web address. Its texts are fixed: they do
// not follow the language. A click on the logo or the address asks the owner
// to open the maker's home page (homePageRequested).

#include "gui/common/dialog_chrome.h"

#include <QLabel>

namespace mirandel {

// A label that reports a left click (web labels, the logo).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString &objectName, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class TFAbout : public BaseDialog {
    Q_OBJECT
public:
    TFAbout(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    // The box has fixed texts; nothing to translate.
    void Set_Lang() override {}

signals:
    void homePageRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_label2;
    QLabel *m_label9;
    QLabel *m_label10;
    QLabel *m_label12;
};

} // namespace mirandel
