// The software options dialog driven through its controls: language pages,
// picking a language, the connection ticks and the update check. How the main
// window uses the dialog is in test_main_window_options.cpp.

#include "core/app/app_context.h"
#include "core/app/version_check.h"
#include "gui/app/local_http_server.h"
#include "gui/app/tf_soft_options.h"
#include "gui/app/version_query.h"
#include "gui/fake_prompter.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTcpServer>
#include <functional>
#include <gtest/gtest.h>

using namespace mirandel;
using mirandel::test::FakePrompter;
using mirandel::test::LocalHttpServer;

namespace {

class RecordingUrlOpener : public UrlOpener {
public:
    void openUrl(const QUrl &url) override { opened.append(url); }
    QList<QUrl> opened;
};

class SoftOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        context.Language_Dir = m_dir.path();
        context.Version_Server = QStringLiteral("http://127.0.0.1:9"); // never the real server
    }
    void TearDown() override
    {
        if (m_dialog)
            m_dialog->reject();
    }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(QDir(m_dir.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writeFlag(const QString &name, QColor colour)
    {
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QDir(m_dir.path()).filePath(name), "BMP"));
    }

    // Creates the dialog and shows it, as the main window does.
    TFSoftOptions &open()
    {
        if (!m_dialog)
            m_dialog = std::make_unique<TFSoftOptions>(context, prompter);
        m_dialog->show();
        return *m_dialog;
    }
    template <typename T> T *child(const char *name)
    {
        T *widget = m_dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString labelText(const char *name) { return child<QLabel>(name)->text(); }
    bool shown(const char *name) { return !child<QWidget>(name)->isHidden(); }
    QStringList shownLanguages()
    {
        QStringList names;
        for (int k = 1; k <= 6; ++k) {
            auto *label = child<QLabel>(QStringLiteral("L_L%1").arg(k).toLatin1().constData());
            if (!label->isHidden())
                names.append(label->text());
        }
        return names;
    }

    AppContext context;
    FakePrompter prompter;
    std::unique_ptr<TFSoftOptions> m_dialog;

private:
    QTemporaryDir m_dir;
};

TEST_F(SoftOptionsTest, LanguagePages)
{
    const struct {
        int files;
        QList<int> slotsPerPage;
    } cases[] = {{13, {6, 6, 1}}, {6, {6}}, {7, {6, 1}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.files) + " language files");
        QTemporaryDir dir;
        context.Language_Dir = dir.path();
        QStringList expected;
        // Written in reverse and mixed case: the list is sorted without regard to case.
        for (int i = c.files - 1; i >= 0; --i) {
            const QString name = (i % 2 ? QStringLiteral("lang%1") : QStringLiteral("Lang%1")).arg(i, 2, 10, QChar(u'0'));
            QFile file(QDir(dir.path()).filePath(name + QStringLiteral(".lng")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            expected.prepend(name);
        }
        TFSoftOptions &dialog = open();
        const int pages = int(c.slotsPerPage.size());
        for (int page = 1; page <= pages; ++page) {
            SCOPED_TRACE("page " + std::to_string(page));
            EXPECT_EQ(labelText("L_Page_Lang"), QStringLiteral("Page %1 / %2").arg(page).arg(pages));
            EXPECT_EQ(shown("Btn_Prev"), page != 1);
            EXPECT_EQ(shown("Btn_Next"), page != pages);
            EXPECT_EQ(shownLanguages(), expected.mid(6 * (page - 1), c.slotsPerPage[page - 1]));
            if (page < pages)
                child<QPushButton>("Btn_Next")->click();
        }
        child<QPushButton>("Btn_Next")->click(); // hidden, and nothing beyond the last page
        EXPECT_EQ(dialog.shownPage(), pages);
        for (int page = pages - 1; page >= 1; --page)
            child<QPushButton>("Btn_Prev")->click();
        EXPECT_EQ(labelText("L_Page_Lang"), QStringLiteral("Page 1 / %1").arg(pages));
        EXPECT_EQ(shownLanguages(), expected.mid(0, 6));
        // Every showing starts again on page 1 of a fresh list.
        dialog.hide();
        if (pages > 1)
            child<QPushButton>("Btn_Next")->click();
        dialog.show();
        EXPECT_EQ(dialog.shownPage(), 1);
        dialog.hide();
    }
}

TEST_F(SoftOptionsTest, EnterConfirmsWithoutTurningThePage)
{
    for (int i = 0; i < 7; ++i)
        writeFile(QStringLiteral("Lang%1.lng").arg(i), "");
    TFSoftOptions &dialog = open();
    child<QPushButton>("Btn_Next")->click();
    child<QCheckBox>("CB_Soft_Set_Jump_Table")->click();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.shownPage(), 2);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(context.Enable_Jump_Field_Tables);
}

