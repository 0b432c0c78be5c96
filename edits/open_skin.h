// The open skin as a whole, as the editor's views see it: the document with
// its file name and untitled flag, the history of its edits with whether it
// differs from its file, the selected items and a small view state. Every
// view listens to it; New, Open, reload and restore replace the document
// through one call.
#pragma once

#include "skin_edits.h"

#include <QList>
#include <QObject>
#include <QPoint>

#include <vector>

// What the preview shows and how, kept beside the document so that every
// view reads one value instead of another view's widgets.
struct TViewState {
    bool PlayerMode = true;
    int Zoom = 0;        // 0..3: 100, 200, 400, 800 %
    QPoint Offset;       // device pixels of the zoomed screen left of and above the area
    bool Trying = false; // switched on; it shows in player mode only
    bool operator==(const TViewState&) const = default;
};

class TOpenSkin : public QObject {
    Q_OBJECT

  public:
    explicit TOpenSkin(TSkinDocument doc = {});
    ~TOpenSkin() override;
    TOpenSkin(const TOpenSkin&) = delete;
    TOpenSkin& operator=(const TOpenSkin&) = delete;

    // The document, changed only by pushing steps through Edits (and by
    // Replace); views read it.
    TSkinDocument& Doc() { return Document; }
    const TSkinDocument& Doc() const { return Document; }
    TSkinEdits& Edits() { return History; }

    // New, Open, reload and restore: the document replaced with an empty
    // history and no item selected; saved tells whether it is what its file
    // holds (a restored recovery copy may not be).
    void Replace(TSkinDocument doc, bool saved = true);
    // Save as: the file the skin goes to from now on.
    void SetFileName(const QString& path);
    bool Unsaved() const { return History.Unsaved(); }
    // The program title, the file name without its folder and, while the
    // skin differs from its file, an asterisk after the closing bracket.
    QString Title() const;

    // The selected rows in the order they were selected (rows selected
    // together in list order); the current item is one of them, the item the
    // inspector edits, and -1 when none is selected.
    const QList<int>& Selection() const { return Selected; }
    bool IsSelected(int row) const { return Selected.contains(row); }
    int Current() const { return Row; }
    // The item others are aligned to: the first selected still selected.
    int Reference() const { return Selected.isEmpty() ? -1 : Selected.first(); }

    // That row alone; a row out of range selects nothing. Another current
    // row ends a merging run of edits.
    void Select(int row);
    // Rows selected together, in list order; current must be one of them,
    // else the last is current.
    void SetSelection(QList<int> rows, int current);
    // Adds the row and makes it current, or takes it out unless it is the
    // only one; the current taken out leaves the most recently selected
    // remaining current.
    void Toggle(int row);
    // The rows from the current one to row, in list order, row current.
    void SelectRange(int row);
    void SelectAll();
    // An already selected row becomes current, the selection unchanged.
    void MakeCurrent(int row);

    // Marks of the editor's own, per item: never in the document, never a
    // step, never an unsaved change. They follow their items through edits
    // and undo, and are remembered per skin file in the state folder.
    bool Locked(int row) const;
    bool Hidden(int row) const;
    void SetLocked(const QList<int>& rows, bool locked);
    void SetHidden(const QList<int>& rows, bool hidden);
    // One flag per row, for drawing the screen without the hidden items.
    std::vector<bool> HiddenRows() const;

    const TViewState& View() const { return ViewState; }
    void SetView(const TViewState& view);

  Q_SIGNALS:
    // After Replace: every view shows the new document.
    void Replaced();
    void TitleChanged(const QString& title);
    void SelectionChanged(int current);
    void ViewChanged(const TViewState& view);
    void MarksChanged();

  private:
    struct TMarks {
        bool Locked = false;
        bool Hidden = false;
        bool operator==(const TMarks&) const = default;
    };
    // The marks of a removed item, for its undo to bring back.
    struct TRemovedMarks {
        int Row;
        QByteArray Name;
        TMarks Marks;
    };
    void FollowItems(const TEditChange& change);
    // Sets the selection and tells of it when it changed.
    void Choose(QList<int> rows, int current);
    void SetMarks(const QList<int>& rows, bool TMarks::*mark, bool on);
    bool HasMarks() const;
    // No marks, the names as the document has them.
    void ResetRows();
    void LoadMarks();
    void StoreMarks() const;

    TSkinDocument Document;
    TSkinEdits History{Document};
    QList<int> Selected;
    int Row = -1;
    std::vector<TMarks> Marks; // one per row
    QList<QByteArray> Names;   // per row, for the marks of removed items
    std::vector<TRemovedMarks> RemovedMarks;
    TViewState ViewState;
};
