#include "ChecklistFindings.h"

#include "ReportDialogs.h"
#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "data/ResultsCheck.h"
#include "engine/DbfCodec.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "render/NumberText.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <map>

namespace jt::reports {
namespace {

using Findings = std::vector<ChecklistFinding>;

// One dancer as the checks see it.
struct Dancer {
    int row = 0;
    std::int64_t record = 0; // bookmark: the record's number in the file, from 0
    bool hasNumber = false;
    double number = 0;
    QString label; // the dancer number, or the name when there is none
    QString name;
    bool sequenced = false;
    bool recalled = false;
    double recallTotal = 0;
    QVariant recallTotalValue;
};

// "dancer 104" or "dancers 104, 117".
QString dancersText(const QStringList& labels) {
    return (labels.size() == 1 ? QStringLiteral("dancer ") : QStringLiteral("dancers ")) +
           labels.join(QStringLiteral(", "));
}

QString roundName(const QString& round) {
    return round == QLatin1String("SET") ? QStringLiteral("set dance")
                                         : QStringLiteral("round ") + round;
}

QString numberText(double value) {
    return engine::shortestNumberText(value);
}

class Checker {
public:
    Checker(engine::Table& results, const QString& numAdjs, const QString& numRounds,
            Checklist checklist)
        : m_results(results), m_numAdjs(numAdjs), m_numRounds(numRounds),
          m_final(checklist == Checklist::Final) {
        const bool threeAdjudicators = numAdjs.trimmed() == QLatin1String("3");
        const bool twoRounds = numRounds.trimmed() == QLatin1String("3");
        for (const char letter : data::kAdjudicatorLetters)
            if (!threeAdjudicators || letter <= 'C')
                m_letters << QString(QLatin1Char(letter));
        m_rounds << QStringLiteral("1") << QStringLiteral("2");
        if (!twoRounds)
            m_rounds << QStringLiteral("3");
    }

    Findings run() {
        const data::OpenForLook look(m_results);
        readDancers();
        checkNumbers();
        checkSequence();
        checkRoundMarks();
        if (m_final)
            checkSetMarks();
        checkStrayMarks();
        if (!m_final)
            checkRecallTies();
        return std::move(m_found);
    }

private:
    QVariant value(const Dancer& d, const QString& field) const {
        return m_results.valueAt(d.row, m_results.fieldByName(field)->fieldNo());
    }

    void add(FindingKind kind, const QString& text, const QStringList& dancers) {
        m_found.push_back({kind, text, dancers});
    }

    void readDancers() {
        for (int row = 0; row < m_results.rowCount(); ++row) {
            Dancer d;
            d.row = row;
            d.record = m_results.bookmarkAt(row);
            const QVariant number = value(d, QStringLiteral("COMP_NO"));
            d.hasNumber = number.isValid() && !number.isNull();
            d.number = number.toDouble();
            d.name = value(d, QStringLiteral("NAME")).toString().trimmed();
            d.label = d.hasNumber        ? numberText(d.number)
                      : d.name.isEmpty() ? QStringLiteral("record %1").arg(d.record + 1)
                                         : d.name;
            d.sequenced = value(d, QStringLiteral("SEQUENCE")).toDouble() > 0;
            d.recalled = value(d, QStringLiteral("RECALLED")).toBool();
            d.recallTotalValue = value(d, QStringLiteral("RECALLTTL"));
            d.recallTotal = d.recallTotalValue.toDouble();
            m_dancers.push_back(d);
        }
        // Every list names the dancers by ascending number, those without one last.
        std::stable_sort(m_dancers.begin(), m_dancers.end(), [](const Dancer& a, const Dancer& b) {
            if (a.hasNumber != b.hasNumber)
                return a.hasNumber;
            return a.hasNumber && a.number < b.number;
        });
    }

    void checkNumbers() {
        std::map<double, QStringList> names;
        QStringList unnumbered;
        for (const Dancer& d : m_dancers) {
            if (d.hasNumber)
                names[d.number] << (d.name.isEmpty() ? QStringLiteral("no name") : d.name);
            else
                unnumbered << d.label;
        }
        for (const auto& [number, given] : names) {
            if (given.size() < 2)
                continue;
            const QString times = given.size() == 2 ? QStringLiteral("twice")
                                                    : QStringLiteral("%1 times").arg(given.size());
            add(FindingKind::NumberTwice,
                QStringLiteral("Dancer number %1 is given %2 (%3)")
                    .arg(numberText(number), times, given.join(QStringLiteral(", "))),
                {numberText(number)});
        }
        if (!unnumbered.isEmpty())
            add(FindingKind::NoNumber,
                QStringLiteral("No dancer number for %1")
                    .arg(unnumbered.join(QStringLiteral(", "))),
                unnumbered);
    }

