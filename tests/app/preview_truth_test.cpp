// What the preview tells of the device's truth: the status bar's pixel
// source under the pointer, the preview as a save keeps it, the marks of
// what a save changes, and whole blocks of device pixels at desktop scales.
#include "editor_fixture.h"
#include "item_list.h"
#include "player_screen.h"
#include "presentation.h"
#include "preview.h"
#include "sample_skin.h"

#include <QAction>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <map>

namespace {

constexpr char ScaledChild[] = "LUMORA_SCALED_PREVIEW_CHILD";

class PreviewTruth : public EditorTest {
  protected:
    void SetUp() override { ASSERT_TRUE(ShowActive()); }

    // Shown as a skin just opened, pictures as they are in memory.
    void Show(const TSkinDocument& doc) { Form.ShowOpenedSkin(doc); }

    QAction* Action(const char* name) { return Form.findChild<QAction*>(QLatin1String(name)); }
    QString Status() { return Form.statusBar()->currentMessage(); }

    static int AddImage(TSkinDocument& doc, const QByteArray& name, QPoint at, QImage picture) {
        const int row = AddItem(doc, ikImage, name);
        doc.Images.back().X = at.x();
        doc.Images.back().Y = at.y();
        doc.Images.back().Picture.Image = std::move(picture);
        return row;
    }
};

TEST_F(PreviewTruth, StatusBarNamesTheItemAndFileColourUnderThePointer) {
    TSkinDocument doc = MakeDefaultSkin();
    AddImage(doc, "dial", QPoint(10, 20), Solid(30, 30, qRgb(255, 0, 99)));
    Show(doc);
    QTest::mouseMove(Area(), QPoint(15, 25));
    EXPECT_EQ(Status(), R"(x 15, y 25: "dial" (image), r 31 g 0 b 12)");
    QTest::mouseMove(Area(), QPoint(100, 100));
    EXPECT_EQ(Status(), "x 100, y 100: r 0 g 0 b 0");
    // At 200 % the pointer's point is halved into a screen pixel.
    Form.Preview().SetZoom(1);
    QTest::mouseMove(Area(), QPoint(79, 99));
    EXPECT_EQ(Status(), R"(x 39, y 49: "dial" (image), r 31 g 0 b 12)");
    // The preview changing under a still pointer: to playlist mode and back.
    Form.ToolButton6->click();
    EXPECT_EQ(Status(), QString());
    Form.ToolButton8->click();
    EXPECT_EQ(Status(), R"(x 39, y 49: "dial" (image), r 31 g 0 b 12)");
    // A hidden item paints nothing, so the pixel is the black screen's.
    Form.Skin.SetHidden({0}, true);
    EXPECT_EQ(Status(), "x 39, y 49: r 0 g 0 b 0");
    QTest::mouseMove(Form.PlayerPanel->lbItems, QPoint(5, 5));
    EXPECT_EQ(Status(), QString());
}

TEST_F(PreviewTruth, PreviewAsSavedIsTheRenderOfTheSavedAndReopenedSkin) {
    TSkinDocument doc = MakeDefaultSkin();
    AddImage(doc, "photo", QPoint(7, 9), PatternImage(90, 70));
    AddItem(doc, ikText, "title");
    doc.Texts.back().Color = 0x004D03FA; // not of the file's picture levels: a save keeps it
    Show(doc);
    const QString path = PathOf("saved.skn");
    ASSERT_EQ(WriteSkinFile(Form.Doc, path), QString());
    TSkinReadResult read = ReadSkinFile(path);
    ASSERT_TRUE(read.Document);
    const QImage reopened = RenderPlayerPreview(*read.Document, Row(), View());
    ASSERT_NE(Preview(), reopened) << "the pictures hold levels a save does not keep";

    QTest::keyClick(&Form, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(Action("PreviewAsSaved1")->isChecked());
    EXPECT_EQ(Preview(), reopened);
    Action("PreviewAsSaved1")->setChecked(false);
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, Row(), View()));
}

