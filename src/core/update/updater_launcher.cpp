#include "core/update/updater_launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace mirandel {

ProcessUpdaterLauncher::ProcessUpdaterLauncher(QObject *parent)
    : UpdaterLauncher(parent)
    , m_limit(new QTimer(this))
{
    m_limit->setSingleShot(true);
    connect(m_limit, &QTimer::timeout, this, [this] {
        releaseProcess();
        done(Outcome::WaitLimitPassed, {});
    });
}

ProcessUpdaterLauncher::~ProcessUpdaterLauncher()
{
    // A QProcess kills its child when destroyed; the updater must survive
    // the configurator, so a running one is let go instead.
    releaseProcess();
}

void ProcessUpdaterLauncher::Start_Program(const QString &program)
{
    if (m_process) {
        // Never two updaters waited for at once: stop waiting for the first.
        m_limit->stop();
        releaseProcess();
    }
    if (!QFileInfo(program).isFile()) {
        reportLater(Outcome::NotFound, {});
        return;
    }
    auto *process = new QProcess(this);
    m_process = process;
    process->setProgram(program);
    // The updater has no console to talk to; its output goes nowhere, so it
    // never blocks on a full pipe nor dies writing to a closed one.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, [this, process] {
        if (process != m_process)
            return;
        m_limit->stop();
        m_process = nullptr;
        process->deleteLater();
        done(Outcome::Ended, {});
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (process != m_process || error != QProcess::FailedToStart)
            return;
        m_limit->stop();
        m_process = nullptr;
        const QString reason = process->errorString();
        process->deleteLater();
        reportLater(Outcome::FailedToStart, reason);
    });
    m_limit->start(m_waitLimitMs);
    process->start();
}

void ProcessUpdaterLauncher::releaseProcess()
{
    QProcess *process = m_process;
    m_process = nullptr;
    if (!process)
        return;
    disconnect(process, nullptr, this, nullptr);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    // Detach from the launcher; the object goes away when the updater ends
    // while the program still runs, and is left alone at program exit so
    // that its destructor does not kill the updater.
    process->setParent(nullptr);
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
}

void ProcessUpdaterLauncher::reportLater(Outcome outcome, const QString &detail)
{
    QMetaObject::invokeMethod(
        this, [this, outcome, detail] { emit finished(outcome, detail); }, Qt::QueuedConnection);
}

void ProcessUpdaterLauncher::done(Outcome outcome, const QString &detail)
{
    emit finished(outcome, detail);
}

} // namespace mirandel
