#pragma once

#include <string>
#include <vector>

namespace test {

// The non-empty lines of one group of an INI file ("name=value"), in file
// order. Read from the file's bytes, not through QSettings: the file is the
// truth.
std::vector<std::string> iniGroupLines(const std::string& ini, const std::string& group = "V1.51");

} // namespace test
