#include "item_inspector.h"

#include "number_field.h"
#include "record_steps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStackedWidget>

namespace {

// A value that is no position of the list shows no entry (and reads as -1).
void SetChoice(QComboBox* box, int value) {
    box->setCurrentIndex(value >= 0 && value < box->count() ? value : -1);
}

} // namespace

TItemInspector::TItemInspector(TEditorContext& context, QStackedWidget* pages,
                               std::function<int()> selectedRow)
    : Slots(context, selectedRow), nbInspector(pages), Context(context),
      RowShown(std::move(selectedRow)) {
    QWidget* const built[ItemKindCount] = {BuildImagePage(), BuildTextPage(), BuildButtonPage(),
                                           BuildWheelPage(), BuildTrackbarPage()};
    for (int kind = 0; kind < ItemKindCount; ++kind) {
        nbInspector->insertWidget(kind, built[kind]);
        // Leaving a field ends its step: the next keystroke there is another.
        for (TNumberField* field : built[kind]->findChildren<TNumberField*>())
            connect(field, &TNumberField::Left, this, [this] { Context.Edits.EndMerge(); });
    }
    using enum TMergeField;
    const std::pair<TNumberField*, TMergeField> merging[] = {
        {SpinEdit1, X},          {SpinEdit2, Y},      {SpinEdit3, X},
        {SpinEdit4, Y},          {SpinEdit5, Width},  {SpinEdit6, Height},
        {SpinEdit7, FontSize},   {SpinEdit8, X},      {SpinEdit9, Y},
        {SpinEdit10, X},         {SpinEdit11, Y},     {SpinEdit12, BallDistance},
        {SpinEdit13, BallCount}, {SpinEdit17, X},     {SpinEdit18, Y},
        {SpinEdit16, Width},     {SpinEdit14, Height}};
    for (auto [field, merge] : merging)
        field->MergeField = merge;
    connect(&Context.Edits, &TSkinEdits::Changed, this, [this](const TEditChange& change) {
        if (change.What == TEditChange::Moved && change.Row == RowShown()) ShowPosition();
    });
}

void TItemInspector::ShowPosition() {
    const int row = RowShown();
    if (row < 0 || row >= Context.Doc.Items.size()) return;
    const std::optional<TAnyRecord> record = RecordAt(Context.Doc, Context.Doc.Items[row]);
    const int kind = Context.Doc.Items[row].Kind;
    if (!record || kind >= ItemKindCount) return;
    // Indexed by TItemKind: each page's X and Y fields.
    TNumberField* const fields[ItemKindCount][2] = {{SpinEdit1, SpinEdit2},
                                                    {SpinEdit3, SpinEdit4},
                                                    {SpinEdit8, SpinEdit9},
                                                    {SpinEdit10, SpinEdit11},
                                                    {SpinEdit17, SpinEdit18}};
    const TInspectorLoadingGuard guard(Context);
    const QPoint at = PositionOf(*record);
    fields[kind][0]->SetValue(at.x());
    fields[kind][1]->SetValue(at.y());
}

template <class T>
void TItemInspector::PushRecord(const T& before, const T& after, const QString& what) {
    const int row = RowShown();
    auto* field = qobject_cast<TNumberField*>(ChangedBy);
    ChangedBy = nullptr;
    const TMergeRun run{field ? field->MergeField : TMergeField::None,
                        Context.Edits.MergeGeneration()};
    Context.Edits.Push(std::make_unique<TRecordStep>(Context.Doc, row, before, after,
                                                     what + QuotedItemName(Context.Doc, row), run));
}

template <class T> T* TItemInspector::CurrentRecord() {
    const int row = RowShown();
    if (row < 0 || row >= Context.Doc.Items.size()) return nullptr;
    return RecordOf<T>(Context.Doc, Context.Doc.Items[row]);
}

void TItemInspector::ShowCurrentItem() {
    const int row = RowShown();
    if (row < 0 || row >= Context.Doc.Items.size()) return;
    const TInspectorLoadingGuard guard(Context);
    const TDocItem item = Context.Doc.Items[row];
    // A kind no page edits shows the last (empty) page, so that no page can
    // write into a record that is not the current item's.
    nbInspector->setCurrentIndex(item.Kind < ItemKindCount ? int(item.Kind)
                                                           : nbInspector->count() - 1);
    FillPage(item);
}

