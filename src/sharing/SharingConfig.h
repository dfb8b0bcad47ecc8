#pragma once

#include <QString>
#include <QtGlobal>

// How this desktop shares its calls over MQTT and receives those of others:
// the broker, the login, the topics. Filled from the settings by the
// program; the sharing code reads nothing from anywhere else.
struct SharingConfig
{
    // Publish every handled call.
    bool publish = false;
    QString host;
    quint16 port = 1883;
    // Both optional; the password is never written to any report.
    QString user;
    QString password;
    bool tls = false;
    // A CA certificate in PEM form; empty: the system's certificates.
    QString caFile;
    // The first topic level(s), "ringvakt" by default.
    QString prefix = QStringLiteral("ringvakt");
    // Announce a "Siste anrop" sensor to Home Assistant.
    bool homeAutomation = true;
    // This desktop's name in topics: one topic level (see topicLevel()).
    QString hostName = defaultHostName();
    // Receiving: only calls of this host; empty: of every host under the
    // prefix.
    QString hostFilter;

    // The machine's host name as one topic level.
    static QString defaultHostName();
    // A text as a single topic level: without '/', '+', '#', NUL and other
    // control characters (each becomes '_'), and not empty ("_" then).
    static QString topicLevel(const QString& text);
    // A prefix of one or more levels without wildcards, empty levels or
    // control characters; "ringvakt" when nothing is left.
    static QString topicPrefix(const QString& text);
    // True when a prefix as typed is one topicPrefix() takes as it stands:
    // no '#', '+', control character or empty level, and no spaces at the
    // ends of the text or of a level. Empty is the default prefix and
    // passes.
    static bool isTopicPrefix(const QString& text);
    // "host:port" as reports and the tray name the broker.
    QString brokerName() const;
};
