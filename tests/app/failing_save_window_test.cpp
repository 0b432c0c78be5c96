// A save that runs out of disk, driven through the editor's own Save: the
// window shows the error, and neither the file nor the skin changes.
#include "file_size_limit.h"
#include "main_window.h"
#include "sample_skin.h"
#include "scripted_prompts.h"
#include "skin_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

} // namespace

TEST(FailingSaveInTheEditor, ShowsDiskFullAndKeepsTheFileAndTheSkin) {
    QTemporaryDir dir;
    const QString path = dir.filePath("skin.skn");
    ASSERT_EQ(WriteSkinFile(MakeDefaultSkin(), path).toStdString(), "");
    const QByteArray before = Contents(path);

    TScriptedPrompts prompts;
    TForm1 form(prompts);
    prompts.FileNames.push_back(path);
    form.OpenSkin();
    ASSERT_TRUE(prompts.Errors.isEmpty());
    const QString title = form.windowTitle();
    ASSERT_EQ(title, "Kelvane LumoraSkin 1.0 - [skin.skn]");

    // The user's work since opening: a much larger skin than the file.
    TSkinDocument edited = MakeRichSkin();
    edited.FileName = form.Doc.FileName;
    edited.Untitled = false;
    form.Doc = edited;
    const QByteArray work = EncodeSkin(form.Doc);

    int errors = 0;
    for (const rlim_t stop : {rlim_t(0), rlim_t(1034), rlim_t(16384), rlim_t(work.size() - 1)}) {
        SCOPED_TRACE(stop);
        {
            TFileSizeLimit limit{stop};
            form.SaveSkin();
        }
        ASSERT_EQ(prompts.Errors.size(), ++errors);
        EXPECT_EQ(prompts.Errors.back().toStdString(), "Disk full.");
        EXPECT_EQ(Contents(path), before);
        EXPECT_EQ(EncodeSkin(form.Doc), work);
        EXPECT_EQ(form.Doc.FileName, path);
        EXPECT_EQ(form.windowTitle(), title);
    }
    // Only Open asked for a file: Save writes to the name the skin has.
    EXPECT_EQ(prompts.FileDialogs, std::vector<TFileDialog>{TFileDialog::OpenSkin});

    // With room again, the same Save writes the work.
    form.SaveSkin();
    EXPECT_EQ(prompts.Errors.size(), errors);
    EXPECT_EQ(Contents(path), work);
}

// A skin far smaller than Qt's write buffer: the bytes that never reached
// the disk must not pass for a save.
TEST(FailingSaveInTheEditor, SmallSkinOntoAFullDiskKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.skn");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    TScriptedPrompts prompts;
    TForm1 form(prompts);
    prompts.FileNames.push_back(path);
    {
        TFileSizeLimit limit{100};
        form.SaveSkinAs();
    }
    EXPECT_EQ(prompts.Errors, QStringList{"Disk full."});
    EXPECT_EQ(Contents(path), "old");
}
