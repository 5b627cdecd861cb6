#include "gui/common/prompter.h"

#include <QMessageBox>

namespace mirandel {

namespace {

QString boxTitle(QWidget *parent)
{
    return parent ? parent->window()->windowTitle() : QString();
}

} // namespace

void MessageBoxPrompter::error(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, boxTitle(parent), text, QMessageBox::Ok);
}

void MessageBoxPrompter::warning(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, boxTitle(parent), text, QMessageBox::Ok);
}

bool MessageBoxPrompter::question(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, boxTitle(parent), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

} // namespace mirandel
