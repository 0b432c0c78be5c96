#include "playlist_panel.h"

#include "number_field.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TPlaylistPanel::TPlaylistPanel(TEditorContext& context, QWidget* parent)
    : QWidget(parent), Context(context) {
    PageLayout = new QVBoxLayout(this);
    PageLayout->setContentsMargins(8, 8, 8, 8);
    PageLayout->setAlignment(Qt::AlignTop);

    auto* numbers = new QGridLayout;
    numbers->setColumnStretch(0, 1);
    auto addField = [&](const QString& label, int minimum, int maximum) {
        auto* field = new TNumberField(this);
        field->SetRange(minimum, maximum);
        const int row = numbers->rowCount();
        auto* caption = new QLabel(label, this);
        caption->setBuddy(field);
        numbers->addWidget(caption, row, 0);
        numbers->addWidget(field, row, 1);
        connect(field, &TNumberField::Changed, this, &TPlaylistPanel::SpinEdit20Change);
        return field;
    };
    SpinEdit20 = addField(QStringLiteral("Title height"), 15, 100);
    SpinEdit21 = addField(QStringLiteral("Item height"), 15, 100);
    SpinEdit22 = addField(QStringLiteral("Title font size"), 8, 100);
    SpinEdit23 = addField(QStringLiteral("Item font size"), 8, 100);
    PageLayout->addLayout(numbers);

    CheckBox2 = new QCheckBox(QStringLiteral("Title bold"), this);
    CheckBox3 = new QCheckBox(QStringLiteral("Item bold"), this);
    for (QCheckBox* box : {CheckBox2, CheckBox3}) {
        PageLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &TPlaylistPanel::SpinEdit20Change);
    }
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
    TPlaylistSettings& look = Context.Doc.Playlist;
    look.TitleHeight = SpinEdit20->Value();
    look.ItemHeight = SpinEdit21->Value();
    look.TitleFontSize = SpinEdit22->Value();
    look.ItemFontSize = SpinEdit23->Value();
    look.TitleBold = CheckBox2->isChecked();
    look.ItemBold = CheckBox3->isChecked();
    Context.RedrawPlaylist();
}
