#pragma once

#include "Document.h"

#include <QImage>
#include <QMarginsF>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace jt::engine {
class Table;
}

namespace jt::render {

class RecordView;

enum class ItemKind { FixedText, FieldText, SystemText, ConditionalText, Picture, VerticalLine };
enum class SystemData { Date, Time, PageNumber, ReportTitle };
enum class PictureMode { Stretch, OwnSize };
// "A4 small" is a printer driver's name for A4 with the same dimensions.
enum class Paper { A4, A4Small };

// One item of a band. Its box is in millimetres from the band's top left corner (the
// left margin, the band's top). A command may change a caption, a field, a prefix or a
// picture before a run; the change stays until it is changed again.
struct Item {
    ItemKind kind = ItemKind::FixedText;
    QString name;
    QRectF box;
    double fontSize = 0; // points; 0 takes the definition's base font size
    bool bold = false;
    Align align = Align::Left;
    bool autoSize = false; // the box grows with the text, from its aligned edge
    // A text wider than its box is printed smaller so that it fits, down to
    // kSmallestFitSize; with wrapToFit, one still too wide at that size is broken into two
    // lines (at the space nearest its middle), the second below the box's first line.
    // What fits is printed as it is.
    bool shrinkToFit = false;
    bool wrapToFit = false;

    QString caption; // fixed text

    engine::Table* table = nullptr; // field text: nullptr is the record source
    QString field;
    QString mask; // "0", "0.00"; empty prints the field's display text

    SystemData system = SystemData::Date;
    QString prefix; // printed in front of a system text's value

    std::function<QString(const RecordView&)> expression; // conditional text

    QImage picture;
    PictureMode pictureMode = PictureMode::Stretch;
    QString logoFile; // file in the data folder loaded into the picture before each layout
};

// The smallest size, in points, a text is shrunk to so that it fits its box.
inline constexpr double kSmallestFitSize = 6;

struct Band {
    explicit Band(BandKind kind);

    BandKind kind;
    double height = 0; // millimetres; a band of height 0 is not printed
    QColor fill;       // invalid: white
    int edges = NoEdge;
    std::vector<std::unique_ptr<Item>> items;

    bool present() const { return height > 0; }
};

struct PageSettings {
    Paper paper = Paper::A4;
    Orientation orientation = Orientation::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // millimetres
    double fontSize = 8;               // base font size in points

    QSizeF pageSize() const; // millimetres, in the orientation
};

// A banded report definition: page settings, a record source and the four bands.
// Each report of the program is a class deriving from this one that builds its items
// once, in its constructor.
class ReportDefinition : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReportDefinition)

public:
    explicit ReportDefinition(QString name, QObject* parent = nullptr);
    ~ReportDefinition() override;

    QString name() const { return m_name; }

    PageSettings page;
    // The record source, printed in its current order and filter. An empty or closed
    // source prints nothing unless printIfEmpty, which prints the detail band once.
    engine::Table* dataSet = nullptr;
    bool printIfEmpty = false;
    bool footerOnLastPage = true;

    Band title{BandKind::Title};
    Band columnHeader{BandKind::ColumnHeader};
    Band detail{BandKind::Detail};
    Band pageFooter{BandKind::PageFooter};

    Item& addText(Band& band, const QString& name, const QRectF& box, const QString& caption,
                  double fontSize = 0, bool bold = false, Align align = Align::Left);
    Item& addField(Band& band, const QString& name, const QRectF& box, const QString& field,
                   Align align = Align::Left, const QString& mask = QString(), double fontSize = 0,
                   engine::Table* table = nullptr);
    Item& addSystem(Band& band, const QString& name, const QRectF& box, SystemData data,
                    const QString& prefix = QString(), double fontSize = 0,
                    Align align = Align::Left);
    Item& addCondition(Band& band, const QString& name, const QRectF& box,
                       std::function<QString(const RecordView&)> expression,
                       Align align = Align::Left, double fontSize = 0);
    Item& addPicture(Band& band, const QString& name, const QRectF& box, const QImage& picture,
                     PictureMode mode, const QString& logoFile = QString());
    Item& addVerticalLine(Band& band, const QString& name, double x);

    // The item of that name in any band, or nullptr.
    Item* item(const QString& name) const;
    std::vector<Band*> bands();
    std::vector<const Band*> bands() const;

    // Loads each picture's logo file from the folder where it exists; a missing file
    // leaves the picture as it is. Returns the files that exist but could not be read
    // (those pictures are left as they are too).
    QStringList loadLogos(const QString& dataFolder);

private:
    Item& add(Band& band, std::unique_ptr<Item> item);

    QString m_name;
};

} // namespace jt::render
