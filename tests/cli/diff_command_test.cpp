// skntool diff as a process, and both commands under git: textconv through
// "info" for git diff, "diff" itself for git difftool.
#include "item_list.h"
#include "sample_skin.h"
#include "skntool_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

namespace {
TSkinDocument EditedRichSkin() {
    TSkinDocument doc = MakeRichSkin();
    doc.Texts[0].X = 5;                            // "title", row 1
    doc.Images[1].Picture.Image.setPixel(0, 0, 0); // "logo", row 8
    AddItem(doc, ikButton, "stop");
    MoveItemUp(doc, 3); // "wheel" above "play"
    doc.Playlist.TitleBold = false;
    return doc;
}
} // namespace

TEST_F(SkntoolTest, DiffOfEqualDocumentsWrittenByPackAndByTheEditorIs0) {
    WriteSkin("editor.skn", MakeRichSkin());
    ASSERT_EQ(Run({"unpack", "editor.skn", "folder"}).Status, 0);
    // The two texts' records stored the other way round: other bytes, same skin.
    QJsonObject json = QJsonDocument::fromJson(Bytes("folder/skin.json")).object();
    QJsonArray texts = json["Texts"].toArray(), items = json["Items"].toArray();
    json["Texts"] = QJsonArray{texts[1], texts[0]};
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i].toObject()["Kind"].toInt() == ikText) {
            QJsonObject item = items[i].toObject();
            item["Index"] = 1 - item["Index"].toInt();
            items[i] = item;
        }
    json["Items"] = items;
    Write("folder/skin.json", QJsonDocument(json).toJson());
    ASSERT_EQ(Run({"pack", "folder", "packed.skn"}).Status, 0);
    ASSERT_NE(Bytes("packed.skn"), Bytes("editor.skn"));

    const TToolRun run = Run({"diff", "editor.skn", "packed.skn"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, QByteArray());
    EXPECT_EQ(run.Err, QByteArray());
}

TEST_F(SkntoolTest, DiffPrintsEachDifferenceAndExitsWith1) {
    WriteSkin("a.skn", MakeRichSkin());
    WriteSkin("b.skn", EditedRichSkin());
    const TToolRun run = Run({"diff", "a.skn", "b.skn"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(QString::fromUtf8(run.Out),
              "item 1 \"title\": X: 0 -> 5\n"
              "item 2 \"wheel\": moved from row 3\n"
              "item 8 \"logo\": Picture: 17 x 9 -> 17 x 9, 1 pixel differs\n"
              "item 10 \"stop\": added (button)\n"
              "playlist: TitleBold: true -> false\n");

    const TToolRun json = Run({"diff", "--json", "a.skn", "b.skn"});
    EXPECT_EQ(json.Status, 1);
    const QJsonArray list = QJsonDocument::fromJson(json.Out).array();
    ASSERT_EQ(list.size(), 5);
    EXPECT_EQ(list[2].toObject(), (QJsonObject{{"scope", "item"},
                                               {"change", "changed"},
                                               {"item", 8},
                                               {"name", "logo"},
                                               {"kind", ikImage},
                                               {"field", "Picture"},
                                               {"old", QJsonObject{{"Width", 17}, {"Height", 9}}},
                                               {"new", QJsonObject{{"Width", 17}, {"Height", 9}}},
                                               {"pixels", 1}}));
    EXPECT_EQ(list[1]["old"], 3);
    EXPECT_EQ(list[1]["new"], 2);
    EXPECT_EQ(list[4]["scope"], "playlist");
    EXPECT_EQ(list[4]["item"], QJsonValue());
}

TEST_F(SkntoolTest, DiffExitsWith2ForAnUnreadableFileAndForUsage) {
    WriteSkin("a.skn", MakeDefaultSkin());
    Write("bad.skn", QByteArray::fromHex("E9030000"));
    const TToolRun missing = Run({"diff", "a.skn", "missing.skn"});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_EQ(missing.Err, "skntool: missing.skn: File not found.\n");
    EXPECT_EQ(Run({"diff", "bad.skn", "a.skn"}).Status, 2);
    EXPECT_EQ(Run({"diff", "a.skn"}).Status, 2);
    EXPECT_EQ(Run({"diff", "--binary", "a.skn", "a.skn"}).Status, 2);
    EXPECT_EQ(Run({"diff", "a.skn", "a.skn"}).Status, 0);
    // "-" is standard input, as for every command, and only one skin fits there.
    EXPECT_EQ(Run({"diff", "-", "a.skn"}, {}, Path("a.skn")).Status, 0);
    const TToolRun badInput = Run({"diff", "a.skn", "-"}, {}, Path("bad.skn"));
    EXPECT_EQ(badInput.Status, 2);
    EXPECT_TRUE(badInput.Err.startsWith("skntool: standard input: ")) << badInput.Err.data();
    EXPECT_EQ(Run({"diff", "-", "-"}, {}, Path("a.skn")).Status, 2);
    EXPECT_TRUE(Run({"help", "diff"}).Out.contains("0 when the documents are equal, 1 when"));
}

// git diff shows the changed field through "info"; git difftool through "diff".
TEST_F(SkntoolTest, GitShowsTheChangedFieldOfACommittedSkin) {
    const QString git = QStandardPaths::findExecutable(QStringLiteral("git"));
    if (git.isEmpty()) GTEST_SKIP() << "git is not installed";
    const auto runGit = [&](const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", Path("home")); // no user's or system's settings
        env.insert("GIT_CONFIG_NOSYSTEM", "1");
        env.insert("GIT_AUTHOR_NAME", "t");
        env.insert("GIT_AUTHOR_EMAIL", "t@example.org");
        env.insert("GIT_COMMITTER_NAME", "t");
        env.insert("GIT_COMMITTER_EMAIL", "t@example.org");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(Path("repo"));
        p.start(git, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString() << "\n"
                                   << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString tool = QStringLiteral("\"%1\"").arg(QStringLiteral(SKNTOOL_PATH));
    Write("repo/.gitattributes", "*.skn diff=skn\n");
    runGit({"init", "-q"});
    runGit({"config", "diff.skn.textconv", tool + " info"});
    WriteSkin("repo/player.skn", MakeRichSkin());
    runGit({"add", "."});
    runGit({"commit", "-q", "-m", "first"});
    TSkinDocument edited = MakeRichSkin();
    edited.Wheels[0].BallCount = 7;
    WriteSkin("repo/player.skn", edited);
    runGit({"commit", "-q", "-a", "-m", "second"});

    const QString diff = runGit({"diff", "HEAD~1", "HEAD"});
    EXPECT_TRUE(diff.contains("-            \"BallCount\": 4,\n+            \"BallCount\": 7,\n"))
        << diff.toStdString();
    const QString difftool =
        runGit({"difftool", "-y", "-x", tool + " diff", "HEAD~1", "HEAD", "--", "player.skn"});
    EXPECT_EQ(difftool.toStdString(), "item 3 \"wheel\": BallCount: 4 -> 7\n");
}
