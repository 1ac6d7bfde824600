// The wizards driven as a person would, without a screen: fields filled by object
// name, Next and Finish pressed, dialogs answered by script.
#include "engine/Table.h"
#include "exchange/RecordImport.h"
#include "support/Competition.h"
#include "wizards/ExportWizard.h"
#include "wizards/ImportWizard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace jt;
using namespace jt::wizards;

namespace {

template <typename T> T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void press(QWizard& w, QWizard::WizardButton which) {
    QAbstractButton* b = w.button(which);
    QVERIFY(b->isVisible() && b->isEnabled());
    b->click();
}

} // namespace

class TstWizards final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void importCsvIntoResults();
    void importStopsAtBadRowAndKeepsEarlierOnes();
    void importRefusesDamagedFile();
    void importProfileSavedLoadedDeleted();
    void importFromClipboard();
    void exportWithFixedSettings();
    void exportAsksBeforeReplacing();
    void exportToClipboard();
};

void TstWizards::importCsvIntoResults() {
    auto c = test::Competition::withDancers(2);
    QTemporaryDir dir;
    QTemporaryDir profiles;
    const QString csv = writeFile(dir, QStringLiteral("dancers.txt"),
                                  QStringLiteral("SCHOOL;NO;NAME\r\n"
                                                 "\"Scoil Rince; Óg\";1,201;Siobhán\r\n"
                                                 "Naomh Pádraig;305;\"Ní \"\"Bhriain\"\"\"\r\n")
                                      .toUtf8());
    ImportWizard w(c->results(), exchange::dancerPresets(), nullptr, profiles.path());
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Import Wizard"));
    auto* file = child<QLineEdit>(w, "fileEdit");
    file->setText(csv);
    Q_EMIT file->editingFinished();
    // The format is told by the contents; it stays changeable.
    QCOMPARE(child<QComboBox>(w, "formatBox")->currentData().toInt(),
             int(exchange::SourceFormat::Delimited));
    press(w, QWizard::NextButton);
    QCOMPARE(w.currentId(), int(ImportWizard::OptionsPage));
    // The delimiter is guessed; the preview shows the rows under the heading.
    QCOMPARE(child<QComboBox>(w, "delimiterBox")->currentData().toString(), QStringLiteral(";"));
    auto* preview = child<QTableWidget>(w, "previewTable");
    QCOMPARE(preview->rowCount(), 2);
    QCOMPARE(preview->horizontalHeaderItem(1)->text(), QStringLiteral("NO"));
    QCOMPARE(preview->item(0, 0)->text(), QStringLiteral("Scoil Rince; Óg"));
    QCOMPARE(preview->item(1, 2)->text(), QStringLiteral("Ní \"Bhriain\""));
    press(w, QWizard::NextButton);
    QCOMPARE(w.currentId(), int(ImportWizard::MappingPage));
    // NO, NAME and SCHOOL are preset to their fields.
    QCOMPARE(child<QComboBox>(w, "map_COMP_NO")->currentText(), QStringLiteral("NO"));
    QCOMPARE(child<QComboBox>(w, "map_NAME")->currentText(), QStringLiteral("NAME"));
    QCOMPARE(child<QComboBox>(w, "map_SCHOOL")->currentText(), QStringLiteral("SCHOOL"));
    QCOMPARE(child<QComboBox>(w, "map_SEQUENCE")->currentText(), QStringLiteral("(none)"));
    child<QRadioButton>(w, "replaceButton")->setChecked(true);
    press(w, QWizard::NextButton);
    c->dialogs.answerMessage(platform::Ok);
    press(w, QWizard::FinishButton);
    QCOMPARE(c->dialogs.messageTexts(), QStringList{QStringLiteral("Import Completed")});
    QVERIFY(w.result().completed);
    QCOMPARE(c->storedCount(), 2);
    QCOMPARE(c->stored(0, QStringLiteral("COMP_NO")), QVariant(1201.0));
    QCOMPARE(c->stored(0, QStringLiteral("SCHOOL")), QVariant(QStringLiteral("Scoil Rince; Óg")));
    QCOMPARE(c->stored(1, QStringLiteral("NAME")), QVariant(QStringLiteral("Ní \"Bhriain\"")));
    QVERIFY(!w.isVisible());
}

