#include "gui/common/look.h"

#include <QApplication>
#include <QPalette>

namespace mirandel {

QFont programFont(int pixelHeight, bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    // Glyph advances as designed, as fontconfig gives them on Linux; a FreeType
    // engine elsewhere would round each glyph's advance and widen the texts.
    // (GDI on Windows hints as it always does.)
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

void applyLook(QApplication &app)
{
    app.setFont(programFont(11));
    QPalette palette = app.palette();
    palette.setColor(QPalette::Window, kBackground);
    palette.setColor(QPalette::Button, kBackground);
    app.setPalette(palette);
    app.setStyleSheet(QStringLiteral(
        "QDialog, QMainWindow { background-color: rgb(248,247,237); }"
        "QPushButton[flat=\"true\"] { border: 1px solid rgb(200,198,186); border-radius: 2px;"
        " background-color: rgb(248,247,237); padding: 2px 6px; }"
        "QPushButton[flat=\"true\"]:hover { background-color: rgb(255,236,200); }"
        "QPushButton[flat=\"true\"]:pressed { background-color: rgb(255,128,0); }"
        "QPushButton[flat=\"true\"]:disabled { color: rgb(160,160,160); }"));
}

} // namespace mirandel