TEST_F(SoftOptionsTest, NoLanguageFiles)
{
    writeFile(QStringLiteral("notes.txt"), "x");
    QDir(context.Language_Dir).mkdir(QStringLiteral("Folder.lng"));
    open();
    EXPECT_EQ(labelText("L_Page_Lang"), QStringLiteral("Page 1 / 0"));
    EXPECT_TRUE(shownLanguages().isEmpty());
    EXPECT_FALSE(shown("Btn_Prev"));
    EXPECT_FALSE(shown("Btn_Next"));
    EXPECT_EQ(labelText("L_Sel_Lang"), QStringLiteral("Selected Language : English"));
    EXPECT_EQ(m_dialog->findChild<QTabWidget *>(QStringLiteral("PC_Options"))->currentWidget()->objectName(),
              QStringLiteral("TS_Language"));
}

TEST_F(SoftOptionsTest, FlagPictures)
{
    for (const char *name : {"Alpha", "Beta", "Gamma"})
        writeFile(QString::fromLatin1(name) + QStringLiteral(".lng"), "");
    writeFlag(QStringLiteral("Alpha.bmp"), Qt::red);
    writeFile(QStringLiteral("Gamma.bmp"), "not a picture");

    auto centreColour = [this](const char *name) {
        const QImage image = child<QLabel>(name)->pixmap().toImage();
        return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
    };
    open();
    EXPECT_EQ(centreColour("I_L1"), QColor(Qt::red));
    EXPECT_FALSE(shown("I_L2")) << "no flag and no default flag";
    EXPECT_FALSE(shown("I_L3")) << "an unreadable flag and no default flag";
    EXPECT_TRUE(shown("L_L2"));

    writeFlag(QStringLiteral("DefaultFlag.bmp"), Qt::blue);
    m_dialog->hide();
    open();
    EXPECT_EQ(centreColour("I_L1"), QColor(Qt::red));
    EXPECT_EQ(centreColour("I_L2"), QColor(Qt::blue));
    EXPECT_EQ(centreColour("I_L3"), QColor(Qt::blue));
}

