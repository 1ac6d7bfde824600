#include "TSoloWinForm.h"

namespace jt::reports {

TSoloWinForm* SoloWinForm = nullptr;

namespace {
TitleStyle titleStyle() {
    TitleStyle s;
    s.reportName = QStringLiteral("SOLO RESULT");
    s.logoFile = QStringLiteral("logo.bmp");
    s.logoMode = render::PictureMode::OwnSize;
    s.eventBanner = false;
    s.eventInFooter = false;
    s.secondLineSize = 10;
    s.fontSize = 10;
    s.orientation = render::Orientation::Portrait;
    return s;
}
} // namespace

using render::Align;

TSoloWinForm::TSoloWinForm(ProgramState&, QObject* parent)
    : TitledReport(QStringLiteral("TSoloWinForm"), QStringLiteral("SoloWinForm"), titleStyle(),
                   parent) {
    page.paper = render::Paper::A4Small;
    const double w = contentWidth();
    // "name / title" in the right half: the name ends just before the separator.
    const double slash = w / 2 + 46;
    AdjCaption =
        &addText(title, QStringLiteral("AdjCaption"), QRectF(w / 2, 7.5, slash - w / 2 - 1, 5),
                 QString(), 10, false, Align::Right);
    Separator = &addText(title, QStringLiteral("Separator"), QRectF(slash, 7.5, 3, 5),
                         QStringLiteral("/"), 10);
    RoundCaption = &addText(title, QStringLiteral("RoundCaption"),
                            QRectF(slash + 4, 7.5, w - slash - 4, 5), QString(), 10);

    columnHeader.height = 7;
    detail.height = 5.5;
    const struct {
        const char* name;
        const char* heading;
        double headingSize;
        Align headingAlign;
        const char* field;
        Align align;
        const char* mask;
        double left;
        double width;
    } columns[] = {
        {"Posn", "Posn", 10, Align::Left, "SOLOPOSN", Align::Right, "", 2, 12},
        {"Tie", "Tie", 10, Align::Left, "SOLOCHAR", Align::Center, "", 16, 8},
        {"Dancer", "Dancer", 8, Align::Right, "COMP_NO", Align::Right, "", 26, 16},
        {"Marks", "Marks", 8, Align::Right, "A1", Align::Right, "0.00", 44, 18},
        {"DancerName", "Name", 8, Align::Left, "NAME", Align::Left, "", 66, 62},
        {"School", "School", 8, Align::Left, "SCHOOL", Align::Left, "", 130, 58},
    };
    for (const auto& c : columns) {
        const QString name = QString::fromLatin1(c.name);
        addText(columnHeader, QStringLiteral("H") + name, QRectF(c.left, 1.5, c.width, 5),
                QString::fromLatin1(c.heading), c.headingSize, false, c.headingAlign);
        render::Item& field =
            addField(detail, name, QRectF(c.left, 0.5, c.width, 4.5), QString::fromLatin1(c.field),
                     c.align, QString::fromLatin1(c.mask), 10);
        field.shrinkToFit = true; // a long name or school prints smaller
        if (name == QLatin1String("Marks"))
            Marks = &field;
    }
    SoloWinForm = this;
}

TSoloWinForm::~TSoloWinForm() {
    if (SoloWinForm == this)
        SoloWinForm = nullptr;
}

} // namespace jt::reports
