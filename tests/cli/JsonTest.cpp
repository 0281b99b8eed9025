#include "cli/Json.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace lobex::cli {
namespace {

QJsonObject Parse(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return document.object();
}

TEST(JsonWriter, WritesTextAnyJsonReaderTakesBack) {
    JsonWriter json;
    json.BeginObject();
    json.Key("text").String("quote \" backslash \\ line\r\nend\ttab \x01 Угол");
    json.Key("floats").Numbers(
        {0.1f, -177.29f, 1e-6f, 3.4e38f, std::nanf(""), std::numeric_limits<float>::infinity()});
    json.Key("nested").BeginArray();
    json.BeginObject().Key("a").Number(64LL).Key("b").Bool(false).EndObject();
    json.BeginObject().EndObject();
    json.EndArray();
    json.Key("none").Null();
    json.Key("empty").Strings({});
    json.EndObject();

    const QJsonObject object = Parse(json.Text());
    EXPECT_EQ(object["text"].toString().toStdString(),
              "quote \" backslash \\ line\r\nend\ttab \x01 Угол");
    const QJsonArray floats = object["floats"].toArray();
    ASSERT_EQ(floats.size(), 6);
    // Read back as doubles and narrowed, each is the float that was written.
    EXPECT_EQ(static_cast<float>(floats[0].toDouble()), 0.1f);
    EXPECT_EQ(static_cast<float>(floats[1].toDouble()), -177.29f);
    EXPECT_EQ(static_cast<float>(floats[2].toDouble()), 1e-6f);
    EXPECT_EQ(static_cast<float>(floats[3].toDouble()), 3.4e38f);
    EXPECT_TRUE(floats[4].isNull());
    EXPECT_TRUE(floats[5].isNull());
    EXPECT_EQ(object["nested"].toArray()[0].toObject()["a"].toInt(), 64);
    EXPECT_TRUE(object["nested"].toArray()[1].toObject().isEmpty());
    EXPECT_TRUE(object["none"].isNull());
    EXPECT_TRUE(object["empty"].toArray().isEmpty());
}

TEST(JsonWriter, BytesThatAreNotUtf8AreWrittenAsTheirLatin1Reading) {
    const std::pair<std::string, std::string> cases[] = {
        {"caf\xe9.csv", R"("caf\u00e9.csv")"},
        // Valid UTF-8 stays as it is, beside a stray byte.
        {"\xd0\xa3\xd0\xb3\xd0\xbe\xd0\xbb \xff", "\"\xd0\xa3\xd0\xb3\xd0\xbe\xd0\xbb \\u00ff\""},
        // A sequence cut short at the end, an overlong form and an encoded surrogate.
        {"\xc0\xaf", R"("\u00c0\u00af")"},
        {"\xed\xa0\x80", R"("\u00ed\u00a0\u0080")"},
    };
    for (const auto& [bytes, quoted] : cases) {
        EXPECT_EQ(JsonQuote(bytes), quoted);
        JsonWriter json;
        json.BeginObject().Key("file").String(bytes).EndObject();
        EXPECT_FALSE(Parse(json.Text())["file"].toString().isEmpty());
    }
}

} // namespace
} // namespace lobex::cli
