#include "Layout.h"

#include "Definition.h"
#include "NumberText.h"
#include "RenderError.h"
#include "ReportFont.h"
#include "engine/Field.h"
#include "engine/Table.h"

#include <QHash>

#include <cmath>

namespace jt::render {
namespace {

// A field item resolved once per layout: where its value comes from and how it prints.
struct FieldSource {
    const engine::Field* field = nullptr; // nullptr: the table lacks it (closed table)
    bool fromRecordSource = true;
};

QSizeF ownSizeMm(const QImage& image) {
    const double dotsPerMmX =
        image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() / 1000.0 : 96 / 25.4;
    const double dotsPerMmY =
        image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() / 1000.0 : 96 / 25.4;
    return {image.width() / dotsPerMmX, image.height() / dotsPerMmY};
}

// The largest size, in quarter points, not above pointSize and not below the smallest fit
// size, at which text fits width (the smallest fit size when none does).
double sizeToFit(const QString& text, double pointSize, bool bold, double width) {
    const double full = textWidthMm(text, pointSize, bold);
    if (full <= width)
        return pointSize;
    double size = std::floor(pointSize * width / full * 4) / 4;
    while (size > kSmallestFitSize && textWidthMm(text, size, bold) > width)
        size -= 0.25;
    return std::max(size, kSmallestFitSize);
}

// Where a text too wide for one line is broken: at the space or after the hyphen nearest
// its middle; -1 when it has neither.
qsizetype breakPoint(const QString& text) {
    const qsizetype middle = text.size() / 2;
    qsizetype cut = -1;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        const bool space = text[i] == QLatin1Char(' ');
        const bool hyphen = text[i - 1] == QLatin1Char('-');
        if ((space || hyphen) && (cut < 0 || qAbs(i - middle) < qAbs(cut - middle)))
            cut = i;
    }
    return cut;
}

// A text placed in its box as its item says: smaller where it is too wide, and where
// even that is not enough and the item allows it, on two lines that together take no
// more than a quarter more than the box's height.
std::vector<PlacedText> fitText(const Item& item, PlacedText whole) {
    if (!item.shrinkToFit && !item.wrapToFit)
        return {whole};
    const double width = whole.box.width();
    const double size = sizeToFit(whole.text, whole.pointSize, whole.bold, width);
    const qsizetype cut = breakPoint(whole.text);
    if (textWidthMm(whole.text, size, whole.bold) <= width || !item.wrapToFit || cut < 0) {
        whole.pointSize = size;
        return {whole};
    }
    PlacedText first = whole;
    PlacedText second = whole;
    first.text = whole.text.left(cut).trimmed();
    second.text = whole.text.mid(cut).trimmed();
    double lineSize = std::min(sizeToFit(first.text, whole.pointSize, whole.bold, width),
                               sizeToFit(second.text, whole.pointSize, whole.bold, width));
    while (lineSize > kSmallestFitSize &&
           2 * lineHeightMm(lineSize, whole.bold) > 1.25 * whole.box.height())
        lineSize -= 0.25;
    const double lineHeight = lineHeightMm(lineSize, whole.bold);
    first.pointSize = second.pointSize = lineSize;
    first.box.setHeight(lineHeight);
    second.box = QRectF(whole.box.left(), whole.box.top() + lineHeight, width, lineHeight);
    return {first, second};
}

class Layouter final {
public:
    Layouter(ReportDefinition& definition, const LayoutOptions& options)
        : m_def(definition), m_source(definition.dataSet) {
        m_date = options.locale.toString(options.now.date(), QLocale::ShortFormat);
        m_time = options.locale.toString(options.now.time(), QLocale::ShortFormat);
    }

    Document run() {
        Document document;
        document.title = m_def.name();
        document.orientation = m_def.page.orientation;
        const bool sourceOpen = m_source && m_source->active();
        int rows = sourceOpen ? m_source->rowCount() : 0;
        int firstRow = 0;
        if (rows == 0) {
            if (!m_def.printIfEmpty)
                return document;
            rows = 1;
            firstRow = -1; // one detail band with every field empty
        }
        resolveFields();

        const QSizeF size = m_def.page.pageSize();
        const QMarginsF& margins = m_def.page.margins;
        m_left = margins.left();
        m_width = size.width() - margins.left() - margins.right();
        const double contentBottom = size.height() - margins.bottom();
        const double footerHeight = m_def.pageFooter.present() ? m_def.pageFooter.height : 0;
        const double limit = contentBottom - footerHeight;
        m_pages = &document.pages;

        int pageNumber = 0;
        double y = 0;
        bool detailOnPage = false;
        const auto startPage = [&] {
            ++pageNumber;
            document.pages.emplace_back();
            document.pages.back().size = size;
            y = margins.top();
            detailOnPage = false;
            if (pageNumber == 1 && m_def.title.present())
                y = place(m_def.title, y, -1, pageNumber);
            if (m_def.columnHeader.present())
                y = place(m_def.columnHeader, y, -1, pageNumber);
        };
        const auto footer = [&] {
            if (m_def.pageFooter.present())
                place(m_def.pageFooter, limit, -1, pageNumber);
        };

        startPage();
        for (int i = 0; i < rows; ++i) {
            const int row = firstRow < 0 ? -1 : i;
            // A page always takes at least one record, so a band taller than the page
            // cannot stop the report.
            if (detailOnPage && y + m_def.detail.height > limit + 1e-9) {
                footer();
                startPage();
            }
            y = place(m_def.detail, y, row, pageNumber);
            detailOnPage = true;
        }
        if (m_def.footerOnLastPage)
            footer();
        return document;
    }

private:
    void resolveFields() {
        for (const Band* band : m_def.bands()) {
            for (const auto& item : band->items) {
                if (item->kind != ItemKind::FieldText || m_fields.contains(item.get()))
                    continue;
                engine::Table* table = item->table ? item->table : m_source;
                FieldSource resolved;
                resolved.fromRecordSource = table == m_source;
                if (table) {
                    resolved.field = table->findField(item->field);
                    if (!resolved.field && table->active())
                        throw RenderError(QStringLiteral("%1: field '%2' not found in table %3")
                                              .arg(m_def.name(), item->field, table->tableName()));
                }
                m_fields.insert(item.get(), resolved);
            }
        }
    }

