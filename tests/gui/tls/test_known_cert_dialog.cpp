#include "core/app/app_context.h"
#include "gui/common/text_input_guard.h"
#include "gui/fake_prompter.h"
#include "gui/tls/tf_tls_server_known_cert.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include "test_files.h"
#include "test_pki.h"

using namespace mirandel;
using mirandel::test::readAll;
using test::FakePrompter;

namespace {

const QString kPem = u"-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIUQ+/x\n"
                     "-----END CERTIFICATE-----"_qs;

class KnownCertDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        context.TLS_Known_Cert_File = dir.filePath(QStringLiteral("TLS_Known_Cert.xml"));
        dialog = std::make_unique<TFTLS_Server_Known_Cert>(context, prompter);
        grid = dialog->findChild<TableGrid *>(QStringLiteral("ASG"));
        ASSERT_NE(grid, nullptr);
        model = grid->model();
    }
    void TearDown() override { dialog->hide(); }

    void open()
    {
        dialog->show();
        QApplication::processEvents();
    }
    void click(const char *button)
    {
        auto *b = dialog->findChild<QPushButton *>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void focus(int row, int column) { grid->setCurrentIndex(model->index(row, column)); }
    QString text(int row, int column) const { return model->index(row, column).data(Qt::EditRole).toString(); }
    bool checked(int row) const { return model->index(row, 1).data(Qt::CheckStateRole).toInt() == Qt::Checked; }
    void clickBox(int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(model->index(row, 1)).center());
    }

    QTemporaryDir dir;
    AppContext context;
    FakePrompter prompter;
    std::unique_ptr<TFTLS_Server_Known_Cert> dialog;
    TableGrid *grid = nullptr;
    QAbstractItemModel *model = nullptr;
};

TEST_F(KnownCertDialog, GridShapeAndTexts)
{
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    open();
    EXPECT_EQ(dialog->size(), QSize(800, 337));
    EXPECT_EQ(dialog->windowTitle(), u"Definition the list of Known Certificates"_qs);
    EXPECT_EQ(model->rowCount(), 10);
    ASSERT_EQ(model->columnCount(), 4);
    const int widths[] = {40, 50, 500, 160};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid->columnWidth(c), widths[c]);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), u"Certificate"_qs);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(), u"Insert the TLS Certificate"_qs);
    EXPECT_EQ(grid->rowHeight(9), 60);
    for (int r = 0; r < 10; ++r)
        EXPECT_TRUE(checked(r));
    // All six buttons show their hints here.
    for (auto *b : dialog->findChildren<QPushButton *>())
        EXPECT_FALSE(b->toolTip().isEmpty()) << b->objectName().toStdString();
}

TEST_F(KnownCertDialog, MultiLineCertificateIsSavedAndReloadedExactly)
{
    open();
    focus(0, 2);
    grid->edit(model->index(0, 2));
    auto *editor = qobject_cast<QPlainTextEdit *>(grid->indexWidget(model->index(0, 2)));
    ASSERT_NE(editor, nullptr);
    // Enter in the certificate editor starts a new line while the jump is off.
    editor->setPlainText(u"-----BEGIN CERTIFICATE-----"_qs);
    editor->moveCursor(QTextCursor::End);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, u"MIIB"_qs);
    grid->finishEditing();
    // A new text takes the platform's line breaks.
    EXPECT_EQ(text(0, 2), u"-----BEGIN CERTIFICATE-----"_qs + platformLineBreak() + u"MIIB"_qs);

    ASSERT_TRUE(model->setData(model->index(0, 2), kPem));
    ASSERT_TRUE(model->setData(model->index(0, 3), u"Station \"A\" & <B> \u00e9"_qs));
    clickBox(0);
    EXPECT_FALSE(checked(0));
    click("Btn_OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(readAll(context.TLS_Known_Cert_File).startsWith("<TLS_Server_Known_Cert><row Enable=\"N\""));

    open();
    EXPECT_FALSE(checked(0));
    EXPECT_EQ(text(0, 2), kPem);
    EXPECT_EQ(text(0, 3), u"Station \"A\" & <B> \u00e9"_qs);

    // Opening and closing the editor without typing keeps "\r\n" as it was.
    ASSERT_TRUE(model->setData(model->index(1, 2), u"a\r\nb"_qs));
    focus(1, 2);
    grid->edit(model->index(1, 2));
    grid->finishEditing();
    EXPECT_EQ(text(1, 2), u"a\r\nb"_qs);
}

