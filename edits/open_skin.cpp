#include "open_skin.h"

#include "new_skin.h"
#include "user_folders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

// Bounds what undo may still need of removed items' marks.
constexpr std::size_t RemovedMarksKept = 4096;

QList<int> Shifted(const QList<int>& rows, int from, int by) {
    QList<int> out;
    for (int row : rows)
        out << (row >= from ? row + by : row);
    return out;
}

QList<int> Range(int from, int count) {
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out << from + i;
    return out;
}

// The file that keeps the marks of the skin at path: one per skin, named by
// a digest of its path so that any path fits a file name.
QString MarksFile(const QString& folder, const QString& path) {
    const QByteArray digest =
        QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha256).toHex();
    return QDir(folder).filePath(QStringLiteral("marks-") + QString::fromLatin1(digest.left(32)));
}

} // namespace

TOpenSkin::TOpenSkin(TSkinDocument doc) : Document(std::move(doc)) {
    ResetRows();
    connect(&History, &TSkinEdits::SavedChanged, this, [this](bool saved) {
        Q_EMIT TitleChanged(Title());
        // The items now are where the file has them.
        if (saved) StoreMarks();
    });
    connect(&History, &TSkinEdits::Changed, this, &TOpenSkin::FollowItems);
}

void TOpenSkin::FollowItems(const TEditChange& change) {
    // The selection and the marks stay with their items. The item a change
    // of the list leaves in front is the current one: the ones added, the
    // one after those removed, the one moved; a change that is a later part
    // of a step made of several keeps what the earlier parts chose.
    const int r = change.Row;
    const int n = int(Document.Items.size());
    const bool later = change.Grouped && change.Part > 0;
    switch (change.What) {
    case TEditChange::ItemsAdded: {
        const int c = std::clamp(change.Count, 0, n - r);
        Marks.insert(Marks.begin() + r, std::size_t(c), TMarks{});
        for (int row = r; row < r + c; ++row)
            Names.insert(row, Document.Items[row].Name);
        bool marked = false;
        for (int row = r; row < r + c; ++row) {
            if (RemovedMarks.empty()) break;
            const TRemovedMarks& back = RemovedMarks.back();
            if (back.Row != row || back.Name != Document.Items[row].Name) continue;
            Marks[std::size_t(row)] = back.Marks;
            marked = marked || back.Marks != TMarks{};
            RemovedMarks.pop_back();
        }
        QList<int> rows = later ? Shifted(Selected, r, c) : QList<int>();
        rows << Range(r, c);
        Choose(rows, r + c - 1);
        if (marked || HasMarks()) Q_EMIT MarksChanged();
        break;
    }
    case TEditChange::ItemsRemoved: {
        const int c = std::clamp(change.Count, 0, int(Marks.size()) - r);
        bool marked = false;
        for (int row = r + c - 1; row >= r; --row)
            if (Marks[std::size_t(row)] != TMarks{}) {
                RemovedMarks.push_back({row, Names[row], Marks[std::size_t(row)]});
                marked = true;
            }
        Marks.erase(Marks.begin() + r, Marks.begin() + r + c);
        Names.remove(r, c);
        if (RemovedMarks.size() > RemovedMarksKept)
            RemovedMarks.erase(RemovedMarks.begin(),
                               RemovedMarks.begin() +
                                   std::ptrdiff_t(RemovedMarks.size() - RemovedMarksKept));
        if (!later) {
            Select(std::min(r, n - 1));
        } else {
            QList<int> rows;
            for (int row : Selected)
                if (row < r || row >= r + c) rows << (row >= r + c ? row - c : row);
            const int current = Row >= r + c ? Row - c : (Row < r ? Row : -1);
            // The row chosen after the first part went too: nothing follows
            // the deleted rows, and the new last row is current.
            if (rows.isEmpty() && !Selected.isEmpty())
                Select(std::min(r, n - 1));
            else
                Choose(rows, current);
        }
        if (marked || HasMarks()) Q_EMIT MarksChanged();
        break;
    }
    case TEditChange::ItemsSwapped: {
        const int a = r, b = change.OtherRow;
        if (a >= 0 && b >= 0 && a < std::ssize(Marks) && b < std::ssize(Marks)) {
            std::swap(Marks[std::size_t(a)], Marks[std::size_t(b)]);
            Names.swapItemsAt(a, b);
            if (Marks[std::size_t(a)] != Marks[std::size_t(b)]) Q_EMIT MarksChanged();
        }
        if (!change.Grouped) {
            Select(r);
        } else {
            auto map = [a, b](int row) { return row == a ? b : row == b ? a : row; };
            QList<int> rows;
            for (int row : Selected)
                rows << map(row);
            Choose(rows, map(Row));
        }
        break;
    }
    case TEditChange::ItemsReordered: {
        const QList<int>& from = change.From;
        if (from.size() != std::ssize(Marks) || from.size() != Names.size()) break;
        QList<int> to(from.size());
        std::vector<TMarks> marks(Marks.size());
        QList<QByteArray> names(Names.size());
        for (int i = 0; i < from.size(); ++i) {
            to[from[i]] = i;
            marks[std::size_t(i)] = Marks[std::size_t(from[i])];
            names[i] = Names[from[i]];
        }
        Marks = std::move(marks);
        Names = std::move(names);
        QList<int> rows;
        for (int row : Selected)
            rows << to[row];
        Choose(rows, Row >= 0 ? to[Row] : -1);
        if (HasMarks()) Q_EMIT MarksChanged();
        break;
    }
    case TEditChange::ItemRenamed:
        if (r >= 0 && r < Names.size()) Names[r] = Document.Items[r].Name;
        break;
    default:
        break;
    }
}

