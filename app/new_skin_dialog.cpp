#include "new_skin_dialog.h"

#include "new_skin.h"
#include "number_field.h"
#include "window_font.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int MinimumClientSize = 120;
constexpr int MaximumClientSize = 1200;
constexpr int NoteWidth = 290;
} // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("New skin"));
    setFont(WindowFont());
    setModal(true);

    auto* group = new QGroupBox(QStringLiteral("Screen resolution"), this);
    auto* form = new QFormLayout(group);
    ComboBox1 = new QComboBox(group);
    ComboBox1->setAccessibleName(group->title()); // the list has no label of its own
    for (const TResolutionPreset& preset : ResolutionPresets)
        ComboBox1->addItem(QString::fromLatin1(preset.Text));
    form->addRow(ComboBox1);
    SpinEdit1 = new TNumberField(group);
    SpinEdit2 = new TNumberField(group);
    for (TNumberField* field : {SpinEdit1, SpinEdit2}) {
        field->SetRange(MinimumClientSize, MaximumClientSize);
        connect(field, &TNumberField::Changed, this, &TForm3::SpinEdit1Change);
    }
    form->addRow(QStringLiteral("Client width"), SpinEdit1);
    form->addRow(QStringLiteral("Client height"), SpinEdit2);

    auto* note = new QLabel(
        QStringLiteral("The client screen may be smaller than the device resolution because "
                       "the menus and the title of the application are not handled by the "
                       "skin (this space is 52 pixels in QVGA devices).."),
        this);
    note->setFont(WindowFont(11));
    note->setWordWrap(true);
    note->setFixedWidth(NoteWidth);
    note->setFixedHeight(note->heightForWidth(NoteWidth));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Only a choice by the user fills the fields.
    connect(ComboBox1, &QComboBox::activated, this, &TForm3::ComboBox1Change);
    ComboBox1->setCurrentIndex(0);
    ComboBox1Change(0);
}

void TForm3::ComboBox1Change(int entry) {
    if (entry < 0 || entry >= CustomPreset) return; // "Custom..." keeps the fields
    FillingFromPreset = true;
    SpinEdit1->SetValue(ResolutionPresets[entry].Width);
    SpinEdit2->SetValue(ResolutionPresets[entry].Height);
    FillingFromPreset = false;
}

void TForm3::SpinEdit1Change() {
    if (FillingFromPreset) return;
    ComboBox1->setCurrentIndex(PresetForSize(SpinEdit1->Value(), SpinEdit2->Value()));
}

QSize TForm3::ClientSize() const {
    auto clamp = [](int v) { return std::clamp(v, MinimumClientSize, MaximumClientSize); };
    return QSize(clamp(SpinEdit1->Value()), clamp(SpinEdit2->Value()));
}

void TForm3::done(int result) {
    // OK with a typed value beyond the limits shows the size actually taken.
    if (result == Accepted) {
        const QSize size = ClientSize();
        SpinEdit1->SetValue(size.width());
        SpinEdit2->SetValue(size.height());
    }
    QDialog::done(result);
}

std::optional<QSize> TForm3::Execute() {
    if (exec() != Accepted) return std::nullopt;
    return ClientSize();
}
