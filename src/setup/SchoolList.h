#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace jt::setup {

// The school names Dancer Setup completes from: sorted alphabetically without regard
// to case, each name once (a name equal to one held, ignoring case, is not added).
class SchoolList final {
public:
    static inline const QString kFileName = QStringLiteral("schoollist.txt");

    // False when the name is empty or already held.
    bool add(const QString& name);
    bool contains(const QString& name) const;
    const QStringList& names() const { return m_names; }
    void clear() { m_names.clear(); }

    // The first name in the list's order that begins with the typed text, ignoring
    // case, and is not equal to it; nothing when there is none or nothing is typed.
    std::optional<QString> completionOf(const QString& typed) const;

    // Adds each line of the file (UTF-8, or Windows-1252 when it is not UTF-8; blank
    // lines are passed over). A missing file is created empty. Returns the reason when
    // the file cannot be read or created, else an empty text.
    QString load(const QString& path);
    // Replaces the file with the list, one name per line, lines ending in CR LF, in
    // UTF-8. The old file stays whole when writing fails. Returns the reason then.
    QString save(const QString& path) const;

private:
    QStringList m_names;
};

} // namespace jt::setup
