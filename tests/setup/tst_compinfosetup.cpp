// Competition Setup: what opening shows, the choices stored at once, the "Locked"
// boxes, the input limits, and that nothing is written that the user did not change.
#include "SetupFixture.h"
#include "dbcontrols/DBEdit.h"
#include "dbcontrols/DBNavigator.h"
#include "platform/HelpTopic.h"
#include "setup/RadioGroup.h"
#include "setup/TCompInfoSetup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace jt;
using setup::TCompInfoSetup;

class TestCompInfoSetup : public QObject {
    Q_OBJECT

    std::unique_ptr<test::SetupFixture> m_fx;
    std::unique_ptr<TCompInfoSetup> m_window;

    TCompInfoSetup& window() { return *m_window; }
    void open() {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void reopen() {
        m_window->close();
        open();
    }
    bool dAndEEnabled() {
        const bool d = window().DBEdit9->isEnabled();
        for (dbcontrols::DBEdit* e : {window().DBEdit10, window().DBEdit11, window().DBEdit12})
            if (e->isEnabled() != d)
                qFatal("the D and E fields disagree");
        return d;
    }
    // A group, its box and the field a change of it enables, by the test's name.
    setup::RadioGroup* group(const QString& which) {
        return which == QLatin1String("adj") ? window().AdjGroup : window().RdsGroup;
    }
    QCheckBox* lockBox(const QString& which) {
        return which == QLatin1String("adj") ? window().AdjLocked : window().RdsLocked;
    }
    bool secondItemFieldsEnabled(const QString& which) {
        return which == QLatin1String("adj") ? dAndEEnabled() : window().DBEdit15->isEnabled();
    }
    static QString codeField(const QString& which) {
        return which == QLatin1String("adj") ? QStringLiteral("NUMADJS")
                                             : QStringLiteral("NUMROUNDS");
    }
    // Clicks where a person would: on the button's indicator, at its left.
    static void clickButton(QAbstractButton* b) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    static void choose(setup::RadioGroup* g, int item) { clickButton(g->item(item)); }

private Q_SLOTS:
    void init() {
        m_fx = std::make_unique<test::SetupFixture>();
        m_window = std::make_unique<TCompInfoSetup>(m_fx->state);
    }
    void cleanup() {
        m_window.reset();
        m_fx.reset();
    }

    void isBuiltAsDescribed() {
        QCOMPARE(window().windowTitle(), QStringLiteral("Competition Setup"));
        QCOMPARE(platform::helpTopic(&window()), 550);
        QCOMPARE(window().Button1->text(), QStringLiteral("Exit"));
        QCOMPARE(window().AdjGroup->title(), QStringLiteral("No of Adjudicators"));
        QCOMPARE(window().AdjGroup->item(0)->text(), QStringLiteral("3 Adj"));
        QCOMPARE(window().AdjGroup->item(1)->text(), QStringLiteral("5 Adj"));
        QCOMPARE(window().RdsGroup->title(), QStringLiteral("Rounds"));
        QCOMPARE(window().RdsGroup->item(0)->text(), QStringLiteral("2 Rds + Set"));
        QCOMPARE(window().RdsGroup->item(1)->text(), QStringLiteral("3 Rds + Set"));
        QCOMPARE(window().AdjLocked->text(), QStringLiteral("Locked"));
        QCOMPARE(window().RdsLocked->text(), QStringLiteral("Locked"));
        open();
        using Nav = dbcontrols::DBNavigator;
        for (int b = 0; b < Nav::kButtonCount; ++b) {
            const auto which = Nav::Button(b);
            const bool wanted = which == Nav::Edit || which == Nav::Post || which == Nav::Cancel;
            QCOMPARE(window().DBNavigator1->button(which)->isVisible(), wanted);
            QVERIFY2(window().DBNavigator1->button(which)->toolTip().isEmpty(),
                     "the window shows no tool tips");
        }
        const QStringList fields{"COMPNAME", "COMPNO",   "ADJANAME", "ADJAFROM",
                                 "ADJBNAME", "ADJBFROM", "ADJCNAME", "ADJCFROM",
                                 "ADJDNAME", "ADJDFROM", "ADJENAME", "ADJEFROM",
                                 "RD1TITLE", "RD2TITLE", "RD3TITLE", "RD4TITLE"};
        QStringList bound;
        for (dbcontrols::DBEdit* e : window().edits())
            bound << e->dataField();
        QCOMPARE(bound, fields);
    }

    // Tab goes through the fields in the order of the table above, the enabled ones.
    void tabsThroughTheFieldsInOrder() {
        m_fx->storeInfo(QStringLiteral("NUMADJS"), QStringLiteral("5"));
        m_fx->storeInfo(QStringLiteral("NUMROUNDS"), QStringLiteral("4"));
        open();
        QApplication::setActiveWindow(&window());
        window().DBEdit1->setFocus();
        QList<QWidget*> visited;
        for (int i = 0; i < 16; ++i) {
            visited << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QList<QWidget*> expected;
        for (dbcontrols::DBEdit* e : window().edits())
            expected << e;
        QCOMPARE(visited, expected);
    }

    void opensShowingWhatIsStored_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<int>("shownBefore"); // the item shown at the last opening
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("secondEnabled");

        for (const char* which : {"adj", "rds"}) {
            const QString w = QString::fromLatin1(which);
            const QString second = w == QLatin1String("adj") ? "5" : "4";
            const QString first = "3";
            QTest::addRow("%s first stored, first shown before", which)
                << w << 0 << first << 0 << true << false;
            QTest::addRow("%s first stored, second shown before", which)
                << w << 1 << first << 0 << true << false;
            QTest::addRow("%s second stored", which) << w << 0 << second << 1 << true << true;
            QTest::addRow("%s blank, first shown before", which)
                << w << 0 << "" << 0 << false << false;
            QTest::addRow("%s blank keeps the second shown before", which)
                << w << 1 << "" << 1 << false << true;
            QTest::addRow("%s unknown code keeps what was shown", which)
                << w << 1 << "X" << 1 << false << true;
        }
        QTest::newRow("adj 4 is no count of adjudicators")
            << "adj" << 0 << "4" << 0 << false << false;
        QTest::newRow("rds 5 is no count of rounds") << "rds" << 0 << "5" << 0 << false << false;
    }

    void opensShowingWhatIsStored() {
        QFETCH(QString, which);
        QFETCH(int, shownBefore);
        QFETCH(QString, stored);
        QFETCH(int, item);
        QFETCH(bool, locked);
        QFETCH(bool, secondEnabled);
        const QString field = codeField(which);
        const QString beforeCode =
            shownBefore == 0
                ? QStringLiteral("3")
                : (which == QLatin1String("adj") ? QStringLiteral("5") : QStringLiteral("4"));
        // A first opening on another value leaves the window showing it.
        m_fx->storeInfo(field, beforeCode);
        open();
        QCOMPARE(group(which)->itemIndex(), shownBefore);
        window().close();

        m_fx->storeInfo(field, stored);
        m_fx->state.ReCalcFlag = false;
        open();
        QCOMPARE(group(which)->itemIndex(), item);
        QCOMPARE(lockBox(which)->isChecked(), locked);
        QCOMPARE(group(which)->isEnabled(), !locked);
        QCOMPARE(secondItemFieldsEnabled(which), secondEnabled);
        window().close();
        // Opening only shows: nothing stored, no recalculation due.
        QCOMPARE(test::SetupFixture::storedInfo(field), stored);
        QCOMPARE(m_fx->state.ReCalcFlag, false);
        QCOMPARE(m_fx->dm().compinfo->editing(), false);
    }

    void firstOpeningOnABlankCompetition() {
        open();
        QCOMPARE(window().AdjGroup->itemIndex(), 0);
        QCOMPARE(window().RdsGroup->itemIndex(), 0);
        QVERIFY(!window().AdjLocked->isChecked());
        QVERIFY(!window().RdsLocked->isChecked());
        QVERIFY(window().AdjGroup->isEnabled());
        QVERIFY(!dAndEEnabled());
        QVERIFY(!window().DBEdit15->isEnabled());
    }

    void openingLeavesTheFlagAsItWas_data() {
        QTest::addColumn<bool>("flag");
        QTest::newRow("set") << true;
        QTest::newRow("clear") << false;
    }
    void openingLeavesTheFlagAsItWas() {
        QFETCH(bool, flag);
        m_fx->storeInfo(QStringLiteral("NUMADJS"), QStringLiteral("5"));
        m_fx->state.ReCalcFlag = flag;
        open();
        QTest::mouseClick(window().Button1, Qt::LeftButton);
        QVERIFY(!window().isVisible());
        QCOMPARE(m_fx->state.ReCalcFlag, flag);
    }

    void aChangeOfSelectionIsStoredAtOnce_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("adjudicators") << "adj";
        QTest::newRow("rounds") << "rds";
    }
    void aChangeOfSelectionIsStoredAtOnce() {
        QFETCH(QString, which);
        const QString field = codeField(which);
        const QString second = which == QLatin1String("adj") ? "5" : "4";
        open();
        m_fx->state.ReCalcFlag = false;
        choose(group(which), 1);
        QCOMPARE(test::SetupFixture::storedInfo(field), second);
        QVERIFY(m_fx->state.ReCalcFlag);
        QVERIFY(secondItemFieldsEnabled(which));
        QVERIFY(!m_fx->dm().compinfo->editing());

        choose(group(which), 0);
        QCOMPARE(test::SetupFixture::storedInfo(field), QStringLiteral("3"));
        QVERIFY(!secondItemFieldsEnabled(which));
    }

