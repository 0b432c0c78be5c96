#include "open_skin.h"

#include "new_skin.h"

#include <QFileInfo>

#include <algorithm>

TOpenSkin::TOpenSkin(TSkinDocument doc) : Document(std::move(doc)) {
    connect(&History, &TSkinEdits::SavedChanged, this, [this] { Q_EMIT TitleChanged(Title()); });
    connect(&History, &TSkinEdits::Changed, this, &TOpenSkin::FollowItems);
}

void TOpenSkin::FollowItems(const TEditChange& change) {
    // The item a change of the list leaves in front is the current one: the
    // last added, the one after those removed, the one moved.
    switch (change.What) {
    case TEditChange::ItemsAdded:
        Select(change.Row + change.Count - 1);
        break;
    case TEditChange::ItemsRemoved:
        Select(std::min(change.Row, int(Document.Items.size()) - 1));
        break;
    case TEditChange::ItemsSwapped:
        Select(change.Row);
        break;
    default:
        break;
    }
}

TOpenSkin::~TOpenSkin() = default;

void TOpenSkin::Replace(TSkinDocument doc, bool saved) {
    History.Clear();
    Document = std::move(doc);
    Row = -1;
    History.SetCurrentRow(-1);
    if (saved)
        History.MarkSaved();
    else
        History.MarkUnsaved();
    Q_EMIT Replaced();
    Q_EMIT TitleChanged(Title());
}

void TOpenSkin::SetFileName(const QString& path) {
    Document.FileName = path;
    Document.Untitled = false;
    Q_EMIT TitleChanged(Title());
}

QString TOpenSkin::Title() const {
    // Built by hand: Qt's "[*]" placeholder would eat a "[*]" in a file name.
    return WindowTitleFor(Document.FileName) + (Unsaved() ? QStringLiteral("*") : QString());
}

void TOpenSkin::Select(int row) {
    if (row < 0 || row >= Document.Items.size()) row = -1;
    History.SetCurrentRow(row);
    if (row == Row) return;
    Row = row;
    Q_EMIT SelectionChanged(Row);
}

void TOpenSkin::SetView(const TViewState& view) {
    if (view == ViewState) return;
    ViewState = view;
    Q_EMIT ViewChanged(ViewState);
}
