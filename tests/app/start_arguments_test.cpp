// The editor's command line: one skin file opens through Open's own steps;
// anything else is one line on standard error and a start as without it.
#include "editor_fixture.h"
#include "sample_skin.h"
#include "start_arguments.h"

#include <QDir>

TEST(StartArguments, OneFileOpensAnythingElseIsOneComplaint) {
    EXPECT_EQ(ParseStartArguments({}).SkinFile, std::nullopt);
    EXPECT_TRUE(ParseStartArguments({}).Complaint.isEmpty());
    const TStartArguments one = ParseStartArguments({"dir/demo.skn"});
    EXPECT_EQ(one.SkinFile, "dir/demo.skn");
    EXPECT_TRUE(one.Complaint.isEmpty());
    for (const QStringList& args :
         {QStringList{"a.skn", "b.skn"}, QStringList{"--frob"}, QStringList{""}}) {
        const TStartArguments other = ParseStartArguments(args);
        EXPECT_EQ(other.SkinFile, std::nullopt) << args.join(' ').toStdString();
        EXPECT_FALSE(other.Complaint.isEmpty());
        EXPECT_FALSE(other.Complaint.contains('\n'));
    }
}

TEST_F(EditorTest, AFileGivenAtStartUpOpensWithoutADialog) {
    const QString path = WriteFile("demo.skn", EncodeSkin(MakeRichSkin()));
    Form.OpenSkinFile(PathOf("cut.skn"));
    QDir().mkpath(PathOf("folder.skn"));
    Form.OpenSkinFile(PathOf("folder.skn"));
    EXPECT_EQ(Prompts.Errors, QStringList({"File not found.", "Is a folder."}));
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [Untitled.skn]");

    Form.OpenSkinFile(path);
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [demo.skn]");
    EXPECT_EQ(EncodeSkin(Form.Doc), EncodeSkin(MakeRichSkin()));
    EXPECT_TRUE(Prompts.FileDialogs.empty());
}