    void lockedMeansNoChange_data() { aChangeOfSelectionIsStoredAtOnce_data(); }
    void lockedMeansNoChange() {
        QFETCH(QString, which);
        const QString field = codeField(which);
        const QString second = which == QLatin1String("adj") ? "5" : "4";
        m_fx->storeInfo(field, QStringLiteral("3"));
        open();
        QVERIFY(lockBox(which)->isChecked());
        QVERIFY(!group(which)->isEnabled());
        choose(group(which), 1);
        QCOMPARE(group(which)->itemIndex(), 0);
        QCOMPARE(test::SetupFixture::storedInfo(field), QStringLiteral("3"));

        // Even a selection made by the program while locked stores nothing.
        group(which)->setEnabled(true);
        choose(group(which), 1);
        QCOMPARE(test::SetupFixture::storedInfo(field), QStringLiteral("3"));
        group(which)->setItemIndex(0);

        clickButton(lockBox(which));
        QVERIFY(!lockBox(which)->isChecked());
        QVERIFY(group(which)->isEnabled());
        choose(group(which), 1);
        QCOMPARE(test::SetupFixture::storedInfo(field), second);
        // Locking again by hand freezes the new choice.
        clickButton(lockBox(which));
        QVERIFY(!group(which)->isEnabled());
    }

