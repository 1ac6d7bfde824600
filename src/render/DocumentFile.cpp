#include "DocumentFile.h"

#include "Document.h"
#include "RenderError.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace jt::render {
namespace {

constexpr quint32 kMagic = 0x4A545250; // "JTRP"
constexpr quint32 kVersion = 1;
// Sanity limits, so a damaged file is refused instead of allocating without end.
constexpr quint32 kMaxPages = 100000;
constexpr quint32 kMaxPerPage = 200000;

template <typename T, typename Read>
bool readList(QDataStream& in, std::vector<T>& list, Read read) {
    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count > kMaxPerPage)
        return false;
    list.resize(count);
    for (T& element : list) {
        read(element);
        if (in.status() != QDataStream::Ok)
            return false;
    }
    return true;
}

void write(QDataStream& out, const Page& page) {
    out << page.size;
    out << quint32(page.boxes.size());
    for (const PlacedBox& b : page.boxes)
        out << b.box << b.fill << qint32(b.edges);
    out << quint32(page.pictures.size());
    for (const PlacedPicture& p : page.pictures)
        out << p.clip << p.target << p.image;
    out << quint32(page.texts.size());
    for (const PlacedText& t : page.texts)
        out << t.box << t.text << t.pointSize << t.bold << qint32(t.align) << t.clip;
    out << quint32(page.lines.size());
    for (const PlacedLine& l : page.lines)
        out << l.line;
    out << quint32(page.bands.size());
    for (const PlacedBand& b : page.bands)
        out << qint32(b.kind) << b.box << qint32(b.record);
}

bool read(QDataStream& in, Page& page) {
    in >> page.size;
    bool ok = readList(in, page.boxes, [&](PlacedBox& b) {
        qint32 edges = 0;
        in >> b.box >> b.fill >> edges;
        b.edges = edges & kAllEdges;
    });
    ok = ok && readList(in, page.pictures,
                        [&](PlacedPicture& p) { in >> p.clip >> p.target >> p.image; });
    ok = ok && readList(in, page.texts, [&](PlacedText& t) {
             qint32 align = 0;
             in >> t.box >> t.text >> t.pointSize >> t.bold >> align >> t.clip;
             if (align < 0 || align > qint32(Align::Center) ||
                 !(t.pointSize > 0 && t.pointSize < 500))
                 in.setStatus(QDataStream::ReadCorruptData);
             t.align = Align(align);
         });
    ok = ok && readList(in, page.lines, [&](PlacedLine& l) { in >> l.line; });
    ok = ok && readList(in, page.bands, [&](PlacedBand& b) {
             qint32 kind = 0;
             qint32 record = 0;
             in >> kind >> b.box >> record;
             if (kind < 0 || kind > qint32(BandKind::PageFooter))
                 in.setStatus(QDataStream::ReadCorruptData);
             b.kind = BandKind(kind);
             b.record = record;
         });
    return ok && in.status() == QDataStream::Ok;
}

RenderError notAReport(const QString& name) {
    return RenderError(QStringLiteral("%1 is not a saved Jigtally report or is damaged")
                           .arg(QDir::toNativeSeparators(name)));
}

} // namespace

void saveDocument(const Document& document, QIODevice& device) {
    QDataStream out(&device);
    out.setVersion(QDataStream::Qt_6_4);
    out << kMagic << kVersion << document.title << qint32(document.orientation)
        << quint32(document.pages.size());
    for (const Page& page : document.pages)
        write(out, page);
}

Document loadDocument(QIODevice& device, const QString& name) {
    QDataStream in(&device);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    quint32 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion)
        throw notAReport(name);
    Document document;
    qint32 orientation = 0;
    quint32 pages = 0;
    in >> document.title >> orientation >> pages;
    if (in.status() != QDataStream::Ok || pages > kMaxPages ||
        (orientation != qint32(Orientation::Portrait) &&
         orientation != qint32(Orientation::Landscape)))
        throw notAReport(name);
    document.orientation = Orientation(orientation);
    document.pages.resize(pages);
    for (Page& page : document.pages)
        if (!read(in, page))
            throw notAReport(name);
    return document;
}

void saveDocument(const Document& document, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw RenderError(QStringLiteral("Cannot write %1: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    saveDocument(document, file);
    if (!file.commit())
        throw RenderError(QStringLiteral("Cannot write %1: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
}

Document loadDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RenderError(QStringLiteral("Cannot read %1: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    return loadDocument(file, path);
}

} // namespace jt::render
