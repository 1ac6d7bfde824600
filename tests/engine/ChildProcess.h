#pragma once

#include "engine/Table.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <unistd.h>

namespace jt::test {

// The other process of the cross-process tests is the test program itself, started
// with "--child" and a job:
//   hold PATH shared|exclusive [poke]  open the table (poke: then open and close other
//                                       descriptors of the file), say "ready", wait for
//                                       a line on standard input, close, exit
//   post PATH shared|exclusive FIELD VALUE [close]
//                                       set FIELD of the first record, post, say
//                                       "posted" (close: after closing) and wait to be
//                                       killed or told to go
inline int runChild(const QStringList& args) {
    if (args.size() < 3)
        return 2;
    try {
        engine::Table table;
        table.setTableName(args[1]);
        table.setExclusive(args[2] == QLatin1String("exclusive"));
        table.open();
        if (args[0] == QLatin1String("hold")) {
            if (args.value(3) == QLatin1String("poke")) {
                const QByteArray native = QFile::encodeName(args[1]);
                for (int i = 0; i < 3; ++i) {
                    const int fd = ::open(native.constData(), O_RDONLY);
                    ::close(fd);
                }
                QFile file(args[1]);
                if (file.open(QIODevice::ReadOnly))
                    file.readAll();
                file.close();
            }
        } else if (args[0] == QLatin1String("post") && args.size() >= 5) {
            table.edit();
            table.fieldByName(args[3])->setAsString(args[4]);
            table.post();
            if (args.value(5) == QLatin1String("close"))
                table.close();
        } else {
            return 2;
        }
        std::cout << (args[0] == QLatin1String("hold") ? "ready" : "posted") << std::endl;
        std::string line;
        std::getline(std::cin, line);
        table.close();
        return 0;
    } catch (const engine::EngineError& e) {
        std::cout << "error: " << e.what() << std::endl;
        return 1;
    }
}

// Starts the child and waits for its first line; returns that line.
inline QString startChild(QProcess& child, const QStringList& args) {
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments(QStringList{QStringLiteral("--child")} + args);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start();
    if (!child.waitForStarted(10000))
        return QStringLiteral("not started");
    while (!child.canReadLine())
        if (!child.waitForReadyRead(20000))
            return QStringLiteral("no answer");
    return QString::fromUtf8(child.readLine()).trimmed();
}

inline void stopChild(QProcess& child) {
    if (child.state() == QProcess::NotRunning)
        return;
    child.write("go\n");
    child.closeWriteChannel();
    if (!child.waitForFinished(10000))
        child.kill();
    child.waitForFinished(10000);
}

} // namespace jt::test

// main() for a test program whose class may be started as the other process.
#define JT_ENGINE_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char** argv) {                                                              \
        QCoreApplication app(argc, argv);                                                          \
        if (argc > 1 && qstrcmp(argv[1], "--child") == 0)                                          \
            return jt::test::runChild(app.arguments().mid(2));                                     \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