TEST_F(SoftOptionsTest, PickingALanguageChangesTheTextsButNotTheSetting)
{
    writeFile(QStringLiteral("English.lng"), "");
    writeFile(QStringLiteral("Deutsch.lng"), "\xEF\xBB\xBF"
                                              "STR0300 = Software-Optionen\r\n"
                                              "STR0304 = \xC2\xB6" "Ausgew\xC3\xA4hlte Sprache : \xC2\xB6\r\n"
                                              "STR0316 = \xC2\xB6Sprache wechseln von \xC2\xB6\r\n"
                                              "STR0317 = \xC2\xB6 zu \xC2\xB6\r\n"
                                              "STR0318 = ?\r\n");
    TFSoftOptions &dialog = open();
    QSignalSpy changed(&dialog, &TFSoftOptions::languageChanged);
    EXPECT_EQ(shownLanguages(), (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English")}));

    // A press dragged off the slot before its release is no click.
    auto *first = child<QLabel>("L_L1");
    QTest::mousePress(first, Qt::LeftButton);
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(first->width() + 20, first->height() / 2));
    EXPECT_TRUE(prompter.messages().isEmpty());

    // No: nothing changes.
    prompter.setNextAnswer(false);
    QTest::mouseClick(child<QLabel>("L_L1"), Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("Do you want to change the Language from English to Deutsch?"));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(context.text(300), QStringLiteral("Software Options"));

    // Yes, through the flag's place: the table is German at once, the setting unchanged.
    prompter.setNextAnswer(true);
    QTest::mouseClick(child<QLabel>("L_L1"), Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(context.text(300), QStringLiteral("Software-Optionen"));
    EXPECT_EQ(context.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(labelText("L_Sel_Lang"), QStringLiteral("Ausgewählte Sprache : Deutsch"));
    dialog.Set_Lang(); // as the main window's language change does
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Software-Optionen"));
    EXPECT_EQ(labelText("L_Sel_Lang"), QStringLiteral("Ausgewählte Sprache : Deutsch"));
    EXPECT_EQ(labelText("L_Page_Lang"), QStringLiteral("Page 1 / 1"));

    // The next question names the language chosen in the dialog, in German.
    prompter.setNextAnswer(false);
    QTest::mouseClick(child<QLabel>("L_L2"), Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("Sprache wechseln von Deutsch zu English?"));

    // Cancel keeps the stored language; the texts stay German.
    child<QPushButton>("Btn_Cancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(context.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(context.text(300), QStringLiteral("Software-Optionen"));

    // Reopened: the stored language is the selected one; OK after picking stores it.
    open();
    EXPECT_EQ(labelText("L_Sel_Lang"), QStringLiteral("Ausgewählte Sprache : English"));
    prompter.setNextAnswer(true);
    QTest::mouseClick(child<QLabel>("L_L1"), Qt::LeftButton);
    child<QPushButton>("Btn_OK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(context.Language_Name, QStringLiteral("Deutsch"));
}

TEST_F(SoftOptionsTest, LanguageFileGoneBeforeThePick)
{
    writeFile(QStringLiteral("Deutsch.lng"), "STR0300 = Software-Optionen\r\n");
    open();
    ASSERT_TRUE(QFile::remove(QDir(context.Language_Dir).filePath(QStringLiteral("Deutsch.lng"))));
    prompter.setNextAnswer(true);
    QTest::mouseClick(child<QLabel>("L_L1"), Qt::LeftButton);
    // English is what the table holds now, and what OK would store.
    EXPECT_EQ(context.text(300), QStringLiteral("Software Options"));
    EXPECT_EQ(m_dialog->languageInUse(), QStringLiteral("English"));
    EXPECT_EQ(context.Language_Name, QStringLiteral("English"));
}

TEST_F(SoftOptionsTest, ConnectionTicks)
{
    context.Enable_Internet = true;
    context.Enable_Update = true;
    open();
    auto *internet = child<QCheckBox>("CB_En_Con");
    auto *update = child<QCheckBox>("CB_Update");
    auto *check = child<QPushButton>("Btn_Check_Update");
    EXPECT_TRUE(internet->isChecked());
    EXPECT_TRUE(update->isEnabled());
    EXPECT_TRUE(check->isEnabled());

    update->click();
    EXPECT_FALSE(check->isEnabled()) << "no check while the update box is clear";
    update->click();
    EXPECT_TRUE(check->isEnabled());

    internet->click();
    EXPECT_FALSE(update->isEnabled());
    EXPECT_TRUE(update->isChecked()) << "the tick stays";
    EXPECT_FALSE(check->isEnabled());

    child<QCheckBox>("CB_Soft_Set_Jump_Table")->click();
    child<QPushButton>("Btn_OK")->click();
    EXPECT_FALSE(context.Enable_Internet);
    EXPECT_TRUE(context.Enable_Update) << "a disabled but ticked box is saved as ticked";
    EXPECT_TRUE(context.Enable_Jump_Field_Tables);
    EXPECT_FALSE(context.Double_Click_Auto_Size);

    // The stored states come back, with the enabling that follows them.
    context.Double_Click_Auto_Size = true;
    open();
    EXPECT_FALSE(internet->isChecked());
    EXPECT_FALSE(update->isEnabled());
    EXPECT_TRUE(update->isChecked());
    EXPECT_TRUE(child<QCheckBox>("CB_Soft_Set_Jump_Table")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("CB_DoubleClick_Auto_Size")->isChecked());

    // Cancel writes nothing.
    child<QCheckBox>("CB_DoubleClick_Auto_Size")->click();
    internet->click();
    child<QPushButton>("Btn_Cancel")->click();
    EXPECT_TRUE(context.Double_Click_Auto_Size);
    EXPECT_FALSE(context.Enable_Internet);
}

TEST_F(SoftOptionsTest, CheckForAnUpdate)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    context.Version_Server = server.baseUrl();
    context.Enable_Internet = true;
    context.Enable_Update = true;
    RecordingUrlOpener opener;
    open().setUrlOpener(&opener);
    auto *link = child<QLabel>("LL_Check_Update");
    EXPECT_TRUE(link->isHidden());
    QSignalSpy checked(m_dialog->versionQuery(), &VersionQuery::versionChecked);

    server.answer(200, "VER. 1.001");
    child<QPushButton>("Btn_Check_Update")->click();
    ASSERT_TRUE(checked.wait(10000));
    EXPECT_FALSE(link->isHidden());
    EXPECT_EQ(link->textFormat(), Qt::RichText);
    const QString target = downloadPageUrl(server.baseUrl()).toString();
    EXPECT_EQ(link->text(), QStringLiteral("<a href=\"%1\">New Version Available. Click Here for more Details</a>").arg(target));
    emit link->linkActivated(target);
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_EQ(opener.opened.first(), QUrl(server.baseUrl() + QStringLiteral("/Home/download/download.asp#GW51830")));

    server.answer(200, "VER. 1.000");
    child<QPushButton>("Btn_Check_Update")->click();
    EXPECT_TRUE(link->isHidden()) << "the old result stays visible while checking";
    ASSERT_TRUE(checked.wait(10000));
    EXPECT_FALSE(link->isHidden());
    EXPECT_EQ(link->text(), QStringLiteral("No Update Available"));
    EXPECT_EQ(link->textFormat(), Qt::PlainText);

    // Every showing hides the previous result.
    m_dialog->hide();
    open();
    EXPECT_TRUE(link->isHidden());
}

// A server that cannot be reached is not "No Update Available": the link
// says so, with the reason.
TEST_F(SoftOptionsTest, CheckSaysWhenTheServerCannotBeReached)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    context.Enable_Internet = true;
    context.Enable_Update = true;
    context.Version_Query_Timeout_Ms = 300;
    open();
    auto *link = child<QLabel>("LL_Check_Update");
    QSignalSpy checked(m_dialog->versionQuery(), &VersionQuery::versionChecked);
    const QString unreachable = u"The update server could not be reached: "_qs;

    struct Case {
        const char *name;
        std::function<void()> setUp;
        QString reason;
    };
    const QString closedPort = [] {
        QTcpServer probe; // a port that nothing listens on
        probe.listen(QHostAddress::LocalHost);
        return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
    }();
    const Case cases[] = {
        {"HTTP error", [&] { context.Version_Server = server.baseUrl(); server.answer(500, "oops"); }, u"HTTP status 500"_qs},
        {"no answer in time", [&] { context.Version_Server = server.baseUrl(); server.stayQuiet(); },
         u"no answer within 0.3 s"_qs},
        {"connection refused", [&] { context.Version_Server = closedPort; }, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.setUp();
        child<QPushButton>("Btn_Check_Update")->click();
        ASSERT_TRUE(checked.wait(10000));
        EXPECT_FALSE(link->isHidden());
        EXPECT_TRUE(link->text().startsWith(unreachable)) << link->text().toStdString();
        EXPECT_GT(link->text().size(), unreachable.size()) << "the reason follows";
        if (!c.reason.isEmpty()) {
            EXPECT_EQ(link->text(), unreachable + c.reason);
        }
    }
}

} // namespace
