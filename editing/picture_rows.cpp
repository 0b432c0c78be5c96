#include "picture_rows.h"

#include "picture_commands.h"

#include "picture_file.h"
#include "picture_row_drop.h"
#include "picture_row_icons.h"
#include "record_steps.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int CaptionedWidth = 78, CaptionedHeight = 23;
constexpr int IconButtonSize = 22;

QPushButton* MakeButton(const char* name, int number, TPictureAction action, bool captioned,
                        const std::function<void(int)>& handler, QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setProperty("Tag", number);
    b->setIcon(PictureRowIcon(action));
    b->setIconSize(QSize(16, 16));
    b->setFocusPolicy(Qt::TabFocus);
    if (captioned) {
        static const char* const captions[] = {"Open", "Save", "View"};
        b->setText(QString::fromLatin1(captions[int(action)]));
        b->setFixedWidth(CaptionedWidth);
    } else {
        static const char* const hints[] = {"Open", "Save", "View"};
        b->setToolTip(QString::fromLatin1(hints[int(action)]));
        b->setFixedSize(IconButtonSize, IconButtonSize);
    }
    QObject::connect(b, &QPushButton::clicked, b, [handler, number] { handler(number); });
    return b;
}

} // namespace

void TPictureRow::SetEnabled(bool enabled) const {
    for (QPushButton* b : {Open, Save, View})
        b->setEnabled(enabled);
}

TPictureRow MakePictureRow(const TPictureRowNames& names, TPictureRowStyle style,
                           const std::function<void(int)>& handler, QWidget* parent,
                           TPictureSlots* owner) {
    TPictureRow row;
    row.Row = new QWidget(parent);
    auto* grid = new QGridLayout(row.Row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    auto* label = new QLabel(names.Label, row.Row);
    const bool captioned = style == TPictureRowStyle::Captioned;
    row.Open = MakeButton(names.OpenName, names.OpenNumber, TPictureAction::Open, captioned,
                          handler, row.Row);
    row.Save = MakeButton(names.SaveName, names.SaveNumber, TPictureAction::Save, captioned,
                          handler, row.Row);
    row.View = MakeButton(names.ViewName, names.ViewNumber, TPictureAction::View, captioned,
                          handler, row.Row);
    if (captioned) {
        row.Open->setFixedHeight(CaptionedHeight);
        row.Save->setFixedHeight(CaptionedHeight);
        row.View->setFixedHeight(2 * CaptionedHeight + grid->verticalSpacing());
        grid->addWidget(label, 0, 0, 1, 3);
        grid->addWidget(row.Open, 1, 0);
        grid->addWidget(row.Save, 2, 0);
        grid->addWidget(row.View, 1, 1, 2, 1);
        grid->setColumnStretch(2, 1);
    } else {
        label->setWordWrap(true);
        grid->addWidget(label, 0, 0);
        grid->addWidget(row.Open, 0, 1);
        grid->addWidget(row.Save, 0, 2);
        grid->addWidget(row.View, 0, 3);
        grid->setColumnStretch(0, 1);
    }
    // Each button says which slot it acts on; the label alone is not spoken with it.
    row.Open->setAccessibleName(QStringLiteral("Open ") + names.Label);
    row.Save->setAccessibleName(QStringLiteral("Save ") + names.Label);
    row.View->setAccessibleName(QStringLiteral("View ") + names.Label);
    if (owner) owner->DescribeSize(row, names.OpenNumber % 10);
    if (owner)
        TakePictureDrops(row.Row, row.Open,
                         [owner, handler, n = names.OpenNumber](const QString& path) {
                             owner->OpenDropped(path, handler, n);
                         });
    return row;
}

TPictureSlots::TPictureSlots(TEditorContext& context, std::function<int()> selectedRow)
    : Context(context), RowShown(std::move(selectedRow)) {}

void TPictureSlots::DescribeSize(const TPictureRow& row, int slot) {
    const auto describe = [this, row, slot] {
        // Only the page of the current item's kind is shown; another page's
        // rows reach no picture and say nothing.
        const TPicture* picture = PictureAt(Context.Doc, RowShown(), slot);
        const QString text =
            !picture ? QString()
            : picture->Width() > 0 && picture->Height() > 0
                ? QStringLiteral("%1 by %2 pixels").arg(picture->Width()).arg(picture->Height())
                : QStringLiteral("No picture");
        for (QPushButton* b : {row.Open, row.Save, row.View})
            if (b->accessibleDescription() != text) b->setAccessibleDescription(text);
    };
    QObject::connect(&Context.Edits, &TSkinEdits::Changed, row.Row, describe);
    QObject::connect(&Context.Skin, &TOpenSkin::SelectionChanged, row.Row, describe);
    QObject::connect(&Context.Skin, &TOpenSkin::Replaced, row.Row, describe);
    describe();
}

template <class T> int TPictureSlots::CurrentRow() {
    const int row = RowShown();
    if (row < 0 || row >= Context.Doc.Items.size()) return -1;
    return RecordOf<T>(Context.Doc, Context.Doc.Items[row]) ? row : -1;
}

void TPictureSlots::OnImgPic(int n) {
    if (const int row = CurrentRow<TiImage>(); row >= 0) Dispatch(n, row, 0);
}

void TPictureSlots::BitBtn4Click(int n) {
    if (const int row = CurrentRow<TiButton>(); row >= 0) Dispatch(n / 10, row, n % 10);
}

void TPictureSlots::BitBtn8Click(int n) {
    if (const int row = CurrentRow<TiWheel>(); row >= 0) Dispatch(n / 10, row, n % 10);
}

void TPictureSlots::BitBtn47Click(int n) {
    if (const int row = CurrentRow<TiTrackbar>(); row >= 0) Dispatch(n / 10, row, n % 10);
}

void TPictureSlots::BitBtn53Click(int n) {
    Dispatch(n / 10, -1, n % 10);
}

void TPictureSlots::OpenDropped(const QString& path, const std::function<void(int)>& handler,
                                int n) {
    DroppedFile = path;
    handler(n);
    DroppedFile.reset();
}

void TPictureSlots::Dispatch(int action, int row, int slot) {
    if (!PictureAt(Context.Doc, row, slot)) return;
    switch (action) {
    case 0:
        LoadPic(row, slot);
        break;
    case 1:
        SavePic(row, slot);
        break;
    case 2:
        ViewPic(row, slot);
        break;
    default:
        break; // any other number does nothing
    }
}

void TPictureSlots::LoadPic(int row, int slot) {
    const std::optional<QString> path =
        DroppedFile ? DroppedFile : Context.Prompts.AskFileName(TFileDialog::OpenPicture);
    if (!path) return;
    const QString refused = OpenPictureCommand(Context.Skin, row, slot, *path);
    if (!refused.isEmpty()) Context.Prompts.ShowError(refused);
}

void TPictureSlots::SavePic(int row, int slot) {
    const std::optional<QString> path = Context.Prompts.AskFileName(TFileDialog::SavePicture);
    if (!path) return;
    const TPicture* picture = PictureAt(Context.Doc, row, slot);
    if (!picture) return;
    const QString error = WritePictureFile(picture->Image, picture->Transparent, *path);
    if (!error.isEmpty()) {
        Context.Prompts.ShowError(error);
        return;
    }
}

void TPictureSlots::ViewPic(int row, int slot) {
    if (const TPicture* picture = PictureAt(Context.Doc, row, slot))
        Context.Prompts.ViewPicture(picture->Image);
}
