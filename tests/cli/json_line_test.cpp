// Every line rx40ctl writes with --json parses as JSON whatever its texts
// hold: a JSON parser reads the members back as they were given.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <clocale>
#include <limits>

#include "cli/json_line.h"

namespace {

QJsonObject Parse(const std::string& line) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
  return document.object();
}

TEST(JsonLine, TextsComeBackAsGivenAndBytesThatAreNotUtf8AsTheReplacementCharacter) {
  const struct {
    std::string given;
    QString readBack;
  } cases[] = {
      {"plain", "plain"},
      {"quote \" and backslash \\", "quote \" and backslash \\"},
      {"tab\tline\nreturn\r", "tab\tline\nreturn\r"},
      {std::string("nul\0bell\a del\x7f", 14), QString::fromUtf8("nul\0bell\a del\x7f", 14)},
      {"Ångström 13.0° 东", QString::fromUtf8("Ångström 13.0° 东")},
      {"latin-1 \xE9t\xE9", QString::fromUtf8("latin-1 \uFFFDt\uFFFD")},
      {"cut \xE4\xB8", QString::fromUtf8("cut \uFFFD\uFFFD")},
      {"overlong \xC0\xAF", QString::fromUtf8("overlong \uFFFD\uFFFD")},
      {"surrogate \xED\xA0\x80", QString::fromUtf8("surrogate \uFFFD\uFFFD\uFFFD")},
  };
  for (const auto& c : cases) {
    const std::string line = JsonObject().Text("text", c.given).Line();
    EXPECT_EQ(line.find('\n'), std::string::npos) << "one line";
    EXPECT_EQ(Parse(line)["text"].toString(), c.readBack) << line;
  }
}

TEST(JsonLine, NumbersKeepTheirValueInAnyLocaleAndWhatIsNotFiniteIsNull) {
  // A locale with a decimal comma, when the system has one.
  const char* locale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  JsonObject object;
  object.Integer("big", std::numeric_limits<std::int64_t>::min())
      .Real("angle", -21.0762, 3)
      .Real("none", std::numeric_limits<double>::quiet_NaN(), 1)
      .Real("far", std::numeric_limits<double>::infinity(), 1)
      .Bool("locked", true)
      .Null("nothing")
      .Object("inner", JsonObject().Integer("n", 7))
      .Append(JsonObject().Text("after", "x"));
  const std::string line = object.Line();
  if (locale) std::setlocale(LC_NUMERIC, "C");
  const QJsonObject parsed = Parse(line);
  EXPECT_EQ(line.substr(0, 7), "{\"big\":");
  EXPECT_DOUBLE_EQ(parsed["angle"].toDouble(), -21.076);
  EXPECT_TRUE(parsed["none"].isNull());
  EXPECT_TRUE(parsed["far"].isNull());
  EXPECT_TRUE(parsed["locked"].toBool());
  EXPECT_TRUE(parsed["nothing"].isNull());
  EXPECT_EQ(parsed["inner"].toObject()["n"].toInt(), 7);
  EXPECT_EQ(parsed["after"].toString(), "x");
  EXPECT_EQ(JsonObject().Append(JsonObject()).Line(), "{}");
}

}  // namespace
