// Enter Marks in the real program under a real X server, typed as a tabulator types an
// adjudicator's sheet: the keys and clicks go through the X server (xdotool), the marks
// are read back from the table file by python3-dbf after the program has ended.
#include "Desktop.h"
#include "app/JigtallyApplication.h"
#include "app/TMain.h"
#include "data/ProgramState.h"
#include "dbcontrols/DBGrid.h"
#include "marks/TSpreadsheet1.h"

#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace jt;
using marks::Spreadsheet1;

namespace {

e2e::Home* home = nullptr;

QString shot(const QString& name) {
    return e2e::outputFile(QStringLiteral("entermarks"), name);
}

// Enter Marks in front with the keyboard, its mark cell open for typing on `row` (the
// keys go to the cell whether the grid or its open cell has the focus).
bool typingOnRow(int row, const QString& field) {
    if (!Spreadsheet1 || !e2e::activeAndIdle(Spreadsheet1))
        return false;
    dbcontrols::DBGrid* grid = Spreadsheet1->DBGrid1;
    return Spreadsheet1->shownField() == field && grid->currentIndex().row() == row &&
           grid->cellEditor() &&
           (QApplication::focusWidget() == grid->cellEditor() ||
            QApplication::focusWidget() == grid);
}

bool editorShows(const QString& text) {
    QLineEdit* editor = Spreadsheet1 ? Spreadsheet1->DBGrid1->cellEditor() : nullptr;
    return editor && editor->text() == text;
}

bool mainIdle() {
    return app::Main && e2e::activeAndIdle(app::Main);
}

// Marks > Enter Marks with the mouse.
void openEnterMarks(std::vector<e2e::Step>& steps) {
    steps.push_back({"main window for Enter Marks", mainIdle,
                     [] { e2e::clickMenuTitle(app::Main->Results1); }});
    steps.push_back({"Marks menu", [] { return e2e::popupOpen(app::Main->Results1); },
                     [] { e2e::clickMenuItem(app::Main->Results1, app::Main->EnterSetScores1); }});
}

// A column typed down the dancers, each mark followed by `next` ("Return" or "Down");
// the last mark is followed by nothing, and `thenExit` closes the window.
void typeColumn(std::vector<e2e::Step>& steps, const QString& field, const QStringList& marks,
                const QString& next, std::function<void()> thenExit) {
    for (int row = 0; row < marks.size(); ++row) {
        const bool last = row == marks.size() - 1;
        steps.push_back({QStringLiteral("%1 row %2").arg(field).arg(row + 1),
                         [field, row] { return typingOnRow(row, field); },
                         [mark = marks[row], next, last] {
                             e2e::typeText(mark);
                             if (!last)
                                 e2e::pressKeys(next);
                         }});
    }
    const QString lastMark = marks.last();
    steps.push_back({field + QStringLiteral(" last mark typed"),
                     [lastMark] { return editorShows(lastMark); },
                     [field, thenExit] {
                         e2e::saveScreenshot(Spreadsheet1, shot(field + QStringLiteral(".png")));
                         thenExit();
                     }});
}

} // namespace

class TestEnterMarksTyped : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void columnsTypedAndStored();
};

