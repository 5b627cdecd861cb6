#include "core/app/app_context.h"
#include "core/iec61850/variable_table.h"
#include "gui/common/dialog_chrome.h"
#include "gui/fake_prompter.h"
#include "gui/iec61850/data_array_view.h"
#include "gui/iec61850/tf_iec61850_variables.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include "test_files.h"

using namespace mirandel;
using mirandel::test::readAll;
using mirandel::test::writeAll;
using test::FakePrompter;

namespace {

class VariablesDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        context.IEC61850_Variables_File = dir.filePath(QStringLiteral("IEC61850_Variables.xml"));
        dialog = std::make_unique<TFIEC61850_Variables>(context, prompter);
        grid = dialog->findChild<QTableView *>(QStringLiteral("ACG"));
        ASSERT_NE(grid, nullptr);
        model = grid->model();
    }
    void TearDown() override { dialog->hide(); }

    // Shows the dialog and lets the notices of the loading arrive.
    void open()
    {
        dialog->show();
        QApplication::processEvents();
    }
    void reopen()
    {
        dialog->hide();
        open();
    }
    void click(const char *button)
    {
        auto *b = dialog->findChild<QPushButton *>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Grid coordinates: row 0 is the first data row, column 0 the row numbers.
    QString cell(int row, int column) const { return model->data(model->index(row, column), Qt::EditRole).toString(); }
    void setCell(int row, int column, const QString &text)
    {
        ASSERT_TRUE(model->setData(model->index(row, column), text));
    }
    void focus(int row, int column) { grid->setCurrentIndex(model->index(row, column)); }
    // Opens the cell's editor, as a double click would.
    template <typename Editor>
    Editor *openEditor(int row, int column)
    {
        focus(row, column);
        grid->edit(model->index(row, column));
        return qobject_cast<Editor *>(grid->indexWidget(model->index(row, column)));
    }
    void closeEditor() { static_cast<TableGrid *>(grid)->finishEditing(); }

    QTemporaryDir dir;
    AppContext context;
    FakePrompter prompter;
    std::unique_ptr<TFIEC61850_Variables> dialog;
    QTableView *grid = nullptr;
    QAbstractItemModel *model = nullptr;
};

