#pragma once
// Main window (placeholder).

#include <QWidget>

namespace mirandel {

struct AppContext;
class Prompter;

class TFMirandeleFirmWare : public QWidget {
    Q_OBJECT
public:
    TFMirandeleFirmWare(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

private:
    AppContext &m_context;
    Prompter &m_prompter;
};

} // namespace mirandel
