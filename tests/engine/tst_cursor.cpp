// The table cursor: end tests, bookmarks, editing, notifications, calculated fields
// and bound-control suspension.
#include "EngineFixture.h"

#include <QSignalSpy>
#include <QtTest>

using namespace jt::engine;
using namespace jt::test;

namespace {

const FieldDefs kFields = {{QStringLiteral("SEQ"), FieldType::Numeric, 5, 0},
                           {QStringLiteral("NAME"), FieldType::Character, 20, 0},
                           {QStringLiteral("OK"), FieldType::Logical, 1, 0}};

// A table of n records with SEQ 1..n and NAME "d1".."dn".
std::unique_ptr<Table> numbered(const EngineFolder& folder, int n, bool exclusive = false) {
    {
        auto t = folder.create(QStringLiteral("cur.dbf"), kFields);
        for (int i = 1; i <= n; ++i) {
            t->append();
            t->fieldByName(QStringLiteral("SEQ"))->setAsInteger(i);
            t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("d%1").arg(i));
            t->post();
        }
    }
    auto t = folder.handle(QStringLiteral("cur.dbf"));
    t->setExclusive(exclusive);
    t->open();
    return t;
}

int seq(Table& t) {
    return t.fieldByName(QStringLiteral("SEQ"))->asInteger();
}

QStringList seqs(Table& t) {
    return column(t, QStringLiteral("SEQ"));
}

} // namespace

class CursorTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void endTests_data();
    void endTests();
    void walkForwardAndBack();
    void bookmarks();
    void editPostCancel();
    void movingOffAnEditedRecord_data();
    void movingOffAnEditedRecord();
    void blankRowDroppedWhenLeft_data();
    void blankRowDroppedWhenLeft();
    void cancelInsertReturnsToRecord();
    void editOnEmptyTableStartsRecord();
    void closeDropsPendingEdit();
    void deleteHidesRecord();
    void afterPostOncePerPost();
    void failedPostLeavesRecordPending_data();
    void failedPostLeavesRecordPending();
    void calculatedFields();
    void disabledControls();
    void refreshSeesOtherHandle();
    void nameAndSoleUseOnlyWhileClosed();
    void bareNameFoundIgnoringCase();
};

void CursorTest::endTests_data() {
    QTest::addColumn<int>("records");
    QTest::addRow("empty") << 0;
    QTest::addRow("one") << 1;
    QTest::addRow("three") << 3;
}

void CursorTest::endTests() {
    QFETCH(int, records);
    EngineFolder folder;
    auto t = numbered(folder, records);
    QCOMPARE(t->eof(), records == 0);
    QCOMPARE(t->bof(), true);
    QCOMPARE(t->isEmpty(), records == 0);
    QCOMPARE(t->currentRow(), records == 0 ? -1 : 0);
    t->first();
    QCOMPARE(t->eof(), records == 0);
    QVERIFY(t->bof());
    t->last();
    QVERIFY(t->eof()); // last() sets the end flag: a loop "until eof" after it ends at once
    QCOMPARE(t->currentRow(), records - 1);
    t->prior();
    QCOMPARE(t->bof(), records <= 1);
    QCOMPARE(t->eof(), records == 0);
    t->first();
    for (int i = 0; i < records; ++i) {
        QVERIFY(!t->eof());
        t->next();
    }
    QVERIFY(t->eof());
    QCOMPARE(t->currentRow(), records - 1);
}

void CursorTest::walkForwardAndBack() {
    EngineFolder folder;
    auto t = numbered(folder, 4);
    QStringList forward, back;
    for (t->first(); !t->eof(); t->next())
        forward << QString::number(seq(*t));
    for (t->last(); !t->bof(); t->prior())
        back << QString::number(seq(*t));
    QCOMPARE(forward, QStringList({"1", "2", "3", "4"}));
    QCOMPARE(back, QStringList({"4", "3", "2", "1"}));
    t->moveToRow(2);
    QCOMPARE(seq(*t), 3);
    t->moveToRow(99);
    QCOMPARE(seq(*t), 4);
}

