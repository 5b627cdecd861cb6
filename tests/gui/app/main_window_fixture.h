#pragma once
// A workspace in a temporary folder, the program-wide values, a scripted
// Prompter and a recording UrlOpener, and a main window built on them on
// demand. Modal dialogs are handled by handleModal(), which never waits.

#include "core/app/app_context.h"
#include "gui/app/main_window.h"
#include "gui/common/url_opener.h"
#include "gui/fake_prompter.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace mirandel::test {

class RecordingUrlOpener : public UrlOpener {
public:
    void openUrl(const QUrl &url) override { urls.append(url); }
    QList<QUrl> urls;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(workspace.isValid());
        context.Exe_Dir = workspace.path();
    }

    TFMirandeleFirmWare &startWindow()
    {
        window = std::make_unique<TFMirandeleFirmWare>(context, prompter);
        window->setUrlOpener(&urlOpener);
        window->show();
        return *window;
    }

    template <typename T = QWidget> T *control(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    QString path(const QString &relative) const { return QDir(workspace.path()).filePath(relative); }

    void writeFile(const QString &relative, const QByteArray &content)
    {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
        file.write(content);
    }

    QByteArray readFile(const QString &relative) const
    {
        QFile file(path(relative));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

    // Runs `trigger`; if it opens a modal dialog, hands the dialog to `act`
    // (which should end it; a dialog still open afterwards is rejected).
    // Returns the dialog that was open, nullptr when none was.
    QDialog *handleModal(const std::function<void()> &trigger, const std::function<void(QDialog *)> &act = {})
    {
        QPointer<QDialog> seen;
        bool fired = false;
        QTimer::singleShot(0, qApp, [&] {
            fired = true;
            seen = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!seen)
                return;
            if (act)
                act(seen);
            if (seen && seen->isVisible())
                seen->reject();
        });
        trigger();
        if (!fired)
            QCoreApplication::processEvents();
        return seen;
    }

    QDialog *clickAndHandle(const QString &button, const std::function<void(QDialog *)> &act = {})
    {
        QWidget *widget = control(button);
        if (!widget)
            return nullptr;
        return handleModal([widget] { QTest::mouseClick(widget, Qt::LeftButton); }, act);
    }

    QTemporaryDir workspace;
    AppContext context;
    FakePrompter prompter;
    RecordingUrlOpener urlOpener;
    std::unique_ptr<TFMirandeleFirmWare> window;
};

} // namespace mirandel::test
