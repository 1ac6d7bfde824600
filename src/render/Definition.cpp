#include "Definition.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace jt::render {

Band::Band(BandKind k) : kind(k) {
    // The ruled look of a report: grey framed header and footer, detail rows that form
    // a table, a plain title.
    switch (kind) {
    case BandKind::ColumnHeader:
    case BandKind::PageFooter:
        fill = kSilver;
        edges = kAllEdges;
        break;
    case BandKind::Detail:
        edges = LeftEdge | RightEdge | BottomEdge;
        break;
    case BandKind::Title:
        break;
    }
}

QSizeF PageSettings::pageSize() const {
    const QSizeF a4(210, 297);
    return orientation == Orientation::Portrait ? a4 : a4.transposed();
}

ReportDefinition::ReportDefinition(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {}
ReportDefinition::~ReportDefinition() = default;

Item& ReportDefinition::add(Band& band, std::unique_ptr<Item> item) {
    band.items.push_back(std::move(item));
    return *band.items.back();
}

Item& ReportDefinition::addText(Band& band, const QString& name, const QRectF& box,
                                const QString& caption, double fontSize, bool bold, Align align) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::FixedText;
    item->name = name;
    item->box = box;
    item->caption = caption;
    item->fontSize = fontSize;
    item->bold = bold;
    item->align = align;
    return add(band, std::move(item));
}

Item& ReportDefinition::addField(Band& band, const QString& name, const QRectF& box,
                                 const QString& field, Align align, const QString& mask,
                                 double fontSize, engine::Table* table) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::FieldText;
    item->name = name;
    item->box = box;
    item->field = field;
    item->align = align;
    item->mask = mask;
    item->fontSize = fontSize;
    item->table = table;
    return add(band, std::move(item));
}

Item& ReportDefinition::addSystem(Band& band, const QString& name, const QRectF& box,
                                  SystemData data, const QString& prefix, double fontSize,
                                  Align align) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::SystemText;
    item->name = name;
    item->box = box;
    item->system = data;
    item->prefix = prefix;
    item->fontSize = fontSize;
    item->align = align;
    return add(band, std::move(item));
}

Item& ReportDefinition::addCondition(Band& band, const QString& name, const QRectF& box,
                                     std::function<QString(const RecordView&)> expression,
                                     Align align, double fontSize) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::ConditionalText;
    item->name = name;
    item->box = box;
    item->expression = std::move(expression);
    item->align = align;
    item->fontSize = fontSize;
    return add(band, std::move(item));
}

Item& ReportDefinition::addPicture(Band& band, const QString& name, const QRectF& box,
                                   const QImage& picture, PictureMode mode,
                                   const QString& logoFile) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::Picture;
    item->name = name;
    item->box = box;
    item->picture = picture;
    item->pictureMode = mode;
    item->logoFile = logoFile;
    return add(band, std::move(item));
}

Item& ReportDefinition::addVerticalLine(Band& band, const QString& name, double x) {
    auto item = std::make_unique<Item>();
    item->kind = ItemKind::VerticalLine;
    item->name = name;
    item->box = QRectF(x, 0, 0, band.height);
    return add(band, std::move(item));
}

std::vector<Band*> ReportDefinition::bands() {
    return {&title, &columnHeader, &detail, &pageFooter};
}

std::vector<const Band*> ReportDefinition::bands() const {
    return {&title, &columnHeader, &detail, &pageFooter};
}

Item* ReportDefinition::item(const QString& name) const {
    for (const Band* band : bands())
        for (const auto& item : band->items)
            if (item->name == name)
                return item.get();
    return nullptr;
}

QStringList ReportDefinition::loadLogos(const QString& dataFolder) {
    QStringList unreadable;
    if (dataFolder.isEmpty())
        return unreadable;
    for (Band* band : bands()) {
        for (const auto& item : band->items) {
            if (item->kind != ItemKind::Picture || item->logoFile.isEmpty())
                continue;
            const QString path = QDir(dataFolder).filePath(item->logoFile);
            if (!QFileInfo(path).isFile())
                continue;
            QImageReader reader(path);
            const QImage image = reader.read();
            if (image.isNull())
                unreadable << QDir::toNativeSeparators(path);
            else
                item->picture = image;
        }
    }
    return unreadable;
}

} // namespace jt::render
