#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace jt::test {

// Runs tests/exchange/exchange_peer.py: openpyxl, python3-dbf and Python's csv module
// reading what we write and writing what we read.
class ExchangePeer final {
public:
    // The peer's JSON answer; a null document with `error` set when it failed.
    static QJsonDocument run(const QStringList& args, const QByteArray& input, QString* error) {
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"),
                QStringList{QStringLiteral(JIGTALLY_EXCHANGE_PEER)} + args);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0) {
            *error = QStringLiteral("exchange_peer.py %1 failed: %2")
                         .arg(args.join(u' '), QString::fromLocal8Bit(p.readAllStandardError()));
            return {};
        }
        const QByteArray out = p.readAllStandardOutput();
        return out.isEmpty() ? QJsonDocument::fromJson("null") : QJsonDocument::fromJson(out);
    }
};

} // namespace jt::test
