#pragma once
// Dialog chrome shared by every dialog: the 69-pixel title band P_Title
// (L_SW_Code in large grey text, L_SW_Desc with the dialog's title), the
// 40-pixel button band P_Button with flat 110 x 28 buttons, and BaseDialog,
// which stacks title band, content and button band and keeps a reference to
// the program-wide values and the Prompter.

#include <QDialog>
#include <QPushButton>

class QLabel;
class QHBoxLayout;
class QVBoxLayout;

namespace mirandel {

struct AppContext;
class Prompter;

// Flat button, 110 x 28 unless resized, orange while pressed. A button of
// fixed width whose caption does not fit on one line shows it on two, so
// longer translations stay readable without changing the layout.
class FlatButton : public QPushButton {
    Q_OBJECT
public:
    explicit FlatButton(const QString &objectName, QWidget *parent = nullptr);

    // Caption and icon start at the left edge instead of the centre.
    void setAlignLeft(bool left);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool hasFixedWidth() const { return minimumWidth() == maximumWidth(); }
    // The rectangle the caption may use, after padding and icon.
    QRect textArea(const QRect &rect) const;
    bool m_alignLeft = false;
};

// P_Title: 69 pixels high; L_SW_Code at (16, 8), L_SW_Desc at (16, 42).
class TitleBand : public QWidget {
    Q_OBJECT
public:
    explicit TitleBand(QWidget *parent = nullptr);
    QLabel *codeLabel() const { return m_code; }
    QLabel *descLabel() const { return m_desc; }

private:
    QLabel *m_code;
    QLabel *m_desc;
};

// P_Button: 40 pixels high; buttons are placed by the dialog at fixed x, y = 6,
// or right-aligned with addRightButton.
class ButtonBand : public QWidget {
    Q_OBJECT
public:
    explicit ButtonBand(QWidget *parent = nullptr);
    // Adds a button at (x, 6).
    FlatButton *addButton(const QString &objectName, int x);
    // Adds a button that keeps its distance from the right edge; `rightGap` is
    // the distance between the button's right edge and the band's right edge.
    FlatButton *addRightButton(const QString &objectName, int rightGap);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QList<QPair<FlatButton *, int>> m_rightButtons;
};

// Base of every dialog: title band on top, button band at the bottom, the
// content widget between them. Subclasses put their controls into content().
class BaseDialog : public QDialog {
    Q_OBJECT
public:
    BaseDialog(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    // Assigns every text of the dialog from the UI text table.
    virtual void Set_Lang() = 0;

    TitleBand *titleBand() const { return m_title; }
    ButtonBand *buttonBand() const { return m_buttons; }
    QWidget *content() const { return m_content; }

protected:
    // Each time the dialog is opened it is centred on the screen of its
    // parent (or the primary screen), not on the parent window.
    void showEvent(QShowEvent *event) override;
    // Replaces the content widget (for example by a scroll area).
    void setContent(QWidget *widget);
    AppContext &m_context;
    Prompter &m_prompter;

private:
    TitleBand *m_title;
    ButtonBand *m_buttons;
    QWidget *m_content;
    QVBoxLayout *m_layout;
};

} // namespace mirandel
