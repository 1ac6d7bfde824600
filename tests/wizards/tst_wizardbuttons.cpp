// The windows' wizard buttons: the SeeAll Spreadsheet's Export Wizard writes the grid's
// columns with their titles and every record, proposing the competition's display name.
#include "marks/MarksFixture.h"
#include "marks/Tseeallform.h"
#include "wizards/ExportWizard.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace jt;

class TstWizardButtons final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void seeAllExportsTheGrid() {
        test::MarksCompetition c(3, QStringLiteral("3"), QStringLiteral("3"), {1});
        marks::Tseeallform window(c.state);
        QVERIFY(test::openWindow(window));
        const marks::ExportSetup setup = window.exportSetup();
        QVERIFY(setup.columns.size() > 10);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("all.txt"));
        QString title;
        QString proposed;
        QTimer::singleShot(0, this, [&] {
            auto* wizard = qobject_cast<wizards::ExportWizard*>(QApplication::activeModalWidget());
            if (!wizard)
                return;
            title = wizard->windowTitle();
            wizard->next();
            auto* file = wizard->findChild<QLineEdit*>(QStringLiteral("fileEdit"));
            proposed = QFileInfo(file->text()).fileName();
            file->setText(path);
            wizard->findChild<QCheckBox*>(QStringLiteral("fieldNamesBox"))->setChecked(true);
            c.dialogs.answerMessage(platform::Ok);
            wizard->button(QWizard::FinishButton)->click();
        });
        QTest::mouseClick(window.Button1, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Export Wizard"));
        QCOMPARE(proposed, QStringLiteral("U12.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 5); // titles, three records, nothing after the last CR LF
        QVERIFY(lines.last().isEmpty());
        QList<QByteArray> titles;
        for (const marks::ExportColumn& col : setup.columns)
            titles.append(col.title.toLatin1());
        QCOMPARE(lines[0], titles.join('\t') + '\r');
        for (int r = 1; r <= 3; ++r)
            QCOMPARE(lines[r].count('\t'), setup.columns.size() - 1);
        QCOMPARE(c.dialogs.messageTexts(),
                 QStringList{QStringLiteral("Export Completed: 3 records.")});
        window.close();
    }
};

QTEST_MAIN(TstWizardButtons)
#include "tst_wizardbuttons.moc"
