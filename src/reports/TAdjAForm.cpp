#include "TAdjAForm.h"

namespace jt::reports {

TAdjAForm* AdjAForm = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("GRID MARKS");
    s.logoFile = QStringLiteral("logosmall.bmp");
    s.logoMode = render::PictureMode::OwnSize;
    s.eventBanner = true;
    s.eventInFooter = true;
    s.secondLineSize = 10;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}

// Columns: the dancer's number, then grid points A to E and the total, every value and
// heading right-aligned so the numbers line up under their headings.
constexpr double kDancerLeft = 2;
constexpr double kDancerWidth = 18;
constexpr double kGridLeft = 24;
constexpr double kGridStep = 25;
constexpr double kGridWidth = 23;
} // namespace

using render::Align;

TAdjAForm::TAdjAForm(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TAdjAForm"), QStringLiteral("AdjAForm"), titleStyle(), parent) {
    const double w = contentWidth();
    Subtitle = &addText(title, QStringLiteral("Subtitle"), QRectF(w / 2 + 10, 7.5, w / 2 - 10, 5),
                        QStringLiteral("[In competitor number order]"), 10);

    columnHeader.height = 10;
    detail.height = 5;
    addText(columnHeader, QStringLiteral("HDancer"), QRectF(kDancerLeft, 5.5, kDancerWidth, 4),
            QStringLiteral("Dancer"), 8, false, Align::Right);
    addField(detail, QStringLiteral("CompNo"), QRectF(kDancerLeft, 0.5, kDancerWidth, 4),
             QStringLiteral("COMP_NO"), Align::Right, QString(), 8);
    const char letters[] = {'A', 'B', 'C', 'D', 'E'};
    for (int i = 0; i < 6; ++i) {
        const double left = kGridLeft + kGridStep * i;
        const bool total = i == 5;
        const QString x = total ? QString() : QString(QLatin1Char(letters[i]));
        if (!total) {
            // A long name prints smaller, on two lines if need be, over its own column.
            m_infoItems.push_back(&addField(
                columnHeader, QStringLiteral("Adj%1Name").arg(x), QRectF(left, 0.5, kGridWidth, 4),
                QStringLiteral("ADJ%1NAME").arg(x), Align::Right, QString(), 8));
            m_infoItems.back()->wrapToFit = true;
        }
        addText(columnHeader, total ? QStringLiteral("HTotal") : QStringLiteral("HGrid") + x,
                QRectF(left, 5.5, kGridWidth, 4),
                total ? QStringLiteral("Total") : QStringLiteral("Grid ") + x, 8, false,
                Align::Right);
        addField(detail, total ? QStringLiteral("GridTotal") : QStringLiteral("Grid%1").arg(x),
                 QRectF(left, 0.5, kGridWidth, 4),
                 total ? QStringLiteral("GRIDTOTAL") : x + QStringLiteral("GRID2"), Align::Right,
                 QString(), 8);
    }
    AdjAForm = this;
}

TAdjAForm::~TAdjAForm() {
    if (AdjAForm == this)
        AdjAForm = nullptr;
}

void TAdjAForm::setInfoTable(engine::Table* info) {
    for (render::Item* item : m_infoItems)
        item->table = info;
}

} // namespace jt::reports
