#pragma once

#include "engine/Table.h"
#include "support/ChildProcess.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

namespace jt::test {

// The jobs of the engine's other process (started with ChildProcess::startChild):
//   hold PATH shared|exclusive [poke]  open the table (poke: then open and close other
//                                       descriptors of the file), say "ready", wait to be
//                                       let go, close, exit
//   post PATH shared|exclusive FIELD VALUE [close]
//                                       set FIELD of the first record, post, say
//                                       "posted" (close: after closing) and wait to be
//                                       killed or let go
inline int engineChild(const QStringList& args) {
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
        tellParent(args[0] == QLatin1String("hold") ? QStringLiteral("ready")
                                                    : QStringLiteral("posted"));
        waitForParent();
        table.close();
        return 0;
    } catch (const engine::EngineError& e) {
        tellParent(QStringLiteral("error: ") + e.message());
        return 1;
    }
}

} // namespace jt::test