TEST_F(VariablesDialog, GridShapeTitlesHintsAndButtons)
{
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    open();
    EXPECT_EQ(dialog->size(), QSize(1155, 337));
    EXPECT_EQ(model->rowCount(), 50);
    ASSERT_EQ(model->columnCount(), 13);
    const QStringList titles = {u"N"_qs,    u"Enable"_qs,     u"Name"_qs,        u"Type"_qs, u"Length"_qs,
                                u"Read Only"_qs, u"Position"_qs, u"Start Bit"_qs, u"Conversion"_qs,
                                u"Molt. Factor"_qs, u"Swap"_qs, u"Swap Word"_qs, u"Mnemonic"_qs};
    const int widths[] = {40, 50, 250, 80, 65, 65, 80, 60, 75, 75, 45, 80, 128};
    for (int c = 0; c < 13; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(grid->columnWidth(c), widths[c]);
    }
    EXPECT_FALSE(model->headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
              u"Enable/Disable the Row with IEC61850 Variable"_qs);
    EXPECT_EQ(model->headerData(12, Qt::Horizontal, Qt::ToolTipRole).toString(),
              u"Insert the Description of IEC61850 Variable"_qs);
    EXPECT_EQ(model->index(49, 0).data().toString(), u"50"_qs);
    EXPECT_EQ(model->data(model->index(3, 1), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(model->data(model->index(3, 2), Qt::BackgroundRole).value<QBrush>().color(), QColor(224, 250, 254));

    const char *buttons[] = {"Btn_OK", "Btn_Cancel", "Btn_DelRow", "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow"};
    for (int i = 0; i < 6; ++i) {
        auto *b = dialog->findChild<QPushButton *>(QString::fromLatin1(buttons[i]));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->geometry(), QRect(16 + 118 * i, 6, 110, 28));
        // Only Copy Row and Paste Row show their hints.
        EXPECT_EQ(b->toolTip().isEmpty(), i < 4) << buttons[i];
    }
}

TEST_F(VariablesDialog, CellEditorsWriteTheCellTexts)
{
    open();
    // A data check box toggles between "Y" and "N" on a click on the box.
    const QRect box = grid->visualRect(model->index(0, 5));
    EXPECT_EQ(cell(0, 5), QString());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(cell(0, 5), u"Y"_qs);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_EQ(cell(0, 5), u"N"_qs);

    // A fixed list offers its items only; the factor list also takes typed text.
    auto *type = openEditor<QComboBox>(0, 3);
    ASSERT_NE(type, nullptr);
    EXPECT_FALSE(type->isEditable());
    EXPECT_EQ(type->count(), 3);
    type->setCurrentIndex(2);
    closeEditor();
    EXPECT_EQ(cell(0, 3), u"Digital (Bit)"_qs);

    auto *factor = openEditor<QComboBox>(0, 9);
    ASSERT_NE(factor, nullptr);
    EXPECT_TRUE(factor->isEditable());
    factor->setEditText(u"0,5"_qs);
    closeEditor();
    EXPECT_EQ(cell(0, 9), u"0,5"_qs);
}

TEST_F(VariablesDialog, CopyAndPasteWithinOneShowing)
{
    open();
    setCell(0, 2, u"Temp"_qs);
    setCell(0, 4, u"2"_qs);
    setCell(0, 5, u"Y"_qs);
    setCell(2, 12, u"   "_qs);
    focus(0, 2);
    click("Btn_CopyRow");
    // A row holding only blanks is not in use: no question.
    focus(2, 1);
    click("Btn_PasteRow");
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(cell(2, 2), u"Temp"_qs);
    EXPECT_EQ(cell(2, 5), u"Y"_qs);
    EXPECT_EQ(cell(2, 12), QString());

    // A used row asks first; No keeps it.
    setCell(1, 2, u"Other"_qs);
    focus(1, 2);
    prompter.setNextAnswer(false);
    click("Btn_PasteRow");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].kind, FakePrompter::Question);
    EXPECT_EQ(prompter.lastText(), u"Row Already used. Do you want to overwrite the values?"_qs);
    EXPECT_EQ(cell(1, 2), u"Other"_qs);

    // The copy is forgotten with the showing, even though the buffer stays.
    reopen();
    prompter.clear();
    focus(4, 2);
    click("Btn_PasteRow");
    EXPECT_EQ(prompter.texts(), QStringList{u"Error!!! Copy a valid row before Paste it"_qs});
    EXPECT_EQ(cell(4, 2), QString());
    EXPECT_EQ(context.Copy_Buffer.size(), 12);

    // A buffer of another width is refused.
    click("Btn_CopyRow");
    context.Copy_Buffer.removeLast();
    prompter.clear();
    click("Btn_PasteRow");
    EXPECT_EQ(prompter.texts(), QStringList{u"Error in the Copy values!!! Copy a valid row before Paste it"_qs});
}

TEST_F(VariablesDialog, DeleteAsksWithTheRowNumberAndInsertShiftsDown)
{
    open();
    for (int r = 0; r < 3; ++r)
        setCell(r, 2, u"V"_qs + QString::number(r + 1));
    focus(1, 4);
    prompter.setNextAnswer(false);
    click("Btn_DelRow");
    EXPECT_EQ(prompter.lastText(), u"Are you sure to delete the Row number 2"_qs);
    EXPECT_EQ(cell(1, 2), u"V2"_qs);
    prompter.setNextAnswer(true);
    click("Btn_DelRow");
    EXPECT_EQ(cell(1, 2), u"V3"_qs);
    EXPECT_EQ(cell(2, 2), QString());

    focus(0, 2);
    click("Btn_InsRow");
    EXPECT_EQ(cell(0, 2), QString());
    EXPECT_EQ(cell(0, 1), u"Y"_qs);
    EXPECT_EQ(cell(1, 2), u"V1"_qs);
    EXPECT_EQ(cell(2, 2), u"V3"_qs);
}

TEST_F(VariablesDialog, RowNumberClickSelectsTheRow)
{
    open();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(model->index(3, 0)).center());
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(3, {}));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(model->index(1, 2)).center());
    EXPECT_FALSE(grid->selectionModel()->isRowSelected(1, {}));
}

TEST_F(VariablesDialog, EnterWalksTheFieldsOnlyWithTheFlag)
{
    open();
    context.Enable_Jump_Field_Tables = true;
    focus(0, 11);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex(), model->index(0, 12));
    focus(49, 12);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex(), model->index(0, 1));
    focus(3, 12);
    QTest::keyClick(grid, Qt::Key_Enter);
    EXPECT_EQ(grid->currentIndex(), model->index(4, 1));

    // From an open editor: the text is kept and the focus moves on.
    auto *edit = openEditor<QLineEdit>(5, 2);
    ASSERT_NE(edit, nullptr);
    edit->setText(u"typed"_qs);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(cell(5, 2), u"typed"_qs);
    EXPECT_EQ(grid->currentIndex(), model->index(5, 3));

    context.Enable_Jump_Field_Tables = false;
    focus(49, 12);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex(), model->index(49, 12));
    // Enter never reaches a button of the dialog.
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
}

