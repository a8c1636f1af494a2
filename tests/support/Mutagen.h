#pragma once
// mutagen, the independent reader and writer of tags the tests compare with.

#include <QString>

namespace testhilfe {

// A python3 that has mutagen (the one on PATH may be another than the
// system's); empty when there is none.
QString MutagenPython();

} // namespace testhilfe
