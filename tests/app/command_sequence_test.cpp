// Long random runs of the window's commands, each seed giving the same run:
// adds, moves, deletes, renames, row clicks, mode and zoom changes, typing
// into the visible page, choices, check boxes, colours, pictures, New, Open,
// Save as and dither. After every step the list, the records, the inspector
// and the preview must still agree with each other.
#include "code_page.h"
#include "editor_fixture.h"
#include "item_commands.h"
#include "item_inspector.h"
#include "item_list.h"
#include "keystrokes.h"
#include "new_skin.h"
#include "number_field.h"
#include "preview.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int StepsPerRun = 400;

// The controls of the page the user sees, the ones a step may use.
struct TVisiblePage {
    std::vector<TNumberField*> Numbers;
    std::vector<QComboBox*> Choices;
    std::vector<QCheckBox*> Checks;
    std::vector<QPushButton*> Colours;
    std::vector<const TPictureRow*> Rows;
};

class CommandSequence : public EditorTest, public ::testing::WithParamInterface<unsigned> {
  protected:
    std::mt19937 Rng;
    std::vector<std::string> Log; // the steps so far, for the failure message
    QStringList Pictures;         // good bitmaps of several depths, one with magenta
    QString BrokenPicture, EmptyPicture, BrokenSkin;
    QString LastSaved;
    int SaveCount = 0;