TEST_F(VariablesDialog, DoubleClickOnATitleFitsTheColumnOnlyWithTheFlag)
{
    open();
    QHeaderView *header = grid->horizontalHeader();
    const QPoint title(header->sectionViewportPosition(2) + 40, header->height() / 2);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_EQ(grid->columnWidth(2), 250);
    context.Double_Click_Auto_Size = true;
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_LT(grid->columnWidth(2), 250);
    EXPECT_GE(grid->columnWidth(2), header->sectionSizeHint(2));
}

TEST_F(VariablesDialog, OkChecksThenSavesCancelWritesNothing)
{
    open();
    setCell(0, 2, u"Temp"_qs);
    setCell(0, 4, u"9"_qs);
    click("Btn_OK");
    EXPECT_EQ(prompter.texts(), QStringList{u"Error row 1!! Length must be between 1 and 4"_qs});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(QFile::exists(context.IEC61850_Variables_File));

    setCell(0, 1, u"N"_qs);
    click("Btn_Cancel");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(context.IEC61850_Variables_File));

    open();
    EXPECT_EQ(cell(0, 2), QString());
    setCell(0, 2, u"Temp"_qs);
    setCell(0, 1, u"N"_qs);
    click("Btn_OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(readAll(context.IEC61850_Variables_File).startsWith("<IEC61850_Variables><row Enable=\"N\" Name=\"Temp\""));
}

TEST_F(VariablesDialog, ExtraRowsAreAnnouncedAndKeptOnCancel)
{
    QByteArray data("<IEC61850_Variables>");
    for (int i = 0; i < 53; ++i)
        data += "<row Name=\"v" + QByteArray::number(i) + "\"/>";
    data += "</IEC61850_Variables>";
    writeAll(context.IEC61850_Variables_File, data);
    open();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].kind, FakePrompter::Warning);
    EXPECT_TRUE(prompter.lastText().contains(u" 3 "_qs));
    EXPECT_TRUE(prompter.lastText().contains(QDir::toNativeSeparators(context.IEC61850_Variables_File)));
    EXPECT_EQ(cell(49, 2), u"v49"_qs);
    click("Btn_Cancel");
    EXPECT_EQ(readAll(context.IEC61850_Variables_File), data);
}

TEST_F(VariablesDialog, MalformedFileIsReportedAndKeptBesideTheNewOne)
{
    const QByteArray broken("<IEC61850_Variables><row Name=\"a\"></IEC61850_Variables>");
    writeAll(context.IEC61850_Variables_File, broken);
    open();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].kind, FakePrompter::Error);
    EXPECT_TRUE(prompter.lastText().contains(QDir::toNativeSeparators(context.IEC61850_Variables_File)));
    EXPECT_TRUE(prompter.lastText().contains(u"line 1"_qs));
    EXPECT_EQ(cell(0, 2), QString());
    EXPECT_EQ(cell(0, 1), u"Y"_qs);
    click("Btn_Cancel");
    EXPECT_EQ(readAll(context.IEC61850_Variables_File), broken);

    open();
    click("Btn_OK");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(readAll(context.IEC61850_Variables_File + u".bad"_qs), broken);
    EXPECT_EQ(readAll(context.IEC61850_Variables_File),
              QByteArray("<IEC61850_Variables/><!--SW_VERSION = 1.000-->"));
}

TEST_F(VariablesDialog, FailedWriteKeepsTheDialogOpen)
{
    context.IEC61850_Variables_File = dir.filePath(u"missing/IEC61850_Variables.xml"_qs);
    open();
    setCell(0, 2, u"Temp"_qs);
    setCell(0, 1, u"N"_qs);
    click("Btn_OK");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].kind, FakePrompter::Error);
    EXPECT_TRUE(prompter.lastText().startsWith(u"Error writing the file "_qs));
    EXPECT_TRUE(prompter.lastText().contains(QDir::toNativeSeparators(context.IEC61850_Variables_File)));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(cell(0, 2), u"Temp"_qs);
}

// ---------------------------------------------------------------- data-array map

