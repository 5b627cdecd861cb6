// Test entry for GUI tests: the offscreen platform unless the caller chose
// another, the program's look, then every GoogleTest test.

#include "gui/common/look.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
    // The offscreen platform reads its fonts from one folder: the system's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", qEnvironmentVariable("SystemRoot").toLocal8Bit() + "\\Fonts");
#endif
    QApplication app(argc, argv);
#ifdef Q_OS_WIN
    // The offscreen platform has no native theme: use the same style as on
    // Linux, so layout checks measure the same thing on both. The native
    // Windows look is checked on the real platform (tools/windows/gui-check).
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        QApplication::setStyle(QStringLiteral("Fusion"));
#endif
    mirandel::applyLook(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
