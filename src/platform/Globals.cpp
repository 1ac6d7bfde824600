#include "Globals.h"

namespace jt {

QString DataFolder;
QString GlobalSchool;

} // namespace jt
