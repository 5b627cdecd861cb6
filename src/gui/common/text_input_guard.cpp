#include "gui/common/text_input_guard.h"

#include "core/common/xml_file.h"

#include <QChildEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace mirandel {

namespace {

constexpr char kGuarded[] = "mirandelXmlGuard";

bool markGuarded(QObject *object)
{
    if (object->property(kGuarded).toBool())
        return false;
    object->setProperty(kGuarded, true);
    return true;
}

} // namespace

void dropNonXmlCharacters(QLineEdit *edit)
{
    if (!markGuarded(edit))
        return;
    // textEdited comes from typing and pasting only, never from setText.
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString clean = withoutNonXmlChars(text);
        if (clean == text)
            return;
        const int cursor = edit->cursorPosition();
        const int dropped = int(withoutNonXmlChars(text.left(cursor)).size());
        edit->setText(clean);
        edit->setCursorPosition(dropped);
    });
}

void dropNonXmlCharacters(QPlainTextEdit *edit)
{
    if (!markGuarded(edit))
        return;
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
        // Each character is one position of the document, paragraph breaks
        // included, so indices of toPlainText() are cursor positions.
        const QString text = edit->toPlainText();
        qsizetype at = firstNonXmlChar(text);
        if (at < 0)
            return;
        QList<qsizetype> bad;
        while (at >= 0) {
            bad.append(at);
            const qsizetype next = firstNonXmlChar(QStringView(text).mid(at + 1));
            at = next < 0 ? -1 : at + 1 + next;
        }
        QTextCursor cursor(edit->document());
        cursor.beginEditBlock();
        for (qsizetype i = bad.size(); i-- > 0;) {
            cursor.setPosition(int(bad[i]));
            cursor.setPosition(int(bad[i]) + 1, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        cursor.endEditBlock();
    });
}

namespace {

// Calls back for each editor widget shown directly inside the watched
// widget, once it is fully built and about to appear.
class EditorWatch : public QObject {
public:
    EditorWatch(QWidget *watched, std::function<void(QWidget *)> shown)
        : QObject(watched)
        , m_shown(std::move(shown))
    {
        watched->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ChildPolished) {
            auto *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType())
                m_shown(static_cast<QWidget *>(child));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QWidget *)> m_shown;
};

} // namespace

void onEditorShown(QWidget *viewport, std::function<void(QWidget *)> shown)
{
    new EditorWatch(viewport, std::move(shown));
}

void dropNonXmlCharactersInEditors(QWidget *viewport)
{
    onEditorShown(viewport, [](QWidget *editor) {
        if (auto *combo = qobject_cast<QComboBox *>(editor); combo && combo->lineEdit())
            dropNonXmlCharacters(combo->lineEdit());
        else if (auto *line = qobject_cast<QLineEdit *>(editor))
            dropNonXmlCharacters(line);
        else if (auto *plain = qobject_cast<QPlainTextEdit *>(editor))
            dropNonXmlCharacters(plain);
    });
}

QString platformLineBreak()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\r\n");
#else
    return QStringLiteral("\n");
#endif
}

} // namespace mirandel
