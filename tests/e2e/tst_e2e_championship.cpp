// A championship from the first start to the printed results, in the real program under
// a real X server: every window is opened from the menus with the mouse, the setup and
// the marks are typed and clicked through the X server (xdotool), and every report is
// saved from its preview as PDF with the preview's own Save. The PDF files are read with
// pdftotext and the tables with python3-dbf once the program has ended.
#include "Desktop.h"
#include "app/JigtallyApplication.h"
#include "app/TMain.h"
#include "data/ProgramState.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
#include "marks/TSpreadsheet1.h"
#include "preview/PreviewWindow.h"
#include "preview/Printing.h"
#include "reportdialogs/ChecklistDialogBase.h"
#include "reportdialogs/LaunchDialogBase.h"
#include "setup/RadioGroup.h"
#include "setup/TCompInfoSetup.h"
#include "setup/TCompSetup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace jt;
using marks::Spreadsheet1;
using setup::CompInfoSetup;
using setup::CompSetup;

namespace {

e2e::Home* home = nullptr;

QString shot(const QString& name) {
    return e2e::outputFile(QStringLiteral("championship"), name);
}
QString pdf(const QString& name) {
    return shot(name + QStringLiteral(".pdf"));
}

struct Dancer {
    int number;
    QString name;
    QString school;
    double base; // how well the dancer dances: the higher, the better every mark
};

// In entry order; by merit 104, 102, 106, 101, 105, 103.
const QList<Dancer> kDancers{
    {101, QStringLiteral("Aoife Byrne"), QStringLiteral("Scoil Rince Ard"), 75},
    {102, QStringLiteral("Bríd Walsh"), QStringLiteral("Scoil Rince Bán"), 85},
    {103, QStringLiteral("Ciara Kelly"), QStringLiteral("Scoil Rince Ard"), 65},
    {104, QStringLiteral("Dearbhla Ryan"), QStringLiteral("Scoil Rince Cill"), 90},
    {105, QStringLiteral("Eimear Doyle"), QStringLiteral("Scoil Rince Bán"), 70},
    {106, QStringLiteral("Fionnuala Lynch"), QStringLiteral("Scoil Rince Cill"), 80},
};
const QStringList kByMerit{"Dearbhla Ryan", "Bríd Walsh",   "Fionnuala Lynch",
                           "Aoife Byrne",   "Eimear Doyle", "Ciara Kelly"};

// The mark adjudicator `adj` (0 to 4) gives dancer `number` in a round (1 to 3, 4 the set):
// every adjudicator ranks the dancers the same way.
QString markFor(int number, int adj, int round) {
    for (const Dancer& d : kDancers)
        if (d.number == number)
            return QString::number(d.base - adj * 0.5 + round * 0.25);
    return {};
}

bool mainIdle() {
    return app::Main && e2e::activeAndIdle(app::Main);
}

template <typename T> T* modal() {
    auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
    return w && w->isVisible() && e2e::activeAndIdle(w) ? w : nullptr;
}

QWidget* modalNamed(const char* name) {
    QWidget* w = e2e::activeModal(name);
    return w && e2e::activeAndIdle(w) ? w : nullptr;
}

QMessageBox* box(const QString& text) {
    QMessageBox* b = e2e::boxSaying(text);
    return b && e2e::activeAndIdle(b) ? b : nullptr;
}

class Road {
public:
    std::vector<e2e::Step> steps;

    void add(const QString& what, std::function<bool()> ready, std::function<void()> act) {
        steps.push_back({what, std::move(ready), std::move(act)});
    }

    void menu(QMenu* (*menuOf)(), QAction* (*itemOf)()) {
        add(QStringLiteral("main window for a menu"), mainIdle,
            [menuOf] { e2e::clickMenuTitle(menuOf()); });
        add(
            QStringLiteral("menu open"), [menuOf] { return e2e::popupOpen(menuOf()); },
            [menuOf, itemOf] { e2e::clickMenuItem(menuOf(), itemOf()); });
    }

    void answerBox(const QString& text, QMessageBox::StandardButton button) {
        add(
            QStringLiteral("box: ") + text, [text] { return box(text) != nullptr; },
            [text, button] { e2e::click(box(text)->button(button)); });
    }