void TstWizards::importStopsAtBadRowAndKeepsEarlierOnes() {
    auto c = test::Competition::withDancers(1);
    QTemporaryDir dir;
    QTemporaryDir profiles;
    const QString csv = writeFile(dir, QStringLiteral("d.csv"), "NO,NAME\n201,A\n2x2,B\n203,C\n");
    ImportWizard w(c->results(), exchange::dancerPresets(), nullptr, profiles.path());
    w.show();
    child<QLineEdit>(w, "fileEdit")->setText(csv);
    press(w, QWizard::NextButton);
    press(w, QWizard::NextButton);
    press(w, QWizard::NextButton);
    c->dialogs.answerMessage(platform::Cancel);
    press(w, QWizard::FinishButton);
    QCOMPARE(c->dialogs.messages().size(), 1);
    const auto& shown = c->dialogs.messages().first();
    QCOMPARE(shown.type, platform::MessageType::Error);
    QVERIFY2(
        shown.text.startsWith(QStringLiteral("The import stopped at row 3, field COMP_NO: '2x2'")),
        qPrintable(shown.text));
    // The dancer there before and the row before the bad one stay.
    QCOMPARE(c->storedCount(), 2);
    QCOMPARE(c->stored(1, QStringLiteral("COMP_NO")), QVariant(201.0));
}

void TstWizards::importRefusesDamagedFile() {
    auto c = test::Competition::withDancers(0);
    QTemporaryDir dir;
    QTemporaryDir profiles;
    const QString bad =
        writeFile(dir, QStringLiteral("broken.xlsx"), QByteArray("PK\x03\x04\x14\0junk", 10));
    ImportWizard w(c->results(), exchange::dancerPresets(), nullptr, profiles.path());
    w.show();
    auto* file = child<QLineEdit>(w, "fileEdit");
    file->setText(bad);
    Q_EMIT file->editingFinished();
    QCOMPARE(child<QComboBox>(w, "formatBox")->currentData().toInt(),
             int(exchange::SourceFormat::Xlsx));
    c->dialogs.answerMessage(platform::Cancel);
    press(w, QWizard::NextButton);
    QCOMPARE(w.currentId(), int(ImportWizard::SourcePage));
    QCOMPARE(c->dialogs.messages().size(), 1);
    QCOMPARE(c->dialogs.messages().first().type, platform::MessageType::Error);
    QVERIFY2(c->dialogs.messages().first().text.contains(QStringLiteral("broken.xlsx")),
             qPrintable(c->dialogs.messages().first().text));
    QCOMPARE(c->storedCount(), 0);
}

void TstWizards::importProfileSavedLoadedDeleted() {
    auto c = test::Competition::withDancers(0);
    QTemporaryDir dir;
    QTemporaryDir profiles;
    const QString csv = writeFile(dir, QStringLiteral("d.csv"), "X,Y,Z\n7,Name,School\n");
    {
        ImportWizard w(c->results(), exchange::dancerPresets(), nullptr, profiles.path());
        w.show();
        child<QLineEdit>(w, "fileEdit")->setText(csv);
        press(w, QWizard::NextButton);
        press(w, QWizard::NextButton);
        // Nothing is preset for X, Y, Z: map them by hand, then save.
        auto* no = child<QComboBox>(w, "map_COMP_NO");
        no->setCurrentIndex(no->findText(QStringLiteral("Z")));
        child<QRadioButton>(w, "replaceButton")->setChecked(true);
        c->dialogs.answerInput(QStringLiteral("Feis list"));
        child<QAbstractButton>(w, "saveProfileButton")->click();
    }
    ImportWizard w(c->results(), exchange::dancerPresets(), nullptr, profiles.path());
    w.show();
    auto* box = child<QComboBox>(w, "profileBox");
    QCOMPARE(box->count(), 1);
    QCOMPARE(box->currentText(), QStringLiteral("Feis list"));
    child<QAbstractButton>(w, "loadProfileButton")->click();
    QCOMPARE(child<QLineEdit>(w, "fileEdit")->text(), csv);
    press(w, QWizard::NextButton);
    press(w, QWizard::NextButton);
    QCOMPARE(child<QComboBox>(w, "map_COMP_NO")->currentText(), QStringLiteral("Z"));
    QVERIFY(child<QRadioButton>(w, "replaceButton")->isChecked());
    w.back();
    w.back();
    c->dialogs.answerMessage(platform::Yes);
    child<QAbstractButton>(w, "deleteProfileButton")->click();
    QCOMPARE(box->count(), 0);
    QVERIFY(QDir(profiles.path()).entryList(QDir::Files).isEmpty());
    QVERIFY(c->dialogs.allAnswered());
}

void TstWizards::importFromClipboard() {
    auto c = test::Competition::withDancers(0);
    QTemporaryDir profiles;
    QGuiApplication::clipboard()->setText(QStringLiteral("NO\tNAME\n401\tClíona\n"));
    ImportWizard w(c->results(), exchange::dancerPresets(), nullptr, profiles.path());
    w.show();
    auto* format = child<QComboBox>(w, "formatBox");
    format->setCurrentIndex(format->findData(int(exchange::SourceFormat::Clipboard)));
    press(w, QWizard::NextButton);
    press(w, QWizard::NextButton);
    press(w, QWizard::NextButton);
    c->dialogs.answerMessage(platform::Ok);
    press(w, QWizard::FinishButton);
    QCOMPARE(c->storedCount(), 1);
    QCOMPARE(c->stored(0, QStringLiteral("NAME")), QVariant(QStringLiteral("Clíona")));
}