TEST_F(KnownCertDialog, RowCommandsKeepCheckStates)
{
    open();
    for (int r = 0; r < 3; ++r)
        ASSERT_TRUE(model->setData(model->index(r, 2), u"cert"_qs + QString::number(r + 1)));
    clickBox(1);
    focus(1, 2);
    click("Btn_CopyRow");
    focus(5, 2);
    click("Btn_PasteRow");
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_FALSE(checked(5));
    EXPECT_EQ(text(5, 2), u"cert2"_qs);

    // Delete moves the rows up and leaves the last row empty and checked.
    clickBox(9);
    focus(0, 1);
    prompter.setNextAnswer(true);
    click("Btn_DelRow");
    EXPECT_EQ(prompter.lastText(), u"Are you sure to delete the Row number 1"_qs);
    EXPECT_FALSE(checked(0));
    EXPECT_EQ(text(0, 2), u"cert2"_qs);
    EXPECT_TRUE(checked(9));

    // Insert at the last row resets that row only, box checked.
    clickBox(9);
    ASSERT_TRUE(model->setData(model->index(9, 3), u"note"_qs));
    focus(9, 3);
    click("Btn_InsRow");
    EXPECT_TRUE(checked(9));
    EXPECT_EQ(text(9, 3), QString());
    EXPECT_EQ(text(4, 2), u"cert2"_qs);
}

TEST_F(KnownCertDialog, EnterInTheLastFieldGoesToTheFirstRow)
{
    open();
    context.Enable_Jump_Field_Tables = true;
    focus(9, 3);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex(), model->index(0, 1));
    // With the jump on, Enter in the certificate editor walks on;
    // Shift+Enter still starts a new line.
    focus(2, 2);
    grid->edit(model->index(2, 2));
    auto *editor = qobject_cast<QPlainTextEdit *>(grid->indexWidget(model->index(2, 2)));
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, u"a"_qs);
    QTest::keyClick(editor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(editor, u"b"_qs);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(text(2, 2), u"a"_qs + platformLineBreak() + u"b"_qs);
    EXPECT_EQ(grid->currentIndex(), model->index(2, 3));
}

TEST_F(KnownCertDialog, RowsAreResizedByDraggingTheBorderOfTheirNumberCell)
{
    open();
    QWidget *viewport = grid->viewport();
    const auto drag = [&](QPoint from, int dy) {
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from + QPoint(0, dy));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(0, dy));
    };
    const int numberX = grid->columnViewportPosition(0) + grid->columnWidth(0) / 2;
    const int border = grid->rowViewportPosition(0) + grid->rowHeight(0) - 1;

    // The border between rows 1 and 2 in the number column.
    drag(QPoint(numberX, border), 40);
    EXPECT_EQ(grid->rowHeight(0), 100);
    EXPECT_EQ(grid->rowHeight(1), 60);
    drag(QPoint(numberX, grid->rowViewportPosition(1)), -90);
    EXPECT_EQ(grid->rowHeight(0), grid->verticalHeader()->minimumSectionSize());

    // The same drag over a data cell selects; heights stay.
    const int certificateX = grid->columnViewportPosition(2) + 10;
    drag(QPoint(certificateX, grid->rowViewportPosition(2) + grid->rowHeight(2) - 1), 40);
    EXPECT_EQ(grid->rowHeight(2), 60);
}

TEST_F(KnownCertDialog, RowsShowTheirCertificateAndProblemsWithoutTheEditor)
{
    const test::TestIdentity valid = test::makeIdentity({.commonName = QStringLiteral("client-a")});
    const test::TestIdentity expired =
        test::makeIdentity({.commonName = QStringLiteral("old"), .notBeforeDays = -400, .notAfterDays = -1});
    open();
    // Pasted as the editor would: the tooltip and marker follow at once.
    for (const auto &[row, pem] : {std::pair{0, valid.certPem}, std::pair{1, expired.certPem},
                                   std::pair{2, QStringLiteral("not a certificate")}, std::pair{3, valid.certPem}})
        ASSERT_TRUE(model->setData(model->index(row, 2), pem, Qt::EditRole));

    const QString expiry = QDateTime::currentDateTimeUtc().addDays(365).toString(QStringLiteral("yyyy-MM-dd"));
    const struct {
        int row;
        const char *firstLine; // of the tooltip; nullptr for none
        QColor marker;         // invalid: no marker
    } rows[] = {
        {0, "Same certificate as row 4", QColor(200, 120, 0)},
        {1, "Expired on ", QColor(200, 0, 0)},
        {2, "Not a PEM certificate", QColor(200, 0, 0)},
        {3, "Same certificate as row 1", QColor(200, 120, 0)},
        {4, nullptr, QColor()},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.row);
        const QString tip = model->index(r.row, 2).data(Qt::ToolTipRole).toString();
        EXPECT_EQ(model->index(r.row, 0).data(Qt::ToolTipRole).toString(), tip);
        const QVariant decoration = model->index(r.row, 0).data(Qt::DecorationRole);
        if (!r.firstLine) {
            EXPECT_TRUE(tip.isEmpty());
            EXPECT_FALSE(decoration.isValid());
            continue;
        }
        EXPECT_TRUE(tip.startsWith(QString::fromLatin1(r.firstLine))) << tip.toStdString();
        ASSERT_TRUE(decoration.canConvert<QIcon>());
        EXPECT_EQ(decoration.value<QIcon>().pixmap(10, 10).toImage().pixelColor(5, 5), r.marker);
    }
    EXPECT_TRUE(model->index(0, 2)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("client-a - expires ") + expiry
                              + QStringLiteral("\nCN=client-a, O=Mirandel Test")));

    // Removing the twin clears the duplicate marker of row 1.
    ASSERT_TRUE(model->setData(model->index(3, 2), QString(), Qt::EditRole));
    EXPECT_FALSE(model->index(0, 0).data(Qt::DecorationRole).isValid());
    EXPECT_TRUE(model->index(0, 0).data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("client-a - expires")));
}