    QListWidget* List() { return Form.PlayerPanel->lbItems; }
    bool PlayerMode() { return Form.ToolButton8->isChecked(); }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Rng); }
    template <class T> T PickOf(const std::vector<T>& v) {
        return v[std::size_t(Pick(int(v.size())))];
    }

    void SetUp() override {
        Rng.seed(GetParam());
        auto save = [&](const QImage& image, const QString& name) {
            const QString path = PathOf(name);
            EXPECT_TRUE(image.save(path, "BMP"));
            Pictures << path;
        };
        QImage rgb(7, 5, QImage::Format_RGB32);
        rgb.fill(qRgb(30, 160, 90));
        save(rgb, "green.bmp");
        QImage keyed(12, 9, QImage::Format_RGB32);
        keyed.fill(qRgb(200, 40, 40));
        for (int y = 2; y < 6; ++y)
            for (int x = 3; x < 9; ++x)
                keyed.setPixel(x, y, qRgb(255, 0, 255));
        save(keyed, "magenta.bmp");
        QImage indexed(20, 3, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 0), qRgb(255, 0, 255)});
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 20; ++x)
                indexed.setPixel(x, y, uint((x + y) % 3));
        save(indexed, "indexed.bmp");
        QImage tall(1, 40, QImage::Format_RGB32);
        tall.fill(qRgb(250, 250, 250));
        save(tall, "tall.bmp");
        // Cut within its pixel rows, and a file of no bytes.
        BrokenPicture = WriteFile("cut.bmp", ReadBytes(Pictures[0]).left(60));
        EmptyPicture = WriteFile("empty.bmp", QByteArray());
        // A skin file that ends within its item list.
        TSkinDocument skin;
        AddItem(skin, ikText, "t");
        BrokenSkin = WriteFile("cut.skn", EncodeSkin(skin).left(30));
    }

    std::string Trail() const {
        std::string s;
        const std::size_t from = Log.size() > 12 ? Log.size() - 12 : 0;
        for (std::size_t i = from; i < Log.size(); ++i)
            s += "\n  " + std::to_string(i) + ": " + Log[i];
        return s;
    }

    QString RandomName() {
        switch (Pick(9)) {
        case 0:
            return QString();
        case 1: {
            QString s;
            for (int i = 0; i < 255; ++i)
                s += QChar(u'a' + Pick(26));
            return s;
        }
        case 2:
            return QString(255, QChar(0x00E9)); // é, a byte of its own
        case 3:
            return QStringLiteral("Ωμέγα кнопка");
        case 4:
            return QStringLiteral("日本語 😀");
        case 5:
            return QStringLiteral("€uro ÿ Š");
        case 6:
            return QStringLiteral("same");
        default:
            return QStringLiteral("item %1").arg(Pick(1000));
        }
    }

    TVisiblePage VisiblePage() {
        TVisiblePage p;
        if (!PlayerMode()) {
            TPlaylistPanel& l = *Form.PlaylistPanel;
            p.Numbers = {l.SpinEdit20, l.SpinEdit21, l.SpinEdit22, l.SpinEdit23};
            p.Checks = {l.CheckBox2, l.CheckBox3};
            p.Colours.assign(l.ColorButtons.begin(), l.ColorButtons.end());
            p.Rows = {&l.FolderRow, &l.SongRow};
            return p;
        }
        TItemInspector& i = I();
        switch (Form.PlayerPanel->nbInspector->currentIndex()) {
        case ikImage:
            p.Numbers = {i.SpinEdit1, i.SpinEdit2};
            p.Choices = {i.ComboBox7};
            p.Rows = {&i.ImageRow};
            break;
        case ikText:
            p.Numbers = {i.SpinEdit3, i.SpinEdit4, i.SpinEdit5, i.SpinEdit6, i.SpinEdit7};
            p.Choices = {i.ComboBox2, i.ComboBox3, i.ComboBox4};
            p.Checks = {i.CheckBox1};
            p.Colours = {i.BitBtn3};
            break;
        case ikButton:
            p.Numbers = {i.SpinEdit8, i.SpinEdit9};
            p.Choices = {i.ComboBox5};
            for (const TPictureRow& r : i.ButtonRows)
                p.Rows.push_back(&r);
            break;
        case ikWheel:
            p.Numbers = {i.SpinEdit10, i.SpinEdit11, i.SpinEdit12, i.SpinEdit13};
            p.Choices = {i.ComboBox8, i.ComboBox9, i.ComboBox10, i.ComboBox11, i.ComboBox12};
            for (const TPictureRow& r : i.WheelRows)
                p.Rows.push_back(&r);
            break;
        case ikTrackbar:
            p.Numbers = {i.SpinEdit17, i.SpinEdit18, i.SpinEdit16, i.SpinEdit14};
            p.Checks = {i.CheckBox4, i.CheckBox5};
            p.Choices = {i.ComboBox6};
            for (const TPictureRow& r : i.TrackbarRows)
                p.Rows.push_back(&r);
            break;
        default:
            break;
        }
        return p;
    }

    void ClickRow(int row) {
        QListWidgetItem* item = List()->item(row);
        List()->scrollToItem(item);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                          List()->visualItemRect(item).center());
    }

    // One random step; returns how many error boxes it expects.
    int Step() {
        const int n = Form.Doc.Items.size();
        switch (Pick(24)) {
        case 0:
        case 1:
        case 2: {
            QToolButton* adds[] = {Form.ToolButton12, Form.ToolButton10, Form.ToolButton9,
                                   Form.ToolButton11, Form.ToolButton13};
            const int kind = Pick(5);
            const bool cancel = Pick(8) == 0;
            const QString name = RandomName();
            Log.push_back("add kind " + std::to_string(kind) + (cancel ? " cancelled" : ""));
            if (cancel)
                Prompts.Names.push_back(std::nullopt);
            else
                Prompts.Names.push_back(name);
            adds[kind]->click();
            if (!cancel) {
                EXPECT_EQ(Form.Doc.Items.size(), n + 1);
                EXPECT_EQ(Row(), n);
                EXPECT_EQ(Form.Doc.Items.back().Name.size(), name.toUcs4().size());
            }
            return 0;
        }
        case 3:
        case 4: {
            const bool up = Pick(2) == 0;
            const int from = Row();
            Log.push_back((up ? "move up row " : "move down row ") + std::to_string(from));
            (up ? Form.ToolButton15 : Form.ToolButton16)->click();
            const bool moved = from >= 0 && (up ? from > 0 : from < n - 1);
            EXPECT_EQ(Row(), moved ? from + (up ? -1 : 1) : from);
            return 0;
        }
        case 5:
            Log.push_back("delete row " + std::to_string(Row()));
            Form.ToolButton18->click();
            return 0;
        case 6: {
            if (!PlayerMode() || n == 0) return 0;
            const int row = Pick(n);
            const bool cancel = Pick(6) == 0;
            Log.push_back("rename row " + std::to_string(row) + (cancel ? " cancelled" : ""));
            Prompts.Names.push_back(cancel ? std::nullopt : std::optional(RandomName()));
            ClickRow(row);
            const QPoint at = List()->visualItemRect(List()->item(row)).center();
            QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
            return 0;
        }
        case 7:
        case 8: {
            if (!PlayerMode() || n == 0) return 0;
            const int how = Pick(4);
            if (how == 0) {
                Log.push_back("key down in the list");
                QTest::keyClick(List(), Qt::Key_Down);
            } else if (how == 1) {
                Log.push_back("key up in the list");
                QTest::keyClick(List(), Qt::Key_Up);
            } else {
                const int row = Pick(n);
                Log.push_back("click row " + std::to_string(row));
                ClickRow(row);
                EXPECT_EQ(Row(), row);
            }
            return 0;
        }
        case 9: {
            const bool player = Pick(2) == 0;
            Log.push_back(player ? "player mode" : "playlist mode");
            (player ? Form.ToolButton8 : Form.ToolButton6)->click();
            return 0;
        }
        case 10: {
            const int zoom = Pick(4);
            Log.push_back("zoom " + std::to_string(zoom));
            Form.ComboBox1->setCurrentIndex(zoom);
            Q_EMIT Form.ComboBox1->activated(zoom);
            return 0;
        }
        case 11:
        case 12:
        case 13:
            return TypeIntoField();
        case 14:
        case 15: {
            const TVisiblePage page = VisiblePage();
            if (page.Choices.empty()) return 0;
            QComboBox* box = PickOf(page.Choices);
            const int index = Pick(box->count());
            Log.push_back("choose " + box->objectName().toStdString() + " " +
                          std::to_string(index));
            box->setCurrentIndex(index);
            Q_EMIT box->activated(index);
            return 0;
        }
        case 16: {
            const TVisiblePage page = VisiblePage();
            if (page.Checks.empty()) return 0;
            QCheckBox* box = PickOf(page.Checks);
            Log.push_back("toggle " + box->objectName().toStdString());
            box->click();
            return 0;
        }
        case 17: {
            const TVisiblePage page = VisiblePage();
            if (page.Colours.empty()) return 0;
            QPushButton* button = PickOf(page.Colours);
            const bool cancel = Pick(4) == 0;
            Log.push_back("colour " + button->objectName().toStdString() +
                          (cancel ? " cancelled" : ""));
            Prompts.Colors.push_back(cancel ? std::nullopt
                                            : std::optional(TColor(Rng() & 0xFFFFFF)));
            button->click();
            return 0;
        }
        case 18:
        case 19:
            return PictureStep();
        case 20: {
            const bool cancel = Pick(6) == 0;
            const QString path = PathOf(QStringLiteral("saved%1.skn").arg(SaveCount++ % 3));
            Log.push_back("save as" + std::string(cancel ? " cancelled" : ""));
            Prompts.FileNames.push_back(cancel ? std::nullopt : std::optional(path));
            Form.Saveas1->trigger();
            if (!cancel) {
                LastSaved = path;
                EXPECT_EQ(Form.Doc.FileName, path);
                EXPECT_FALSE(Form.Doc.Untitled);
            }
            return 0;
        }
        case 21: {
            const int how = Pick(5);
            if (how == 0 || LastSaved.isEmpty()) {
                const TSkinDocument before = Form.Doc;
                const QString title = Form.windowTitle();
                Log.push_back("open a cut file");
                Open(BrokenSkin);
                EXPECT_EQ(Form.Doc, before);
                EXPECT_EQ(Form.windowTitle(), title);
                return 1;
            }
            Log.push_back("open " + LastSaved.toStdString());
            Open(LastSaved);
            EXPECT_EQ(Row(), Form.Doc.Items.isEmpty() ? -1 : 0);
            return 0;
        }
        case 22: {
            const int preset = Pick(ResolutionPresets.size() + 1);
            const TSkinDocument before = Form.Doc;
            Log.push_back("new, preset " + std::to_string(preset));
            if (preset == CustomPreset)
                Prompts.NewSkinSizes.push_back(QSize(120 + Pick(1081), 120 + Pick(1081)));
            else if (preset < CustomPreset)
                Prompts.NewSkinSizes.push_back(
                    QSize(ResolutionPresets[std::size_t(preset)].Width,
                          ResolutionPresets[std::size_t(preset)].Height));
            else
                Prompts.NewSkinSizes.push_back(std::nullopt);
            Form.ToolButton1->click();
            if (preset > CustomPreset) {
                EXPECT_EQ(Form.Doc, before);
            } else {
                EXPECT_TRUE(Form.Doc.Items.isEmpty());
                EXPECT_EQ(Form.ComboBox1->currentIndex(), 0);
            }
            return 0;
        }
        default: {
            const bool yes = Pick(2) == 0;
            const TSkinDocument before = Form.Doc;
            Log.push_back(yes ? "dither yes" : "dither no");
            Prompts.YesNo.push_back(yes);
            Form.ToolButton20->click();
            if (!yes) {
                EXPECT_EQ(Form.Doc, before);
            }
            return 0;
        }
        }
    }

    int TypeIntoField() {
        const TVisiblePage page = VisiblePage();
        if (page.Numbers.empty()) return 0;
        TNumberField* field = PickOf(page.Numbers);
        static const char* const texts[] = {
            "-",    "",      "0",     "5",          "-7",          "37",          "150", "-300",
            "1000", "65535", "70000", "2147483647", "-2147483648", "99999999999", "up",  "down"};
        const std::string text = texts[Pick(int(std::size(texts)))];
        Log.push_back("type '" + text + "' into " + field->objectName().toStdString());
        if (text == "up") {
            field->stepUp();
        } else if (text == "down") {
            field->stepDown();
        } else {
            TypeInto(field, QString::fromStdString(text));
        }
        Leave(field);
        return 0;
    }

    int PictureStep() {
        const TVisiblePage page = VisiblePage();
        std::vector<const TPictureRow*> rows;
        for (const TPictureRow* r : page.Rows)
            if (r->Open->isEnabled()) rows.push_back(r);
        if (rows.empty()) return 0;
        const TPictureRow& row = *PickOf(rows);
        const std::string name = row.Open->objectName().toStdString();
        const int how = Pick(8);
        if (how == 0) {
            Log.push_back("view " + name);
            const std::size_t viewed = Prompts.ViewedPictures.size();
            row.View->click();
            EXPECT_EQ(Prompts.ViewedPictures.size(), viewed + 1);
            return 0;
        }
        if (how == 1) {
            Log.push_back("save picture " + name);
            Prompts.FileNames.push_back(PathOf("slot.bmp"));
            row.Save->click();
            return 0;
        }
        if (how == 2) {
            const bool empty = Pick(2) == 0;
            Log.push_back("open a broken picture into " + name);
            const TSkinDocument before = Form.Doc;
            Prompts.FileNames.push_back(empty ? EmptyPicture : BrokenPicture);
            row.Open->click();
            EXPECT_EQ(Form.Doc, before);
            EXPECT_EQ(Prompts.Errors.isEmpty() ? QString() : Prompts.Errors.back(),
                      empty ? "Bitmap image is not valid." : "Stream read error.");
            return 1;
        }
        if (how == 3) {
            Log.push_back("open cancelled on " + name);
            const TSkinDocument before = Form.Doc;
            Prompts.FileNames.push_back(std::nullopt);
            row.Open->click();
            EXPECT_EQ(Form.Doc, before);
            return 0;
        }
        const QString file = PickOf(std::vector<QString>(Pictures.begin(), Pictures.end()));
        Log.push_back("load " + file.section('/', -1).toStdString() + " into " + name);
        Prompts.FileNames.push_back(file);
        row.Open->click();
        return 0;
    }

    // The state every command must leave behind.
    void CheckInvariants(int errorsBefore, int expectedErrors) {
        const TSkinDocument& doc = Form.Doc;
        SCOPED_TRACE(Trail());

        ASSERT_EQ(Prompts.Errors.size() - errorsBefore, expectedErrors)
            << Prompts.Errors.mid(errorsBefore).join('\n').toStdString();
        EXPECT_TRUE(Prompts.FileNames.empty() && Prompts.Names.empty() && Prompts.Colors.empty() &&
                    Prompts.NewSkinSizes.empty() && Prompts.YesNo.empty())
            << "a scripted answer was not asked for";
        Prompts.FileNames.clear();
        Prompts.Names.clear();
        Prompts.Colors.clear();
        Prompts.NewSkinSizes.clear();
        Prompts.YesNo.clear();

        // The list view shows Items row for row.
        ASSERT_EQ(List()->count(), doc.Items.size());
        for (int i = 0; i < doc.Items.size(); ++i)
            ASSERT_EQ(List()->item(i)->text(), DecodeName(doc.Items[i].Name)) << "row " << i;

        // Every entry designates a record of its kind, every record exactly one entry.
        std::vector<std::vector<int>> designated(ItemKindCount);
        for (int kind = 0; kind < ItemKindCount; ++kind)
            designated[std::size_t(kind)].assign(std::size_t(RecordCount(doc, kind)), 0);
        for (const TDocItem& item : doc.Items) {
            ASSERT_LT(item.Kind, ItemKindCount);
            auto& marks = designated[item.Kind];
            ASSERT_TRUE(item.Index >= 0 && std::size_t(item.Index) < marks.size())
                << "kind " << int(item.Kind) << " index " << item.Index;
            ++marks[std::size_t(item.Index)];
        }
        for (int kind = 0; kind < ItemKindCount; ++kind)
            for (int count : designated[std::size_t(kind)])
                ASSERT_EQ(count, 1) << "a record of kind " << kind;

        // The inspector shows the selected row's page, or the empty page.
        const int row = Row();
        ASSERT_LT(row, doc.Items.size());
        const int page = Form.PlayerPanel->nbInspector->currentIndex();
        ASSERT_EQ(page, row < 0 ? EmptyInspectorPage : int(doc.Items[row].Kind));
        if (row >= 0) CheckPageShows(doc.Items[row]);
        EXPECT_EQ(Form.Notebook1->currentIndex(), PlayerMode() ? PlayerPage : PlaylistPage);
        if (!PlayerMode()) CheckPlaylistPageShows(doc.Playlist);

        for (const TiText& t : doc.Texts) {
            if (t.TextType >= ttSongTitle && t.TextType <= ttSystemTime) {
                ASSERT_EQ(t.PreviewText, PreviewTextFor(t.TextType));
            }
        }

        // The title marks unsaved changes; without the mark the file holds the skin.
        const bool marked = Form.windowTitle().endsWith(QLatin1Char('*'));
        EXPECT_EQ(Form.windowTitle(), WindowTitleFor(doc.FileName) + (marked ? "*" : ""));
        if (!marked && !doc.Untitled) {
            EXPECT_EQ(ReadBytes(doc.FileName), EncodeSkin(doc));
        }

        // The preview: the area's size, showing the current mode's screen.
        ASSERT_EQ(Preview().size(), Form.imArea->size());
        const QImage shown = PlayerMode() ? RenderPlayerPreview(doc, row, View())
                                          : RenderPlaylistPreview(doc, View());
        EXPECT_TRUE(Preview() == shown) << "the current mode's screen is not on show";
    }

    static int Shown(int value, const TNumberField* field) {
        return field->HasRange() ? std::clamp(value, field->Minimum(), field->Maximum()) : value;
    }
    static int ChoiceOf(int value, const QComboBox* box) {
        return value >= 0 && value < box->count() ? value : -1;
    }

    // The current item's page holds the record's values.
    void CheckPageShows(const TDocItem& item) {
        TItemInspector& i = I();
        const TSkinDocument& doc = Form.Doc;
        auto number = [](const TNumberField* f, int v) {
            EXPECT_EQ(f->Value(), Shown(v, f)) << f->objectName().toStdString();
        };
        auto choice = [](const QComboBox* b, int v) {
            EXPECT_EQ(b->currentIndex(), ChoiceOf(v, b)) << b->objectName().toStdString();
        };
        if (const TiImage* r = RecordOf<TiImage>(doc, item)) {
            number(i.SpinEdit1, r->X);
            number(i.SpinEdit2, r->Y);
            choice(i.ComboBox7, r->RepaintWhen);
        } else if (const TiText* t = RecordOf<TiText>(doc, item)) {
            number(i.SpinEdit3, t->X);
            number(i.SpinEdit4, t->Y);
            number(i.SpinEdit5, t->Width);
            number(i.SpinEdit6, t->Height);
            number(i.SpinEdit7, t->FontSize);
            choice(i.ComboBox2, t->HAlign);
            choice(i.ComboBox3, t->VAlign);
            choice(i.ComboBox4, t->TextType);
            EXPECT_EQ(i.CheckBox1->isChecked(), t->Bold);
        } else if (const TiButton* b = RecordOf<TiButton>(doc, item)) {
            number(i.SpinEdit8, b->X);
            number(i.SpinEdit9, b->Y);
            choice(i.ComboBox5, b->Command);
            EXPECT_EQ(i.ButtonRows[2].Open->isEnabled(), HasTwoStates(b->Command));
            EXPECT_EQ(i.ButtonRows[3].View->isEnabled(), HasTwoStates(b->Command));
        } else if (const TiWheel* w = RecordOf<TiWheel>(doc, item)) {
            number(i.SpinEdit10, w->X);
            number(i.SpinEdit11, w->Y);
            number(i.SpinEdit12, w->BallDist);
            number(i.SpinEdit13, w->BallCount);
            choice(i.ComboBox8, w->CenterCommand);
            choice(i.ComboBox9, w->LeftCommand);
            choice(i.ComboBox10, w->RightCommand);
            choice(i.ComboBox11, w->TopHalfAction);
            choice(i.ComboBox12, w->BottomHalfAction);
            EXPECT_EQ(i.WheelRows[4].Open->isEnabled(), HasTwoStates(w->CenterCommand));
        } else if (const TiTrackbar* k = RecordOf<TiTrackbar>(doc, item)) {
            number(i.SpinEdit17, k->X);
            number(i.SpinEdit18, k->Y);
            number(i.SpinEdit16, k->Width);
            number(i.SpinEdit14, k->Height);
            EXPECT_EQ(i.CheckBox4->isChecked(), k->ProgressStretch);
            EXPECT_EQ(i.CheckBox5->isChecked(), k->ShowScroller);
            choice(i.ComboBox6, k->TrackType);
            EXPECT_EQ(i.TrackbarRows[1].Open->isEnabled(), k->ShowScroller);
        }
    }

    void CheckPlaylistPageShows(const TPlaylistSettings& look) {
        const TPlaylistPanel& p = *Form.PlaylistPanel;
        EXPECT_EQ(p.SpinEdit20->Value(), Shown(look.TitleHeight, p.SpinEdit20));
        EXPECT_EQ(p.SpinEdit21->Value(), Shown(look.ItemHeight, p.SpinEdit21));
        EXPECT_EQ(p.SpinEdit22->Value(), Shown(look.TitleFontSize, p.SpinEdit22));
        EXPECT_EQ(p.SpinEdit23->Value(), Shown(look.ItemFontSize, p.SpinEdit23));
        EXPECT_EQ(p.CheckBox2->isChecked(), look.TitleBold);
        EXPECT_EQ(p.CheckBox3->isChecked(), look.ItemBold);
    }
};

