#pragma once

#include "engine/Table.h"
#include "render/Definition.h"

#include <QTemporaryDir>

#include <memory>

namespace jt::test {

// A temporary table of dancers: COMP_NO, NAME, SCORE (two decimals) and TIE, with
// COMP_NO 101, 102, ... and SCORE falling from 500 in steps of 2.5. Left open.
class DancerTable final {
public:
    explicit DancerTable(int dancers) {
        table.setTableName(m_dir.filePath(QStringLiteral("dancers.dbf")));
        table.createTable({{QStringLiteral("COMP_NO"), engine::FieldType::Numeric, 6, 0},
                           {QStringLiteral("NAME"), engine::FieldType::Character, 30, 0},
                           {QStringLiteral("SCORE"), engine::FieldType::Numeric, 10, 4},
                           {QStringLiteral("TIE"), engine::FieldType::Character, 1, 0}});
        table.setExclusive(true);
        table.open();
        for (int i = 0; i < dancers; ++i) {
            table.append();
            table.fieldByName(QStringLiteral("COMP_NO"))->setAsFloat(101 + i);
            table.fieldByName(QStringLiteral("NAME"))
                ->setAsString(QStringLiteral("Dancer %1").arg(i + 1));
            table.fieldByName(QStringLiteral("SCORE"))->setAsFloat(500 - 2.5 * i);
            table.post();
        }
        table.first();
    }
    QString folder() const { return m_dir.path(); }

    engine::Table table;

private:
    QTemporaryDir m_dir;
};

// A definition with every band kind: title 20 mm, column header 10 mm, detail 5 mm and
// page footer 10 mm on A4 portrait with 10 mm margins. A page holds 47 rows under
// the title and 51 without it.
class SampleReport final : public render::ReportDefinition {
public:
    explicit SampleReport(engine::Table* source) : ReportDefinition(QStringLiteral("TSample")) {
        using render::Align;
        dataSet = source;
        title.height = 20;
        columnHeader.height = 10;
        detail.height = 5;
        pageFooter.height = 10;
        addText(title, QStringLiteral("Banner"), QRectF(15, 0, 80, 6),
                QStringLiteral("Sample Banner"), 12, true);
        addText(title, QStringLiteral("Name"), QRectF(90, 0, 50, 7), QStringLiteral("SAMPLE"), 14,
                true)
            .autoSize = true;
        addSystem(title, QStringLiteral("Date"), QRectF(150, 0, 20, 4), render::SystemData::Date);
        addSystem(title, QStringLiteral("Time"), QRectF(172, 0, 18, 4), render::SystemData::Time);
        addSystem(title, QStringLiteral("ReportTitle"), QRectF(15, 8, 100, 5),
                  render::SystemData::ReportTitle, QStringLiteral("Second line"), 10);
        addText(columnHeader, QStringLiteral("HDancer"), QRectF(2, 2, 20, 5),
                QStringLiteral("Dancer"), 0, false, Align::Right);
        addText(columnHeader, QStringLiteral("HName"), QRectF(30, 2, 50, 5),
                QStringLiteral("Name"));
        addText(columnHeader, QStringLiteral("HScore"), QRectF(100, 2, 30, 5),
                QStringLiteral("Score"), 0, false, Align::Right);
        addField(detail, QStringLiteral("Dancer"), QRectF(2, 0.5, 20, 4), QStringLiteral("COMP_NO"),
                 Align::Right);
        addField(detail, QStringLiteral("DName"), QRectF(30, 0.5, 50, 4), QStringLiteral("NAME"));
        addField(detail, QStringLiteral("Score"), QRectF(100, 0.5, 30, 4), QStringLiteral("SCORE"),
                 Align::Right, QStringLiteral("0.00"));
        addVerticalLine(detail, QStringLiteral("Rule"), 95);
        addText(pageFooter, QStringLiteral("Web"), QRectF(2, 2, 80, 6),
                QStringLiteral("www.example.test"), 12, true);
        addSystem(pageFooter, QStringLiteral("Page"), QRectF(120, 3, 25, 4),
                  render::SystemData::PageNumber, QStringLiteral("Page "));
    }
};

} // namespace jt::test
