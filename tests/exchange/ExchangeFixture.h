#pragma once

#include "support/ExchangeProcess.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <string>

// One exchange per test, and libcapi20 pointed at it: HOME is a temporary
// folder holding the .capi20rc. The library reads that file whenever it
// opens its first connection (the first call, and the first one after a
// release), so HOME is set before any capi20_* call of the test.
class ExchangeFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::signal(SIGPIPE, SIG_IGN); // a closed line must not end the test
        ASSERT_TRUE(m_home.isValid());
        qputenv("HOME", m_home.path().toLocal8Bit());
    }

    // Starts the exchange and writes the .capi20rc for it.
    bool startExchange(const test::ExchangeProcess::Options& options = {})
    {
        return exchange.start(options) && exchange.writeCapiRc(m_home.path());
    }

    test::ExchangeProcess exchange;

private:
    QTemporaryDir m_home;
};

// Bytes from hex written with spaces, as in the protocol notes.
inline std::string bytesFromHex(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex)).toStdString();
}

inline QRegularExpression logPattern(const QString& pattern)
{
    return QRegularExpression(pattern);
}
