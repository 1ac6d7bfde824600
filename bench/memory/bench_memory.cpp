// The program's resident size with a 10,000-dancer competition open in Enter Marks.
// Every window of the program is built as at start-up; the competition is selected with
// File > Select Competition and Enter Marks opened from the Marks menu, as a tabulator
// would, with the file dialog answered by the bench. Prints the resident size (VmRSS)
// after start-up and with Enter Marks open, and the peak (VmHWM).
//
//   bench_memory [dancers]      (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "app/JigtallyApplication.h"
#include "app/ProgramWindows.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "dbcontrols/DBGrid.h"
#include "engine/Table.h"
#include "marks/TSpreadsheet1.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

using namespace jt;

namespace {

// The figure of one line of /proc/self/status, in kB.
long statusKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

QString mb(long kb) {
    return QString::number(double(kb) / 1024.0, 'f', 1) + QStringLiteral(" MB");
}

// Answers the file dialog with the competition and every box with its first button.
class BenchDialogs final : public platform::Dialogs {
public:
    explicit BenchDialogs(QString table) : m_table(std::move(table)) {}
    platform::Button message(platform::MessageType, const QString&, const QString&,
                             platform::Buttons buttons) override {
        return buttons & platform::Yes ? platform::Yes : platform::Ok;
    }
    std::optional<QString> openFileName(const platform::FileDialogOptions&) override {
        return m_table;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    void preview(const render::Document&) override {}
    platform::PrintOutcome print(const render::Document&, platform::PrintMode) override {
        return platform::PrintOutcome::Cancelled;
    }
    platform::PrintOutcome printEach(const std::vector<render::Document>&,
                                     platform::PrintMode) override {
        return platform::PrintOutcome::Cancelled;
    }
    void printerSetup() override {}

private:
    QString m_table;
};

void makeCompetition(int dancers) {
    engine::Table t;
    t.setDatabaseName(data::TDataModule1::kAlias);
    t.setTableName(QStringLiteral("big.dbf"));
    t.createTable(data::resultsFields());
    t.setExclusive(true);
    t.open();
    for (int i = 0; i < dancers; ++i) {
        t.append();
        t.fieldByName(QStringLiteral("SEQUENCE"))->setAsInteger(i + 1);
        t.fieldByName(QStringLiteral("COMP_NO"))->setAsInteger(100 + i);
        t.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("Dancer %1").arg(i + 1));
        t.fieldByName(QStringLiteral("SCHOOL"))
            ->setAsString(QStringLiteral("School %1").arg(i % 37));
        t.fieldByName(QStringLiteral("A1"))->setAsFloat(50 + (i % 400) / 8.0);
        t.post();
    }
    t.close();
    engine::Table info;
    info.setDatabaseName(data::TDataModule1::kAlias);
    info.setTableName(QStringLiteral("big_inf.dbf"));
    info.createTable(data::compInfoFields());
    info.open();
    info.append();
    info.fieldByName(QStringLiteral("NUMADJS"))->setAsString(QStringLiteral("5"));
    info.fieldByName(QStringLiteral("NUMROUNDS"))->setAsString(QStringLiteral("4"));
    info.post();
    info.close();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A home of its own: the alias and the tables go there, not into the user's.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
    const QString data = home.path() + QStringLiteral("/Documents/Jigtally 2008/data");
    QDir().mkpath(data);

    app::JigtallyApplication application(argc, argv);
    const int dancers = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    QTextStream out(stdout);

    ProgramState state;
    app::ProgramServices services;
    BenchDialogs dialogs(data + QStringLiteral("/big.dbf"));
    platform::setDialogs(&dialogs);
    app::ProgramWindows windows(state); // makes the alias
    windows.main()->show();
    QCoreApplication::processEvents();
    const long started = statusKb("VmRSS");

    makeCompetition(dancers);
    windows.main()->Select1->trigger();
    long open = -1;
    int listed = 0;
    QTimer::singleShot(0, [&] {
        // Enter Marks is up (its modal loop runs this): painted once, then measured.
        marks::TSpreadsheet1* w = marks::Spreadsheet1;
        if (w && w->isVisible()) {
            w->repaint();
            QCoreApplication::processEvents();
            open = statusKb("VmRSS");
            listed = w->DBGrid1->model()->rowCount();
            w->Button1Click();
        }
    });
    windows.main()->EnterSetScores1->trigger();
    out << "resident after start-up:                  " << mb(started) << "\n";
    if (open < 0) {
        out << "Enter Marks did not open\n";
        return 1;
    }
    out << "resident with " << listed << " dancers in Enter Marks: " << mb(open) << "\n";
    out << "peak resident:                            " << mb(statusKb("VmHWM")) << "\n";
    platform::setDialogs(nullptr);
    return 0;
}