    void fileName(const QString& title, const QString& name) {
        add(
            QStringLiteral("file dialog: ") + title,
            [title] {
                QFileDialog* d = e2e::fileDialogTitled(title);
                return d && e2e::activeAndIdle(d);
            },
            [name] {
                e2e::typeText(name);
                e2e::pressKeys(QStringLiteral("Return"));
            });
    }

    // The preview in front: its picture kept, the report saved as PDF with the preview's
    // Save, and the preview closed.
    void savePreview(const QString& name) {
        add(
            QStringLiteral("preview of ") + name,
            [] { return modal<preview::PreviewWindow>() != nullptr; },
            [name] {
                auto* p = modal<preview::PreviewWindow>();
                e2e::saveScreenshot(p, shot(name + QStringLiteral(".png")));
                clickCommand(p, "SaveReport");
            });
        fileName(QStringLiteral("Save Report"), pdf(name));
        add(
            QStringLiteral("saved ") + name,
            [name] { return modal<preview::PreviewWindow>() && QFile::exists(pdf(name)); },
            [] { clickCommand(modal<preview::PreviewWindow>(), "ClosePreview"); });
    }

    void checklist() {
        add(
            QStringLiteral("checklist"), [] { return modal<reports::ChecklistDialogBase>(); },
            [] {
                auto* d = modal<reports::ChecklistDialogBase>();
                e2e::saveScreenshot(d, shot(d->objectName() + QStringLiteral(".png")));
                e2e::click(d->CheckBox1);
            });
        add(
            QStringLiteral("checklist ticked"),
            [] {
                auto* d = modal<reports::ChecklistDialogBase>();
                return d && d->CheckBox1->isChecked();
            },
            [] { e2e::click(modal<reports::ChecklistDialogBase>()->Continue); });
    }

    void launch() {
        add(
            QStringLiteral("launch dialog"), [] { return modal<reports::LaunchDialogBase>(); },
            [] {
                auto* d = modal<reports::LaunchDialogBase>();
                e2e::saveScreenshot(d, shot(d->objectName() + QStringLiteral(".png")));
                e2e::click(d->Button1);
            });
    }

    void recalculate() {
        add(
            QStringLiteral("indicator asks for a recalculation"),
            [] { return mainIdle() && app::Main->ReCalcButton->text() == app::TMain::kRecalc; },
            [] { e2e::click(app::Main->ReCalcButton); });
        add(
            QStringLiteral("recalculated"),
            [] { return mainIdle() && app::Main->ReCalcButton->text() == app::TMain::kCalculated; },
            [] {});
    }

    // One adjudicator's marks for one round typed down the dancers as listed; the last
    // mark is followed by `after` (keys), which moves on.
    void column(const QString& field, int adj, int round, int rows, const QString& after) {
        for (int row = 0; row < rows; ++row) {
            const bool last = row == rows - 1;
            add(
                QStringLiteral("%1 row %2").arg(field).arg(row + 1),
                [field, row] { return typingOnRow(row, field); },
                [adj, round, last, after] {
                    e2e::typeText(markFor(dancerOnCurrentRow(), adj, round));
                    e2e::pressKeys(last ? after : QStringLiteral("Return"));
                });
        }
    }

    static void clickCommand(QWidget* window, const char* action) {
        auto* bar = window->findChild<QToolBar*>();
        auto* a = window->findChild<QAction*>(QLatin1String(action));
        if (bar && a)
            e2e::click(bar->widgetForAction(a));
    }

    static bool typingOnRow(int row, const QString& field) {
        if (!Spreadsheet1 || !e2e::activeAndIdle(Spreadsheet1))
            return false;
        dbcontrols::DBGrid* grid = Spreadsheet1->DBGrid1;
        return Spreadsheet1->shownField() == field && grid->currentIndex().row() == row &&
               grid->cellEditor() &&
               (QApplication::focusWidget() == grid->cellEditor() ||
                QApplication::focusWidget() == grid);
    }

    // The dancer number on the current row, as the tabulator reads it off the screen.
    static int dancerOnCurrentRow() {
        dbcontrols::DBGrid* grid = Spreadsheet1->DBGrid1;
        return grid->model()->index(grid->currentIndex().row(), 0).data().toInt();
    }
};

QMenu* fileMenu() {
    return app::Main->File1;
}
QMenu* setupMenu() {
    return app::Main->Setup3;
}
QMenu* marksMenu() {
    return app::Main->Results1;
}
QMenu* reportsMenu() {
    return app::Main->Reports1;
}

QString pdfText(const QString& name) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), pdf(name), QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The line of a report that shows the dancer number, as pdftotext lays it out.
QString lineOf(const QString& text, int number) {
    const QRegularExpression dancer(QStringLiteral("(^|\\s)%1(\\s|$)").arg(number));
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (dancer.match(line).hasMatch())
            return line;
    return {};
}

