#include "core/app/app_context.h"
#include "gui/common/dialog_chrome.h"
#include "gui/fake_prompter.h"

#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

class SampleDialog : public BaseDialog {
public:
    using BaseDialog::BaseDialog;
    void Set_Lang() override { titleBand()->descLabel()->setText(m_context.text(0)); }
};

TEST(DialogChrome, BandsHaveTheirFixedHeightsAndNames)
{
    AppContext context;
    test::FakePrompter prompter;
    SampleDialog dialog(context, prompter);
    dialog.Set_Lang();
    FlatButton *ok = dialog.buttonBand()->addButton(QStringLiteral("Btn_OK"), 16);
    dialog.resize(400, 300);
    dialog.show();
    EXPECT_EQ(dialog.findChild<QWidget *>(QStringLiteral("P_Title"))->height(), 69);
    EXPECT_EQ(dialog.findChild<QWidget *>(QStringLiteral("P_Button"))->height(), 40);
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("L_SW_Code"))->text(), QStringLiteral("CF51830"));
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("L_SW_Desc"))->text(), QStringLiteral("Begin"));
    EXPECT_EQ(ok->size(), QSize(110, 28));
    EXPECT_EQ(ok->pos(), QPoint(16, 6));
    QSignalSpy clicked(ok, &QPushButton::clicked);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(DialogChrome, RightButtonsFollowTheRightEdge)
{
    AppContext context;
    test::FakePrompter prompter;
    SampleDialog dialog(context, prompter);
    FlatButton *cancel = dialog.buttonBand()->addRightButton(QStringLiteral("Btn_Cancel"), 18);
    dialog.resize(377, 351);
    dialog.show();
    EXPECT_EQ(cancel->geometry().right() + 1, 377 - 18);
    dialog.resize(500, 351);
    EXPECT_EQ(cancel->geometry().right() + 1, 500 - 18);
}

} // namespace

namespace {

// A dialog opens centred on the screen, wherever its parent window is.
TEST(DialogChrome, OpensCentredOnTheScreenNotOnItsParent)
{
    AppContext context;
    test::FakePrompter prompter;
    QWidget parent;
    parent.setGeometry(10, 10, 200, 150);
    parent.show();
    SampleDialog dialog(context, prompter, &parent);
    dialog.resize(300, 200);
    const QRect area = parent.screen()->availableGeometry();
    for (int opening = 0; opening < 2; ++opening) {
        dialog.show();
        QCoreApplication::processEvents();
        EXPECT_LE((dialog.frameGeometry().center() - area.center()).manhattanLength(), 2) << "opening " << opening;
        dialog.move(0, 0); // the user moves it; the next opening centres again
        dialog.hide();
    }
}

} // namespace
