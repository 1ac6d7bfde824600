#include "ZipArchive.h"

#include <QDir>
#include <QFile>

#include <unzip.h>

namespace jt::exchange {

namespace {
unzFile handle(void* zip) {
    return static_cast<unzFile>(zip);
}
constexpr int kCaseInsensitive = 2;
} // namespace

ZipArchive::~ZipArchive() {
    if (m_zip)
        unzClose(handle(m_zip));
}

bool ZipArchive::open(const QString& path) {
    m_path = path;
    const QByteArray native = QFile::encodeName(path);
    m_zip = unzOpen64(native.constData());
    if (!m_zip) {
        m_error = QStringLiteral("%1 is damaged: it is not a complete zip package")
                      .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

bool ZipArchive::contains(const QString& member) const {
    if (!m_zip)
        return false;
    return unzLocateFile(handle(m_zip), member.toUtf8().constData(), kCaseInsensitive) == UNZ_OK;
}

std::optional<QByteArray> ZipArchive::read(const QString& member, qint64 maxBytes) {
    const QString file = QDir::toNativeSeparators(m_path);
    if (!m_zip) {
        m_error = QStringLiteral("%1 is not open").arg(file);
        return std::nullopt;
    }
    unzFile zip = handle(m_zip);
    if (unzLocateFile(zip, member.toUtf8().constData(), kCaseInsensitive) != UNZ_OK) {
        m_error = QStringLiteral("%1 is damaged: its part %2 is missing").arg(file, member);
        return std::nullopt;
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        m_error = QStringLiteral("%1 is damaged: its part %2 cannot be read").arg(file, member);
        return std::nullopt;
    }
    if (info.flag & 1u) {
        m_error = QStringLiteral("%1 is password-protected").arg(file);
        return std::nullopt;
    }
    if (qint64(info.uncompressed_size) > maxBytes) {
        m_error = QStringLiteral("%1 is too large to import: its part %2 holds %3 MB")
                      .arg(file, member)
                      .arg(qulonglong(info.uncompressed_size / (1024 * 1024)));
        return std::nullopt;
    }
    if (unzOpenCurrentFile(zip) != UNZ_OK) {
        m_error = QStringLiteral("%1 is damaged: its part %2 cannot be unpacked").arg(file, member);
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(info.uncompressed_size));
    char buffer[65536];
    int n = 0;
    // The size in the directory is only a claim; the read stops at maxBytes whatever it says.
    while ((n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0) {
        if (bytes.size() + n > maxBytes) {
            unzCloseCurrentFile(zip);
            m_error = QStringLiteral("%1 is too large to import").arg(file);
            return std::nullopt;
        }
        bytes.append(buffer, n);
    }
    const int closed = unzCloseCurrentFile(zip);
    if (n < 0 || closed != UNZ_OK) {
        m_error = QStringLiteral("%1 is damaged: its part %2 does not unpack correctly")
                      .arg(file, member);
        return std::nullopt;
    }
    return bytes;
}

} // namespace jt::exchange
