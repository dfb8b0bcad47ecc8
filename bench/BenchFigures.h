#pragma once

#include <QTemporaryDir>
#include <functional>

// The median in milliseconds of a few runs of `work`, each after an untimed
// `prepare`.
double medianMs(const std::function<void()>& prepare, const std::function<void()>& work);

// Prints "name: <milliseconds> ms (target ≤ <target> ms)".
void printFigure(const char* name, double ms, double targetMs);

// A new directory of that name under the root.
QString freshDir(QTemporaryDir& root, const char* name);

// `ringvakt --import` of 50,000 vCards into an empty book and into a book of
// 50,000 other entries.
void importFigures(QTemporaryDir& root);

// The phone book window with 10,000 entries, opened and shown.
void phoneBookWindowFigure(QTemporaryDir& root);
