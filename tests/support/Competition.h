#pragma once

#include "data/ProgramState.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDataFolder.h"

#include <QList>
#include <QVariant>

#include <memory>

namespace jt::engine {
class Table;
}

namespace jt::test {

// The one competition fixture: a temporary data folder reached through an alias, the
// system tables in it, every dialog answered by script, and a program state of the
// test's own. What else is there (the data module, a competition, dancers) each test
// asks for, so the windows can make the data module as the start-up order does.
class Competition {
public:
    // `alias`: the alias made for the folder; none when empty. The machine's settings
    // file becomes settingsFile(), which does not exist until a test writes it.
    explicit Competition(const QString& alias = QStringLiteral("jigtally 2008"));
    virtual ~Competition();
    Competition(const Competition&) = delete;
    Competition& operator=(const Competition&) = delete;

    // A data module of its own, whose results table names competition u12 (closed).
    static std::unique_ptr<Competition> closedOnU12();
    // The same with `dancers` dancers numbered 101, 102, ... in reverse dancing order,
    // named "Dancer 1", ..., and where given round 1 marks for A; the results table
    // stays open on the first record.
    static std::unique_ptr<Competition> withDancers(int dancers, const QList<double>& a1Marks = {});

    TempDataFolder folder;
    ScriptedDialogs dialogs;
    ProgramState state;

    QString settingsFile() const { return folder.filePath(QStringLiteral("registry.ini")); }

    // Makes the state's data module.
    data::TDataModule1& addModule();
    data::TDataModule1& module() const { return state.module(); }
    engine::Table& results() const { return *module().results; }

    // NAME.dbf and NAME_inf.dbf made from the templates.
    void addCompetition(const QString& name = QStringLiteral("u12")) const;

    // What the file u12.dbf holds for a record (in entry order), read through a handle
    // of its own.
    QVariant stored(int record, const QString& field) const;
    int storedCount() const;
};

} // namespace jt::test
