// The real file dialog of Select and Delete: a name typed into it is matched without
// regard to letter case, as the program matches table names everywhere else.
#include "app/WidgetDialogs.h"
#include "support/TempDataFolder.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace jt;

namespace {

// Runs `step` on the modal window in front once it is up.
void whenModal(const std::function<void(QWidget*)>& step) {
    QTimer::singleShot(0, [step] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            whenModal(step);
            return;
        }
        step(modal);
    });
}

void typeAndOpen(QWidget* modal, const QString& name) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog);
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
}

// A dialog that refused the typed name stays up, its own box in front; both are closed,
// so that the test fails instead of waiting for ever.
void closeWhileStillOpen(const QPointer<QWidget>& dialog) {
    QTimer::singleShot(50, [dialog] {
        if (!dialog)
            return;
        if (auto* front = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            front->reject();
        closeWhileStillOpen(dialog);
    });
}

} // namespace

class TestWidgetDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedNameFoundIgnoringCase_data();
    void typedNameFoundIgnoringCase();
    void typedNameOfNoFile();
    void createTakesANewName();
};

void TestWidgetDialogs::typedNameFoundIgnoringCase_data() {
    QTest::addColumn<QString>("typed");
    QTest::addRow("same case") << "u12.dbf";
    QTest::addRow("capitals") << "U12.DBF";
    QTest::addRow("mixed, no extension") << "U12";
}

void TestWidgetDialogs::typedNameFoundIgnoringCase() {
    QFETCH(QString, typed);
    test::TempDataFolder folder;
    folder.addCompetition(QStringLiteral("u12"));
    platform::WidgetDialogs dialogs;
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Select Competition Table");
    options.folder = folder.path();
    options.filter = QStringLiteral("Competition Tables (*.dbf)");
    options.defaultSuffix = QStringLiteral("dbf");
    options.mustExist = true;
    whenModal([&](QWidget* modal) {
        closeWhileStillOpen(modal);
        typeAndOpen(modal, typed);
    });
    // The name of the file as it is on the disk.
    QCOMPARE(dialogs.openFileName(options), folder.filePath(QStringLiteral("u12.dbf")));
}

void TestWidgetDialogs::typedNameOfNoFile() {
    test::TempDataFolder folder;
    folder.addCompetition(QStringLiteral("u12"));
    platform::WidgetDialogs dialogs;
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Delete Competition Table");
    options.folder = folder.path();
    options.defaultSuffix = QStringLiteral("dbf");
    options.mustExist = true;
    QString said;
    whenModal([&](QWidget* modal) {
        typeAndOpen(modal, QStringLiteral("U13.dbf"));
        whenModal([&, dialog = modal](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            QVERIFY(message);
            said = message->text();
            message->accept();
            // Back in the dialog, which is still open: the user gives up.
            whenModal([dialog](QWidget* again) {
                QCOMPARE(again, dialog);
                qobject_cast<QDialog*>(again)->reject();
            });
        });
    });
    QCOMPARE(dialogs.openFileName(options), std::nullopt);
    QCOMPARE(said, QStringLiteral("U13.dbf\nFile not found.\nPlease verify the correct file name "
                                  "was given."));
}

void TestWidgetDialogs::createTakesANewName() {
    test::TempDataFolder folder;
    platform::WidgetDialogs dialogs;
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Create Competition Table");
    options.folder = folder.path();
    options.defaultSuffix = QStringLiteral("dbf");
    options.mustExist = false;
    whenModal([&](QWidget* modal) { typeAndOpen(modal, QStringLiteral("U14Boys")); });
    QCOMPARE(dialogs.openFileName(options), folder.filePath(QStringLiteral("U14Boys.dbf")));
}

QTEST_MAIN(TestWidgetDialogs)
#include "tst_widgetdialogs.moc"