void TstWizards::exportWithFixedSettings() {
    auto c = test::Competition::withDancers(2, {0.0, 71.25});
    QTemporaryDir dir;
    QTemporaryDir profiles;
    ExportWizard w(c->results(),
                   {{QStringLiteral("COMP_NO"), QStringLiteral("Comp No")},
                    {QStringLiteral("NAME"), QStringLiteral("Name")},
                    {QStringLiteral("A1"), QStringLiteral("A Rd 1")},
                    {QStringLiteral("RECALLED"), QStringLiteral("Recalled")}},
                   QStringLiteral("U12"), nullptr, dir.path(), profiles.path());
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Export Wizard"));
    QCOMPARE(child<QListWidget>(w, "formatList")->currentItem()->text(),
             QStringLiteral("Text (delimited)"));
    press(w, QWizard::NextButton);
    auto* file = child<QLineEdit>(w, "fileEdit");
    QCOMPARE(file->text(), dir.filePath(QStringLiteral("U12.txt")));
    QVERIFY(!child<QCheckBox>(w, "fieldNamesBox")->isChecked());
    c->dialogs.answerMessage(platform::Ok);
    press(w, QWizard::FinishButton);
    QVERIFY2(w.result().ok, qPrintable(w.result().error));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("U12.txt"))),
             QByteArray("101\tDancer 1\t0\t\r\n102\tDancer 2\t71.25\t\r\n"));

    // CSV with the row of field names ticked, kept as a profile.
    ExportWizard again(c->results(), {{QStringLiteral("NAME"), QStringLiteral("Dancer's name")}},
                       QStringLiteral("U12"), nullptr, dir.path(), profiles.path());
    again.show();
    auto* list = child<QListWidget>(again, "formatList");
    list->setCurrentRow(1);
    press(again, QWizard::NextButton);
    QCOMPARE(child<QLineEdit>(again, "fileEdit")->text(), dir.filePath(QStringLiteral("U12.csv")));
    child<QCheckBox>(again, "fieldNamesBox")->setChecked(true);
    c->dialogs.answerInput(QStringLiteral("csv with names"));
    child<QAbstractButton>(again, "saveProfileButton")->click();
    c->dialogs.answerMessage(platform::Ok);
    press(again, QWizard::FinishButton);
    QCOMPARE(readFile(dir.filePath(QStringLiteral("U12.csv"))),
             QByteArray("Dancer's name\r\nDancer 1\r\nDancer 2\r\n"));
    const std::optional<QJsonObject> saved =
        exchange::ProfileStore(QStringLiteral("export"), profiles.path())
            .load(QStringLiteral("csv with names"));
    QVERIFY(saved);
    QString error;
    const std::optional<exchange::ExportProfile> profile =
        exchange::exportProfileFromJson(*saved, &error);
    QVERIFY(profile);
    QCOMPARE(profile->format, exchange::TargetFormat::Csv);
    QVERIFY(profile->fieldNames);
}

void TstWizards::exportAsksBeforeReplacing() {
    auto c = test::Competition::withDancers(1);
    QTemporaryDir dir;
    QTemporaryDir profiles;
    const QString path = writeFile(dir, QStringLiteral("U12.txt"), "keep me");
    ExportWizard w(c->results(), {{QStringLiteral("COMP_NO"), QStringLiteral("No")}},
                   QStringLiteral("U12"), nullptr, dir.path(), profiles.path());
    w.show();
    press(w, QWizard::NextButton);
    c->dialogs.answerMessage(platform::No);
    press(w, QWizard::FinishButton);
    QCOMPARE(readFile(path), QByteArray("keep me"));
    QVERIFY(w.isVisible());
    c->dialogs.answerMessage(platform::Yes);
    c->dialogs.answerMessage(platform::Ok);
    press(w, QWizard::FinishButton);
    QCOMPARE(readFile(path), QByteArray("101\r\n"));
}

void TstWizards::exportToClipboard() {
    auto c = test::Competition::withDancers(2);
    QTemporaryDir profiles;
    ExportWizard w(c->results(),
                   {{QStringLiteral("COMP_NO"), QStringLiteral("No")},
                    {QStringLiteral("NAME"), QStringLiteral("Name")}},
                   QStringLiteral("U12"), nullptr, {}, profiles.path());
    w.show();
    auto* list = child<QListWidget>(w, "formatList");
    list->setCurrentRow(list->count() - 1);
    press(w, QWizard::NextButton);
    c->dialogs.answerMessage(platform::Ok);
    press(w, QWizard::FinishButton);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("101\tDancer 1\n102\tDancer 2\n"));
}

QTEST_MAIN(TstWizards)
#include "tst_wizards.moc"