TEST_F(VariablesDialog, MapShowsTheVariablesAndOverlapsAndSelectsAClickedRow)
{
    writeAll(context.IEC61850_Variables_File,
             "<IEC61850_Variables>"
             "<row Enable=\"Y\" Name=\"Speed\" Type=\"Int\" Length=\"4\" Position=\"0\"/>"
             "<row Enable=\"Y\" Name=\"Torque\" Type=\"Int\" Length=\"2\" Position=\"2\"/>"
             "<row Enable=\"Y\" Name=\"Run\" Type=\"Digital (Bit)\" Length=\"1\" Position=\"40\" StartBit=\"3\"/>"
             "<row Enable=\"Y\" Name=\"Stop\" Type=\"Digital (Bit)\" Length=\"1\" Position=\"40\" StartBit=\"4\"/>"
             "<row Enable=\"N\" Name=\"Off\" Type=\"Int\" Length=\"4\" Position=\"100\"/>"
             "</IEC61850_Variables>");
    open();
    click("Btn_Map");
    DataArrayView *view = dialog->mapView();
    ASSERT_TRUE(view->isVisible());
    DataArrayGrid *map = view->grid();

    // Bytes 2 and 3 are shared; two bits of byte 40 are not.
    for (int byte : {0, 1, 2, 3, 40, 100})
        EXPECT_EQ(map->isOverlap(byte), byte == 2 || byte == 3) << byte;
    EXPECT_EQ(map->byteText(0), QStringLiteral("Byte 0: row 1 Speed"));
    EXPECT_EQ(map->byteText(2), QStringLiteral("Byte 2: row 1 Speed\nByte 2: row 2 Torque\nOverlap: rows 1 and 2, byte 2"));
    EXPECT_EQ(map->byteText(100), QStringLiteral("Byte 100: free"));
    EXPECT_EQ(map->byteText(40), QStringLiteral("Byte 40: row 3 Run, bit 3\nByte 40: row 4 Stop, bit 4"));
    const QString summary = view->findChild<QLabel *>(QStringLiteral("L_Map_Summary"))->text();
    EXPECT_EQ(summary, QStringLiteral("5 of 1438 bytes in use\nOverlap: rows 1 and 2, byte 2"));

    // A click on a variable selects its row; on a bit, the bit's own variable.
    QTest::mouseClick(map, Qt::LeftButton, {}, map->byteRect(1).center());
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(0, {}));
    const QRect bits = map->byteRect(40);
    const int bitWidth = DataArrayGrid::Cell_Width / 8;
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(bits.left() + (7 - 4) * bitWidth + 1, bits.center().y()));
    EXPECT_EQ(grid->currentIndex().row(), 3);
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(bits.left() + (7 - 3) * bitWidth + 1, bits.center().y()));
    EXPECT_EQ(grid->currentIndex().row(), 2);
    QTest::mouseClick(map, Qt::LeftButton, {}, map->byteRect(100).center());
    EXPECT_EQ(grid->currentIndex().row(), 2);
}

TEST_F(VariablesDialog, MapFollowsUnsavedEdits)
{
    open();
    click("Btn_Map");
    DataArrayGrid *map = dialog->mapView()->grid();
    EXPECT_TRUE(map->map().spans.isEmpty());
    setCell(0, 2, QStringLiteral("A"));
    setCell(0, 4, QStringLiteral("2"));
    setCell(0, 6, QStringLiteral("10"));
    setCell(1, 2, QStringLiteral("B"));
    setCell(1, 4, QStringLiteral("2"));
    setCell(1, 6, QStringLiteral("11"));
    EXPECT_TRUE(map->isOverlap(11));
    setCell(1, 6, QStringLiteral("12"));
    EXPECT_FALSE(map->isOverlap(11));
    ASSERT_EQ(map->map().spans.size(), 2);
    EXPECT_EQ(map->map().spans[1].first, 12);
    EXPECT_FALSE(QFile::exists(context.IEC61850_Variables_File));

    // The map goes with the editor.
    dialog->hide();
    EXPECT_FALSE(dialog->mapView()->isVisible());
}

} // namespace

namespace {

// A control character pasted into a cell is dropped where it is entered.
TEST_F(VariablesDialog, PastedControlCharactersAreDroppedFromTheCell)
{
    open();
    auto *name = openEditor<QLineEdit>(0, 2);
    ASSERT_NE(name, nullptr);
    QApplication::clipboard()->setText(u"Na\u0001me\u001B"_qs);
    name->paste();
    EXPECT_EQ(name->text(), u"Name"_qs);
    closeEditor();
    EXPECT_EQ(cell(0, 2), u"Name"_qs);
    auto *factor = openEditor<QComboBox>(0, 9);
    ASSERT_NE(factor, nullptr);
    factor->lineEdit()->clear();
    factor->lineEdit()->insert(u"0\u0002,5"_qs);
    closeEditor();
    EXPECT_EQ(cell(0, 9), u"0,5"_qs);
}

} // namespace
