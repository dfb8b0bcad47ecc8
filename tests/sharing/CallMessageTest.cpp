#include "sharing/CallMessage.h"

#include "sharing/HomeAssistantDiscovery.h"
#include "sharing/SharingTopics.h"
#include "support/QtPrinting.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

QJsonObject objectOf(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

QString refusal(const QByteArray& bytes)
{
    QString why;
    const auto call = CallMessage::parse(bytes, &why);
    EXPECT_FALSE(call) << bytes.left(80).toStdString();
    return why;
}

} // namespace

TEST(CallMessage, AHandledCallAsJson)
{
    const QDateTime when(QDate(2026, 12, 7), QTime(17, 20, 53, 120), QTimeZone(3600));
    // "Bjørn" as the phone book keeps it, in code page 1252.
    const CallMessage call = CallMessage::fromCall(when, "7654321", "0212345678", true,
                                                   "Bj\xF8rn Hansen", true, "capi", "kontor");
    const QByteArray json = call.toJson();
    EXPECT_FALSE(json.contains('\n')) << "compact";
    const QJsonObject o = objectOf(json);
    EXPECT_EQ(o.value("time").toString(), "2026-12-07T17:20:53.120+01:00");
    EXPECT_EQ(o.value("date").toString(), "07-Des-2026");
    EXPECT_EQ(o.value("clock").toString(), "17:20:53");
    EXPECT_EQ(o.value("msn").toString(), "7654321");
    EXPECT_EQ(o.value("number").toString(), "0212345678");
    EXPECT_TRUE(json.contains("Bj\xC3\xB8rn Hansen")) << "UTF-8";
    EXPECT_EQ(o.value("known"), QJsonValue(true));
    EXPECT_EQ(o.value("numberDelivered"), QJsonValue(true));
    EXPECT_EQ(o.value("line").toString(), "capi");
    EXPECT_EQ(o.value("host").toString(), "kontor");

    // Read back, it is the same call at the same moment.
    QString why;
    const auto back = CallMessage::parse(json, &why);
    ASSERT_TRUE(back) << why.toStdString();
    EXPECT_EQ(back->time, when);
    EXPECT_EQ(back->id, call.id);
    EXPECT_EQ(back->name, "Bjørn Hansen");
    // The same call at the same moment, handled again: another call.
    const CallMessage second = CallMessage::fromCall(when, "7654321", "0212345678", true,
                                                     "Bj\xF8rn Hansen", true, "capi", "kontor");
    EXPECT_FALSE(second.id.isEmpty());
    EXPECT_NE(second.id, call.id);
    EXPECT_EQ(back->number, "0212345678");
}

TEST(CallMessage, WordsForNothingBecomeEmptyTexts)
{
    const CallMessage call =
        CallMessage::fromCall(QDateTime::currentDateTime(), "Ukjent nummer", "Ukjent nummer", false,
                              "???", false, "callmonitor", "kontor");
    const QJsonObject o = objectOf(call.toJson());
    EXPECT_EQ(o.value("msn").toString(), "");
    EXPECT_EQ(o.value("number").toString(), "");
    EXPECT_EQ(o.value("name").toString(), "");
    EXPECT_EQ(o.value("numberDelivered"), QJsonValue(false));
    EXPECT_TRUE(o.value("time").toString().contains(QRegularExpression("T\\d\\d:\\d\\d:\\d\\d")));
}

TEST(CallMessage, StrictReading)
{
    EXPECT_TRUE(refusal(R"({"number":"1","name":")" + QByteArray(4100, 'x') + "\"}")
                    .contains("larger than 4096"));
    EXPECT_TRUE(refusal("{\"number\":").contains("not valid JSON"));
    EXPECT_TRUE(refusal("[\"number\"]").contains("not a JSON object"));
    EXPECT_EQ(refusal(R"({"msn":"7654321"})"), "no number");
    for (const QByteArray bad :
         {R"({"number":"12a"})", R"({"number":12345})", R"({"number":"1\r\n2"})",
          R"({"number":"1\u00002"})", R"({"number":"٣٤٥"})"})
        EXPECT_EQ(refusal(bad), "the number is not a telephone number") << bad.toStdString();
    EXPECT_EQ(refusal(R"({"number":"1","msn":"../x"})"), "the MSN is not a telephone number");
    for (const QByteArray& bad : {QByteArray(R"({"number":"1","id":7})"),
                                  R"({"number":"1","id":")" + QByteArray(129, 'a') + "\"}"})
        EXPECT_EQ(refusal(bad), "the id is not a text of at most 128 characters");
    EXPECT_EQ(refusal(R"({"number":")" + QByteArray(126, '1') + "\"}"),
              "the number is not a telephone number");

    // What call handling does not need may be missing or odd.
    QString why;
    const auto bare = CallMessage::parse(R"({"number":"+47*31#","known":"yes","time":7})", &why);
    ASSERT_TRUE(bare) << why.toStdString();
    EXPECT_EQ(bare->number, "+47*31#");
    EXPECT_TRUE(bare->msn.isEmpty());
    EXPECT_TRUE(bare->numberDelivered);
    EXPECT_FALSE(bare->known);
    EXPECT_FALSE(bare->time.isValid());
    // An empty number is a call without one, whatever else is claimed.
    const auto anonymous = CallMessage::parse(R"({"number":"","numberDelivered":true})", &why);
    ASSERT_TRUE(anonymous) << why.toStdString();
    EXPECT_FALSE(anonymous->numberDelivered);
}