TEST_F(PreviewTruth, SaveChangesAreMarkedOverThePreviewNotInIt) {
    // Per pixel: 8 is a file level (kept), 1 moves by one step (allowed), 7
    // and 200 move by 7 and 6 steps (changed). The text's colour is kept.
    QImage picture = Solid(4, 2, qRgb(8, 16, 24));
    picture.setPixel(1, 0, qRgb(1, 1, 1));
    picture.setPixel(2, 0, qRgb(7, 0, 0));
    picture.setPixel(3, 0, qRgb(200, 100, 48));
    TSkinDocument doc = MakeDefaultSkin();
    AddImage(doc, "strip", QPoint(2, 3), picture);
    AddItem(doc, ikText, "title");
    doc.Texts.back().X = doc.Texts.back().Y = 50;
    doc.Texts.back().Color = 0x00070707;
    Show(doc);
    Form.Preview().SetZoom(1);
    EXPECT_TRUE(Form.imArea->SaveChangeMarks().isNull());

    Action("SaveChanges1")->setChecked(true);
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, Row(), View())) << "the render is untouched";
    const QImage& marks = Form.imArea->SaveChangeMarks();
    ASSERT_EQ(marks.size(), Preview().size());
    for (int y = 0; y < marks.height(); ++y)
        for (int x = 0; x < marks.width(); ++x) {
            const bool changed = y / 2 == 3 && (x / 2 == 4 || x / 2 == 5);
            ASSERT_EQ(qAlpha(marks.pixel(x, y)) != 0, changed) << x << "," << y;
        }
    Action("SaveChanges1")->setChecked(false);
    EXPECT_TRUE(Form.imArea->SaveChangeMarks().isNull());
}

// At a desktop scale, in a child process started with it (the factor is
// read once, at start).
class ScaledPreview : public PreviewTruth {
  protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet(ScaledChild))
            GTEST_SKIP() << "runs in a child process at a desktop scale";
        PreviewTruth::SetUp();
    }
};

TEST_F(ScaledPreview, ScreenPixelsAreWholeBlocksAndPointsMapToThem) {
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    ASSERT_EQ(Area()->devicePixelRatio(), factor);
    // round(zoom x scale), halves up, at 100 % and 200 %.
    const std::map<qreal, std::array<int, 2>> blocks = {{1.25, {1, 3}}, {1.5, {2, 3}}};
    ASSERT_TRUE(blocks.count(factor));
    TSkinDocument doc = MakeDefaultSkin();
    AddImage(doc, "pattern", QPoint(3, 4), PatternImage(20, 16));
    Show(doc);
    for (int z = 0; z < 2; ++z) {
        Form.Preview().SetZoom(z);
        const int b = blocks.at(factor)[std::size_t(z)];
        const QImage screen = ComposePlayerScreen(Form.Doc, Row());
        const QImage grab = Area()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int w = std::min(grab.width(), 240 * b), h = std::min(grab.height(), 268 * b);
        ASSERT_GT(h, 200);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(grab.pixel(x, y), screen.pixel(x / b, y / b))
                    << "zoom " << z << " at device pixel " << x << "," << y;
        // The pointer on the first and the last device pixel of screen pixel
        // (5, 6)'s block, as the desktop gives it: divided by its scale.
        for (const int edge : {0, b - 1}) {
            const QPointF at((5 * b + edge) / factor, (6 * b + edge) / factor);
            QMouseEvent move(QEvent::MouseMove, at, Area()->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(Area(), &move);
            EXPECT_TRUE(Status().startsWith("x 5, y 6: ")) << Status().toStdString();
        }
    }
}

TEST(DesktopScale, ThePreviewIsWholeBlocksAtEachScaleInAProcessOfItsOwn) {
    for (const char* factor : {"1.25", "1.5"}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(factor));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QLatin1String(ScaledChild), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=ScaledPreview.*")});
        ASSERT_TRUE(child.waitForFinished(300000));
        const QByteArray out = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << "at " << factor << ":\n" << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test.")) << out.toStdString();
    }
}

} // namespace
