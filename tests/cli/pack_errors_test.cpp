// skntool pack on broken folders: the key or the bitmap named, status 1, nothing written.
#include "sample_skin.h"
#include "skntool_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The JSON with the value at path ("Buttons", "0", "X") replaced, or removed
// when value is undefined.
QJsonValue Edited(const QJsonValue& node, QStringList path, const QJsonValue& value) {
    if (path.isEmpty()) return value;
    const QString head = path.takeFirst();
    bool isIndex = false;
    const int index = head.toInt(&isIndex);
    const bool remove = path.isEmpty() && value.isUndefined();
    if (isIndex) {
        QJsonArray a = node.toArray();
        if (remove)
            a.removeAt(index);
        else
            a[index] = Edited(a[index], path, value);
        return a;
    }
    QJsonObject o = node.toObject();
    if (remove)
        o.remove(head);
    else
        o[head] = Edited(o[head], path, value);
    return o;
}

struct TSchemaCase {
    const char* Path; // separated by '/'
    QJsonValue Value;
    const char* Message;
};

} // namespace

class PackErrors : public SkntoolTest {
  protected:
    void SetUp() override {
        WriteSkin("rich.skn", MakeRichSkin());
        ASSERT_EQ(Run({"unpack", "rich.skn", "f"}).Status, 0);
        Json = QJsonDocument::fromJson(Bytes("f/skin.json")).object();
    }
    void ExpectFailure(const QByteArray& message) {
        const TToolRun run = Run({"pack", "f", "out.skn"});
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Err, "skntool: " + message + "\n");
        EXPECT_TRUE(run.Out.isEmpty());
        EXPECT_FALSE(Exists("out.skn"));
    }
    QJsonObject Json;
};

TEST_F(PackErrors, NameTheKeyThatIsMissingOrOfTheWrongType) {
    const TSchemaCase cases[] = {
        {"Playlist", QJsonValue::Undefined, R"(The key "Playlist" is missing.)"},
        {"Buttons/1/Command", QJsonValue::Undefined, R"(The key "Buttons[1].Command" is missing.)"},
        {"Buttons/0/X", "12", R"("Buttons[0].X" must be a whole number from 0 to 65535.)"},
        {"Buttons/0/X", 65536, R"("Buttons[0].X" must be a whole number from 0 to 65535.)"},
        {"Images/0/Y", -1, R"("Images[0].Y" must be a whole number from 0 to 65535.)"},
        {"Playlist/TitleHeight", 1.5,
         R"("Playlist.TitleHeight" must be a whole number from 0 to 65535.)"},
        {"Wheels/0/BallCount", 256,
         R"("Wheels[0].BallCount" must be a whole number from 0 to 255.)"},
        {"Texts/0/Bold", 1, R"("Texts[0].Bold" must be true or false.)"},
        {"Texts/1", "text", R"("Texts[1]" must be an object.)"},
        {"Trackbars", QJsonObject{}, R"("Trackbars" must be a list.)"},
        {"Wheels/0/Pictures/7", QJsonValue::Undefined,
         R"("Wheels[0].Pictures" must be a list of 8 pictures.)"},
        {"Trackbars/0/Pictures/1", 5,
         R"("Trackbars[0].Pictures[1]" must be a bitmap file name or null.)"},
        {"Playlist/FolderIcon", "", R"("Playlist.FolderIcon" must be a bitmap file name or null.)"},
        {"Playlist/Colors/6", -1,
         R"("Playlist.Colors[6]" must be a whole number from 0 to 4294967295.)"},
        {"Playlist/Colors/6", QJsonValue::Undefined,
         R"("Playlist.Colors" must be a list of 7 colours.)"},
        {"Items/0/Kind", 5, R"("Items[0].Kind" must be a whole number from 0 to 4.)"},
        {"Items/0/Name", 7, R"("Items[0].Name" must be a string.)"},
        {"Items/0/Name", QStringLiteral("\u65E5\u672C"),
         R"("Items[0].Name" holds a character that Windows-1252 cannot store.)"},
        {"Items/0/Index", 2, R"("Items[0].Index" is 2, but "Images" holds 2 records.)"},
        {"Items/8/Index", 0, R"("Items[0]" and "Items[8]" designate the same record.)"},
    };
    const QJsonObject original = Json;
    for (const TSchemaCase& c : cases) {
        SCOPED_TRACE(c.Path);
        const QJsonObject json =
            Edited(original, QString::fromLatin1(c.Path).split('/'), c.Value).toObject();
        Write("f/skin.json", QJsonDocument(json).toJson());
        ExpectFailure(QByteArray("f/skin.json: ") + c.Message);
    }
}

TEST_F(PackErrors, NameTheBitmapThatFailed) {
    Write("f/button-0-picture-3.bmp", "this is a text file, not a bitmap");
    ExpectFailure("f/button-0-picture-3.bmp: Bitmap image is not valid.");

    Write("f/button-0-picture-3.bmp", Bytes("f/button-0-picture-2.bmp").left(60));
    ExpectFailure("f/button-0-picture-3.bmp: Stream read error.");

    QFile::remove(Path("f/button-0-picture-3.bmp"));
    const TToolRun run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: f/button-0-picture-3.bmp: File not found.\n");
    EXPECT_FALSE(Exists("out.skn"));
}

TEST_F(PackErrors, ReportJsonThatDoesNotParse) {
    Write("f/skin.json", "{\n  \"ScreenWidth\": 240,\n  \"ScreenHeight\" 268\n}");
    const TToolRun run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.startsWith("skntool: f/skin.json: Not valid JSON: "))
        << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains("(line 3, column ")) << run.Err.toStdString();
    EXPECT_FALSE(Exists("out.skn"));

    Write("f/skin.json", "[1, 2]");
    ExpectFailure("f/skin.json: The file must hold one JSON object.");

    QFile::remove(Path("f/skin.json"));
    ExpectFailure("f/skin.json: File not found.");
}

TEST_F(PackErrors, LeaveAnExistingOutputAsItWas) {
    Write("out.skn", "precious");
    Write("f/skin.json", "{}");
    const TToolRun run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: f/skin.json: The key \"ScreenWidth\" is missing.\n");
    EXPECT_EQ(Bytes("out.skn"), "precious");
}
