#include "platform/Report.h"

#include <cstdio>

void reportToStandardError(const QString& line)
{
    std::fprintf(stderr, "ringvakt: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}
