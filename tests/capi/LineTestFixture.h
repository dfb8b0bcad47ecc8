#pragma once

#include "capi/CapiListener.h"
#include "capi/Libcapi20Api.h"
#include "support/ExchangeProcess.h"

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The real libcapi20 against ringvakt-exchange, one exchange per test, with
// HOME a temporary folder holding the .capi20rc (set before the first
// capi20_* call: the library reads the file when it opens a connection).
class LineTestFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the exchange, points libcapi20 at it and makes the listener
    // (with calls that wait for an answer bounded by callLimit).
    void startLine(int controllers = 1,
                   std::chrono::milliseconds callLimit = std::chrono::milliseconds(3000));
    // Registers and listens as the program does at start-up.
    void registerAndListen();

    // Polls the listener every few milliseconds until `done` holds; false
    // after timeoutMs.
    bool pollUntil(const std::function<bool()>& done, int timeoutMs = 15000);
    // Waits, polling the link, until the exchange log has `count` lines
    // matching `pattern`.
    bool pollUntilLogged(const QString& pattern, int count, int timeoutMs = 15000);
    int logged(const QString& pattern) const;

    // Little-endian hex of a 16/32-bit value, as the log writes message bytes.
    static QString hex16(unsigned value);
    static QString hex32(unsigned value);

    QTemporaryDir home;
    test::ExchangeProcess exchange;
    std::unique_ptr<Libcapi20Api> api;
    std::unique_ptr<CapiListener> listener;
    std::vector<QString> fatals;
    int calls = 0;
    std::vector<std::uint8_t> callingAtCall;
    std::vector<std::uint8_t> calledAtCall;
    bool registered = false;
};
