#include "playlist_panel.h"

#include "number_field.h"
#include "record_steps.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TPlaylistPanel::TPlaylistPanel(TEditorContext& context, QWidget* parent)
    : QWidget(parent), Context(context), Slots(context, [] { return -1; }) {
    PageLayout = new QVBoxLayout(this);
    PageLayout->setContentsMargins(8, 8, 8, 8);
    PageLayout->setAlignment(Qt::AlignTop);

    auto* numbers = new QGridLayout;
    numbers->setColumnStretch(0, 1);
    auto addField = [&](const QString& label, const char* name, int minimum, int maximum) {
        auto* field = new TNumberField(this);
        field->setObjectName(QString::fromLatin1(name));
        field->SetRange(minimum, maximum);
        const int row = numbers->rowCount();
        auto* caption = new QLabel(label, this);
        caption->setBuddy(field);
        numbers->addWidget(caption, row, 0);
        numbers->addWidget(field, row, 1);
        connect(field, &TNumberField::Changed, this, &TPlaylistPanel::SpinEdit20Change);
        connect(field, &TNumberField::Left, this, [this] { Context.Edits.EndMerge(); });
        return field;
    };
    SpinEdit20 = addField(QStringLiteral("Title height"), "SpinEdit20", 15, 100);
    SpinEdit21 = addField(QStringLiteral("Item height"), "SpinEdit21", 15, 100);
    SpinEdit22 = addField(QStringLiteral("Title font size"), "SpinEdit22", 8, 100);
    SpinEdit23 = addField(QStringLiteral("Item font size"), "SpinEdit23", 8, 100);
    SpinEdit20->MergeField = TMergeField::TitleHeight;
    SpinEdit21->MergeField = TMergeField::ItemHeight;
    SpinEdit22->MergeField = TMergeField::TitleFontSize;
    SpinEdit23->MergeField = TMergeField::ItemFontSize;
    PageLayout->addLayout(numbers);

    CheckBox2 = new QCheckBox(QStringLiteral("Title bold"), this);
    CheckBox3 = new QCheckBox(QStringLiteral("Item bold"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    for (QCheckBox* box : {CheckBox2, CheckBox3}) {
        PageLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &TPlaylistPanel::SpinEdit20Change);
    }

    const struct {
        const char* Name;
        const char* Caption;
    } colors[7] = {{"Button1", "Background color"},    {"Button2", "Directory bg color"},
                   {"Button3", "Directory txt color"}, {"Button5", "Item text color"},
                   {"Button4", "Selected item color"}, {"Button6", "Selected text color"},
                   {"Button7", "Line color"}};
    PageLayout->addSpacing(6);
    for (int index = 0; index < 7; ++index) {
        auto* button = new QPushButton(QString::fromLatin1(colors[index].Caption), this);
        button->setObjectName(QString::fromLatin1(colors[index].Name));
        button->setProperty("Tag", index);
        connect(button, &QPushButton::clicked, this, [this, index] { Button1Click(index); });
        PageLayout->addWidget(button);
        ColorButtons[std::size_t(index)] = button;
    }

    PageLayout->addSpacing(6);
    const auto icons = [this](int n) { Slots.BitBtn53Click(n); };
    FolderRow = MakePictureRow(
        {QStringLiteral("Folder icon"), "BitBtn53", 0, "BitBtn54", 10, "BitBtn55", 20},
        TPictureRowStyle::Icons, icons, this, &Slots);
    SongRow =
        MakePictureRow({QStringLiteral("Song icon"), "BitBtn56", 1, "BitBtn57", 11, "BitBtn58", 21},
                       TPictureRowStyle::Icons, icons, this, &Slots);
    PageLayout->addWidget(FolderRow.Row);
    PageLayout->addWidget(SongRow.Row);

    // An undone or redone change of the look shows again here, so that the
    // page's next change cannot write the values it replaced back.
    // The page may be on show: it must not keep a replaced skin's values, or
    // its next change would write them into the new one.
    connect(&Context.Skin, &TOpenSkin::Replaced, this, &TPlaylistPanel::FillFromDocument);
    connect(&Context.Edits, &TSkinEdits::Changed, this, [this](const TEditChange& change) {
        if (change.What == TEditChange::Playlist && change.Reload) FillFromDocument();
    });
}

void TPlaylistPanel::Button1Click(int index) {
    if (index < 0 || index >= int(Context.Doc.Playlist.Colors.size())) return;
    const std::optional<TColor> chosen =
        Context.Prompts.AskColor(Context.Doc.Playlist.Colors[std::size_t(index)]);
    if (!chosen) return;
    TPlaylistSettings look = Context.Doc.Playlist;
    look.Colors[std::size_t(index)] = *chosen;
    Context.Edits.Push(std::make_unique<TPlaylistStep>(Context.Doc, std::move(look),
                                                       QStringLiteral("Change playlist colour")));
}

void TPlaylistPanel::FillFromDocument() {
    const TPlaylistSettings& look = Context.Doc.Playlist;
    const TInspectorLoadingGuard guard(Context);
    SpinEdit20->SetValue(look.TitleHeight);
    SpinEdit21->SetValue(look.ItemHeight);
    SpinEdit22->SetValue(look.TitleFontSize);
    SpinEdit23->SetValue(look.ItemFontSize);
    CheckBox2->setChecked(look.TitleBold);
    CheckBox3->setChecked(look.ItemBold);
}

void TPlaylistPanel::SpinEdit20Change() {
    if (Context.InspectorLoading) return;
    TPlaylistSettings look = Context.Doc.Playlist;
    look.TitleHeight = SpinEdit20->Value();
    look.ItemHeight = SpinEdit21->Value();
    look.TitleFontSize = SpinEdit22->Value();
    look.ItemFontSize = SpinEdit23->Value();
    look.TitleBold = CheckBox2->isChecked();
    look.ItemBold = CheckBox3->isChecked();
    // Keystrokes in one number field merge into one step; a tick is one.
    const auto* field = qobject_cast<const TNumberField*>(sender());
    const TMergeRun run{field ? field->MergeField : TMergeField::None,
                        Context.Edits.MergeGeneration()};
    Context.Edits.Push(std::make_unique<TPlaylistStep>(
        Context.Doc, std::move(look), QStringLiteral("Change playlist look"), run));
}
