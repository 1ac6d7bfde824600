// Dancer Setup: the bar, the grid and the school box; the school list file across an
// opening; click sequencing with the mouse; Auto Seq, Clear Seq and Import with their
// questions; completion as typed; and a picture of the window.
#include "SetupFixture.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/DBNavigator.h"
#include "dbcontrols/WheelTranslation.h"
#include "exchange/DelimitedText.h"
#include "exchange/SheetPeer.h"
#include "platform/HelpTopic.h"
#include "setup/TCompSetup.h"
#include "wizards/ImportWizard.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

using namespace jt;
using setup::TCompSetup;
using test::ScriptedDialogs;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestCompSetup : public QObject {
    Q_OBJECT

    std::unique_ptr<test::SetupFixture> m_fx;
    std::unique_ptr<TCompSetup> m_window;

    TCompSetup& window() { return *m_window; }
    engine::Table& results() { return *m_fx->dm().results; }
    QString schoolFile() const { return m_fx->folder.filePath(QStringLiteral("schoollist.txt")); }
    void addDancers(int count) {
        results().open();
        for (int i = 0; i < count; ++i) {
            results().append();
            m_fx->dm().resultsCOMP_NO->setAsInteger(101 + i);
            m_fx->dm().resultsNAME->setAsString(QStringLiteral("Dancer %1").arg(i + 1));
            results().post();
        }
        m_fx->state.ReCalcFlag = false;
    }
    void open() {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QApplication::setActiveWindow(m_window.get());
        QCoreApplication::processEvents();
    }
    QList<double> storedSequence() {
        QList<double> numbers;
        for (int i = 0; i < m_fx->storedCount(); ++i) {
            const QVariant v = m_fx->stored(i, QStringLiteral("SEQUENCE"));
            numbers << (v.isNull() ? -1 : v.toDouble());
        }
        return numbers;
    }
    QPoint cellCentre(int row, int column) {
        return window().DBGrid1->visualRect(window().DBGrid1->model()->index(row, column)).center();
    }
    void doubleClickRow(int row) {
        QTest::mouseDClick(window().DBGrid1->viewport(), Qt::LeftButton, {}, cellCentre(row, 2));
    }
    // A key pressed and released where a person's would land: the focused widget.
    // The release goes to whichever widget has the focus by then, as a person's would.
    static void type(const QString& text) {
        for (const QChar c : text) {
            QTest::keyPress(QApplication::focusWidget(), c.toLatin1());
            QTest::keyRelease(QApplication::focusWidget(), c.toLatin1());
        }
    }
    // The change log's rows for dancers added or deleted: "Field|Window".
    QStringList dancerRows() const {
        QFile f(m_fx->folder.filePath(QStringLiteral("u12.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const exchange::Sheet sheet =
            exchange::parseDelimited(QString::fromUtf8(f.readAll()), exchange::DelimitedOptions{});
        QStringList rows;
        for (const QVariantList& row : sheet.rows)
            if (row.value(1).toString().startsWith(QLatin1String("(dancer")))
                rows << row.value(1).toString() + QLatin1Char('|') + row.value(5).toString();
        return rows;
    }
    static void press(Qt::Key key) {
        QTest::keyPress(QApplication::focusWidget(), key);
        QTest::keyRelease(QApplication::focusWidget(), key);
    }

private Q_SLOTS:
    void init() {
        m_fx = std::make_unique<test::SetupFixture>();
        m_window = std::make_unique<TCompSetup>(m_fx->state);
    }
    void cleanup() {
        m_window.reset();
        m_fx.reset();
    }

    void isBuiltAsDescribed() {
        QCOMPARE(window().windowTitle(), QStringLiteral("Dancer Setup"));
        QCOMPARE(platform::helpTopic(&window()), 330);
        const QList<std::tuple<QAbstractButton*, QString, QString>> bar{
            {window().Button1, "Exit", "Click to return to main menu"},
            {window().SpeedButton1, "Click Seq", "Click to toggle double-click sequencing"},
            {window().Button3, "Clear Seq", "Click to clear current sequencing"},
            {window().Button2, "Auto Seq", "Click to auto-sequence competition"},
            {window().Button5, "Import", "Click to import from Excel"},
            {window().Button4, "Import Wizard", "Click to use import wizard"}};
        for (const auto& [button, caption, hint] : bar) {
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->toolTip(), hint);
            QVERIFY2(!(button->focusPolicy() & Qt::TabFocus), qPrintable(caption));
        }
        addDancers(2);
        open();
        using Nav = dbcontrols::DBNavigator;
        const QList<Nav::Button> shown{Nav::First,  Nav::Prior,  Nav::Next, Nav::Last,
                                       Nav::Insert, Nav::Delete, Nav::Post, Nav::Cancel};
        for (int b = 0; b < Nav::kButtonCount; ++b) {
            QToolButton* button = window().DBNavigator1->button(Nav::Button(b));
            QCOMPARE(button->isVisible(), shown.contains(Nav::Button(b)));
            QVERIFY(!(button->focusPolicy() & Qt::TabFocus));
        }
        QCOMPARE(window().DBNavigator1->button(Nav::First)->toolTip(),
                 QStringLiteral("First record"));
        QStringList titles;
        for (int c = 0; c < window().DBGrid1->model()->columnCount(); ++c)
            titles << window().DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"Seq No", "Dancer", "Name", "School"}));
        QCOMPARE(window().DBGrid1->gridColumn(0).color, QColor(0xC0, 0xFF, 0xC0));
        QVERIFY(window().DBGrid1->columnWidth(3) > window().DBGrid1->columnWidth(2));
        QVERIFY(window().DBGrid1->columnWidth(0) < window().DBGrid1->columnWidth(2));
        QCOMPARE(window().Label1->text(), QStringLiteral("U12"));
        // Tab stays between the grid and the school box.
        window().DBGrid1->setFocus();
        for (int i = 0; i < 12; ++i) {
            press(Qt::Key_Tab);
            QWidget* f = QApplication::focusWidget();
            QVERIFY2(f == window().DBGrid1 || window().DBGrid1->isAncestorOf(f) ||
                         f == window().DBEdit1,
                     f ? f->metaObject()->className() : "nothing");
        }
    }

    void openingReopensTheTable() {
        addDancers(3);
        results().moveToRow(2);
        results().edit();
        m_fx->dm().resultsNAME->setAsString(QStringLiteral("not saved"));
        open();
        QVERIFY(!results().editing());
        QCOMPARE(results().currentRow(), 0);
        QCOMPARE(m_fx->stored(2, QStringLiteral("NAME")).toString(), QStringLiteral("Dancer 3"));
    }

    void theSchoolListFile() {
        QVERIFY(!QFile::exists(schoolFile()));
        open();
        QVERIFY2(QFile::exists(schoolFile()), "a missing list is created when the window opens");
        window().close();
        QCOMPARE(readAll(schoolFile()), QByteArray());

        QFile f(schoolFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("St Mary's\r\nst mary's\r\nAbbey\r\n");
        f.close();
        open();
        QCOMPARE(window().schools().names(), (QStringList{"Abbey", "St Mary's"}));
        window().close();
        QCOMPARE(readAll(schoolFile()), QByteArray("Abbey\r\nSt Mary's\r\n"));
        QVERIFY2(window().schools().names().isEmpty(), "the list is discarded on closing");
    }

    void aSchoolListThatCannotBeReadIsReported() {
        QVERIFY(QDir().mkpath(schoolFile()));
        m_fx->dialogs.answerMessage(platform::Ok); // opening: cannot read
        m_fx->dialogs.answerMessage(platform::Ok); // closing: cannot write
        open();
        QVERIFY(window().isVisible());
        QCOMPARE(window().Label1->text(), QStringLiteral("U12"));
        window().close();
        const QStringList shown = m_fx->dialogs.messageTexts();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].contains(QLatin1String("could not be read")), qPrintable(shown[0]));
        QVERIFY2(shown[1].contains(QLatin1String("could not be written")), qPrintable(shown[1]));
    }

    void clickSequencing() {
        addDancers(6);
        open();
        QVERIFY(!window().clickSequencing());
        doubleClickRow(1);
        QCOMPARE(storedSequence(), (QList<double>{-1, -1, -1, -1, -1, -1}));

        const QColor normal = window().SpeedButton1->palette().color(QPalette::ButtonText);
        QTest::mouseClick(window().SpeedButton1, Qt::LeftButton);
        QVERIFY(window().clickSequencing());
        QVERIFY(window().SpeedButton1->font().bold());
        QCOMPARE(window().SpeedButton1->palette().color(QPalette::ButtonText), QColor(Qt::red));
        for (int row : {0, 3, 1, 4, 2})
            doubleClickRow(row);
        QCOMPARE(storedSequence(), (QList<double>{1, 3, 5, 2, 4, -1}));
        // The third dancer clicked loses the number; the next one gets 6, not 3.
        doubleClickRow(1);
        doubleClickRow(5);
        QCOMPARE(storedSequence(), (QList<double>{1, -1, 5, 2, 4, 6}));

        // The mode survives closing and reopening.
        window().close();
        open();
        QVERIFY(window().clickSequencing());
        QVERIFY(window().SpeedButton1->font().bold());
        QTest::mouseClick(window().SpeedButton1, Qt::LeftButton);
        QVERIFY(!window().SpeedButton1->font().bold());
        QCOMPARE(window().SpeedButton1->palette().color(QPalette::ButtonText), normal);
        doubleClickRow(1);
        QCOMPARE(storedSequence(), (QList<double>{1, -1, 5, 2, 4, 6}));
    }

    void autoAndClearAsk_data() {
        QTest::addColumn<QPushButton * TCompSetup::*>("button");
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QList<double>>("after");
        const QList<double> before{-1, 7, 2};
        QTest::newRow("auto seq, yes") << &TCompSetup::Button2 << "AutoSequence this Competition?"
                                       << int(platform::Yes) << QList<double>{1, 2, 3};
        QTest::newRow("auto seq, no") << &TCompSetup::Button2 << "AutoSequence this Competition?"
                                      << int(platform::No) << before;
        QTest::newRow("clear seq, yes") << &TCompSetup::Button3 << "Clear All Sequence Numbers?"
                                        << int(platform::Yes) << QList<double>{-1, -1, -1};
        QTest::newRow("clear seq, no")
            << &TCompSetup::Button3 << "Clear All Sequence Numbers?" << int(platform::No) << before;
    }
    void autoAndClearAsk() {
        QFETCH(QPushButton * TCompSetup::*, button);
        QFETCH(QString, question);
        QFETCH(int, answer);
        QFETCH(QList<double>, after);
        addDancers(3);
        for (int row : {1, 2}) {
            results().moveToRow(row);
            results().edit();
            m_fx->dm().resultsSEQUENCE->setAsInteger(row == 1 ? 7 : 2);
            results().post();
        }
        open();
        m_fx->dialogs.answerMessage(platform::Button(answer));
        QTest::mouseClick(window().*button, Qt::LeftButton);
        QCOMPARE(m_fx->dialogs.messageTexts(), QStringList{question});
        QCOMPARE(m_fx->dialogs.messages().first().buttons, platform::Yes | platform::No);
        QCOMPARE(storedSequence(), after);
        QVERIFY(!results().controlsDisabled());
    }

    void importAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("dancers");
        QTest::newRow("yes overwrites") << int(platform::Yes) << 2;
        QTest::newRow("no appends") << int(platform::No) << 5;
    }
    void importAsks() {
        QFETCH(int, answer);
        QFETCH(int, dancers);
        if (const QString why = test::SheetPeer::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        addDancers(3);
        const QString path = m_fx->folder.filePath(QStringLiteral("entries.xls"));
        QVERIFY(test::SheetPeer::write(
                    QStringLiteral("xls"), path,
                    QList<QVariantList>{{QStringLiteral("No"), QStringLiteral("Name")},
                                        {201, QStringLiteral("New One")},
                                        {202, QStringLiteral("New Two")}})
                    .isEmpty());
        open();
        m_fx->dialogs.answerFile(path);
        m_fx->dialogs.answerMessage(platform::Button(answer));
        m_fx->dialogs.answerMessage(platform::Ok);
        QTest::mouseClick(window().Button5, Qt::LeftButton);
        QVERIFY(m_fx->dialogs.allAnswered());
        const platform::FileDialogOptions& asked = m_fx->dialogs.fileDialogs().first();
        QVERIFY2(asked.filter.startsWith(QLatin1String("Excel Files (*.xls)")),
                 qPrintable(asked.filter));
        QVERIFY(asked.filter.contains(QLatin1String("*.xlsx")));
        QVERIFY(asked.filter.contains(QLatin1String("*.ods")));
        QCOMPARE(asked.defaultSuffix, QStringLiteral("xls"));
        QCOMPARE(m_fx->dialogs.messageTexts(),
                 (QStringList{"Yes to Overwrite, No to Append", "Import Completed"}));
        QCOMPARE(m_fx->dialogs.messages().last().type, platform::MessageType::Information);
        QCOMPARE(m_fx->storedCount(), dancers);
        QCOMPARE(window().DBGrid1->model()->rowCount(), dancers);
        QCOMPARE(m_fx->stored(dancers - 1, QStringLiteral("NAME")).toString(),
                 QStringLiteral("New Two"));
        // The change log names the import for the dancers it deleted and added, and the
        // window again once the import is over.
        QStringList expected;
        if (answer == platform::Yes)
            expected << "(dancer deleted)|Import"
                     << "(dancer deleted)|Import"
                     << "(dancer deleted)|Import";
        expected << "(dancer added)|Import"
                 << "(dancer added)|Import";
        QCOMPARE(dancerRows().mid(3), expected);
        QCOMPARE(m_fx->state.PostingWindow, QStringLiteral("Dancer Setup"));
        m_window->hide();
        QCOMPARE(m_fx->state.PostingWindow, QString());
    }

    void aLongFileShowsItsProgress_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("shown");
        QTest::newRow("long") << TCompSetup::kProgressRows << true;
        QTest::newRow("short") << TCompSetup::kProgressRows - 1 << false;
    }
    void aLongFileShowsItsProgress() {
        QFETCH(int, rows);
        QFETCH(bool, shown);
        if (const QString why = test::SheetPeer::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QList<QVariantList> sheet;
        for (int i = 0; i < rows; ++i)
            sheet.append({i + 1, QStringLiteral("Dancer %1").arg(i)});
        const QString path = m_fx->folder.filePath(QStringLiteral("long.xlsx"));
        QVERIFY(test::SheetPeer::write(QStringLiteral("xlsx"), path, sheet).isEmpty());
        open();
        m_fx->dialogs.answerFile(path);
        m_fx->dialogs.answerMessage(platform::Yes);
        m_fx->dialogs.answerMessage(platform::Ok);
        // The progress window lets events through; a timer looks for it meanwhile.
        QStringList titles;
        QTimer look;
        connect(&look, &QTimer::timeout, this, [&] {
            for (auto* w : window().findChildren<QWidget*>(QStringLiteral("ImportProgress")))
                if (w->isVisible() && !titles.contains(w->windowTitle()))
                    titles << w->windowTitle();
        });
        look.start(0);
        QTest::mouseClick(window().Button5, Qt::LeftButton);
        look.stop();
        QCOMPARE(m_fx->dialogs.messageTexts().last(), QStringLiteral("Import Completed"));
        QCOMPARE(m_fx->storedCount(), rows);
        QCOMPARE(titles, shown ? QStringList{"Importing..."} : QStringList{});
        QVERIFY(window().findChildren<QWidget*>(QStringLiteral("ImportProgress")).isEmpty());
    }

    void importCancelledOrFailed() {
        addDancers(2);
        open();
        m_fx->dialogs.answerFile(std::nullopt);
        QTest::mouseClick(window().Button5, Qt::LeftButton);
        QVERIFY(m_fx->dialogs.messageTexts().isEmpty());

        const QString path = m_fx->folder.filePath(QStringLiteral("broken.xls"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is no spreadsheet");
        f.close();
        m_fx->dialogs.answerFile(path);
        m_fx->dialogs.answerMessage(platform::Yes);
        m_fx->dialogs.answerMessage(platform::Ok);
        QTest::mouseClick(window().Button5, Qt::LeftButton);
        const QStringList shown = m_fx->dialogs.messageTexts();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[1].contains(QDir::toNativeSeparators(path)), qPrintable(shown[1]));
        QVERIFY(!shown.contains(QStringLiteral("Import Completed")));
        QCOMPARE(m_fx->dialogs.messages().last().type, platform::MessageType::Error);
        QCOMPARE(m_fx->storedCount(), 2);
    }

    void importWizardOpensOnTheResultsWithThePresets() {
        open();
        QString title;
        bool onResults = false;
        exchange::MappingPresets presets;
        QTimer::singleShot(0, this, [&] {
            auto* wizard = qobject_cast<wizards::ImportWizard*>(QApplication::activeModalWidget());
            if (!wizard)
                return;
            title = wizard->windowTitle();
            onResults = &wizard->table() == m_fx->module().results;
            presets = wizard->presets();
            wizard->reject();
        });
        QTest::mouseClick(window().Button4, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Import Wizard"));
        QVERIFY(onResults);
        QCOMPARE(presets, exchange::dancerPresets());
        QVERIFY(m_fx->dialogs.messageTexts().isEmpty());
    }

    void theSchoolBoxFloatsOverTheSchoolCell() {
        addDancers(3);
        open();
        dbcontrols::DBGrid* grid = window().DBGrid1;
        grid->setFocus();
        grid->goToCell(1, 2);
        QCoreApplication::processEvents();
        QVERIFY(!window().DBEdit1->isVisible());
        grid->goToCell(1, window().schoolColumn());
        grid->viewport()->repaint();
        QCoreApplication::processEvents();
        QVERIFY(window().DBEdit1->isVisible());
        const QRect cell = grid->visualRect(grid->model()->index(1, window().schoolColumn()));
        QCOMPARE(window().DBEdit1->geometry(),
                 QRect(grid->viewport()->mapTo(&window(), cell.topLeft()), cell.size()));
        grid->goToCell(1, 1);
        QCoreApplication::processEvents();
        QVERIFY(!window().DBEdit1->isVisible());
    }

    void typingASchoolCompletesIt() {
        QFile f(schoolFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("St Anne's\r\nSt Mary's\r\n");
        f.close();
        addDancers(2);
        open();
        dbcontrols::DBGrid* grid = window().DBGrid1;
        grid->setFocus();
        grid->goToCell(0, window().schoolColumn());
        QCoreApplication::processEvents();
        dbcontrols::DBEdit* box = window().DBEdit1;

        type(QStringLiteral("s"));
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->text(), QStringLiteral("St Anne's"));
        type(QStringLiteral("t m"));
        QCOMPARE(box->text(), QStringLiteral("St Mary's"));
        QCOMPARE(box->selectedText(), QStringLiteral("ary's"));
        QCOMPARE(box->cursorPosition() - box->selectedText().size(), 4);
        // Backspace takes the suggestion away and it comes back at once.
        press(Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("St Mary's"));
        QCOMPARE(box->selectedText(), QStringLiteral("ary's"));
        // Delete takes it away for good.
        press(Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("St M"));
        type(QStringLiteral("ulligan"));
        QCOMPARE(box->text(), QStringLiteral("St Mulligan"));

        // Leaving the box and the row saves the school and adds it to the list.
        grid->setFocus();
        QVERIFY(grid->goToCell(1, 2));
        QCOMPARE(m_fx->stored(0, QStringLiteral("SCHOOL")).toString(),
                 QStringLiteral("St Mulligan"));
        QVERIFY(window().schools().contains(QStringLiteral("st mulligan")));
        window().close();
        QCOMPARE(readAll(schoolFile()), QByteArray("St Anne's\r\nSt Mary's\r\nSt Mulligan\r\n"));
    }

    void typingTheWholeNameOffersNothingMore() {
        QFile f(schoolFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("St Anne's\r\nSt Mary's\r\n");
        f.close();
        addDancers(1);
        open();
        window().DBGrid1->setFocus();
        window().DBGrid1->goToCell(0, window().schoolColumn());
        type(QStringLiteral("St Anne's"));
        QCOMPARE(window().DBEdit1->text(), QStringLiteral("St Anne's"));
        QCOMPARE(window().DBEdit1->selectedText(), QString());
    }

    void theWheelMovesOneRowPerNotch() {
        dbcontrols::installWheelTranslation(*qApp);
        addDancers(5);
        open();
        window().DBGrid1->setFocus();
        window().DBGrid1->goToCell(2, 1);
        const QPoint at = cellCentre(2, 1);
        for (const auto& [turn, row] :
             {std::pair{-120, 3}, std::pair{-120, 4}, std::pair{120, 3}}) {
            QWheelEvent wheel(at, window().DBGrid1->viewport()->mapToGlobal(at), QPoint(),
                              QPoint(0, turn), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QCoreApplication::sendEvent(window().DBGrid1->viewport(), &wheel);
            QCOMPARE(results().currentRow(), row);
        }
    }

    // A picture for a person to look at ($JT_GALLERY_DIR, or the working folder).
    void drawsTheWindow() {
        QFile f(schoolFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("St Anne's\r\nSt Mary's\r\n");
        f.close();
        addDancers(6);
        for (int row = 0; row < 4; ++row) {
            results().moveToRow(row);
            results().edit();
            m_fx->dm().resultsSEQUENCE->setAsInteger(row + 1);
            m_fx->dm().resultsSCHOOL->setAsString(row % 2 ? QStringLiteral("St Mary's")
                                                          : QStringLiteral("St Anne's"));
            results().post();
        }
        open();
        QTest::mouseClick(window().SpeedButton1, Qt::LeftButton);
        window().DBGrid1->setFocus();
        window().DBGrid1->goToCell(4, window().schoolColumn());
        type(QStringLiteral("st m"));
        QCoreApplication::processEvents();
        const QImage picture = window().grab().toImage();
        const QString dir = qEnvironmentVariable("JT_GALLERY_DIR", QDir::currentPath());
        const QString path = QDir(dir).filePath(QStringLiteral("compsetup.png"));
        QVERIFY2(picture.save(path), qPrintable(path));
        qInfo("picture written to %s", qPrintable(path));
        const QImage cells = window().DBGrid1->viewport()->grab().toImage();
        const QRect seq = window().DBGrid1->visualRect(window().DBGrid1->model()->index(0, 0));
        QCOMPARE(cells.pixelColor(seq.left() + 1, seq.center().y()), QColor(0xC0, 0xFF, 0xC0));
        QVERIFY(window().DBEdit1->isVisible());
    }
};

QTEST_MAIN(TestCompSetup)
#include "tst_compsetup.moc"