    void fewerAdjudicatorsKeepsTheirNames() {
        m_fx->storeInfo(QStringLiteral("NUMADJS"), QStringLiteral("5"));
        m_fx->storeInfo(QStringLiteral("ADJDNAME"), QStringLiteral("Deirdre"));
        m_fx->storeInfo(QStringLiteral("ADJEFROM"), QStringLiteral("Ennis"));
        m_fx->storeInfo(QStringLiteral("NUMROUNDS"), QStringLiteral("4"));
        m_fx->storeInfo(QStringLiteral("RD3TITLE"), QStringLiteral("Hornpipe"));
        open();
        clickButton(window().AdjLocked);
        clickButton(window().RdsLocked);
        choose(window().AdjGroup, 0);
        choose(window().RdsGroup, 0);
        QVERIFY(!dAndEEnabled());
        QVERIFY(!window().DBEdit15->isEnabled());
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("ADJDNAME")),
                 QStringLiteral("Deirdre"));
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("ADJEFROM")),
                 QStringLiteral("Ennis"));
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("RD3TITLE")),
                 QStringLiteral("Hornpipe"));
        choose(window().AdjGroup, 1);
        QVERIFY(dAndEEnabled());
        QCOMPARE(window().DBEdit9->text(), QStringLiteral("Deirdre"));
    }

    // A box tabbed into has its text selected, so typing replaces what is stored.
    void typingAfterTabReplaces_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("from");
        QTest::newRow("Tab from the description") << Qt::Key_Tab << "DBEdit1";
        QTest::newRow("Shift+Tab from adjudicator A") << Qt::Key_Backtab << "DBEdit3";
    }
    void typingAfterTabReplaces() {
        QFETCH(Qt::Key, key);
        QFETCH(QString, from);
        m_fx->storeInfo(QStringLiteral("COMPNO"), QStringLiteral("7"));
        open();
        QApplication::setActiveWindow(&window());
        window().findChild<QWidget*>(from)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), window().DBEdit2);
        QTest::keyClicks(window().DBEdit2, QStringLiteral("12"));
        QCOMPARE(window().DBEdit2->text(), QStringLiteral("12"));
        QTest::keyClick(window().DBEdit2, Qt::Key_Tab); // leaving the box keeps the text
        QCOMPARE(m_fx->dm().compinfoCOMPNO->asString().trimmed(), QStringLiteral("12"));
    }

    // Saving the choice saves what was typed before it.
    void aChoiceSavesWhatWasTyped() {
        open();
        QApplication::setActiveWindow(&window());
        window().DBEdit3->setFocus();
        QTest::keyClicks(window().DBEdit3, QStringLiteral("Mary Kelly"));
        QVERIFY(m_fx->dm().compinfo->editing());
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("ADJANAME")), QString());
        choose(window().AdjGroup, 1);
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("ADJANAME")),
                 QStringLiteral("Mary Kelly"));
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("NUMADJS")), QStringLiteral("5"));
    }

    void exitSavesNothing() {
        open();
        QApplication::setActiveWindow(&window());
        window().DBEdit1->setFocus();
        QTest::keyClicks(window().DBEdit1, QStringLiteral("Under 12"));
        m_fx->state.ReCalcFlag = false;
        QTest::mouseClick(window().Button1, Qt::LeftButton);
        QVERIFY(!window().isVisible());
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("COMPNAME")), QString());
        QVERIFY(!m_fx->state.ReCalcFlag);
        // Still pending in the open record: others read it, a post stores it.
        QVERIFY(m_fx->dm().compinfo->editing());
        QCOMPARE(m_fx->dm().compinfoCOMPNAME->asString(), QStringLiteral("Under 12"));
        m_fx->dm().compinfo->post();
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("COMPNAME")),
                 QStringLiteral("Under 12"));
        QVERIFY(m_fx->state.ReCalcFlag);
    }

    void inputIsCutAtTheWindowsLengths_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("longest");
        QTest::newRow("description") << "DBEdit1" << 30;
        QTest::newRow("comp no") << "DBEdit2" << 3;
        QTest::newRow("adjudicator A name") << "DBEdit3" << 20;
        QTest::newRow("adjudicator C from") << "DBEdit8" << 20;
        QTest::newRow("adjudicator E from") << "DBEdit12" << 20;
        QTest::newRow("round 1 title") << "DBEdit13" << 20;
        QTest::newRow("recall title") << "DBEdit16" << 20;
    }
    void inputIsCutAtTheWindowsLengths() {
        QFETCH(QString, edit);
        QFETCH(int, longest);
        m_fx->storeInfo(QStringLiteral("NUMADJS"), QStringLiteral("5"));
        open();
        QApplication::setActiveWindow(&window());
        auto* box = window().findChild<dbcontrols::DBEdit*>(edit);
        QVERIFY(box);
        box->setFocus();
        box->selectAll();
        const QString typed = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789ABCDEFG");
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), typed.left(longest));
        QVERIFY(m_fx->dm().compinfo->editing());
        QTest::mouseClick(window().DBNavigator1->button(dbcontrols::DBNavigator::Post),
                          Qt::LeftButton);
        QCOMPARE(test::SetupFixture::storedInfo(box->dataField()), typed.left(longest));
    }

    // A picture of the window for a person to look at ($JT_GALLERY_DIR, or the working
    // folder): three adjudicators and two rounds, so D, E and round 3 are greyed.
    void drawsTheWindow() {
        const QList<std::pair<const char*, const char*>> info{
            {"COMPNO", "12"},
            {"COMPNAME", "Under 12 Girls Championship"},
            {"ADJANAME", "Mary Kelly"},
            {"ADJAFROM", "Dublin"},
            {"ADJBNAME", "Seán Ó Briain"},
            {"ADJBFROM", "Galway"},
            {"ADJCNAME", "Niamh Walsh"},
            {"ADJCFROM", "Cork"},
            {"NUMADJS", "3"},
            {"NUMROUNDS", "3"},
            {"RD1TITLE", "Heavy"},
            {"RD2TITLE", "Light"}};
        for (const auto& [field, value] : info)
            m_fx->storeInfo(QString::fromLatin1(field), QString::fromUtf8(value));
        open();
        const QImage picture = window().grab().toImage();
        const QString dir = qEnvironmentVariable("JT_GALLERY_DIR", QDir::currentPath());
        const QString path = QDir(dir).filePath(QStringLiteral("compinfosetup.png"));
        QVERIFY2(picture.save(path), qPrintable(path));
        qInfo("picture written to %s", qPrintable(path));
        // A greyed field is drawn unlike a field that takes input.
        auto background = [&](QWidget* w) {
            const QPoint p = w->mapTo(&window(), QPoint(w->width() - 4, w->height() / 2));
            return picture.pixelColor(p * picture.devicePixelRatio());
        };
        QVERIFY(background(window().DBEdit9) != background(window().DBEdit3));
        QCOMPARE(background(window().DBEdit15), background(window().DBEdit9));
        QCOMPARE(window().DBEdit1->text(), QStringLiteral("Under 12 Girls Championship"));
    }

    void cancelThrowsTheTypingAway() {
        m_fx->storeInfo(QStringLiteral("COMPNAME"), QStringLiteral("Minor"));
        open();
        QApplication::setActiveWindow(&window());
        window().DBEdit1->setFocus();
        window().DBEdit1->selectAll();
        QTest::keyClicks(window().DBEdit1, QStringLiteral("Senior"));
        QTest::mouseClick(window().DBNavigator1->button(dbcontrols::DBNavigator::Cancel),
                          Qt::LeftButton);
        QVERIFY(!m_fx->dm().compinfo->editing());
        QCOMPARE(window().DBEdit1->text(), QStringLiteral("Minor"));
        QCOMPARE(test::SetupFixture::storedInfo(QStringLiteral("COMPNAME")),
                 QStringLiteral("Minor"));
    }
};

QTEST_MAIN(TestCompInfoSetup)
#include "tst_compinfosetup.moc"