void CursorTest::bookmarks() {
    EngineFolder folder;
    auto t = numbered(folder, 5);
    t->moveToRow(3);
    const Table::Bookmark mark = t->bookmark();
    QVERIFY(t->bookmarkValid(mark));
    t->first();
    t->gotoBookmark(mark);
    QCOMPARE(seq(*t), 4);
    QVERIFY(!t->eof());
    t->deleteRecord();
    QVERIFY(!t->bookmarkValid(mark));
    try {
        t->gotoBookmark(mark);
        QFAIL("a deleted record was found");
    } catch (const EngineError& e) {
        QCOMPARE(e.kind(), EngineError::Kind::NotFound);
        QVERIFY(e.message().contains(QLatin1String("cur.dbf")));
    }
    QVERIFY(!t->bookmarkValid(Table::kNoBookmark));
    t->append();
    QCOMPARE(t->bookmark(), Table::kNoBookmark); // the blank row has no record yet
}

void CursorTest::editPostCancel() {
    EngineFolder folder;
    auto t = numbered(folder, 3);
    t->moveToRow(1);
    t->edit();
    QCOMPARE(t->state(), Table::State::Edit);
    t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("changed"));
    QVERIFY(t->modified());
    t->cancel();
    QCOMPARE(t->state(), Table::State::Browse);
    QCOMPARE(t->fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("d2"));
    t->edit();
    t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("kept"));
    t->post();
    QCOMPARE(t->currentRow(), 1);
    t->close();
    t->open();
    t->moveToRow(1);
    QCOMPARE(t->fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("kept"));
    // Writing outside edit mode is refused.
    QVERIFY_THROWS_EXCEPTION(
        EngineError, t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("x")));
    // Insert puts the blank row before the current one; once posted the record is
    // the new last one in record order.
    t->moveToRow(1);
    t->insert();
    QCOMPARE(t->currentRow(), 1);
    QCOMPARE(t->rowCount(), 4);
    t->fieldByName(QStringLiteral("SEQ"))->setAsInteger(9);
    t->post();
    QCOMPARE(seqs(*t), QStringList({"1", "2", "3", "9"}));
    QCOMPARE(seq(*t), 9);
}

void CursorTest::movingOffAnEditedRecord_data() {
    QTest::addColumn<QString>("move");
    QTest::addColumn<bool>("change");
    QTest::addColumn<QStringList>("stored");
    for (const char* move : {"next", "prior", "first", "last", "moveToRow", "refresh",
                             "setIndexName", "setFiltered"}) {
        QTest::addRow("%s after a change", move) << move << true << QStringList({"1", "20", "3"});
        QTest::addRow("%s without change", move) << move << false << QStringList({"1", "2", "3"});
    }
}

// Moving off, reordering, filtering or refreshing posts a changed record and drops an
// unchanged one.
void CursorTest::movingOffAnEditedRecord() {
    QFETCH(QString, move);
    QFETCH(bool, change);
    QFETCH(QStringList, stored);
    EngineFolder folder;
    auto t = numbered(folder, 3);
    QSignalSpy posts(t.get(), &Table::afterPost);
    t->moveToRow(1);
    t->edit();
    if (change)
        t->fieldByName(QStringLiteral("SEQ"))->setAsInteger(20);
    if (move == QLatin1String("next"))
        t->next();
    else if (move == QLatin1String("prior"))
        t->prior();
    else if (move == QLatin1String("first"))
        t->first();
    else if (move == QLatin1String("last"))
        t->last();
    else if (move == QLatin1String("moveToRow"))
        t->moveToRow(0);
    else if (move == QLatin1String("refresh"))
        t->refresh();
    else if (move == QLatin1String("setIndexName"))
        t->setIndexName(QString());
    else
        t->setFiltered(!t->filtered());
    QCOMPARE(t->state(), Table::State::Browse);
    QCOMPARE(posts.count(), change ? 1 : 0);
    auto other = folder.handle(QStringLiteral("cur.dbf"));
    other->open();
    QCOMPARE(seqs(*other), stored);
}

