#include "ShellFixture.h"
#include "app/TEventNameForm.h"
#include "platform/MachineSettings.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <optional>

using namespace jt;

namespace {

const QString kSection = QStringLiteral("[SOFTWARE\\Jigtally Software\\Jigtally 2008\\0.1.0.0]");

void writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestEventName : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void readsStoredValue_data();
    void readsStoredValue();
    void writeKeepsTheRest_data();
    void writeKeepsTheRest();
    void roundTrip();
    void cancelStillReloads();
    void emptyNameIsStored();
    void thirtyCharacters();
    void missingKeyWhenShown_data();
    void missingKeyWhenShown();
    void startUpLoadsTheStoredName_data();
    void startUpLoadsTheStoredName();
    void missingKeyAtOk();
    void missingKeyAfterClosing();

private:
    // Opens Set Event Name from the menu; `step` runs inside the window.
    void useWindow(const std::function<void(app::TEventNameForm&)>& step);

    std::unique_ptr<test::Shell> m_shell;
    QString m_settings;
};

void TestEventName::init() {
    m_shell = std::make_unique<test::Shell>();
    m_settings = m_shell->settingsFile();
}

void TestEventName::cleanup() {
    m_shell.reset();
}

void TestEventName::useWindow(const std::function<void(app::TEventNameForm&)>& step) {
    auto* form = app::EventNameForm;
    bool ran = false;
    QTimer::singleShot(0, form, [&] {
        ran = true;
        if (form->isVisible())
            step(*form);
    });
    m_shell->choose(m_shell->main().SetEventName1);
    QVERIFY(ran);
    QVERIFY(!form->isVisible());
}

void TestEventName::readsStoredValue_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("value");
    const QByteArray section = kSection.toUtf8() + "\n";
    QTest::addRow("key without the value") << section << "";
    QTest::addRow("quoted") << section + "company=\"Scoil Rince\"\n"
                            << "Scoil Rince";
    QTest::addRow("typed by hand") << section + "Company = Scoil Rince \n"
                                   << "Scoil Rince";
    QTest::addRow("escapes") << section + "company=\"a \\\"b\\\" c\\\\d\"\n"
                             << "a \"b\" c\\d";
    QTest::addRow("other key's value ignored") << "[OTHER]\ncompany=x\n" + section << "";
    QTest::addRow("key path in other case")
        << QByteArray("[software\\jigtally software\\jigtally 2008\\0.1.0.0]\r\ncompany=\"X\"\r\n")
        << "X";
    QTest::addRow("comment") << section + ";company=\"no\"\ncompany=\"yes\"\n"
                             << "yes";
}

void TestEventName::readsStoredValue() {
    QFETCH(QByteArray, file);
    writeFile(m_settings, file);
    const auto key = platform::SettingsKey::open(platform::kEventNameKey);
    QVERIFY(key);
    QTEST(key->readString(QStringLiteral("company")), "value");
}

void TestEventName::writeKeepsTheRest_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray section = kSection.toUtf8() + "\n";
    QTest::addRow("key without values") << section << section + "company=\"New \\\"one\\\"\"\n";
    QTest::addRow("replaces the value")
        << "; set up by hand\n" + section + "company=old\nother=1\n"
        << "; set up by hand\n" + section + "company=\"New \\\"one\\\"\"\nother=1\n";
    QTest::addRow("adds to the key, before the next")
        << section + "other=1\n\n[NEXT]\ncompany=keep\n"
        << section + "other=1\ncompany=\"New \\\"one\\\"\"\n\n[NEXT]\ncompany=keep\n";
}

void TestEventName::writeKeepsTheRest() {
    QFETCH(QByteArray, before);
    writeFile(m_settings, before);
    auto key = platform::SettingsKey::open(platform::kEventNameKey);
    QVERIFY(key);
    key->writeString(QStringLiteral("company"), QStringLiteral("New \"one\""));
    QTEST(readFile(m_settings), "after");
    QCOMPARE(
        platform::SettingsKey::open(platform::kEventNameKey)->readString(QStringLiteral("company")),
        QStringLiteral("New \"one\""));
}

