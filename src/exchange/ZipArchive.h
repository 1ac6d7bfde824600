#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace jt::exchange {

// Reads members of a zip file (the container of .xlsx and .ods files) through
// minizip. Member names are matched without regard to case, as the package formats
// ask. Errors come back as text that names the file.
class ZipArchive final {
public:
    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // False when the file is not a readable zip file; error() says why.
    bool open(const QString& path);
    bool contains(const QString& member) const;
    // The member's bytes; nothing when it is missing, damaged (its checksum does not
    // match), encrypted or larger than maxBytes.
    std::optional<QByteArray> read(const QString& member, qint64 maxBytes = kMaxMemberBytes);
    QString error() const { return m_error; }

    // A member of a worksheet file bigger than this is refused rather than unpacked:
    // a damaged or hostile file cannot make the program run out of memory.
    static constexpr qint64 kMaxMemberBytes = qint64(512) * 1024 * 1024;

private:
    void* m_zip = nullptr;
    QString m_path;
    QString m_error;
};

} // namespace jt::exchange
