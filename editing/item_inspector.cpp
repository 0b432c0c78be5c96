#include "item_inspector.h"

#include "number_field.h"

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
      SelectedRow(std::move(selectedRow)) {
    QWidget* const built[ItemKindCount] = {BuildImagePage(), BuildTextPage(), BuildButtonPage(),
                                           BuildWheelPage(), BuildTrackbarPage()};
    for (int kind = 0; kind < ItemKindCount; ++kind)
        nbInspector->insertWidget(kind, built[kind]);
}

template <class T> T* TItemInspector::CurrentRecord() {
    const int row = SelectedRow();
    if (row < 0 || row >= Context.Doc.Items.size()) return nullptr;
    return RecordOf<T>(Context.Doc, Context.Doc.Items[row]);
}

void TItemInspector::ShowCurrentItem() {
    const int row = SelectedRow();
    if (row < 0 || row >= Context.Doc.Items.size()) return;
    const TInspectorLoadingGuard guard(Context);
    const TDocItem item = Context.Doc.Items[row];
    // A kind no page edits shows the last (empty) page, so that no page can
    // write into a record that is not the current item's.
    nbInspector->setCurrentIndex(item.Kind < ItemKindCount ? int(item.Kind)
                                                           : nbInspector->count() - 1);
    // The repaint that marks the item comes before the values.
    Context.RedrawSkin();
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
    TiImage* r = CurrentRecord<TiImage>();
    if (!r) return;
    r->X = SpinEdit1->Value();
    r->Y = SpinEdit2->Value();
    r->RepaintWhen = ComboBox7->currentIndex();
    Context.RedrawSkin();
}

void TItemInspector::SpinEdit3Change() {
    if (Context.InspectorLoading) return;
    TiText* r = CurrentRecord<TiText>();
    if (!r) return;
    r->X = SpinEdit3->Value();
    r->Y = SpinEdit4->Value();
    r->Width = SpinEdit5->Value();
    r->Height = SpinEdit6->Value();
    r->HAlign = ComboBox2->currentIndex();
    r->VAlign = ComboBox3->currentIndex();
    r->FontSize = SpinEdit7->Value();
    r->Bold = CheckBox1->isChecked();
    r->TextType = ComboBox4->currentIndex();
    // A type no entry shows keeps the sample it had.
    if (r->TextType >= ttSongTitle && r->TextType <= ttSystemTime)
        r->PreviewText = PreviewTextFor(r->TextType);
    Context.RedrawSkin();
}

void TItemInspector::SpinEdit9Change() {
    if (Context.InspectorLoading) return;
    TiButton* r = CurrentRecord<TiButton>();
    if (!r) return;
    r->X = SpinEdit8->Value();
    r->Y = SpinEdit9->Value();
    r->Command = ComboBox5->currentIndex();
    EnableButtonRows(r->Command);
    Context.RedrawSkin();
}

void TItemInspector::SpinEdit10Change() {
    if (Context.InspectorLoading) return;
    TiWheel* r = CurrentRecord<TiWheel>();
    if (!r) return;
    r->X = SpinEdit10->Value();
    r->Y = SpinEdit11->Value();
    r->BallDist = SpinEdit12->Value();
    r->BallCount = SpinEdit13->Value();
    r->CenterCommand = ComboBox8->currentIndex();
    r->LeftCommand = ComboBox9->currentIndex();
    r->RightCommand = ComboBox10->currentIndex();
    r->TopHalfAction = ComboBox11->currentIndex();
    r->BottomHalfAction = ComboBox12->currentIndex();
    EnableWheelRow(r->CenterCommand);
    Context.RedrawSkin();
}

void TItemInspector::SpinEdit17Change() {
    if (Context.InspectorLoading) return;
    TiTrackbar* r = CurrentRecord<TiTrackbar>();
    if (!r) return;
    r->X = SpinEdit17->Value();
    r->Y = SpinEdit18->Value();
    r->Width = SpinEdit16->Value();
    r->Height = SpinEdit14->Value();
    r->ProgressStretch = CheckBox4->isChecked();
    r->ShowScroller = CheckBox5->isChecked();
    r->TrackType = ComboBox6->currentIndex();
    EnableTrackbarRow(r->ShowScroller);
    Context.RedrawSkin();
}

void TItemInspector::BitBtn3Click() {
    TiText* r = CurrentRecord<TiText>();
    if (!r) return;
    const std::optional<TColor> chosen = Context.Prompts.AskColor(r->Color);
    if (!chosen) return;
    r->Color = *chosen;
    Context.RedrawSkin();
}

void TItemInspector::SetPosition(int x, int y) {
    const int row = SelectedRow();
    if (row < 0 || row >= Context.Doc.Items.size()) return;
    const TDocItem& item = Context.Doc.Items[row];
    const std::pair<TNumberField*, TNumberField*> fields[ItemKindCount] = {
        {SpinEdit1, SpinEdit2},
        {SpinEdit3, SpinEdit4},
        {SpinEdit8, SpinEdit9},
        {SpinEdit10, SpinEdit11},
        {SpinEdit17, SpinEdit18}};
    if (item.Kind >= ItemKindCount || item.Index < 0 ||
        item.Index >= RecordCount(Context.Doc, item.Kind))
        return;
    fields[item.Kind].first->SetValue(x);
    fields[item.Kind].second->SetValue(y);
}