void TestEventName::roundTrip() {
    writeFile(m_settings, kSection.toUtf8() + "\ncompany=\"Old Name\"\n");
    QString shown;
    useWindow([&](app::TEventNameForm& form) {
        shown = form.EventEdit->text();
        QCOMPARE(form.windowTitle(), QStringLiteral("Set Event Name"));
        form.EventEdit->clear();
        QTest::keyClicks(form.EventEdit, QStringLiteral("Feis Átha Cliath"));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    QCOMPARE(shown, QStringLiteral("Old Name"));
    QCOMPARE(m_shell->dialogs.messageTexts(),
             QStringList{QStringLiteral("Ok. New event name stored.")});
    QCOMPARE(m_shell->dialogs.messages().first().type, platform::MessageType::Information);
    QCOMPARE(m_shell->state.GlobalSchool, QStringLiteral("Feis Átha Cliath"));
    QVERIFY(!platform::terminationRequested());

    // The next showing reads the stored value again.
    useWindow([&](app::TEventNameForm& form) {
        shown = form.EventEdit->text();
        QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    QCOMPARE(shown, QStringLiteral("Feis Átha Cliath"));
}

void TestEventName::cancelStillReloads() {
    writeFile(m_settings, kSection.toUtf8() + "\ncompany=\"Stored\"\n");
    m_shell->state.GlobalSchool = QStringLiteral("Something older");
    useWindow([&](app::TEventNameForm& form) {
        QTest::keyClicks(form.EventEdit, QStringLiteral(" typed"));
        QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    QCOMPARE(m_shell->dialogs.messageTexts(), QStringList());
    QCOMPARE(m_shell->state.GlobalSchool, QStringLiteral("Stored"));
    QVERIFY(readFile(m_settings).contains("company=\"Stored\""));
    // Typed and cancelled text is gone the next time.
    QString shown;
    useWindow([&](app::TEventNameForm& form) {
        shown = form.EventEdit->text();
        form.close(); // the window's close control
    });
    QCOMPARE(shown, QStringLiteral("Stored"));
}

void TestEventName::emptyNameIsStored() {
    writeFile(m_settings, kSection.toUtf8() + "\ncompany=\"Stored\"\n");
    m_shell->state.GlobalSchool = QStringLiteral("Stored");
    useWindow([&](app::TEventNameForm& form) {
        form.EventEdit->clear();
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    QCOMPARE(m_shell->state.GlobalSchool, QString());
    QVERIFY(readFile(m_settings).contains("company=\"\""));
}

void TestEventName::thirtyCharacters() {
    writeFile(m_settings, kSection.toUtf8() + "\n");
    QString typed;
    useWindow([&](app::TEventNameForm& form) {
        QCOMPARE(form.EventEdit->text(), QString()); // value missing: empty box
        QTest::keyClicks(form.EventEdit, QString(35, QLatin1Char('x')));
        typed = form.EventEdit->text();
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    QCOMPARE(typed, QString(30, QLatin1Char('x')));
    QCOMPARE(m_shell->state.GlobalSchool, QString(30, QLatin1Char('x')));
}

// A file without the key's section is refused just like no file: the key is never
// created, and the file is left as it was.
void TestEventName::missingKeyWhenShown_data() {
    QTest::addColumn<std::optional<QByteArray>>("file");
    QTest::addRow("no settings file") << std::optional<QByteArray>();
    QTest::addRow("empty file") << std::optional<QByteArray>(QByteArray());
    QTest::addRow("only another key")
        << std::optional<QByteArray>("[SOFTWARE\\Jigtally Software\\Jigtally 2008\\0.2.0.0]\n"
                                     "company=\"Other\"\n");
}

void TestEventName::missingKeyWhenShown() {
    QFETCH(std::optional<QByteArray>, file);
    if (file)
        writeFile(m_settings, *file);
    m_shell->state.GlobalSchool = QStringLiteral("Kept");
    useWindow([](app::TEventNameForm&) {});
    QCOMPARE(m_shell->dialogs.messageTexts(),
             QStringList{QStringLiteral("Could not open registry key. Terminating")});
    QCOMPARE(m_shell->dialogs.messages().first().type, platform::MessageType::Warning);
    QCOMPARE(m_shell->dialogs.messages().first().buttons, platform::Buttons(platform::Cancel));
    QVERIFY(platform::terminationRequested());
    QCOMPARE(m_shell->state.GlobalSchool, QStringLiteral("Kept"));
    QCOMPARE(QFile::exists(m_settings), file.has_value()); // never created
    if (file)
        QCOMPARE(readFile(m_settings), *file);
    // Ending the program asks nothing more.
    QVERIFY(m_shell->main().close());
    QCOMPARE(m_shell->dialogs.messages().size(), 1);
}

// Every start gives the stored event name to what the reports read; a missing key at
// start-up says nothing (Set Event Name reports it when used).
void TestEventName::startUpLoadsTheStoredName_data() {
    QTest::addColumn<std::optional<QByteArray>>("file");
    QTest::addColumn<QString>("loaded");
    const QByteArray section = kSection.toUtf8() + "\n";
    QTest::addRow("stored name") << std::optional<QByteArray>(section + "company=\"Feis Corcaí\"\n")
                                 << "Feis Corcaí";
    QTest::addRow("key without the value") << std::optional<QByteArray>(section) << "";
    QTest::addRow("no settings file") << std::optional<QByteArray>() << "";
    QTest::addRow("file without the key") << std::optional<QByteArray>("company=\"Stray\"\n") << "";
}

void TestEventName::startUpLoadsTheStoredName() {
    QFETCH(std::optional<QByteArray>, file);
    if (file)
        writeFile(m_settings, *file);
    // The program started again on the same machine.
    m_shell->windows.reset();
    m_shell->dialogs.clear();
    ProgramState state;
    const app::ProgramWindows windows(state);
    QTEST(state.GlobalSchool, "loaded");
    QCOMPARE(m_shell->dialogs.messageTexts(), QStringList());
    QVERIFY(!platform::terminationRequested());
}

void TestEventName::missingKeyAtOk() {
    writeFile(m_settings, kSection.toUtf8() + "\n");
    useWindow([&](app::TEventNameForm& form) {
        QFile::remove(m_settings);
        QTest::keyClicks(form.EventEdit, QStringLiteral("New"));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    QCOMPARE(m_shell->dialogs.messageTexts(),
             QStringList{QStringLiteral("Could not open registry key. Terminating")});
    QVERIFY(platform::terminationRequested());
    QVERIFY(!QFile::exists(m_settings));
}

void TestEventName::missingKeyAfterClosing() {
    writeFile(m_settings, kSection.toUtf8() + "\ncompany=\"Stored\"\n");
    m_shell->state.GlobalSchool = QStringLiteral("Previous");
    useWindow([&](app::TEventNameForm& form) {
        QFile::remove(m_settings);
        QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    QCOMPARE(m_shell->dialogs.messageTexts(),
             QStringList{QStringLiteral("Could not refresh GlobalSchool!")});
    QCOMPARE(m_shell->dialogs.messages().first().buttons, platform::Buttons(platform::Cancel));
    QCOMPARE(m_shell->state.GlobalSchool, QStringLiteral("Previous"));
    QVERIFY(!platform::terminationRequested());
}

QTEST_MAIN(TestEventName)
#include "tst_eventname.moc"
