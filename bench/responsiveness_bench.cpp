// Responsiveness of the window while the program waits: the real main
// window and update dialog run on the offscreen platform while a 5 ms timer
// ticks on the event loop; each benchmark reports the longest gap between two
// ticks (max_gap_ms, target under 50 ms) during
//   Idle            the main window doing nothing (the reference),
//   SilentPing      the reachability check of a device that never answers
//                   (an injected echo whose every request times out; the
//                   check's real budget of about 5 s),
//   SlowUpdater     an updater that runs 2 s, started by the update dialog,
//   SlowVersionServer  the version check against an HTTP server on
//                   127.0.0.1 that answers after 1.5 s.
// No traffic leaves the machine: the echo is injected and the server listens
// on the loopback address.
//   bench_responsiveness [benchmark options]

#include "core/app/app_context.h"
#include "core/app/projects.h"
#include "core/update/icmp_echo.h"
#include "core/update/update_descriptor.h"
#include "gui/app/main_window.h"
#include "gui/app/version_query.h"
#include "gui/common/prompter.h"
#include "gui/update/tf_boot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <functional>

using namespace mirandel;

namespace {

constexpr int Tick_Ms = 5;

// Records messages instead of showing a modal box.
class QuietPrompter : public Prompter {
public:
    void error(QWidget *, const QString &text) override { messages.append(text); }
    void warning(QWidget *, const QString &text) override { messages.append(text); }
    bool question(QWidget *, const QString &) override { return true; }
    QStringList messages;
};

// An echo to a device that never answers: each request reports its time-out
// once the time-out has passed, as the system's echo does.
class SilentEcho : public IcmpEcho {
public:
    SilentEcho()
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] { emit finished({Outcome::TimeOut, 0, {}}); });
    }
    void send(const QString &, const QByteArray &, int timeoutMs) override { m_timer.start(timeoutMs); }
    void cancel() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

// An echo to a device that answers at once.
class AnsweringEcho : public IcmpEcho {
public:
    void send(const QString &, const QByteArray &data, int) override
    {
        QTimer::singleShot(1, this, [this, size = data.size()] { emit finished({Outcome::Reply, int(size), {}}); });
    }
    void cancel() override {}
};

// An HTTP server on 127.0.0.1 that answers every request after `delayMs`.
class SlowHttpServer : public QObject {
public:
    explicit SlowHttpServer(int delayMs)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this, delayMs] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, socket, [socket, delayMs] {
                    socket->readAll();
                    QTimer::singleShot(delayMs, socket, [socket] {
                        socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: 10\r\n\r\n"
                                      "VER. 1.000");
                        socket->disconnectFromHost();
                    });
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }

private:
    QTcpServer m_server;
};

struct Gaps {
    qint64 maxGapMs = 0;
    int ticks = 0;
    qint64 elapsedMs = 0;
    bool completed = false;
};

// Runs the event loop: `start` is called from inside it, a precise timer
// ticks every Tick_Ms, and the loop ends at the first tick where `done` is
// true (or after `limitMs`).
Gaps measure(const std::function<void()> &start, const std::function<bool()> &done, int limitMs)
{
    Gaps gaps;
    QEventLoop loop;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(Tick_Ms);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        gaps.maxGapMs = std::max(gaps.maxGapMs, sinceTick.restart());
        ++gaps.ticks;
        if (done()) {
            gaps.completed = true;
            loop.quit();
        } else if (clock.elapsed() > limitMs) {
            loop.quit();
        }
    });
    QTimer::singleShot(0, &loop, [&] {
        clock.start();
        sinceTick.start();
        ticker.start();
        start();
    });
    loop.exec();
    gaps.elapsedMs = clock.elapsed();
    return gaps;
}

// A workspace with an open project and the main window shown on it.
class Workbench {
public:
    Workbench()
    {
        context.Exe_Dir = m_dir.path();
        context.Version_Server = QStringLiteral("http://127.0.0.1:9"); // never the maker's site
        window = std::make_unique<TFMirandeleFirmWare>(context, prompter);
        window->show();
        createProject(context, QStringLiteral("Bench"));
        QCoreApplication::processEvents();
    }
    ~Workbench()
    {
        window->close();
        window.reset();
    }

    // Opens the update dialog modally, as "Update Device UDP" does, clicks
    // Btn_Update and closes the dialog once the click's work is over.
    Gaps runUpdate(int limitMs)
    {
        TFBoot *boot = window->bootDialog();
        bool finished = false;
        QObject::connect(boot, &TFBoot::updateFinished, boot, [&] {
            finished = true;
            QTimer::singleShot(0, boot, &QDialog::reject);
        });
        const Gaps gaps = measure(
            [boot] {
                QTimer::singleShot(0, boot, &TFBoot::Btn_UpdateClick);
                boot->exec();
            },
            [&] { return finished && !boot->isVisible(); }, limitMs);
        QObject::disconnect(boot, &TFBoot::updateFinished, boot, nullptr);
        return gaps;
    }

    AppContext context;
    QuietPrompter prompter;
    std::unique_ptr<TFMirandeleFirmWare> window;

private:
    QTemporaryDir m_dir;
};

void report(benchmark::State &state, const Gaps &gaps)
{
    if (!gaps.completed)
        state.SkipWithError("the scenario did not end in time");
    state.SetIterationTime(double(gaps.elapsedMs) / 1000.0);
    state.counters["max_gap_ms"] = double(gaps.maxGapMs);
    state.counters["ticks"] = gaps.ticks;
}

void BM_Idle(benchmark::State &state)
{
    for (auto _ : state) {
        Workbench bench;
        QElapsedTimer clock;
        clock.start();
        report(state, measure([] {}, [&] { return clock.elapsed() >= 1000; }, 5000));
    }
}

void BM_SilentPing(benchmark::State &state)
{
    for (auto _ : state) {
        Workbench bench;
        bench.window->bootDialog()->setIcmpEcho(std::make_unique<SilentEcho>());
        report(state, bench.runUpdate(15000));
    }
}

void BM_SlowUpdater(benchmark::State &state)
{
    for (auto _ : state) {
        Workbench bench;
        const QString program = updaterProgramPath(bench.context.Exe_Dir);
        QFile script(program);
        if (!script.open(QIODevice::WriteOnly) || script.write("#!/bin/sh\nsleep 2\n") < 0) {
            state.SkipWithError("cannot write the updater");
            return;
        }
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        bench.window->bootDialog()->setIcmpEcho(std::make_unique<AnsweringEcho>());
        report(state, bench.runUpdate(15000));
    }
}

void BM_SlowVersionServer(benchmark::State &state)
{
    for (auto _ : state) {
        SlowHttpServer server(1500);
        Workbench bench;
        bench.context.Version_Server = server.baseUrl();
        bench.context.Enable_Internet = true;
        bench.context.Enable_Update = true;
        QTimer *timer = bench.window->timerUpdate();
        bool started = false;
        const auto done = [&] {
            const VersionQuery *query = bench.window->findChild<VersionQuery *>();
            started = started || (query && query->isRunning());
            return started && !query->isRunning();
        };
        report(state, measure([timer] { timer->start(0); }, done, 15000));
    }
}

} // namespace

BENCHMARK(BM_Idle)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SilentPing)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlowUpdater)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlowVersionServer)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
