#pragma once

#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>

class QTextStream;

namespace jt::cli {

// A command of jigtally-cli: reads its arguments, writes to out and err, returns the exit code.
struct Command {
    QString usage;   // "dump FILE.dbf"
    QString summary; // one line for --help
    std::function<int(const QStringList& args, QTextStream& out, QTextStream& err)> run;
};

// The commands by name. Commands of other parts of the program add themselves here.
std::map<QString, Command>& commands();

// Runs jigtally-cli with its arguments (program name excluded).
int runCli(const QStringList& args, QTextStream& out, QTextStream& err);

// One field as it appears in a CSV line (RFC 4180 quoting applied).
QString csvField(const QString& text);

} // namespace jt::cli
