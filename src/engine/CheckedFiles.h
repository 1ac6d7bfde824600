#pragma once

#include <QString>

namespace jt::engine::checkedFiles {

// A table this process checked or wrote and that nobody changed since (same file, size
// and change times to the nanosecond) need not have every value checked again: a
// recalculation opens the results table a dozen times over.
bool unchangedSinceChecked(const QString& path, int fd);
// The file open on fd, as it stands now, is sound.
void remember(const QString& path, int fd);

} // namespace jt::engine::checkedFiles