void CursorTest::blankRowDroppedWhenLeft_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("landsOn");
    QTest::addColumn<bool>("eof");
    QTest::addColumn<bool>("bof");
    QTest::addRow("down from a new last row") << true << 2 << "next" << 3 << true << false;
    QTest::addRow("up from a new last row") << true << 2 << "prior" << 3 << false << false;
    QTest::addRow("up from a new last row, opened at the top")
        << true << 0 << "prior" << 3 << false << false;
    QTest::addRow("down from an inserted row") << false << 1 << "next" << 2 << false << false;
    QTest::addRow("up from an inserted row") << false << 1 << "prior" << 1 << false << false;
    QTest::addRow("up from a row inserted at the top")
        << false << 0 << "prior" << 1 << false << true;
    QTest::addRow("first from a new row") << true << 2 << "first" << 1 << false << true;
}

void CursorTest::blankRowDroppedWhenLeft() {
    QFETCH(bool, append);
    QFETCH(int, from);
    QFETCH(QString, move);
    QFETCH(int, landsOn);
    QFETCH(bool, eof);
    QFETCH(bool, bof);
    EngineFolder folder;
    auto t = numbered(folder, 3);
    QSignalSpy posts(t.get(), &Table::afterPost);
    t->moveToRow(from);
    append ? t->append() : t->insert();
    QCOMPARE(t->rowCount(), 4);
    if (move == QLatin1String("next"))
        t->next();
    else if (move == QLatin1String("prior"))
        t->prior();
    else
        t->first();
    QCOMPARE(t->state(), Table::State::Browse);
    QCOMPARE(t->rowCount(), 3);
    QCOMPARE(posts.count(), 0);
    QCOMPARE(seq(*t), landsOn);
    QCOMPARE(t->eof(), eof);
    QCOMPARE(t->bof(), bof);
    QCOMPARE(fileBytes(t->resolvedPath()).size(), 32 * 4 + 1 + 3 * 27 + 1);
}

void CursorTest::cancelInsertReturnsToRecord() {
    EngineFolder folder;
    auto t = numbered(folder, 4);
    t->moveToRow(1);
    t->append();
    t->fieldByName(QStringLiteral("SEQ"))->setAsInteger(7);
    t->cancel();
    QCOMPARE(seq(*t), 2);
    QCOMPARE(t->rowCount(), 4);
    t->insert();
    t->cancel();
    QCOMPARE(seq(*t), 2);
}

void CursorTest::editOnEmptyTableStartsRecord() {
    EngineFolder folder;
    auto t = numbered(folder, 0);
    t->edit();
    QCOMPARE(t->state(), Table::State::Insert);
    t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("first"));
    t->post();
    QCOMPARE(t->rowCount(), 1);
    QVERIFY(!t->eof());
}

void CursorTest::closeDropsPendingEdit() {
    EngineFolder folder;
    auto t = numbered(folder, 2);
    QSignalSpy posts(t.get(), &Table::afterPost);
    t->edit();
    t->fieldByName(QStringLiteral("SEQ"))->setAsInteger(50);
    t->close();
    QCOMPARE(posts.count(), 0);
    QVERIFY_THROWS_EXCEPTION(EngineError, t->append()); // closed: refused
    t->open();
    QCOMPARE(seqs(*t), QStringList({"1", "2"}));
}

void CursorTest::deleteHidesRecord() {
    EngineFolder folder;
    auto t = numbered(folder, 3);
    QSignalSpy deletes(t.get(), &Table::afterDelete);
    t->moveToRow(2);
    t->deleteRecord();
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(t->rowCount(), 2);
    QCOMPARE(seq(*t), 2); // the last one went, so the cursor is on the new last
    t->first();
    t->deleteRecord();
    QCOMPARE(seq(*t), 2);
    t->close();
    const QByteArray bytes = fileBytes(t->resolvedPath());
    QCOMPARE(bytes.at(32 * 4 + 1), '*'); // still there, flagged deleted
    t->open();
    QCOMPARE(seqs(*t), QStringList({"2"}));
    t->deleteRecord();
    QVERIFY(t->eof());
    QVERIFY_THROWS_EXCEPTION(EngineError, t->deleteRecord());
}

