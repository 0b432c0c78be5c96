// skin.json read a record at a time gives the document the whole parse
// gives; a text it does not expect goes to the whole parse, so pack names
// the first problem in file order as ever.
#include "sample_skin.h"
#include "skin_json.h"
#include "skntool_process.h"

#include <QJsonDocument>

namespace {

// As wide as the name is long, so that slots naming different files differ.
QImage NamedPicture(const QJsonValue& value, const TJsonKey&) {
    if (value.isNull()) return QImage();
    return QImage(int(value.toString().size()), 1, QImage::Format_RGB32);
}

QJsonObject Described(const TSkinDocument& doc) {
    return SkinToJson(
        doc, [](const TPicture& picture, const QString&) { return PictureSizeJson(picture); });
}

} // namespace

TEST(SkinJsonText, ReadsWhatTheWholeParseReads) {
    TSkinDocument rich = MakeRichSkin();
    rich.Images[1].X = 5; // as a file holds it: no negative numbers
    // What the scanner must pass over inside strings.
    rich.Items[0].Name = "a}]\\\"{[,:\"";
    rich.Items[1].Name = "\\";
    const QJsonObject json = SkinToJson(rich, [](const TPicture&, const QString& place) {
        return QJsonValue(place + QStringLiteral("\"]}"));
    });
    const QByteArray indented = QJsonDocument(json).toJson();
    QByteArray edited = QJsonDocument(json).toJson(QJsonDocument::Compact);
    // By hand: white space of every kind, escapes, and a list of objects
    // under a key of no meaning at the top.
    edited.replace("{\"Index\":", "{\r\n\t\"Index\" : ");
    edited.replace("\"Name\":\"", "\"Name\":\"\\u00e9\\/");
    edited.insert(1, "\"Notes\":[{\"Texts\":[{\"]\":\"}\"}]}], ");
    for (const QByteArray& text : {indented, edited}) {
        const TSkinDocument whole =
            SkinFromJson(QJsonDocument::fromJson(text).object(), NamedPicture);
        EXPECT_EQ(Described(SkinFromJsonText(text, NamedPicture)), Described(whole));
    }
}

class PackSplit : public SkntoolTest {
  protected:
    void SetUp() override {
        WriteSkin("rich.skn", MakeRichSkin());
        ASSERT_EQ(Run({"unpack", "rich.skn", "f"}).Status, 0);
        Text = Bytes("f/skin.json");
    }
    QByteArray Failure(const QByteArray& text) {
        Write("f/skin.json", text);
        const TToolRun run = Run({"pack", "f", "out.skn"});
        EXPECT_EQ(run.Status, 1);
        EXPECT_FALSE(Exists("out.skn"));
        return run.Err;
    }
    QByteArray Text;
};

TEST_F(PackSplit, NamesAJsonErrorInALaterRecordBeforeAnEarlierRecordsProblem) {
    QByteArray text = Text;
    // Items are read first, Wheels lie last in the file.
    text.replace(text.indexOf("\"Kind\": ") + 8, 1, "9");
    const qsizetype broken = text.lastIndexOf("\"BallDist\":") + 10;
    text.remove(broken, 1);
    const QByteArray line = QByteArray::number(text.left(broken).count('\n') + 1);
    const QByteArray err = Failure(text);
    EXPECT_TRUE(err.startsWith(
        "skntool: f/skin.json: Not valid JSON: Missing a colon after a name of object "
        "member "
        "(line " +
        line + ", column "))
        << err.toStdString();
}

TEST_F(PackSplit, RefusesARecordNestedTooDeeplyForTheWholeDocument) {
    // Deep enough only with the top object and its list around it.
    QByteArray text = Text;
    text.insert(text.indexOf("\"Command\""),
                "\"Notes\": " + QByteArray(1022, '[') + QByteArray(1022, ']') + ", ");
    EXPECT_TRUE(Failure(text).startsWith(
        "skntool: f/skin.json: Not valid JSON: too deeply nested document (line "));
}
