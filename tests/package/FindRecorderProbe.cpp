// Prints where a program in this executable's place finds ringvakt-recorder,
// with the lookup Ringvakt itself uses. The package test puts it into the
// unpacked bin/ in place of ringvakt, so the installed layout is checked
// with the real lookup rather than with a copy of its rules.
#include "platform/RecorderStarter.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString found = ProcessRecorderStarter::findRecorder();
    if (found.isEmpty())
        return 1;
    std::printf("%s\n", qPrintable(found));
    return 0;
}