TEST(SharingTopics, WhatAUserTypedCannotWidenATopic)
{
    SharingConfig config;
    config.prefix = " hjem//ringvakt/# ";
    config.hostName = "kontor/+";
    config.hostFilter = "#";
    const SharingTopics topics(config);
    EXPECT_EQ(topics.callTopic(), "hjem/ringvakt/_/kontor__/call");
    EXPECT_EQ(topics.statusTopic(), "hjem/ringvakt/_/kontor__/status");
    EXPECT_EQ(topics.callSubscription(), "hjem/ringvakt/_/_/call");
    EXPECT_EQ(topics.hostOfCallTopic("hjem/ringvakt/_/stue/call"), "stue");
    EXPECT_EQ(topics.hostOfCallTopic("hjem/ringvakt/_/a/b/call"), "");
    EXPECT_EQ(topics.hostOfCallTopic("hjem/ringvakt/_/call"), "");

    config.prefix = "///";
    config.hostFilter = "";
    EXPECT_EQ(SharingTopics(config).callSubscription(), "ringvakt/+/call");
    EXPECT_FALSE(SharingConfig::defaultHostName().contains(QRegularExpression("[/+#\\s]")));
}

TEST(HomeAssistantDiscovery, SensorBoundToTheCallAndStatusTopics)
{
    SharingConfig config;
    config.hostName = "kontor.lan";
    const SharingTopics topics(config);
    EXPECT_EQ(homeassistant::discoveryTopic(topics),
              "homeassistant/sensor/ringvakt_kontor_2elan/last_call/config");
    const QJsonObject o = objectOf(homeassistant::discoveryConfig(topics));
    EXPECT_EQ(o.value("name").toString(), "Siste anrop");
    EXPECT_EQ(o.value("unique_id").toString(), "ringvakt_kontor_2elan_last_call");
    EXPECT_EQ(o.value("state_topic").toString(), "ringvakt/kontor.lan/call");
    EXPECT_EQ(o.value("json_attributes_topic").toString(), "ringvakt/kontor.lan/call");
    EXPECT_EQ(o.value("availability_topic").toString(), "ringvakt/kontor.lan/status");
    EXPECT_EQ(o.value("payload_available").toString(), "online");
    EXPECT_EQ(o.value("payload_not_available").toString(), "offline");
    EXPECT_TRUE(o.value("value_template").toString().contains("value_json.name"));
    const QJsonObject device = o.value("device").toObject();
    EXPECT_EQ(device.value("name").toString(), "Ringvakt kontor.lan");
    EXPECT_EQ(device.value("manufacturer").toString(), "Tornholt");
    EXPECT_EQ(device.value("model").toString(), "Ringvakt");
}

TEST(HomeAssistantDiscovery, DistinctSettingsDistinctIds)
{
    // name, prefix: a plain name under the usual prefix keeps its old id.
    const std::vector<std::pair<QString, QString>> settings{{"stue", "ringvakt"},
                                                            {"stue.hjemme", "ringvakt"},
                                                            {"stue_hjemme", "ringvakt"},
                                                            {"stue_2ehjemme", "ringvakt"},
                                                            {"stue", "hjem"},
                                                            {"stue", "hjem/ringvakt"},
                                                            {"stue__hjem", "ringvakt"},
                                                            {"Stue", "ringvakt"},
                                                            {"stue-ø", "ringvakt"}};
    QStringList topics;
    for (const auto& [name, prefix] : settings) {
        SharingConfig config;
        config.hostName = name;
        config.prefix = prefix;
        const QString topic = homeassistant::discoveryTopic(SharingTopics(config));
        EXPECT_TRUE(topic.contains(QRegularExpression("^homeassistant/sensor/[A-Za-z0-9_-]+/")))
            << topic.toStdString();
        EXPECT_FALSE(topics.contains(topic)) << topic.toStdString();
        topics << topic;
    }
    EXPECT_EQ(topics[0], "homeassistant/sensor/ringvakt_stue/last_call/config");
    EXPECT_EQ(topics[4], "homeassistant/sensor/ringvakt_stue__hjem/last_call/config");
}
