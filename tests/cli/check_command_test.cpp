// skntool check as a process: the demo skin passes, findings as lines or
// JSON with exit status 3, unreadable files 1, usage errors 2.
#include "item_list.h"
#include "sample_skin.h"
#include "skin_check.h"
#include "skntool_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// The default skin (placeholder playlist icons) with a button of no picture.
TSkinDocument FlawedSkin() {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikButton, "vol\x80");
    for (TPicture& p : doc.Buttons[0].Pictures)
        p.Image = PatternImage(20, 20);
    doc.Buttons[0].X = 230;
    return doc;
}
} // namespace

TEST_F(SkntoolTest, CheckPassesTheDemoSkin) {
    ASSERT_EQ(Run({"pack", QStringLiteral(LUMORA_DEMO_SKIN), "demo.skn"}).Status, 0);
    const TToolRun run = Run({"check", "demo.skn"});
    EXPECT_EQ(run.Status, 0) << run.Out.toStdString();
    EXPECT_EQ(run.Out, QByteArray());
    const TToolRun json = Run({"check", "--json", "demo.skn"});
    EXPECT_EQ(json.Status, 0);
    EXPECT_EQ(QJsonDocument::fromJson(json.Out).array(), QJsonArray());
}

TEST_F(SkntoolTest, CheckPrintsOneLinePerFindingErrorsFirstAndExitsWith3) {
    WriteSkin("flawed.skn", FlawedSkin());
    const TToolRun run = Run({"check", "flawed.skn"});
    EXPECT_EQ(run.Status, 3);
    EXPECT_EQ(QString::fromUtf8(run.Out),
              QStringLiteral(
                  "flawed.skn: playlist: error: FolderIcon (\"Folder icon\") is still the "
                  "placeholder picture\n"
                  "flawed.skn: playlist: error: SongIcon (\"Song icon\") is still the placeholder "
                  "picture\n"
                  "flawed.skn: item 0 \"vol\u20AC\": warning: its box 20 x 20 at (230, 0) lies "
                  "partly outside the 240 x 268 screen\n"));
}

TEST_F(SkntoolTest, CheckJsonGivesTheSameFindingsAsData) {
    WriteSkin("flawed.skn", FlawedSkin());
    const TToolRun run = Run({"check", "flawed.skn", "--json"});
    EXPECT_EQ(run.Status, 3);
    const QJsonArray list = QJsonDocument::fromJson(run.Out).array();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(
        list[0].toObject(),
        (QJsonObject{{"item", QJsonValue()},
                     {"name", QJsonValue()},
                     {"kind", QJsonValue()},
                     {"severity", "error"},
                     {"code", "placeholder"},
                     {"text", "FolderIcon (\"Folder icon\") is still the placeholder picture"}}));
    EXPECT_EQ(list[2].toObject(),
              (QJsonObject{{"item", 0},
                           {"name", QStringLiteral("vol\u20AC")},
                           {"kind", ikButton},
                           {"severity", "warning"},
                           {"code", "partly-off-screen"},
                           {"text", "its box 20 x 20 at (230, 0) lies partly outside the 240 x "
                                    "268 screen"}}));
}

TEST_F(SkntoolTest, CheckExitsWith1ForAFileAnd2ForUsage) {
    Write("short.skn", QByteArray::fromHex("E8030000F000"));
    const TToolRun missing = Run({"check", "missing.skn"});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Err, "skntool: missing.skn: File not found.\n");
    EXPECT_EQ(Run({"check", "short.skn"}).Status, 1);
    EXPECT_EQ(Run({"check"}).Status, 2);
    EXPECT_EQ(Run({"check", "a.skn", "b.skn"}).Status, 2);
    const TToolRun option = Run({"check", "--yaml", "a.skn"});
    EXPECT_EQ(option.Status, 2);
    EXPECT_TRUE(option.Out.isEmpty());
}

TEST_F(SkntoolTest, CheckHelpDocumentsEveryCheck) {
    const TToolRun run = Run({"help", "check"});
    ASSERT_EQ(run.Status, 0);
    for (const QString& code : SkinCheckCodes())
        EXPECT_TRUE(run.Out.contains(("  " + code + " ").toUtf8())) << code.toStdString();
    EXPECT_TRUE(run.Out.contains("3 with findings"));
}
