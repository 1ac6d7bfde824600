#include "TAdjRecCheck.h"

namespace jt::reports {

TAdjRecCheck* AdjRecCheck = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("ADJ. CHECKSHEET");
    s.logoFile = QStringLiteral("logosmall.bmp");
    s.logoMode = render::PictureMode::OwnSize;
    s.eventBanner = false;
    s.eventInFooter = false;
    s.secondLineSize = 10;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}

// The field of each column after the dancer's number: the adjudicator's letter
// followed by these.
const char* const kMarkFields[] = {"1", "2", "3", "SUBTOTAL", "GRID1", "SET", "TOTAL", "GRID2"};
const char* const kMarkHeadings[] = {"Rd 1", "Rd 2",   "Rd 3",  "Subtotal",
                                     "Grid", "Recall", "Total", "Grid"};

// Columns, in millimetres from the band's left edge: the number, then eight columns
// 20.5 mm apart. Headings stand at a column's left edge except over the number and the
// first round, which end where the numbers below them end; the numbers end 14 mm from
// the column's left edge, so that they stand close under a heading that begins there.
constexpr double kDancerLeft = 2;
constexpr double kDancerWidth = 20;
constexpr double kMarksLeft = 26;
constexpr double kMarkStep = 20.5;
constexpr double kMarkWidth = 14;
} // namespace

using render::Align;

TAdjRecCheck::TAdjRecCheck(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TAdjRecCheck"), QStringLiteral("AdjRecCheck"), titleStyle(),
                   parent) {
    page.paper = render::Paper::A4Small;
    const double w = contentWidth();

    // Second line: the competition at the left, "Adj. A:" and the name in the right half.
    ReportTitle->box.setWidth(w / 2 - 16);
    AdjCaption = &addText(title, QStringLiteral("AdjCaption"), QRectF(w / 2, 7.5, 15, 5),
                          QStringLiteral("Adj. A:"), 10);
    AdjName = &addField(title, QStringLiteral("AdjName"), QRectF(w / 2 + 15, 7.5, w / 2 - 15, 5),
                        QStringLiteral("ADJANAME"), Align::Left, QString(), 10);
    m_info.add(*AdjName);

    columnHeader.height = 6;
    detail.height = 5;
    addText(columnHeader, QStringLiteral("HDancer"), QRectF(kDancerLeft, 1, kDancerWidth, 4),
            QStringLiteral("Dancer"), 8, false, Align::Right);
    addField(detail, QStringLiteral("CompNo"), QRectF(kDancerLeft, 0.5, kDancerWidth, 4),
             QStringLiteral("COMP_NO"), Align::Right, QString(), 8);
    for (int i = 0; i < 8; ++i) {
        const double left = kMarksLeft + kMarkStep * i;
        addText(columnHeader, QStringLiteral("H%1").arg(i + 1), QRectF(left, 1, kMarkWidth, 4),
                QString::fromLatin1(kMarkHeadings[i]), 8, false,
                i == 0 ? Align::Right : Align::Left);
        Marks.push_back(&addField(detail, QStringLiteral("Mark%1").arg(i + 1),
                                  QRectF(left, 0.5, kMarkWidth, 4), QString(), Align::Right,
                                  QString(), 8));
    }

    // Footer: the web address, the page number and a space about 12 cm wide to sign in.
    WebAddress->box = QRectF(2, 1, 46, 6);
    PageNumber->box = QRectF(49, 2, 14, 4);
    Signed = &addText(pageFooter, QStringLiteral("Signed"), QRectF(64, 2, 12, 4),
                      QStringLiteral("Signed: "), 8);

    setAdjudicator(QLatin1Char('A'));
    AdjRecCheck = this;
}

TAdjRecCheck::~TAdjRecCheck() {
    if (AdjRecCheck == this)
        AdjRecCheck = nullptr;
}

void TAdjRecCheck::setAdjudicator(QChar letter) {
    AdjCaption->caption = QStringLiteral("Adj. %1:").arg(letter);
    AdjName->field = QStringLiteral("ADJ%1NAME").arg(letter);
    for (std::size_t i = 0; i < Marks.size(); ++i)
        Marks[i]->field = letter + QString::fromLatin1(kMarkFields[i]);
}

} // namespace jt::reports