    void checkSequence() {
        QStringList missing;
        for (const Dancer& d : m_dancers)
            if (!d.sequenced)
                missing << d.label;
        if (!missing.isEmpty())
            add(FindingKind::NoSequence,
                QStringLiteral("No sequence number for %1").arg(dancersText(missing)), missing);
    }

    static bool blank(const QVariant& v) { return !v.isValid() || v.isNull(); }

    void checkOutOfRange(const QString& field, const std::vector<const Dancer*>& dancers) {
        QStringList who;
        QStringList detail;
        for (const Dancer* d : dancers) {
            const QVariant v = value(*d, field);
            if (blank(v))
                continue;
            const double mark = v.toDouble();
            if (mark < 0 || mark > 100) {
                who << d->label;
                detail << QStringLiteral("%1 for dancer %2").arg(numberText(mark), d->label);
            }
        }
        if (!who.isEmpty())
            add(FindingKind::MarkOutOfRange,
                QStringLiteral("%1 holds marks outside 0 to 100: %2")
                    .arg(field, detail.join(QStringLiteral(", "))),
                who);
    }

    // Blank round marks, by field; dancers without any round mark are named once instead.
    void checkRoundMarks() {
        std::vector<const Dancer*> marked;
        QStringList unmarked;
        for (const Dancer& d : m_dancers) {
            bool any = false;
            for (const QString& letter : m_letters)
                for (const QString& round : m_rounds)
                    any = any || !blank(value(d, letter + round));
            if (any)
                marked.push_back(&d);
            else
                unmarked << d.label;
        }
        if (!unmarked.isEmpty())
            add(FindingKind::NoMarksAtAll,
                QStringLiteral("No round marks at all for %1: remove any who did not dance")
                    .arg(dancersText(unmarked)),
                unmarked);
        for (const QString& letter : m_letters) {
            for (const QString& round : m_rounds) {
                const QString field = letter + round;
                QStringList missing;
                for (const Dancer* d : marked)
                    if (blank(value(*d, field)))
                        missing << d->label;
                if (!missing.isEmpty())
                    add(FindingKind::MissingMarks,
                        QStringLiteral("No mark in %1 (adjudicator %2, %3) for %4")
                            .arg(field, letter, roundName(round), dancersText(missing)),
                        missing);
            }
        }
        std::vector<const Dancer*> all;
        for (const Dancer& d : m_dancers)
            all.push_back(&d);
        for (const QString& letter : m_letters)
            for (const QString& round : m_rounds)
                checkOutOfRange(letter + round, all);
    }

    // The scoring ranks every dancer with a set-dance mark above 0, recalled or not.
    void checkSetMarks() {
        bool anySetMark = false;
        QStringList notRecalled;
        std::vector<const Dancer*> recalled;
        std::vector<const Dancer*> all;
        for (const Dancer& d : m_dancers) {
            all.push_back(&d);
            if (d.recalled)
                recalled.push_back(&d);
            bool marked = false;
            for (const QString& letter : m_letters)
                marked = marked || value(d, letter + QStringLiteral("SET")).toDouble() > 0;
            anySetMark = anySetMark || marked;
            if (marked && !d.recalled)
                notRecalled << d.label;
        }
        if (!anySetMark) {
            add(FindingKind::NoSetMarks,
                recalled.empty()
                    ? QStringLiteral("No set-dance marks at all, and no dancer is recalled")
                    : QStringLiteral("No set-dance marks at all"),
                {});
        } else {
            for (const QString& letter : m_letters) {
                const QString field = letter + QStringLiteral("SET");
                QStringList missing;
                for (const Dancer* d : recalled)
                    if (!(value(*d, field).toDouble() > 0))
                        missing << d->label;
                if (!missing.isEmpty())
                    add(FindingKind::MissingMarks,
                        QStringLiteral("No mark in %1 (adjudicator %2, set dance) for recalled %3")
                            .arg(field, letter, dancersText(missing)),
                        missing);
            }
        }
        if (!notRecalled.isEmpty())
            add(FindingKind::SetMarksNotRecalled,
                QStringLiteral("Set-dance marks for %1, who %2 not recalled; the scoring "
                               "ranks them all the same")
                    .arg(dancersText(notRecalled),
                         notRecalled.size() == 1 ? QStringLiteral("is") : QStringLiteral("are")),
                notRecalled);
        for (const QString& letter : m_letters)
            checkOutOfRange(letter + QStringLiteral("SET"), all);
    }

