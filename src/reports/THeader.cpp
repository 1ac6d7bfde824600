#include "THeader.h"

#include "ReportTexts.h"
#include "render/Layout.h"
#include "render/Pictures.h"

namespace jt::reports {

THeader* Header = nullptr;

using render::Align;

THeader::THeader(ProgramState&, QObject* parent)
    : ReportDefinition(QStringLiteral("THeader"), parent) {
    setObjectName(QStringLiteral("Header"));
    page.margins = QMarginsF(12.7, 12.7, 12.7, 12.7);
    page.fontSize = 10;
    printIfEmpty = true;
    const QSizeF size = page.pageSize();
    const double w = size.width() - 2 * 12.7;
    detail.height = size.height() - 2 * 12.7;
    detail.edges = render::NoEdge;

    Logo =
        &addPicture(detail, QStringLiteral("Logo"), QRectF(0, 0, 64, 47), render::builtInBigLogo(),
                    render::PictureMode::Stretch, QStringLiteral("logobig.bmp"));
    addText(detail, QStringLiteral("MarksPack"), QRectF(84, 0, 100, 11),
            QStringLiteral("M A R K S  P A C K"), 25, false, Align::Right);
    // "Comp. No." and the number read as one, ending at the right.
    addCondition(
        detail, QStringLiteral("CompNo"), QRectF(103, 15, 80, 5),
        [](const render::RecordView& r) -> QString {
            return QStringLiteral("Comp. No. ") + r.text(QStringLiteral("COMPNO"));
        },
        Align::Right);
    ReportTitle = &addSystem(detail, QStringLiteral("ReportTitle"), QRectF(0, 57, w, 13),
                             render::SystemData::ReportTitle, QString(), 30, Align::Center);
    addField(detail, QStringLiteral("CompName"), QRectF(0, 74, w, 8), QStringLiteral("COMPNAME"),
             Align::Center, QString(), 16);

    const double adjTops[] = {116, 126, 135, 145, 155};
    const char letters[] = {'A', 'B', 'C', 'D', 'E'};
    for (int i = 0; i < 5; ++i) {
        const QString x(QLatin1Char(letters[i]));
        addText(detail, QStringLiteral("Adj") + x, QRectF(11, adjTops[i], 16, 5),
                QStringLiteral("Adj %1:").arg(x));
        // A name too long for the room before the origin prints smaller.
        addField(detail, QStringLiteral("Adj%1Name").arg(x), QRectF(27, adjTops[i], 44, 5),
                 QStringLiteral("ADJ%1NAME").arg(x))
            .shrinkToFit = true;
        addField(detail, QStringLiteral("Adj%1From").arg(x), QRectF(72, adjTops[i], 110, 5),
                 QStringLiteral("ADJ%1FROM").arg(x));
    }
    const double roundTops[] = {180, 188, 197, 205};
    const QString captions[] = {QStringLiteral("Round 1:"), QStringLiteral("Round 2:"),
                                QStringLiteral("Round 3:"), QStringLiteral("Recall:")};
    for (int i = 0; i < 4; ++i) {
        addText(detail, QStringLiteral("Round%1").arg(i + 1), QRectF(0, roundTops[i], 25, 5),
                captions[i], 0, false, Align::Right);
        addField(detail, QStringLiteral("Rd%1Title").arg(i + 1), QRectF(32, roundTops[i], 150, 5),
                 QStringLiteral("RD%1TITLE").arg(i + 1));
    }
    addText(detail, QStringLiteral("ScoringBy"), QRectF(0, 250, 120, 5),
            QStringLiteral("Championship Scoring by Jigtally Software"));
    addText(detail, QStringLiteral("WebAddress"), QRectF(0, 254, w, 10), kWebAddress, 23);
    Header = this;
}

THeader::~THeader() {
    if (Header == this)
        Header = nullptr;
}

} // namespace jt::reports
