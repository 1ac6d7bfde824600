#pragma once

#include "render/Definition.h"

namespace jt::reports {

// What sets one report's title band and footer apart from another's.
struct TitleStyle {
    QString reportName; // "COMPETITORS", 14 pt bold near the middle
    QString logoFile = QStringLiteral("logo.bmp");
    render::PictureMode logoMode = render::PictureMode::Stretch;
    bool eventBanner = true;   // banner: the event name, else the fixed text
    bool eventInFooter = true; // the footer repeats the event name
    double secondLineSize = 8; // font size of the report-title line
    render::Orientation orientation = render::Orientation::Portrait;
    double fontSize = 8; // base font size
};

// A report with the common title band and page footer: the 12 mm logo at the top left,
// the banner line, the report's name, date and time at the right and, below them, the
// report-title item whose prefix the command sets; in the footer the web address line,
// the page number and, where the banner shows it, the event name.
class TitledReport : public render::ReportDefinition {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitledReport)

public:
    TitledReport(const QString& className, const QString& objectName, const TitleStyle& style,
                 QObject* parent);
    ~TitledReport() override;

    // Sets the banner (where it shows the event name) and the footer's event name. A
    // long banner moves the report's name to the right and, longer still, prints
    // smaller; a long footer event name prints smaller.
    void setEventName(const QString& eventName);
    const TitleStyle& style() const { return m_style; }

    render::Item* Logo = nullptr;
    render::Item* Banner = nullptr;
    render::Item* ReportName = nullptr;
    render::Item* DateText = nullptr;
    render::Item* TimeText = nullptr;
    render::Item* ReportTitle = nullptr;
    render::Item* WebAddress = nullptr;
    render::Item* PageNumber = nullptr;
    render::Item* FooterEventName = nullptr; // nullptr where the footer has none

protected:
    double contentWidth() const;
    // Gives the banner the room left of the report's name; see setEventName.
    void arrangeTitleLine();

private:
    TitleStyle m_style;
};

} // namespace jt::reports