bool TOpenSkin::HasMarks() const {
    return std::ranges::any_of(Marks, [](const TMarks& m) { return m != TMarks{}; });
}

void TOpenSkin::ResetRows() {
    Marks.assign(std::size_t(Document.Items.size()), TMarks{});
    Names.clear();
    for (const TDocItem& item : Document.Items)
        Names << item.Name;
}

TOpenSkin::~TOpenSkin() = default;

void TOpenSkin::Replace(TSkinDocument doc, bool saved) {
    History.Clear();
    Document = std::move(doc);
    Selected.clear();
    Row = -1;
    History.SetCurrentRow(-1);
    RemovedMarks.clear();
    LoadMarks();
    if (saved)
        History.MarkSaved();
    else
        History.MarkUnsaved();
    Q_EMIT Replaced();
    Q_EMIT TitleChanged(Title());
    Q_EMIT MarksChanged();
}

void TOpenSkin::SetFileName(const QString& path) {
    Document.FileName = path;
    Document.Untitled = false;
    StoreMarks();
    Q_EMIT TitleChanged(Title());
}

QString TOpenSkin::Title() const {
    // Built by hand: Qt's "[*]" placeholder would eat a "[*]" in a file name.
    return WindowTitleFor(Document.FileName) + (Unsaved() ? QStringLiteral("*") : QString());
}

void TOpenSkin::Choose(QList<int> rows, int current) {
    const int n = int(Document.Items.size());
    QList<int> kept;
    for (int row : rows)
        if (row >= 0 && row < n && !kept.contains(row)) kept << row;
    if (!kept.contains(current)) current = kept.isEmpty() ? -1 : kept.last();
    History.SetCurrentRow(current);
    // Compared by hand: QList's own comparison hands memcmp a null pointer
    // for an empty list.
    if (current == Row && std::ranges::equal(kept, Selected)) return;
    Selected = std::move(kept);
    Row = current;
    Q_EMIT SelectionChanged(Row);
}

void TOpenSkin::Select(int row) {
    Choose({row}, row);
}

void TOpenSkin::SetSelection(QList<int> rows, int current) {
    std::ranges::sort(rows);
    if (!rows.contains(current)) current = rows.isEmpty() ? -1 : rows.last();
    Choose(rows, current);
}

void TOpenSkin::Toggle(int row) {
    if (row < 0 || row >= Document.Items.size()) return;
    QList<int> rows = Selected;
    if (!rows.contains(row)) {
        rows << row;
        return Choose(rows, row);
    }
    if (rows.size() == 1) return Choose(rows, row);
    rows.removeOne(row);
    Choose(rows, row == Row ? rows.last() : Row);
}

