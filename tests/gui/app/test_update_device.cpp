// The first half of "Update Device UDP": image build and save, and the error
// box that keeps the update dialog closed.

#include "core/app/app_context.h"
#include "core/app/projects.h"
#include "core/image/image_test_support.h"
#include "gui/app/update_device.h"
#include "gui/fake_prompter.h"

#include <QFileInfo>
#include <functional>

using namespace mirandel;
using namespace mirandel::test;

namespace {

struct ProjectUnderUpdate {
    TempProject project;
    AppContext context;
    FakePrompter prompter;

    ProjectUnderUpdate()
    {
        context.Project_Dir = project.dir();
        Set_Files(context);
    }
    bool run() { return buildAndSaveImage(context, prompter, nullptr); }
    bool banksExist() const
    {
        return QFileInfo::exists(project.file(QStringLiteral("bin/bank1.bin")))
               || QFileInfo::exists(project.file(QStringLiteral("bin/bank2.bin")));
    }
};

TEST(UpdateDeviceImage, WritesBothBanksWithoutAMessage)
{
    ProjectUnderUpdate s;
    s.project.variables({variableRow(QStringLiteral("ab"))});
    ASSERT_TRUE(s.run()) << s.prompter.lastText().toStdString();
    EXPECT_TRUE(s.prompter.messages().isEmpty());
    EXPECT_EQ(QFileInfo(s.project.file(QStringLiteral("bin/bank1.bin"))).size(), 2048);
    EXPECT_EQ(QFileInfo(s.project.file(QStringLiteral("bin/bank2.bin"))).size(), 1114);
}

TEST(UpdateDeviceImage, FailuresShowOneErrorBoxAndReturnFalse)
{
    const struct {
        const char *name;
        std::function<void(const TempProject &)> setUp;
        int textIndex;
        QString detail;
    } cases[] = {
        {"malformed ParGen.xml", [](const TempProject &p) { p.raw(QStringLiteral("ParGen.xml"), "<Par_Gen>"); }, 30,
         QStringLiteral("ParGen.xml\n")},
        {"data block too large",
         [](const TempProject &p) { p.parGen({{QStringLiteral("TLS_Server_Key"), QString(523209, u'k')}}); }, 32,
         QStringLiteral("524289\n")},
        {"bin folder cannot be made", [](const TempProject &p) { p.raw(QStringLiteral("bin"), "x"); }, 31,
         QStringLiteral("bank1.bin\n")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ProjectUnderUpdate s;
        c.setUp(s.project);
        s.context.texts.setText(c.textIndex, QStringLiteral("Translated: "));
        EXPECT_FALSE(s.run());
        ASSERT_EQ(s.prompter.messages().size(), 1);
        EXPECT_EQ(s.prompter.messages().first().kind, FakePrompter::Error);
        const QString text = s.prompter.lastText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("Translated: "))) << text.toStdString();
        EXPECT_TRUE(text.contains(c.detail)) << text.toStdString();
        EXPECT_FALSE(s.banksExist());
    }
}

} // namespace