    QString fieldText(const Item& item, int row) const {
        const FieldSource& source = m_fields[&item];
        if (!source.field)
            return {};
        const engine::Field& field = *source.field;
        QVariant value;
        if (source.fromRecordSource) {
            if (row >= 0 && m_source->active())
                value = m_source->valueAt(row, field.fieldNo());
        } else if (field.table()->active() && !field.table()->isEmpty()) {
            value = field.value();
        }
        return printText(value, field.isNumber(), item.mask, field.displayFormat());
    }

    QString itemText(const Item& item, int row, int pageNumber) const {
        switch (item.kind) {
        case ItemKind::FixedText:
            return item.caption;
        case ItemKind::FieldText:
            return fieldText(item, row);
        case ItemKind::SystemText:
            switch (item.system) {
            case SystemData::Date:
                return item.prefix + m_date;
            case SystemData::Time:
                return item.prefix + m_time;
            case SystemData::PageNumber:
                return item.prefix + QString::number(pageNumber);
            case SystemData::ReportTitle:
                return item.prefix; // the report title itself is always empty
            }
            return item.prefix;
        case ItemKind::ConditionalText:
            return item.expression ? item.expression(RecordView(m_source, row)) : QString();
        case ItemKind::Picture:
        case ItemKind::VerticalLine:
            break;
        }
        return {};
    }

    // Places a band with its top at y on the current page; returns the y below it.
    double place(const Band& band, double y, int row, int pageNumber) {
        Page& page = m_pages->back();
        const QRectF bandBox(m_left, y, m_width, band.height);
        if (band.fill.isValid() || band.edges != NoEdge)
            page.boxes.push_back({bandBox, band.fill, band.edges});
        for (const auto& itemPtr : band.items) {
            const Item& item = *itemPtr;
            const QRectF box = item.box.translated(bandBox.topLeft());
            switch (item.kind) {
            case ItemKind::Picture: {
                if (item.picture.isNull())
                    break;
                const QRectF target = item.pictureMode == PictureMode::Stretch
                                          ? box
                                          : QRectF(box.topLeft(), ownSizeMm(item.picture));
                page.pictures.push_back({box, target, item.picture});
                break;
            }
            case ItemKind::VerticalLine:
                page.lines.push_back(
                    {QLineF(box.left(), bandBox.top(), box.left(), bandBox.bottom())});
                break;
            default: {
                const QString text = itemText(item, row, pageNumber);
                if (text.isEmpty())
                    break;
                PlacedText placed;
                placed.text = text;
                placed.pointSize = item.fontSize > 0 ? item.fontSize : m_def.page.fontSize;
                placed.bold = item.bold;
                placed.align = item.align;
                placed.box = box;
                placed.clip = !item.autoSize;
                if (item.autoSize) {
                    const double w = textWidthMm(text, placed.pointSize, placed.bold);
                    if (item.align == Align::Left)
                        placed.box.setWidth(w);
                    else if (item.align == Align::Right)
                        placed.box.setLeft(box.right() - w);
                    else
                        placed.box = QRectF(box.center().x() - w / 2, box.top(), w, box.height());
                }
                for (PlacedText& line : fitText(item, std::move(placed)))
                    page.texts.push_back(std::move(line));
                break;
            }
            }
        }
        page.bands.push_back({band.kind, bandBox, row});
        return bandBox.bottom();
    }

    ReportDefinition& m_def;
    engine::Table* m_source;
    QString m_date;
    QString m_time;
    QHash<const Item*, FieldSource> m_fields;
    std::vector<Page>* m_pages = nullptr;
    double m_left = 0;
    double m_width = 0;
};

} // namespace

double RecordView::number(const QString& field) const {
    if (!m_table || m_row < 0 || !m_table->active())
        return 0.0;
    const engine::Field* f = m_table->findField(field);
    if (!f)
        return 0.0;
    const QVariant v = m_table->valueAt(m_row, f->fieldNo());
    return v.typeId() == QMetaType::Double ? v.toDouble() : v.toString().trimmed().toDouble();
}

QString RecordView::text(const QString& field, const QString& mask) const {
    if (!m_table || !m_table->active())
        return {};
    const engine::Field* f = m_table->findField(field);
    if (!f)
        return {};
    const QVariant v = m_row >= 0 ? m_table->valueAt(m_row, f->fieldNo()) : QVariant();
    return printText(v, f->isNumber(), mask, f->displayFormat());
}

LayoutResult layOut(ReportDefinition& definition, const LayoutOptions& options) {
    LayoutResult result;
    result.unreadableLogos = definition.loadLogos(options.dataFolder);
    result.document = Layouter(definition, options).run();
    return result;
}

} // namespace jt::render
