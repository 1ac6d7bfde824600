#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace jt::test {

// The other process of a cross-process test (another user of the data folder, a
// program that dies mid-way): usually the test program itself, started again with
// "--child" and a job that JT_TEST_MAIN_WITH_CHILD hands to the test's child function;
// or another program, such as the command-line companion.
//
// The two talk in lines: the child says a line when it is ready (tellParent), the test
// reads it, and the child then waits (waitForParent) until the test lets it go or
// kills it.
class ChildProcess final {
public:
    ChildProcess() = default;
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts this test program as a child with these job arguments, or another program,
    // and waits for its first line; returns that line, or "not started" or "no answer".
    QString startChild(const QStringList& job);
    QString start(const QString& program, const QStringList& args);
    // Lets the child go (a line "go", then the end of its input) and waits for it to
    // end; one that does not end is killed.
    void stop();
    // Kills the child at once, as a crash or a power cut would, and waits until it is gone.
    void kill();
    int exitCode() const { return m_process.exitCode(); }

private:
    QProcess m_process;
};

// A program run to its end (or killed after timeoutMs).
struct ProgramRun {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};
ProgramRun runProgram(const QString& program, const QStringList& args, int timeoutMs = 60000);

// The child's side: says a line to the test, and waits for the test to let it go.
void tellParent(const QString& line);
void waitForParent();

} // namespace jt::test

// main() for a test program that may be started as the other process: with "--child"
// first, childJob(arguments after it) runs instead of the tests and gives the exit code.
#define JT_TEST_MAIN_WITH_CHILD(TestClass, childJob)                                               \
    int main(int argc, char** argv) {                                                              \
        QCoreApplication app(argc, argv);                                                          \
        if (argc > 1 && qstrcmp(argv[1], "--child") == 0)                                          \
            return childJob(app.arguments().mid(2));                                               \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
