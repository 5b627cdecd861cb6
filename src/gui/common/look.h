#pragma once
// The program's look: background, fonts, flat buttons that turn orange while
// pressed. applyLook() sets it once for the whole application.

#include <QColor>
#include <QFont>

class QApplication;

namespace mirandel {

inline constexpr QColor kBackground{248, 247, 237};
inline constexpr QColor kPressed{255, 128, 0};
inline constexpr QColor kGreyText{128, 128, 128};

// Verdana with DejaVu Sans as fallback, character height in pixels.
QFont programFont(int pixelHeight = 11, bool bold = false);

// Sets the application font, palette and the style sheet of flat buttons.
void applyLook(QApplication &app);

} // namespace mirandel
