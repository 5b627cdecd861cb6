#pragma once
// Starting the external updater and waiting for it without blocking the
// event loop: Start_Program returns at once and `finished` reports when the
// updater has ended, could not be started, or outlived the wait limit (the
// updater then keeps running on its own).

#include <QObject>
#include <QString>
#include <memory>

class QProcess;
class QTimer;

namespace mirandel {

class UpdaterLauncher : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Ended,          // the updater ended (its exit code is not used)
        NotFound,       // the program file does not exist
        FailedToStart,  // the system could not start it
        WaitLimitPassed // still running after the wait limit; no longer waited for
    };
    Q_ENUM(Outcome)

    static constexpr int Default_Wait_Limit_Ms = 150000;

    using QObject::QObject;

    // Starts `program` with no arguments. `finished` is emitted exactly once
    // per call, never before Start_Program has returned.
    virtual void Start_Program(const QString &program) = 0;
    virtual bool running() const = 0;

signals:
    // `detail` is the system's reason for FailedToStart, empty otherwise.
    void finished(mirandel::UpdaterLauncher::Outcome outcome, const QString &detail);
};

// Runs the updater through QProcess in the configurator's current folder.
class ProcessUpdaterLauncher : public UpdaterLauncher {
    Q_OBJECT
public:
    explicit ProcessUpdaterLauncher(QObject *parent = nullptr);
    ~ProcessUpdaterLauncher() override;

    void setWaitLimit(int milliseconds) { m_waitLimitMs = milliseconds; }
    int waitLimit() const { return m_waitLimitMs; }

    void Start_Program(const QString &program) override;
    bool running() const override { return m_process != nullptr; }

private:
    void reportLater(Outcome outcome, const QString &detail);
    void done(Outcome outcome, const QString &detail);
    void releaseProcess();

    int m_waitLimitMs = Default_Wait_Limit_Ms;
    QProcess *m_process = nullptr;
    QTimer *m_limit = nullptr;
};

} // namespace mirandel
