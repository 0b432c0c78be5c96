// A long random run of edits of every kind through the handlers and
// gestures a user reaches, with undos and redos among them; then every step
// undone gives the original file byte for byte, and every step redone the
// file saved after the run. After each action the views agree with the
// document, so an undo that leaves a stale page shows at once; and every
// state an undo or a redo reaches is one the run went through, so a step
// that forgets part of its change shows where it is undone or redone.
#include "bitmap_file.h"
#include "code_page.h"
#include "editor_fixture.h"
#include "item_commands.h"
#include "item_inspector.h"
#include "keystrokes.h"
#include "sample_skin.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <random>

namespace {

class RandomHistory : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ShowActive());
        for (int i = 0; i < 3; ++i) {
            Bitmaps << PathOf(QStringLiteral("p%1.bmp").arg(i));
            ASSERT_EQ(WriteBitmapFile(PatternImage(5 + 7 * i, 9 + 3 * i, 40 + i), Bitmaps.back()),
                      QString());
        }
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }

    // The document as its file would hold it.
    QByteArray State() {
        return QCryptographicHash::hash(EncodeSkin(Form.Doc), QCryptographicHash::Sha1);
    }

    QByteArray Saved() {
        Form.SaveSkin();
        return ReadBytes(Form.Doc.FileName);
    }

    // The fields of the page of the current item's kind, and its choices,
    // ticks and picture rows.
    struct TPage {
        std::vector<TNumberField*> Numbers;
        std::vector<QComboBox*> Choices;
        std::vector<QCheckBox*> Checks;
        std::vector<QPushButton*> Opens;
    };
    TPage Page() {
        TItemInspector& i = I();
        switch (Form.PlayerPanel->nbInspector->currentIndex()) {
        case ikImage:
            return {{i.SpinEdit1, i.SpinEdit2}, {i.ComboBox7}, {}, {i.ImageRow.Open}};
        case ikText:
            return {{i.SpinEdit3, i.SpinEdit4, i.SpinEdit5, i.SpinEdit6, i.SpinEdit7},
                    {i.ComboBox2, i.ComboBox3, i.ComboBox4},
                    {i.CheckBox1},
                    {}};
        case ikButton:
            return {{i.SpinEdit8, i.SpinEdit9},
                    {i.ComboBox5},
                    {},
                    {i.ButtonRows[0].Open, i.ButtonRows[2].Open}};
        case ikWheel:
            return {{i.SpinEdit10, i.SpinEdit11, i.SpinEdit12, i.SpinEdit13},
                    {i.ComboBox8, i.ComboBox9, i.ComboBox11},
                    {},
                    {i.WheelRows[0].Open, i.WheelRows[4].Open, i.WheelRows[7].Open}};
        case ikTrackbar:
            return {{i.SpinEdit17, i.SpinEdit18, i.SpinEdit16, i.SpinEdit14},
                    {i.ComboBox6},
                    {i.CheckBox4, i.CheckBox5},
                    {i.TrackbarRows[0].Open, i.TrackbarRows[1].Open}};
        default:
            return {};
        }
    }

    void SelectRandomRow() {
        if (Form.Doc.Items.isEmpty()) return;
        Form.PlayerPanel->lbItems->setCurrentRow(Pick(int(Form.Doc.Items.size())));
    }

    // The list, the page and the playlist page show the document.
    void ExpectViewsAgree() {
        const TSkinDocument& doc = Form.Doc;
        QListWidget* list = Form.PlayerPanel->lbItems;
        ASSERT_EQ(list->count(), doc.Items.size());
        for (int r = 0; r < list->count(); ++r)
            ASSERT_EQ(list->item(r)->text(), DecodeName(doc.Items[r].Name)) << r;
        const int row = Row();
        if (row >= 0) {
            const TDocItem& item = doc.Items[row];
            ASSERT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(item.Kind));
            const TPage page = Page();
            const std::optional<TAnyRecord> record = RecordAt(doc, item);
            ASSERT_TRUE(record);
            const QPoint at = PositionOf(*record);
            ASSERT_EQ(page.Numbers[0]->Value(), at.x());
            ASSERT_EQ(page.Numbers[1]->Value(), at.y());
            if (const auto* t = std::get_if<TiText>(&*record)) {
                ASSERT_EQ(I().SpinEdit5->Value(), t->Width);
                ASSERT_EQ(I().CheckBox1->isChecked(), t->Bold);
            }
        }
        if (Form.ToolButton6->isChecked()) {
            // A typed height beyond the range is stored as typed.
            ASSERT_EQ(std::clamp(Form.PlaylistPanel->SpinEdit20->Value(), 15, 100),
                      std::clamp(doc.Playlist.TitleHeight, 15, 100));
            ASSERT_EQ(Form.PlaylistPanel->CheckBox3->isChecked(), doc.Playlist.ItemBold);
        }
    }

    void RandomAction() {
        const TPage page = Page();
        switch (Pick(20)) {
        case 0:
        case 1:
        case 2:
            if (!page.Numbers.empty()) {
                TNumberField* field = page.Numbers[std::size_t(Pick(int(page.Numbers.size())))];
                TypeInto(field, QString::number(Pick(400) - 100));
                if (Pick(2)) Leave(field);
            }
            break;
        case 3:
            if (!page.Numbers.empty()) // holding an arrow
                for (int n = Pick(4); n >= 0; --n)
                    page.Numbers[0]->stepBy(Pick(2) ? 1 : -1);
            break;
        case 4:
            if (!page.Choices.empty()) {
                QComboBox* box = page.Choices[std::size_t(Pick(int(page.Choices.size())))];
                Choose(box, Pick(box->count()));
            }
            break;
        case 5:
            if (Row() >= 0 && Form.Doc.Items[Row()].Kind == ikText && Pick(2)) {
                Prompts.Colors.push_back(TColor(Pick(0x1000000)));
                I().BitBtn3->click();
            } else if (!page.Checks.empty()) {
                page.Checks[std::size_t(Pick(int(page.Checks.size())))]->click();
            }
            break;
        case 6:
            if (!page.Opens.empty()) {
                Prompts.FileNames.push_back(Bitmaps[Pick(int(Bitmaps.size()))]);
                page.Opens[std::size_t(Pick(int(page.Opens.size())))]->click();
                Prompts.FileNames.clear();
            }
            break;
        case 7: { // a drag from a random point of the screen
            const QPoint from(Pick(240), Pick(268));
            QTest::mousePress(Form.imArea, Qt::LeftButton, {}, from);
            QTest::mouseMove(Form.imArea, from + QPoint(Pick(41) - 20, Pick(41) - 20));
            if (Pick(5) == 0) QTest::keyClick(Form.imArea, Qt::Key_Escape);
            QTest::mouseRelease(Form.imArea, Qt::LeftButton, {}, from + QPoint(1, 1));
            break;
        }
        case 8: { // a run of nudges
            Form.imArea->setFocus();
            static const Qt::Key arrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
            for (int n = Pick(4); n >= 0; --n)
                QTest::keyClick(Form.imArea, arrows[Pick(4)],
                                Pick(3) ? Qt::NoModifier : Qt::ShiftModifier);
            break;
        }
        case 9: {
            Prompts.Names.push_back(QStringLiteral("item %1").arg(Pick(1000)));
            void (TForm1::*adds[])() = {&TForm1::ToolButton12Click, &TForm1::ToolButton10Click,
                                        &TForm1::ToolButton9Click, &TForm1::ToolButton11Click,
                                        &TForm1::ToolButton13Click};
            (Form.*adds[Pick(5)])();
            break;
        }
        case 10:
            Prompts.Names.push_back(QStringLiteral("renamed %1").arg(Pick(1000)));
            Form.PlayerPanel->Commands->lbItemsDblClick();
            Prompts.Names.clear();
            break;
        case 11:
            if (Pick(2))
                Form.ToolButton15Click();
            else
                Form.ToolButton16Click();
            break;
        case 12:
            if (Pick(2)) Form.ToolButton18Click();
            break;
        case 13:
            if (Pick(8) == 0) {
                Prompts.YesNo.push_back(true);
                Form.ToolButton20Click();
            }
            break;
        case 14: { // the playlist page, its mode shown
            Form.ToolButton6->click();
            TPlaylistPanel& p = *Form.PlaylistPanel;
            const int what = Pick(3);
            if (what == 0) {
                TNumberField* fields[] = {p.SpinEdit20, p.SpinEdit21, p.SpinEdit22, p.SpinEdit23};
                TypeInto(fields[Pick(4)], QString::number(Pick(120)));
            } else if (what == 1) {
                (Pick(2) ? p.CheckBox2 : p.CheckBox3)->click();
            } else {
                Prompts.Colors.push_back(TColor(Pick(0x1000000)));
                p.ColorButtons[std::size_t(Pick(7))]->click();
            }
            if (Pick(2)) Form.ToolButton8->click();
            break;
        }
        case 15: {
            QAction* clip[] = {Form.Copy1, Form.Paste1, Form.Duplicate1, Form.Cut1};
            Form.imArea->setFocus();
            clip[Pick(4)]->trigger();
            break;
        }
        case 16:
        case 17:
            for (int n = Pick(3); n >= 0; --n)
                (Pick(3) ? Form.Undo1 : Form.Redo1)->trigger();
            break;
        default:
            SelectRandomRow();
            break;
        }
    }

    std::mt19937 Random{20261207};
    QStringList Bitmaps;
};

} // namespace