    void checkStrayMarks() {
        QHash<std::int64_t, const Dancer*> byRecord;
        for (const Dancer& d : m_dancers)
            byRecord.insert(d.record, &d);
        // Field to the dancers holding a mark in it, and what the competition lacks.
        QMap<QString, QStringList> dancers;
        QMap<QString, QString> lacking;
        for (const data::StrayMark& m : data::strayMarks(m_results, m_numAdjs, m_numRounds)) {
            const Dancer* d = byRecord.value(std::int64_t(m.record) - 1);
            dancers[m.field] << (d ? d->label : QStringLiteral("record %1").arg(m.record));
            lacking[m.field] = m.noSuchAdjudicator ? QStringLiteral("adjudicator ") + m.field.at(0)
                                                   : QStringLiteral("round 3");
        }
        // In the order of the adjudicator blocks, as the other findings.
        for (const char letter : data::kAdjudicatorLetters) {
            for (const QString& round : {QStringLiteral("1"), QStringLiteral("2"),
                                         QStringLiteral("3"), QStringLiteral("SET")}) {
                const QString field = QLatin1Char(letter) + round;
                if (!dancers.contains(field))
                    continue;
                QStringList who = dancers.value(field);
                sortLikeDancers(who);
                add(FindingKind::StrayMarks,
                    QStringLiteral("%1 holds marks for %2, but the competition has no %3; the "
                                   "scoring counts them")
                        .arg(field, dancersText(who), lacking.value(field)),
                    who);
            }
        }
    }

    void sortLikeDancers(QStringList& labels) const {
        QStringList sorted;
        for (const Dancer& d : m_dancers)
            if (labels.contains(d.label) && !sorted.contains(d.label))
                sorted << d.label;
        for (const QString& l : labels)
            if (!sorted.contains(l))
                sorted << l;
        labels = sorted;
    }

    // Groups of equal recall totals, placed as the recall report places them; a cut that
    // falls inside a group recalls some of its dancers and not the others.
    void checkRecallTies() {
        std::vector<const Dancer*> ranked;
        for (const Dancer& d : m_dancers)
            ranked.push_back(&d);
        std::stable_sort(ranked.begin(), ranked.end(), [](const Dancer* a, const Dancer* b) {
            return a->recallTotal > b->recallTotal;
        });
        const auto key = [](const Dancer* d) {
            return render::printText(d->recallTotalValue, true, QStringLiteral("0.00"), {});
        };
        std::size_t first = 0;
        while (first < ranked.size()) {
            std::size_t end = first + 1;
            while (end < ranked.size() && key(ranked[end]) == key(ranked[first]))
                ++end;
            if (end - first > 1) {
                const auto from = int(first) + 1;
                const auto to = int(end);
                QStringList who;
                for (std::size_t i = first; i < end; ++i)
                    who << ranked[i]->label;
                sortLikeDancers(who);
                QString cuts;
                if (to - from == 1)
                    cuts = QString::number(from);
                else if (to - from == 2)
                    cuts = QStringLiteral("%1 or %2").arg(from).arg(from + 1);
                else
                    cuts = QStringLiteral("%1 to %2").arg(from).arg(to - 1);
                add(FindingKind::RecallTie,
                    QStringLiteral("Positions %1-%2 tied on %3 (%4): recalling %5 splits them")
                        .arg(from)
                        .arg(to)
                        .arg(render::printText(ranked[first]->recallTotalValue, true, {},
                                               QStringLiteral("0.##")),
                             dancersText(who), cuts),
                    who);
            }
            first = end;
        }
    }

    engine::Table& m_results;
    QString m_numAdjs;
    QString m_numRounds;
    bool m_final;
    QStringList m_letters;
    QStringList m_rounds;
    std::vector<Dancer> m_dancers;
    Findings m_found;
};

} // namespace

std::vector<ChecklistFinding> checklistFindings(engine::Table& results, const QString& numAdjs,
                                                const QString& numRounds, Checklist checklist) {
    return Checker(results, numAdjs, numRounds, checklist).run();
}

std::vector<ChecklistFinding> checklistFindings(const ProgramState& state, Checklist checklist) {
    try {
        data::TDataModule1& dm = state.module();
        // The table as stored, whatever order or filter the module's handle was left in.
        engine::Table results;
        results.setDatabaseName(dm.results->databaseName());
        results.setTableName(dm.results->tableName());
        const QString numAdjs = dm.compinfo->active() ? dm.compinfoNUMADJS->asString() : QString();
        const QString numRounds =
            dm.compinfo->active() ? dm.compinfoNUMROUNDS->asString() : QString();
        return checklistFindings(results, numAdjs, numRounds, checklist);
    } catch (const engine::EngineError& e) {
        return {{FindingKind::NotChecked,
                 QStringLiteral("The results could not be checked: %1").arg(e.message()),
                 {}}};
    }
}

} // namespace jt::reports
