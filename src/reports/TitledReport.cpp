#include "TitledReport.h"

#include "ReportTexts.h"
#include "render/Pictures.h"
#include "render/ReportFont.h"

#include <algorithm>

namespace jt::reports {

using render::Align;
using render::SystemData;

TitledReport::TitledReport(const QString& className, const QString& objectName,
                           const TitleStyle& style, QObject* parent)
    : ReportDefinition(className, parent), m_style(style) {
    setObjectName(objectName);
    page.orientation = style.orientation;
    page.fontSize = style.fontSize;
    const double w = contentWidth();

    title.height = 14;
    Logo = &addPicture(title, QStringLiteral("Logo"), QRectF(0, 0, 12, 12), render::builtInLogo(),
                       style.logoMode, style.logoFile);
    Banner = &addText(title, QStringLiteral("Banner"), QRectF(14, 0, w / 2 - 50, 6),
                      style.eventBanner ? QString() : kFixedBanner, 12, true);
    ReportName = &addText(title, QStringLiteral("ReportName"), QRectF(w / 2 - 35, 0, 70, 7),
                          style.reportName, 14, true, Align::Center);
    DateText = &addSystem(title, QStringLiteral("DateText"), QRectF(w - 42, 1, 22, 4),
                          SystemData::Date, QString(), 8, Align::Right);
    TimeText = &addSystem(title, QStringLiteral("TimeText"), QRectF(w - 18, 1, 18, 4),
                          SystemData::Time, QString(), 8, Align::Right);
    Banner->shrinkToFit = true;
    ReportTitle = &addSystem(title, QStringLiteral("ReportTitle"), QRectF(14, 7.5, w / 2, 5),
                             SystemData::ReportTitle, QString(), style.secondLineSize);

    pageFooter.height = 8;
    WebAddress = &addText(pageFooter, QStringLiteral("WebAddress"), QRectF(2, 1, w / 2 - 20, 6),
                          kWebAddress, 12, true);
    PageNumber = &addSystem(pageFooter, QStringLiteral("PageNumber"), QRectF(w / 2, 2, 25, 4),
                            SystemData::PageNumber, QStringLiteral("Page "), 8);
    if (style.eventInFooter)
        FooterEventName =
            &addText(pageFooter, QStringLiteral("FooterEventName"),
                     QRectF(w / 2 + 28, 2, w / 2 - 30, 4), QString(), 8, false, Align::Right);
    if (FooterEventName)
        FooterEventName->shrinkToFit = true;
    arrangeTitleLine();
}

TitledReport::~TitledReport() = default;

double TitledReport::contentWidth() const {
    return page.pageSize().width() - page.margins.left() - page.margins.right();
}

void TitledReport::setEventName(const QString& eventName) {
    if (m_style.eventBanner)
        Banner->caption = eventName;
    if (FooterEventName)
        FooterEventName->caption = eventName;
    arrangeTitleLine();
}

void TitledReport::arrangeTitleLine() {
    // The report's name stays centred while the banner leaves it room, moves right for a
    // longer banner (as far as the date), and a banner longer still prints smaller.
    constexpr double kGap = 3;
    const double w = contentWidth();
    const double bannerLeft = Banner->box.left();
    const double nameWidth =
        render::textWidthMm(ReportName->caption, ReportName->fontSize, ReportName->bold) + 1;
    const double bannerWidth = render::textWidthMm(Banner->caption, Banner->fontSize, Banner->bold);
    const double nameLeft =
        std::min(std::max(w / 2 - nameWidth / 2, bannerLeft + bannerWidth + kGap),
                 DateText->box.left() - kGap - nameWidth);
    ReportName->box = QRectF(nameLeft, ReportName->box.top(), nameWidth, ReportName->box.height());
    Banner->box.setWidth(nameLeft - kGap - bannerLeft);
}

} // namespace jt::reports