TEST_F(KnownCertDialog, LoadFromFileFillsTheSelectedRow)
{
    const test::TestIdentity id = test::makeIdentity({.commonName = QStringLiteral("loaded")});
    const QString der = dir.filePath(QStringLiteral("client.cer"));
    const QString junk = dir.filePath(QStringLiteral("client.txt"));
    test::writeAll(der, id.certDer);
    test::writeAll(junk, "no certificate here");
    QString chosen = der;
    dialog->chooseFile = [&](QWidget *, const QString &) { return chosen; };
    open();
    focus(0, 3);
    click("Btn_LoadFile");
    EXPECT_EQ(text(0, 2), id.certPem);
    EXPECT_TRUE(model->index(0, 2).data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("loaded - expires")));

    chosen = junk;
    focus(1, 2);
    click("Btn_LoadFile");
    EXPECT_TRUE(text(1, 2).isEmpty());
    EXPECT_TRUE(prompter.lastText().startsWith(QStringLiteral("The file ") + QDir::toNativeSeparators(junk)))
        << prompter.lastText().toStdString();

    // What was loaded is saved with OK like a pasted certificate.
    click("Btn_OK");
    EXPECT_TRUE(readAll(context.TLS_Known_Cert_File).contains("BEGIN CERTIFICATE"));
}

} // namespace

namespace {

// The editor gives LF only; an edited certificate keeps the line-break
// style its text had, and control characters never reach the cell.
TEST_F(KnownCertDialog, EditingKeepsTheLineBreakStyleAndDropsControlCharacters)
{
    open();
    const struct {
        QString before;
        QString typed;
        QString after;
    } cases[] = {
        {u"A\r\nB\r\n"_qs, u"C"_qs, u"A\r\nB\r\nC"_qs},
        {u"A\nB\n"_qs, u"C"_qs, u"A\nB\nC"_qs},
        {QString(), u"C"_qs, u"C"_qs},
        {u"A\r\nB"_qs, u"\u0001C\u001F"_qs, u"A\r\nBC"_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.before.toStdString());
        ASSERT_TRUE(model->setData(model->index(4, 2), c.before));
        focus(4, 2);
        grid->edit(model->index(4, 2));
        auto *editor = qobject_cast<QPlainTextEdit *>(grid->indexWidget(model->index(4, 2)));
        ASSERT_NE(editor, nullptr);
        editor->moveCursor(QTextCursor::End);
        editor->insertPlainText(c.typed); // as a paste does
        grid->finishEditing();
        EXPECT_EQ(text(4, 2), c.after);
    }
    // A new multi-line text takes the platform's line break.
    focus(5, 2);
    grid->edit(model->index(5, 2));
    auto *editor = qobject_cast<QPlainTextEdit *>(grid->indexWidget(model->index(5, 2)));
    ASSERT_NE(editor, nullptr);
    editor->insertPlainText(u"X\nY"_qs);
    grid->finishEditing();
#ifdef Q_OS_WIN
    EXPECT_EQ(text(5, 2), u"X\r\nY"_qs);
#else
    EXPECT_EQ(text(5, 2), u"X\nY"_qs);
#endif
    click("Btn_OK");
    EXPECT_FALSE(readAll(context.TLS_Known_Cert_File).contains("&#1;"));
    EXPECT_FALSE(readAll(context.TLS_Known_Cert_File).contains("&#01;"));
}

} // namespace
