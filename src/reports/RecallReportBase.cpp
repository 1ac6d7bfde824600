#include "RecallReportBase.h"

namespace jt::reports {

namespace {

TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("RECALL REPORT");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::Stretch;
    s.eventBanner = true;
    s.eventInFooter = true;
    s.fontSize = 8;
    return s;
}

// Columns, in millimetres from the band's left edge: the grid columns and the recall
// total are 23 mm wide, right-aligned, after the number.
constexpr double kGridWidth = 23;
constexpr double kDancerRight = 50;
double gridRight(int column) {
    return kDancerRight + kGridWidth * (column + 1);
}

} // namespace

using render::Align;

RecallReportBase::RecallReportBase(const QString& className, const QString& objectName,
                                   int adjudicators, QObject* parent)
    : TitledReport(className, objectName, titleStyle(), parent), m_adjudicators(adjudicators) {
    // Column header: the names on the first row, the headings on the second.
    columnHeader.height = 10;
    const double nameTop = 0.5;
    const double headTop = 5.5;
    const auto heading = [this, headTop](const QString& name, double left, double width,
                                         const QString& caption, Align align) {
        addText(columnHeader, name, QRectF(left, headTop, width, 4), caption, 0, false, align);
    };
    heading(QStringLiteral("HTie"), 2, 10, QStringLiteral("Tie"), Align::Left);
    heading(QStringLiteral("HPosition"), 14, 18, QStringLiteral("Position"), Align::Right);
    heading(QStringLiteral("HDancer"), 34, kDancerRight - 34, QStringLiteral("Dancer"),
            Align::Right);

    detail.height = 5;
    const double rowTop = 0.5;
    addField(detail, QStringLiteral("RecallChar"), QRectF(2, rowTop, 10, 4),
             QStringLiteral("RECALLCHAR"));
    addField(detail, QStringLiteral("Position"), QRectF(14, rowTop, 18, 4),
             QStringLiteral("POSITION"), Align::Right, QStringLiteral("0"));
    addField(detail, QStringLiteral("CompNo"), QRectF(34, rowTop, kDancerRight - 34, 4),
             QStringLiteral("COMP_NO"), Align::Right);

    for (int i = 0; i < adjudicators; ++i) {
        const QString x(QLatin1Char(char('A' + i)));
        const double left = gridRight(i) - kGridWidth + 1;
        // A long name prints smaller, on two lines if need be, over its own column.
        render::Item& name = addField(columnHeader, QStringLiteral("Adj%1Name").arg(x),
                                      QRectF(left, nameTop, kGridWidth - 1, 4),
                                      QStringLiteral("ADJ%1NAME").arg(x), Align::Right);
        name.wrapToFit = true;
        m_info.add(name);
        heading(QStringLiteral("HGrid%1").arg(x), left, kGridWidth - 1,
                QStringLiteral("Grid %1").arg(x), Align::Right);
        addField(detail, QStringLiteral("%1Grid1").arg(x), QRectF(left, rowTop, kGridWidth - 1, 4),
                 QStringLiteral("%1GRID1").arg(x), Align::Right);
    }
    const double recallLeft = gridRight(adjudicators) - kGridWidth + 1;
    heading(QStringLiteral("HRecall"), recallLeft, kGridWidth - 1, QStringLiteral("Recall"),
            Align::Right);
    addField(detail, QStringLiteral("RecallTtl"), QRectF(recallLeft, rowTop, kGridWidth - 1, 4),
             QStringLiteral("RECALLTTL"), Align::Right);
}

RecallReportBase::~RecallReportBase() = default;

} // namespace jt::reports
