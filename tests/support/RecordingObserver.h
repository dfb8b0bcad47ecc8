#pragma once

#include "platform/ListObserver.h"

#include <string>
#include <vector>

namespace test {

// Writes down every notification of a list, so that tests can check the
// begin/end pairs: "+0..2", "+end", "-1..1", "-end", "reset", "reset-end",
// "changed 3".
class RecordingObserver : public ListObserver
{
public:
    std::vector<std::string> events;

    void beginInsertRows(int first, int last) override { add("+", first, last); }
    void endInsertRows() override { events.push_back("+end"); }
    void beginRemoveRows(int first, int last) override { add("-", first, last); }
    void endRemoveRows() override { events.push_back("-end"); }
    void beginResetRows() override { events.push_back("reset"); }
    void endResetRows() override { events.push_back("reset-end"); }
    void rowChanged(int row) override { events.push_back("changed " + std::to_string(row)); }

private:
    void add(const char* what, int first, int last)
    {
        events.push_back(std::string(what) + std::to_string(first) + ".." + std::to_string(last));
    }
};

} // namespace test