void TOpenSkin::SelectRange(int row) {
    if (row < 0 || row >= Document.Items.size()) return;
    const int from = Row < 0 ? row : Row;
    Choose(Range(std::min(from, row), std::abs(from - row) + 1), row);
}

void TOpenSkin::SelectAll() {
    const int n = int(Document.Items.size());
    Choose(Range(0, n), Row >= 0 ? Row : n - 1);
}

void TOpenSkin::MakeCurrent(int row) {
    if (IsSelected(row)) Choose(Selected, row);
}

bool TOpenSkin::Locked(int row) const {
    return row >= 0 && row < std::ssize(Marks) && Marks[std::size_t(row)].Locked;
}

bool TOpenSkin::Hidden(int row) const {
    return row >= 0 && row < std::ssize(Marks) && Marks[std::size_t(row)].Hidden;
}

std::vector<bool> TOpenSkin::HiddenRows() const {
    std::vector<bool> hidden(std::size_t(Document.Items.size()), false);
    for (std::size_t row = 0; row < hidden.size() && row < Marks.size(); ++row)
        hidden[row] = Marks[row].Hidden;
    return hidden;
}

void TOpenSkin::SetLocked(const QList<int>& rows, bool locked) {
    SetMarks(rows, &TMarks::Locked, locked);
}

void TOpenSkin::SetHidden(const QList<int>& rows, bool hidden) {
    SetMarks(rows, &TMarks::Hidden, hidden);
}

void TOpenSkin::SetMarks(const QList<int>& rows, bool TMarks::*mark, bool on) {
    // A document filled behind the history's back (a test, a reload) still
    // takes marks.
    if (Marks.size() != std::size_t(Document.Items.size())) ResetRows();
    bool changed = false;
    for (int row : rows) {
        if (row < 0 || row >= std::ssize(Marks)) continue;
        bool& flag = Marks[std::size_t(row)].*mark;
        changed = changed || flag != on;
        flag = on;
    }
    if (!changed) return;
    StoreMarks();
    Q_EMIT MarksChanged();
}

void TOpenSkin::LoadMarks() {
    ResetRows();
    if (Document.Untitled || Document.FileName.isEmpty()) return;
    // Read only from a folder that already is there and is the user's own.
    if (!QFileInfo(UserStateFolder()).isDir()) return;
    const QString folder = PrivateStateFolder();
    if (folder.isEmpty()) return;
    QFile file(MarksFile(folder, Document.FileName));
    if (!file.open(QIODevice::ReadOnly)) return;
    // A line: row, locked, hidden, then the item's name in hex.
    const QList<QByteArray> lines = file.read(qint64(1) << 20).split('\n');
    bool dropped = false;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 4) continue;
        bool ok = false;
        const int row = fields[0].toInt(&ok);
        if (!ok || row < 0 || row >= Document.Items.size() ||
            Document.Items[row].Name != QByteArray::fromHex(fields[3])) {
            dropped = true;
            continue;
        }
        Marks[std::size_t(row)] = {fields[1] == "1", fields[2] == "1"};
    }
    if (dropped) StoreMarks();
}

void TOpenSkin::StoreMarks() const {
    if (Document.Untitled || Document.FileName.isEmpty()) return;
    QByteArray lines;
    for (std::size_t row = 0; row < Marks.size() && row < std::size_t(Document.Items.size());
         ++row) {
        const TMarks& m = Marks[row];
        if (m == TMarks{}) continue;
        lines += QByteArray::number(qulonglong(row)) + (m.Locked ? " 1" : " 0") +
                 (m.Hidden ? " 1 " : " 0 ") + Document.Items[qsizetype(row)].Name.toHex() + '\n';
    }
    const QString state = UserStateFolder();
    if (lines.isEmpty() && !QFileInfo(state).isDir()) return;
    const QString folder = PrivateStateFolder();
    if (folder.isEmpty()) return;
    const QString path = MarksFile(folder, Document.FileName);
    if (lines.isEmpty()) {
        QFile::remove(path);
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(lines);
    file.commit();
}

void TOpenSkin::SetView(const TViewState& view) {
    if (view == ViewState) return;
    ViewState = view;
    Q_EMIT ViewChanged(ViewState);
}
