#include "ChildProcess.h"

#include <QCoreApplication>

#include <iostream>
#include <string>

namespace jt::test {
namespace {

constexpr int kStartMs = 10000;
constexpr int kAnswerMs = 20000;
constexpr int kEndMs = 10000;

} // namespace

QString ChildProcess::startChild(const QStringList& job) {
    return start(QCoreApplication::applicationFilePath(),
                 QStringList{QStringLiteral("--child")} + job);
}

QString ChildProcess::start(const QString& program, const QStringList& args) {
    m_process.setProgram(program);
    m_process.setArguments(args);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(kStartMs))
        return QStringLiteral("not started");
    while (!m_process.canReadLine())
        if (!m_process.waitForReadyRead(kAnswerMs))
            return QStringLiteral("no answer");
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

void ChildProcess::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("go\n");
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(kEndMs))
        m_process.kill();
    m_process.waitForFinished(kEndMs);
}

void ChildProcess::kill() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill(); // SIGKILL: nothing of the child's own runs any more
    m_process.waitForFinished(kEndMs);
}

ProgramRun runProgram(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess process;
    process.start(program, args);
    ProgramRun run;
    run.finished = process.waitForStarted(kStartMs) && process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(kEndMs);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void tellParent(const QString& line) {
    std::cout << line.toStdString() << std::endl;
}

void waitForParent() {
    std::string line;
    std::getline(std::cin, line);
}

} // namespace jt::test