void CursorTest::afterPostOncePerPost() {
    EngineFolder folder;
    auto t = numbered(folder, 2);
    QSignalSpy posts(t.get(), &Table::afterPost);
    t->edit();
    t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("a"));
    t->post();
    QCOMPARE(posts.count(), 1);
    t->post(); // nothing being edited: no post, no notification
    QCOMPARE(posts.count(), 1);
    t->append();
    t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("b"));
    t->post();
    QCOMPARE(posts.count(), 2);
    t->edit();
    t->post(); // an unchanged record posted is still a post
    QCOMPARE(posts.count(), 3);
    t->edit();
    t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("c"));
    t->cancel();
    QCOMPARE(posts.count(), 3);
}

void CursorTest::failedPostLeavesRecordPending_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<bool>("journal");
    QTest::addColumn<int>("kind");
    for (const bool append : {false, true}) {
        const char* what = append ? "append" : "edit";
        QTest::addRow("%s: journal write fails", what)
            << append << true << int(IoEvent::Kind::Write);
        QTest::addRow("%s: journal sync fails", what) << append << true << int(IoEvent::Kind::Sync);
        QTest::addRow("%s: table write fails", what)
            << append << false << int(IoEvent::Kind::Write);
        QTest::addRow("%s: table sync fails", what) << append << false << int(IoEvent::Kind::Sync);
    }
}

// A post that cannot reach the disk throws, and the record stays in edit mode with
// its changes; the table is as it was, so nothing is lost and nothing half-written.
void CursorTest::failedPostLeavesRecordPending() {
    QFETCH(bool, append);
    QFETCH(bool, journal);
    QFETCH(int, kind);
    EngineFolder folder;
    auto t = numbered(folder, 2);
    const QString path = t->resolvedPath();
    const QByteArray before = fileBytes(path);
    QSignalSpy posts(t.get(), &Table::afterPost);
    append ? t->append() : t->edit();
    t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("pending"));
    const QString target = journal ? DbfFile::journalPath(path) : path;
    bool failed = false;
    DbfFile::setIoObserver([&](const IoEvent& e) {
        if (failed || int(e.kind) != kind || e.path != target)
            return 0;
        failed = true; // once: the disk recovers, as after a full disk was cleared
        return EIO;
    });
    QVERIFY_THROWS_EXCEPTION(EngineError, t->post());
    DbfFile::setIoObserver({});
    QVERIFY(failed);
    QCOMPARE(t->state(), append ? Table::State::Insert : Table::State::Edit);
    QCOMPARE(t->fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("pending"));
    QCOMPARE(posts.count(), 0);
    QCOMPARE(fileBytes(path).left(before.size()).mid(4),
             before.mid(4)); // records and count as they were
    {
        auto other = folder.handle(QStringLiteral("cur.dbf"));
        other->open();
        QCOMPARE(column(*other, QStringLiteral("NAME")), QStringList({"d1", "d2"}));
    }
    t->post();
    QCOMPARE(posts.count(), 1);
    auto other = folder.handle(QStringLiteral("cur.dbf"));
    other->open();
    QCOMPARE(column(*other, QStringLiteral("NAME")),
             append ? QStringList({"d1", "d2", "pending"}) : QStringList({"pending", "d2"}));
}

void CursorTest::calculatedFields() {
    EngineFolder folder;
    numbered(folder, 3);
    auto t = folder.handle(QStringLiteral("cur.dbf"));
    Field* label = t->addCalculatedField(QStringLiteral("Label"), FieldType::Character, 3);
    int runs = 0;
    t->setCalcFieldsHandler([&](Table& table) {
        ++runs;
        label->setAsString(table.fieldByName(QStringLiteral("OK"))->asBoolean()
                               ? QStringLiteral("Yes")
                               : QString());
    });
    t->open();
    QCOMPARE(label->asString(), QString());
    QVERIFY(runs > 0);
    t->edit();
    t->fieldByName(QStringLiteral("OK"))->setAsBoolean(true);
    const int afterChange = runs;
    QCOMPARE(label->asString(), QString()); // not recalculated while a field changes
    QCOMPARE(runs, afterChange);
    t->post();
    QCOMPARE(label->asString(), QStringLiteral("Yes")); // read again after the post
    t->next();
    QCOMPARE(label->asString(), QString());
    // Editing begins with the calculation run on the record being edited.
    t->first();
    runs = 0;
    t->edit();
    QCOMPARE(label->asString(), QStringLiteral("Yes"));
    // Run once for the edit, when the calculated field is first read.
    QCOMPARE(runs, 1);
    t->cancel();
    // Other rows are calculated for grids without moving the cursor.
    QCOMPARE(t->valueAt(0, label->fieldNo()).toString(), QStringLiteral("Yes"));
    QCOMPARE(t->valueAt(1, label->fieldNo()).toString(), QString());
    QCOMPARE(t->currentRow(), 0);
    QCOMPARE(t->fieldCount(), 4);
    QVERIFY_THROWS_EXCEPTION(EngineError, label->setAsString(QStringLiteral("No")));
}

