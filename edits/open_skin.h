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

    // The current item (-1 for none); the only item selected.
    int Current() const { return Row; }
    // A row out of range selects nothing. Another row ends a merging run of
    // edits.
    void Select(int row);

    const TViewState& View() const { return ViewState; }
    void SetView(const TViewState& view);

  Q_SIGNALS:
    // After Replace: every view shows the new document.
    void Replaced();
    void TitleChanged(const QString& title);
    void SelectionChanged(int current);
    void ViewChanged(const TViewState& view);

  private:
    void FollowItems(const TEditChange& change);

    TSkinDocument Document;
    TSkinEdits History{Document};
    int Row = -1;
    TViewState ViewState;
};