void TestEnterMarksTyped::columnsTypedAndStored() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    if (!e2e::xdotoolAvailable())
        QSKIP("xdotool, which types and clicks through the X server, is not installed");
    if (!e2e::peerAvailable())
        QSKIP("python3 with the dbf and openpyxl modules is not installed");

    // Entered in one order, danced in another: the marks must land on the dancers in the
    // order they danced.
    QVERIFY(e2e::runPeer(
        {QStringLiteral("competition"), home->dataFolder(), QStringLiteral("u12"),
         QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("101:3:Aoife:Scoil A"),
         QStringLiteral("102:1:Bríd:Scoil B"), QStringLiteral("103:5:Ciara:Scoil A"),
         QStringLiteral("104:2:Dearbhla:Scoil C"), QStringLiteral("105:4:Eimear:Scoil B")}));
    const QList<int> danced{102, 104, 101, 105, 103};
    const QStringList a1{"72.5", "80", "65.25", "91", "58"};
    const QStringList d3{"70", "69.5", "88", "77.75", "60.5"};

    std::vector<e2e::Step> steps{
        {"first start: the alias is created",
         [] {
             QMessageBox* box = e2e::boxSaying(QStringLiteral("Alias \"jigtally 2008\" created"));
             return box && e2e::activeAndIdle(box);
         },
         [] { e2e::pressKeys(QStringLiteral("Return")); }},
        {"main window for Select", mainIdle, [] { e2e::clickMenuTitle(app::Main->File1); }},
        {"File menu", [] { return e2e::popupOpen(app::Main->File1); },
         [] { e2e::clickMenuItem(app::Main->File1, app::Main->Select1); }},
        {"Select dialog",
         [] {
             QWidget* d = e2e::fileDialogTitled(QStringLiteral("Select Competition Table"));
             return d && e2e::activeAndIdle(d);
         },
         [] {
             e2e::typeText(QStringLiteral("u12.dbf"));
             e2e::pressKeys(QStringLiteral("Return"));
         }},
    };
    steps.push_back(
        {"competition open",
         [] { return mainIdle() && app::Main->Label2->text() == QStringLiteral("U12"); }, [] {}});
    // Adjudicator A, round 1: Enter after each mark, and the Exit button clicked right
    // after the last one.
    openEnterMarks(steps);
    typeColumn(steps, QStringLiteral("A1"), a1, QStringLiteral("Return"),
               [] { e2e::click(Spreadsheet1->Button1); });
    // Adjudicator D, round 3, chosen by keys: Down after each mark, Alt+X after the last.
    openEnterMarks(steps);
    steps.push_back({"Enter Marks again", [] { return typingOnRow(0, QStringLiteral("A1")); },
                     [] { e2e::pressKeys(QStringLiteral("alt+d alt+3")); }});
    typeColumn(steps, QStringLiteral("D3"), d3, QStringLiteral("Down"),
               [] { e2e::pressKeys(QStringLiteral("alt+x")); });
    steps.push_back(
        {"closed, indicator says recalc",
         [] { return mainIdle() && app::Main->ReCalcButton->text() == app::TMain::kRecalc; },
         [] {
             e2e::saveScreenshot(app::Main, shot(QStringLiteral("main.png")));
             e2e::clickMenuTitle(app::Main->File1);
         }});
    steps.push_back({"File menu for Exit", [] { return e2e::popupOpen(app::Main->File1); },
                     [] { e2e::clickMenuItem(app::Main->File1, app::Main->Exit1); }});
    steps.push_back(
        {"Exit asks", [] { return e2e::boxSaying(QStringLiteral("Close Jigtally?")); },
         [] {
             e2e::click(
                 e2e::boxSaying(QStringLiteral("Close Jigtally?"))->button(QMessageBox::Yes));
         }});

    ProgramState state;
    const e2e::WalkResult walk =
        e2e::walkProgram(state, std::move(steps), 120000, shot(QStringLiteral("stuck.png")));
    QVERIFY2(walk.finished, qPrintable(QStringLiteral("stuck at: ") + walk.stuckAt));
    QCOMPARE(walk.exitCode, 0);

    const std::optional<QString> json =
        e2e::runPeer({QStringLiteral("read"), home->dataFolder() + QStringLiteral("/u12.dbf"),
                      QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("D3")});
    QVERIFY(json);
    const QJsonArray records = QJsonDocument::fromJson(json->toUtf8()).array();
    QCOMPARE(records.size(), 5); // no blank row was left behind
    QMap<int, QJsonObject> byNumber;
    for (const QJsonValue& r : records)
        byNumber.insert(r[QStringLiteral("COMP_NO")].toInt(), r.toObject());
    for (int i = 0; i < danced.size(); ++i) {
        const QJsonObject r = byNumber.value(danced[i]);
        QCOMPARE(r[QStringLiteral("A1")].toDouble(-1), a1[i].toDouble());
        QCOMPARE(r[QStringLiteral("D3")].toDouble(-1), d3[i].toDouble());
        QVERIFY2(r[QStringLiteral("A2")].isNull(), "a mark went into another column");
    }
    for (const char* name : {"A1.png", "D3.png", "main.png"})
        QVERIFY2(QFile::exists(shot(QLatin1String(name))), name);
}

int main(int argc, char** argv) {
    e2e::Home dir;
    home = &dir;
    app::JigtallyApplication application(argc, argv);
    TestEnterMarksTyped test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_e2e_entermarks.moc"