void CursorTest::disabledControls() {
    EngineFolder folder;
    auto t = numbered(folder, 3);
    QSignalSpy data(t.get(), &Table::dataChanged);
    QSignalSpy current(t.get(), &Table::currentChanged);
    QSignalSpy fields(t.get(), &Table::fieldChanged);
    QSignalSpy posts(t.get(), &Table::afterPost);
    t->disableControls();
    t->disableControls();
    for (t->first(); !t->eof(); t->next()) {
        t->edit();
        t->fieldByName(QStringLiteral("OK"))->setAsBoolean(true);
        t->post();
    }
    t->enableControls();
    QVERIFY(t->controlsDisabled());
    QCOMPARE(data.count() + current.count() + fields.count(), 0);
    QCOMPARE(posts.count(), 3); // the data module still hears of every post
    t->enableControls();
    QVERIFY(!t->controlsDisabled());
    QCOMPARE(data.count(), 1);
    QCOMPARE(current.count(), 1);
    t->enableControls(); // one too many does no harm
    QVERIFY(!t->controlsDisabled());
    t->edit();
    t->fieldByName(QStringLiteral("OK"))->setAsBoolean(false);
    QCOMPARE(fields.count(), 1);
}

void CursorTest::refreshSeesOtherHandle() {
    EngineFolder folder;
    auto t = numbered(folder, 2);
    auto other = folder.handle(QStringLiteral("cur.dbf"));
    other->open();
    other->last();
    other->edit();
    other->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("other"));
    other->post();
    t->last();
    QCOMPARE(t->fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("d2"));
    t->refresh();
    QCOMPARE(t->currentRow(), 1);
    QCOMPARE(t->fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("other"));
}

void CursorTest::nameAndSoleUseOnlyWhileClosed() {
    EngineFolder folder;
    auto t = numbered(folder, 1);
    QVERIFY_THROWS_EXCEPTION(EngineError, t->setTableName(QStringLiteral("x.dbf")));
    QVERIFY_THROWS_EXCEPTION(EngineError, t->setExclusive(true));
    t->open(); // open twice does nothing
    t->close();
    t->close(); // close twice does nothing
    t->setExclusive(true);
    t->open();
    QVERIFY(t->active());
}

void CursorTest::bareNameFoundIgnoringCase() {
    EngineFolder folder;
    numbered(folder, 2);
    auto t = folder.handle(QStringLiteral("CUR.DBF"));
    t->open();
    QCOMPARE(t->rowCount(), 2);
    QCOMPARE(t->resolvedPath(), folder.filePath(QStringLiteral("cur.dbf")));
    auto byPath = std::make_unique<Table>();
    byPath->setDatabaseName(EngineFolder::alias());
    byPath->setTableName(folder.filePath(QStringLiteral("cur.dbf")));
    byPath->open();
    QCOMPARE(byPath->rowCount(), 2);
    auto missing = folder.handle(QStringLiteral("nothere.dbf"));
    try {
        missing->open();
        QFAIL("a missing table opened");
    } catch (const EngineError& e) {
        QCOMPARE(e.kind(), EngineError::Kind::NotFound);
        QVERIFY(e.message().contains(QLatin1String("nothere.dbf")));
    }
}

QTEST_GUILESS_MAIN(CursorTest)
#include "tst_cursor.moc"