bool inOrder(const QString& text, const QStringList& names) {
    qsizetype from = 0;
    for (const QString& n : names) {
        const qsizetype at = text.indexOf(n, from);
        if (at < 0)
            return false;
        from = at + n.size();
    }
    return true;
}

} // namespace

class TestChampionship : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fromFirstStartToResults();
};

void TestChampionship::fromFirstStartToResults() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    if (!e2e::xdotoolAvailable())
        QSKIP("xdotool, which types and clicks through the X server, is not installed");
    if (!e2e::peerAvailable())
        QSKIP("python3 with the dbf and openpyxl modules is not installed");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    for (const QString& old : QDir(shot(QString())).entryList({"*.pdf", "*.png"}))
        QFile::remove(shot(old));

    const QString sheet = home->path() + QStringLiteral("/u12 entries.xlsx");
    QStringList rows;
    for (const Dancer& d : kDancers)
        rows << QStringLiteral("%1:%2:%3").arg(d.number).arg(d.name, d.school);
    QVERIFY(e2e::runPeer(QStringList{QStringLiteral("xlsx"), sheet} + rows));

    Road road;
    road.answerBox(QStringLiteral("Alias \"jigtally 2008\" created"), QMessageBox::Ok);
    road.add(QStringLiteral("main window"), mainIdle,
             [] { e2e::saveScreenshot(app::Main, shot(QStringLiteral("main-start.png"))); });

    // 1. Create u12 and select it.
    road.menu(fileMenu, [] { return app::Main->Create1; });
    road.fileName(QStringLiteral("Create Competition Table"), QStringLiteral("u12"));
    road.add(
        QStringLiteral("u12 created"),
        [] { return mainIdle() && QFile::exists(home->dataFolder() + "/u12_inf.dbf"); }, [] {});
    road.menu(fileMenu, [] { return app::Main->Select1; });
    road.fileName(QStringLiteral("Select Competition Table"), QStringLiteral("u12.dbf"));
    road.add(
        QStringLiteral("u12 open"),
        [] { return mainIdle() && app::Main->Label2->text() == QStringLiteral("U12"); }, [] {});

    // 2. Competition Setup: five adjudicators, three rounds and the set, names, titles.
    road.menu(setupMenu, [] { return app::Main->SetUp2; });
    road.add(
        QStringLiteral("Competition Setup"), [] { return modalNamed("CompInfoSetup"); },
        [] { e2e::click(CompInfoSetup->AdjGroup->item(1)); });
    road.add(
        QStringLiteral("five adjudicators"),
        [] { return modalNamed("CompInfoSetup") && CompInfoSetup->DBEdit11->isEnabled(); },
        [] { e2e::click(CompInfoSetup->RdsGroup->item(1)); });
    road.add(
        QStringLiteral("three rounds"),
        [] { return modalNamed("CompInfoSetup") && CompInfoSetup->RdsGroup->itemIndex() == 1; },
        [] {
            e2e::click(CompInfoSetup->DBEdit1);
            QStringList texts{"Under 12 Girls", "12"};
            for (const char* letter : {"A", "B", "C", "D", "E"})
                texts << QStringLiteral("Judge %1").arg(QLatin1String(letter))
                      << QStringLiteral("From %1").arg(QLatin1String(letter));
            texts << "Heavy Jig"
                  << "Reel"
                  << "Hornpipe"
                  << "Set Dance";
            for (int i = 0; i < texts.size(); ++i) {
                e2e::typeText(texts[i]);
                if (i + 1 < texts.size())
                    e2e::pressKeys(QStringLiteral("Tab"));
            }
        });
    road.add(
        QStringLiteral("setup typed"),
        [] {
            return modalNamed("CompInfoSetup") &&
                   CompInfoSetup->DBEdit16->text() == QStringLiteral("Set Dance");
        },
        [] {
            e2e::saveScreenshot(CompInfoSetup, shot(QStringLiteral("competition-setup.png")));
            e2e::click(CompInfoSetup->DBNavigator1->button(dbcontrols::DBNavigator::Post));
        });
    road.add(
        QStringLiteral("setup posted"),
        [] {
            return modalNamed("CompInfoSetup") &&
                   !CompInfoSetup->DBNavigator1->button(dbcontrols::DBNavigator::Post)->isEnabled();
        },
        [] { e2e::click(CompInfoSetup->Button1); });

    // 3. Dancer Setup: import the entries, then Auto Seq.
    road.menu(setupMenu, [] { return app::Main->Setup1; });
    road.add(
        QStringLiteral("Dancer Setup"), [] { return modalNamed("CompSetup"); },
        [] { e2e::click(CompSetup->Button5); });
    road.fileName(QStringLiteral("Import"), sheet);
    road.answerBox(QStringLiteral("Yes to Overwrite, No to Append"), QMessageBox::Yes);
    road.answerBox(QStringLiteral("Import Completed"), QMessageBox::Ok);
    road.add(
        QStringLiteral("dancers imported"),
        [] {
            return modalNamed("CompSetup") &&
                   CompSetup->DBGrid1->model()->rowCount() == int(kDancers.size());
        },
        [] { e2e::click(CompSetup->Button2); });
    road.answerBox(QStringLiteral("AutoSequence this Competition?"), QMessageBox::Yes);
    road.add(
        QStringLiteral("sequenced"), [] { return modalNamed("CompSetup"); },
        [] {
            e2e::saveScreenshot(CompSetup, shot(QStringLiteral("dancer-setup.png")));
            e2e::click(CompSetup->Button1);
        });

    // 4. Enter Marks: every adjudicator, rounds 1 to 3. The last mark of a column is
    // followed by the keys for the next column and Ctrl+Home back to the first dancer.
    road.menu(marksMenu, [] { return app::Main->EnterSetScores1; });
    const int dancers = int(kDancers.size());
    const QString letters = QStringLiteral("ABCDE");
    for (int adj = 0; adj < 5; ++adj)
        for (int round = 1; round <= 3; ++round) {
            const QString field = letters[adj] + QString::number(round);
            QString after;
            if (round < 3)
                after = QStringLiteral("alt+%1 ctrl+Home").arg(round + 1);
            else if (adj < 4)
                after = QStringLiteral("alt+%1 alt+1 ctrl+Home").arg(letters[adj + 1].toLower());
            else
                after = QStringLiteral("alt+a"); // the round stays: A3
            road.column(field, adj, round, dancers, after);
            if (field == QStringLiteral("C2"))
                road.add(
                    QStringLiteral("screenshot"), [] { return true; },
                    [] { e2e::saveScreenshot(Spreadsheet1, shot("enter-marks.png")); });
        }
    road.add(
        QStringLiteral("marks typed"), [dancers] { return Road::typingOnRow(dancers - 1, "A3"); },
        [] { e2e::click(Spreadsheet1->Button1); });

    // 5. Recalculate; 6. recall report and list, three recalled.
    road.recalculate();
    road.menu(reportsMenu, [] { return app::Main->Print1; });
    road.checklist();
    road.launch();
    road.savePreview(QStringLiteral("recall-report"));
    road.add(
        QStringLiteral("how many recalled"), [] { return modal<QInputDialog>() != nullptr; },
        [] {
            e2e::saveScreenshot(modal<QInputDialog>(), shot(QStringLiteral("recall-how-many.png")));
            e2e::pressKeys(QStringLiteral("ctrl+a"));
            e2e::typeText(QStringLiteral("3"));
            e2e::pressKeys(QStringLiteral("Return"));
        });
    road.savePreview(QStringLiteral("recall-list"));

    // 7. The set dance marks of the recalled dancers; 8. recalculate.
    road.menu(marksMenu, [] { return app::Main->EnterSetScores1; });
    road.add(
        QStringLiteral("Enter Marks for the set"), [] { return Road::typingOnRow(0, "A1"); },
        [] { e2e::pressKeys(QStringLiteral("alt+s ctrl+Home")); });
    for (int adj = 0; adj < 5; ++adj) {
        const QString after =
            adj < 4 ? QStringLiteral("alt+%1 ctrl+Home").arg(letters[adj + 1].toLower())
                    : QStringLiteral("alt+o");
        road.column(letters[adj] + QStringLiteral("SET"), adj, 4, 3, after);
    }
    road.add(
        QStringLiteral("set marks typed"),
        [] {
            return Spreadsheet1 && e2e::activeAndIdle(Spreadsheet1) &&
                   Spreadsheet1->Button2->text() == QStringLiteral("As Entered");
        },
        [] {
            e2e::saveScreenshot(Spreadsheet1, shot(QStringLiteral("enter-marks-set.png")));
            e2e::pressKeys(QStringLiteral("alt+x"));
        });
    road.recalculate();

    // 9. The results.
    road.menu(reportsMenu, [] { return app::Main->FinalResults1; });
    road.checklist();
    road.launch();
    road.savePreview(QStringLiteral("final-marks"));
    road.menu(reportsMenu, [] { return app::Main->WinnersList1; });
    road.launch();
    road.savePreview(QStringLiteral("winners-roster"));
    road.menu(reportsMenu, [] { return app::Main->ResultsbyAdjA1; });
    road.launch();
    road.savePreview(QStringLiteral("grid-marks"));

    // The checksheets go straight to the printer; with none installed the program offers
    // to save them, all in one PDF file.
    const bool printer = !QPrinterInfo::availablePrinterNames().isEmpty();
    if (!printer) {
        road.menu(reportsMenu, [] { return app::Main->RecallChecklists1; });
        road.add(
            QStringLiteral("no printer"), [] { return box(preview::kNoPrinterText); },
            [] {
                e2e::saveScreenshot(box(preview::kNoPrinterText),
                                    shot(QStringLiteral("no-printer.png")));
                e2e::click(box(preview::kNoPrinterText)->button(QMessageBox::Yes));
            });
        road.fileName(QStringLiteral("Save Report as PDF"), pdf(QStringLiteral("checksheets")));
    }
    road.add(QStringLiteral("back at the main window"), mainIdle,
             [] { e2e::saveScreenshot(app::Main, shot(QStringLiteral("main-end.png"))); });
    road.menu(fileMenu, [] { return app::Main->Exit1; });
    road.answerBox(QStringLiteral("Close Jigtally?"), QMessageBox::Yes);

    ProgramState state;
    const e2e::WalkResult walk =
        e2e::walkProgram(state, std::move(road.steps), 240000, shot(QStringLiteral("stuck.png")));
    QVERIFY2(walk.finished, qPrintable(QStringLiteral("stuck at: ") + walk.stuckAt));
    QCOMPARE(walk.exitCode, 0);

    // The tables: the setup, the recall and the placings as stored.
    const std::optional<QString> info = e2e::runPeer(
        {QStringLiteral("read"), home->dataFolder() + QStringLiteral("/u12_inf.dbf"),
         QStringLiteral("COMPNAME"), QStringLiteral("NUMADJS"), QStringLiteral("NUMROUNDS"),
         QStringLiteral("ADJENAME"), QStringLiteral("RD3TITLE")});
    QVERIFY(info);
    const QJsonObject infoRecord = QJsonDocument::fromJson(info->toUtf8()).array().at(0).toObject();
    QCOMPARE(infoRecord[QStringLiteral("COMPNAME")].toString(), QStringLiteral("Under 12 Girls"));
    QCOMPARE(infoRecord[QStringLiteral("NUMADJS")].toString(), QStringLiteral("5"));
    QCOMPARE(infoRecord[QStringLiteral("NUMROUNDS")].toString(), QStringLiteral("4"));
    QCOMPARE(infoRecord[QStringLiteral("ADJENAME")].toString(), QStringLiteral("Judge E"));
    QCOMPARE(infoRecord[QStringLiteral("RD3TITLE")].toString(), QStringLiteral("Hornpipe"));

    const std::optional<QString> results =
        e2e::runPeer({QStringLiteral("read"), home->dataFolder() + QStringLiteral("/u12.dbf"),
                      QStringLiteral("NAME"), QStringLiteral("SEQUENCE"), QStringLiteral("E3"),
                      QStringLiteral("CSET"), QStringLiteral("RECALLED"),
                      QStringLiteral("GRIDTOTAL"), QStringLiteral("POSITION")});
    QVERIFY(results);
    const QJsonArray records = QJsonDocument::fromJson(results->toUtf8()).array();
    QCOMPARE(records.size(), kDancers.size());
    for (const QJsonValue& v : records) {
        const QJsonObject r = v.toObject();
        const int number = r[QStringLiteral("COMP_NO")].toInt();
        const QString name = r[QStringLiteral("NAME")].toString();
        const int place = int(kByMerit.indexOf(name)) + 1;
        QVERIFY2(place > 0, qPrintable(name));
        const bool recalled = place <= 3;
        QCOMPARE(r[QStringLiteral("SEQUENCE")].toInt(), number - 100); // Auto Seq: entry order
        QCOMPARE(r[QStringLiteral("E3")].toDouble(), markFor(number, 4, 3).toDouble());
        QCOMPARE(r[QStringLiteral("RECALLED")].toBool(), recalled);
        if (recalled)
            QCOMPARE(r[QStringLiteral("CSET")].toDouble(), markFor(number, 2, 4).toDouble());
        else
            QVERIFY(r[QStringLiteral("CSET")].isNull());
        // The dancers who did not dance the set share the place after the recalled ones.
        QCOMPARE(r[QStringLiteral("POSITION")].toInt(), recalled ? place : 4);
    }

    // The reports as printed.
    const QString recall = pdfText(QStringLiteral("recall-report"));
    QVERIFY2(recall.contains(QStringLiteral("RECALL REPORT")), qPrintable(recall));
    QVERIFY(recall.contains(QStringLiteral("Under 12 Girls")));
    // Every adjudicator placed 104 first: 100 points from each.
    QVERIFY2(lineOf(recall, 104).contains(QStringLiteral("500")), qPrintable(recall));
    const QString list = pdfText(QStringLiteral("recall-list"));
    QVERIFY2(list.contains(QStringLiteral("RECALL LIST")), qPrintable(list));
    for (const Dancer& d : kDancers)
        QCOMPARE(!lineOf(list, d.number).isEmpty(), kByMerit.indexOf(d.name) < 3);
    const QString final = pdfText(QStringLiteral("final-marks"));
    // These three name the competition by its display name.
    QVERIFY2(final.contains(QStringLiteral("MARKS")) && final.contains(QStringLiteral("U12")),
             qPrintable(final));
    QVERIFY2(lineOf(final, 104).contains(QStringLiteral("500.00")), qPrintable(final));
    QVERIFY2(lineOf(final, 101).contains(QStringLiteral("-.-")), qPrintable(final));
    const QString winners = pdfText(QStringLiteral("winners-roster"));
    QVERIFY2(winners.contains(QStringLiteral("WINNERS ROSTER")), qPrintable(winners));
    QVERIFY2(inOrder(winners, kByMerit.mid(0, 3)), qPrintable(winners));
    QVERIFY2(!winners.contains(kByMerit[3]), qPrintable(winners));
    const QString grid = pdfText(QStringLiteral("grid-marks"));
    QVERIFY2(grid.contains(QStringLiteral("GRID MARKS")) && grid.contains(QStringLiteral("U12")),
             qPrintable(grid));
    QVERIFY2(lineOf(grid, 104).contains(QStringLiteral("500")), qPrintable(grid));

    if (printer)
        QSKIP("a printer is installed: the checksheets were not saved as PDF");
    // One sheet per adjudicator, A to E, each listing every dancer in dancing order.
    const QStringList sheets =
        pdfText(QStringLiteral("checksheets")).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(sheets.size(), 5);
    for (int adj = 0; adj < 5; ++adj) {
        const QString& sheet = sheets[adj];
        QVERIFY2(sheet.contains(QStringLiteral("ADJ. CHECKSHEET")), qPrintable(sheet));
        QVERIFY2(sheet.contains(QStringLiteral("Adj. %1:").arg(letters[adj])), qPrintable(sheet));
        QVERIFY2(sheet.contains(QStringLiteral("Judge %1").arg(letters[adj])), qPrintable(sheet));
        QStringList numbers;
        for (const Dancer& d : kDancers)
            numbers << QStringLiteral(" %1 ").arg(d.number);
        QVERIFY2(inOrder(sheet, numbers), qPrintable(sheet));
        // 104's marks and both grid points (100) on that adjudicator's sheet.
        const QString line = lineOf(sheet, 104);
        QVERIFY2(line.contains(markFor(104, adj, 1)) && line.count(QStringLiteral("100")) >= 2,
                 qPrintable(sheet));
    }
}

int main(int argc, char** argv) {
    // The walk gives up by itself before the test function's own limit.
    qputenv("QTEST_FUNCTION_TIMEOUT", "600000");
    e2e::Home dir;
    home = &dir;
    app::JigtallyApplication application(argc, argv);
    TestChampionship test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_e2e_championship.moc"
