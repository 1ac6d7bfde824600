#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QVariant>

namespace jt::test {

// Spreadsheet files made by other programs' libraries (tests/exchange/sheet_peer.py:
// openpyxl for .xlsx, xlwt for .xls, the layout LibreOffice writes for .ods).
struct PeerSheet {
    QString name;
    QList<QVariantList> rows; // invalid QVariant: an empty cell
};

class SheetPeer final {
public:
    static QString python() { return QStringLiteral("/usr/bin/python3"); }
    static QString script() { return QStringLiteral(JIGTALLY_SHEET_PEER); }

    // Empty when the peer can run, else why not (for QSKIP).
    static QString unavailable() {
        QProcess p;
        p.start(python(), {script(), QStringLiteral("check")});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return QStringLiteral("python3-openpyxl and python3-xlwt are needed");
        return {};
    }

    // Writes the file; the text of what went wrong, or empty.
    static QString write(const QString& kind, const QString& path, const QList<PeerSheet>& sheets) {
        QJsonArray all;
        for (const PeerSheet& s : sheets) {
            QJsonArray rows;
            for (const QVariantList& r : s.rows) {
                QJsonArray cells;
                for (const QVariant& v : r)
                    cells.append(v.isValid() ? QJsonValue::fromVariant(v) : QJsonValue());
                rows.append(cells);
            }
            all.append(
                QJsonObject{{QStringLiteral("name"), s.name}, {QStringLiteral("rows"), rows}});
        }
        QProcess p;
        p.start(python(), {script(), kind, path});
        p.write(QJsonDocument(all).toJson(QJsonDocument::Compact));
        p.closeWriteChannel();
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return QStringLiteral("sheet_peer.py %1 failed: %2")
                .arg(kind, QString::fromLocal8Bit(p.readAllStandardError()));
        return {};
    }
    static QString write(const QString& kind, const QString& path,
                         const QList<QVariantList>& rows) {
        return write(kind, path, {PeerSheet{QStringLiteral("Dancers"), rows}});
    }
};

} // namespace jt::test
