#include "FinalReportBase.h"

#include "render/Layout.h"

namespace jt::reports {

namespace {

TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("MARKS");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::Stretch;
    s.eventBanner = true;
    s.eventInFooter = true;
    s.fontSize = 8;
    s.orientation = render::Orientation::Landscape;
    return s;
}

// Widths in millimetres: the first block holds position and number, the last the total;
// the adjudicator blocks share what is left between them.
constexpr double kFirstBlock = 24;
constexpr double kLastBlock = 20;
constexpr double kNameTop = 0.5;
constexpr double kHeadingTop = 5;
constexpr double kRowTop = 0.5;
constexpr double kCellHeight = 3.5;
constexpr double kSmall = 7; // headings and rows

} // namespace

using render::Align;

FinalReportBase::FinalReportBase(const QString& className, const QString& objectName,
                                 int adjudicators, int rounds, QObject* parent)
    : TitledReport(className, objectName, titleStyle(), parent), m_adjudicators(adjudicators),
      m_rounds(rounds) {
    const double w = contentWidth();
    TitleNote = &addText(title, QStringLiteral("TitleNote"), QRectF(w - 100, 7.5, 100, 5),
                         QStringLiteral("(Non-recalled dancers may be in no particular order)"), 8,
                         false, Align::Right);

    columnHeader.height = 9;
    detail.height = 4.5;
    const auto column = [this](const QString& name, double left, double width,
                               const QString& heading, Align headingAlign, const QString& field,
                               const QString& mask) {
        addText(columnHeader, QStringLiteral("H") + name,
                QRectF(left, kHeadingTop, width, kCellHeight), heading, kSmall, false,
                headingAlign);
        addField(detail, name, QRectF(left, kRowTop, width, kCellHeight), field, Align::Right, mask,
                 kSmall);
    };

    // First block: the position (or "-.-") and the number.
    addText(columnHeader, QStringLiteral("HPosn"), QRectF(1, kHeadingTop, 10, kCellHeight),
            QStringLiteral("Posn"), kSmall);
    addCondition(
        detail, QStringLiteral("Posn"), QRectF(1, kRowTop, 10, kCellHeight),
        [](const render::RecordView& r) {
            return r.number(QStringLiteral("GRIDTOTAL")) > 0 ? r.text(QStringLiteral("POSITION"))
                                                             : kNoPlace;
        },
        Align::Right, kSmall);
    column(QStringLiteral("CompNo"), 12, kFirstBlock - 13, QStringLiteral("No."), Align::Left,
           QStringLiteral("COMP_NO"), QStringLiteral("0"));

    const double block = (w - kFirstBlock - kLastBlock) / adjudicators;
    const int columns = rounds + 2; // the rounds, the set dance, the grid points
    const double cell = block / columns;
    const QString marks = QStringLiteral("0.00");
    for (int i = 0; i < adjudicators; ++i) {
        const QString x(QLatin1Char(char('A' + i)));
        const double left = kFirstBlock + i * block;
        addVerticalLine(columnHeader, QStringLiteral("HRule%1").arg(x), left);
        addVerticalLine(detail, QStringLiteral("Rule%1").arg(x), left);
        addText(columnHeader, QStringLiteral("Adj%1").arg(x), QRectF(left + 1, kNameTop, 9, 4),
                QStringLiteral("Adj %1:").arg(x), 8);
        render::Item& name =
            addField(columnHeader, QStringLiteral("Adj%1Name").arg(x),
                     QRectF(left + 10, kNameTop, block - 11, 4), QStringLiteral("ADJ%1NAME").arg(x),
                     Align::Left, QString(), 8);
        name.shrinkToFit = true;
        m_info.add(name);
        for (int k = 0; k < columns; ++k) {
            QString name;
            QString heading;
            QString field;
            if (k < rounds) {
                heading = x + QString::number(k + 1);
                field = heading;
                name = QStringLiteral("Mark") + heading;
            } else if (k == rounds) {
                heading = QStringLiteral("Recall");
                field = x + QStringLiteral("SET");
                name = x + QStringLiteral("Set");
            } else {
                heading = x + QStringLiteral("Grid");
                field = x + QStringLiteral("GRID2");
                name = x + QStringLiteral("Grid2");
            }
            column(name, left + k * cell + 0.5, cell - 1, heading, Align::Right, field, marks);
        }
    }

    const double totalLeft = w - kLastBlock;
    addVerticalLine(columnHeader, QStringLiteral("HRuleTotal"), totalLeft);
    addVerticalLine(detail, QStringLiteral("RuleTotal"), totalLeft);
    column(QStringLiteral("GridTotal"), totalLeft + 0.5, kLastBlock - 1.5, QStringLiteral("Total"),
           Align::Right, QStringLiteral("GRIDTOTAL"), marks);
}

FinalReportBase::~FinalReportBase() = default;

} // namespace jt::reports