TEST_P(CommandSequence, EveryStepKeepsListRecordsInspectorAndPreviewInStep) {
    for (int step = 0; step < StepsPerRun; ++step) {
        const int errors = int(Prompts.Errors.size());
        const std::size_t logged = Log.size();
        const int expected = Step();
        if (Log.size() == logged) Log.push_back("(nothing to do)");
        CheckInvariants(errors, expected);
        ASSERT_FALSE(HasFailure()) << "stopped after step " << step << Trail();
    }

    // However the run ended, the skin saves, reopens and saves the same bytes.
    const QString first = PathOf("end1.skn"), second = PathOf("end2.skn");
    const int errors = int(Prompts.Errors.size());
    Prompts.FileNames.push_back(first);
    Form.SaveSkinAs();
    Open(first);
    Prompts.FileNames.push_back(second);
    Form.SaveSkinAs();
    EXPECT_EQ(Prompts.Errors.size(), errors) << Prompts.Errors.join('\n').toStdString();
    const QByteArray bytes = ReadBytes(first);
    EXPECT_GT(bytes.size(), 0);
    EXPECT_EQ(bytes, ReadBytes(second)) << Trail();
}

INSTANTIATE_TEST_SUITE_P(Seeds, CommandSequence, ::testing::Values(1u, 2u, 3u, 4u, 20240611u));

} // namespace