void TItemInspector::FillPage(const TDocItem& item) {
    TSkinDocument& doc = Context.Doc;
    if (const TiImage* r = RecordOf<TiImage>(doc, item)) {
        SpinEdit1->SetValue(r->X);
        SpinEdit2->SetValue(r->Y);
        SetChoice(ComboBox7, r->RepaintWhen);
    } else if (const TiText* t = RecordOf<TiText>(doc, item)) {
        SpinEdit3->SetValue(t->X);
        SpinEdit4->SetValue(t->Y);
        SpinEdit5->SetValue(t->Width);
        SpinEdit6->SetValue(t->Height);
        SetChoice(ComboBox2, t->HAlign);
        SetChoice(ComboBox3, t->VAlign);
        SpinEdit7->SetValue(t->FontSize);
        CheckBox1->setChecked(t->Bold);
        SetChoice(ComboBox4, t->TextType);
    } else if (const TiButton* b = RecordOf<TiButton>(doc, item)) {
        SpinEdit8->SetValue(b->X);
        SpinEdit9->SetValue(b->Y);
        SetChoice(ComboBox5, b->Command);
        EnableButtonRows(ComboBox5->currentIndex());
    } else if (const TiWheel* w = RecordOf<TiWheel>(doc, item)) {
        SpinEdit10->SetValue(w->X);
        SpinEdit11->SetValue(w->Y);
        SpinEdit12->SetValue(w->BallDist);
        SpinEdit13->SetValue(w->BallCount);
        SetChoice(ComboBox8, w->CenterCommand);
        SetChoice(ComboBox9, w->LeftCommand);
        SetChoice(ComboBox10, w->RightCommand);
        SetChoice(ComboBox11, w->TopHalfAction);
        SetChoice(ComboBox12, w->BottomHalfAction);
        EnableWheelRow(w->CenterCommand);
    } else if (const TiTrackbar* k = RecordOf<TiTrackbar>(doc, item)) {
        SpinEdit17->SetValue(k->X);
        SpinEdit18->SetValue(k->Y);
        SpinEdit16->SetValue(k->Width);
        SpinEdit14->SetValue(k->Height);
        CheckBox4->setChecked(k->ProgressStretch);
        CheckBox5->setChecked(k->ShowScroller);
        SetChoice(ComboBox6, k->TrackType);
        EnableTrackbarRow(k->ShowScroller);
    }
}

void TItemInspector::EnableButtonRows(int command) {
    ButtonRows[2].SetEnabled(HasTwoStates(command));
    ButtonRows[3].SetEnabled(HasTwoStates(command));
}

void TItemInspector::EnableWheelRow(int centerCommand) {
    WheelRows[4].SetEnabled(HasTwoStates(centerCommand));
}

void TItemInspector::EnableTrackbarRow(bool showScroller) {
    TrackbarRows[1].SetEnabled(showScroller);
}

void TItemInspector::SpinEdit1Change() {
    if (Context.InspectorLoading) return;
    const TiImage* current = CurrentRecord<TiImage>();
    if (!current) return;
    TiImage after = *current;
    after.X = SpinEdit1->Value();
    after.Y = SpinEdit2->Value();
    after.RepaintWhen = ComboBox7->currentIndex();
    PushRecord(*current, after, QStringLiteral("Change "));
}

void TItemInspector::SpinEdit3Change() {
    if (Context.InspectorLoading) return;
    const TiText* current = CurrentRecord<TiText>();
    if (!current) return;
    TiText after = *current;
    after.X = SpinEdit3->Value();
    after.Y = SpinEdit4->Value();
    after.Width = SpinEdit5->Value();
    after.Height = SpinEdit6->Value();
    after.HAlign = ComboBox2->currentIndex();
    after.VAlign = ComboBox3->currentIndex();
    after.FontSize = SpinEdit7->Value();
    after.Bold = CheckBox1->isChecked();
    after.TextType = ComboBox4->currentIndex();
    // A type no entry shows keeps the sample it had.
    if (after.TextType >= ttSongTitle && after.TextType <= ttSystemTime)
        after.PreviewText = PreviewTextFor(after.TextType);
    PushRecord(*current, after, QStringLiteral("Change "));
}

void TItemInspector::SpinEdit9Change() {
    if (Context.InspectorLoading) return;
    const TiButton* current = CurrentRecord<TiButton>();
    if (!current) return;
    TiButton after = *current;
    after.X = SpinEdit8->Value();
    after.Y = SpinEdit9->Value();
    after.Command = ComboBox5->currentIndex();
    EnableButtonRows(after.Command);
    PushRecord(*current, after, QStringLiteral("Change "));
}

void TItemInspector::SpinEdit10Change() {
    if (Context.InspectorLoading) return;
    const TiWheel* current = CurrentRecord<TiWheel>();
    if (!current) return;
    TiWheel after = *current;
    after.X = SpinEdit10->Value();
    after.Y = SpinEdit11->Value();
    after.BallDist = SpinEdit12->Value();
    after.BallCount = SpinEdit13->Value();
    after.CenterCommand = ComboBox8->currentIndex();
    after.LeftCommand = ComboBox9->currentIndex();
    after.RightCommand = ComboBox10->currentIndex();
    after.TopHalfAction = ComboBox11->currentIndex();
    after.BottomHalfAction = ComboBox12->currentIndex();
    EnableWheelRow(after.CenterCommand);
    PushRecord(*current, after, QStringLiteral("Change "));
}

void TItemInspector::SpinEdit17Change() {
    if (Context.InspectorLoading) return;
    const TiTrackbar* current = CurrentRecord<TiTrackbar>();
    if (!current) return;
    TiTrackbar after = *current;
    after.X = SpinEdit17->Value();
    after.Y = SpinEdit18->Value();
    after.Width = SpinEdit16->Value();
    after.Height = SpinEdit14->Value();
    after.ProgressStretch = CheckBox4->isChecked();
    after.ShowScroller = CheckBox5->isChecked();
    after.TrackType = ComboBox6->currentIndex();
    EnableTrackbarRow(after.ShowScroller);
    PushRecord(*current, after, QStringLiteral("Change "));
}

void TItemInspector::BitBtn3Click() {
    const TiText* r = CurrentRecord<TiText>();
    if (!r) return;
    const std::optional<TColor> chosen = Context.Prompts.AskColor(r->Color);
    if (!chosen) return;
    TiText after = *r;
    after.Color = *chosen;
    ChangedBy = nullptr;
    PushRecord(*r, after, QStringLiteral("Change colour of "));
}
