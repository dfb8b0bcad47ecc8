#include "support/IniGroup.h"

namespace test {

std::vector<std::string> iniGroupLines(const std::string& ini, const std::string& group)
{
    std::vector<std::string> lines;
    bool inGroup = false;
    size_t pos = 0;
    while (pos < ini.size()) {
        size_t end = ini.find('\n', pos);
        if (end == std::string::npos)
            end = ini.size();
        std::string line = ini.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[')
            inGroup = line == "[" + group + "]";
        else if (inGroup && !line.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace test