TEST_F(RandomHistory, EveryStepUndoneGivesTheOriginalFileAndRedoneTheEditedOne) {
    const QString path = PathOf(QStringLiteral("rich.skn"));
    ASSERT_EQ(WriteSkinFile(MakeRichSkin(), path), QString());
    Open(path);
    const QByteArray original = Saved();
    QSet<QByteArray> seen{State()};
    int steps = 0;
    for (int action = 0; action < 600; ++action) {
        RandomAction();
        SCOPED_TRACE(action);
        ASSERT_NO_FATAL_FAILURE(ExpectViewsAgree());
        seen.insert(State());
        steps = std::max(steps, Form.Context.Edits.History().count());
    }
    EXPECT_TRUE(Prompts.Errors.isEmpty()) << Prompts.Errors.join('\n').toStdString();
    EXPECT_GE(steps, 150);
    const QByteArray edited = Saved();
    ASSERT_NE(edited, original);
    // The last actions may have undone steps: redoing them all goes beyond.
    const int editedIndex = Form.Context.Edits.History().index();

    while (Form.Undo1->isEnabled()) {
        Form.Undo1->trigger();
        ASSERT_NO_FATAL_FAILURE(ExpectViewsAgree());
        ASSERT_TRUE(seen.contains(State()));
    }
    EXPECT_EQ(Saved(), original);
    while (Form.Redo1->isEnabled()) {
        Form.Redo1->trigger();
        ASSERT_NO_FATAL_FAILURE(ExpectViewsAgree());
        ASSERT_TRUE(seen.contains(State()));
        if (Form.Context.Edits.History().index() == editedIndex) {
            EXPECT_EQ(Saved(), edited);
        }
    }
}
