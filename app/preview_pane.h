// The preview beside its area: what it shows (the open skin in its current
// mode, at the view's zoom and offset) and its own reaction to the open
// skin's news, which is the only place that repaints. The pointer and key
// gestures, try mode, drops and the panels under the preview work through
// it, never through the main window.
#pragma once

#include "editor_context.h"
#include "presentation.h"

#include <QLine>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>

class TPreviewArea;
struct TDeviceState;

class TPreviewPane : public QObject {
    Q_OBJECT

  public:
    TPreviewPane(TEditorContext& context, TPreviewArea& area);

    TEditorContext& Editing() { return Context; }
    TOpenSkin& Skin() { return Context.Skin; }
    TSkinDocument& Doc() { return Context.Doc; }
    TPreviewArea& Area() { return PreviewArea; }

    // The zoom, the area's size and the view offset, clamped to the screen.
    TPreviewView PreviewView() const;
    // Moves the view (clamped).
    void PanTo(QPoint offset);
    // Another zoom (0..3), from the screen's top-left corner.
    void SetZoom(int index);
    // Moves the zoom by steps entries, kept within its four.
    void StepZoom(int steps);
    // The zoom by steps with the screen pixel under the area point kept
    // under it (Ctrl + wheel).
    void StepZoomAbout(int steps, QPoint areaPoint);
    // The largest zoom at which the whole screen fits the area (100 % when
    // none does), from the top-left corner.
    void ZoomToFit();
    // Lines between the screen's pixels at 400 % and 800 %.
    void SetPixelGrid(bool on);
    bool PixelGrid() const { return Grid; }
    // Space held while the pointer is over the preview: a left drag pans,
    // in try mode too.
    bool SpaceHeld() const { return Space; }
    void SetSpaceHeld(bool held) { Space = held; }
    // What is drawn over the raster while dragging.
    void ShowDragMarks(QRect band, QList<QLine> guides);
    // The mode switch: the window follows the open skin's view.
    void ShowMode(bool player);
    // Selects the row and shows its item, as a click on its row does.
    void ShowItem(int row) { Skin().Select(row); }

    // What the player screen is composed with while trying; try mode keeps
    // it and says when it changed.
    void ComposeTryingWith(const TDeviceState& state) { TryState = &state; }
    void TryStateChanged();
    // The state the player screen is painted with now: try mode's while
    // trying, otherwise the plain one, with the file's colours when the
    // preview shows pictures as a save keeps them.
    const TDeviceState& PaintedState() const;

    // The View menu's "Preview as saved" and "Show what a save changes".
    void SetPreviewAsSaved(bool on);
    void SetSaveChangesMarked(bool on);

    // While on, repaints wait for the event loop and join into one, so that
    // a burst of pointer moves costs one repaint; turning it off repaints
    // at once if one is waiting.
    void SetRepaintsDeferred(bool deferred);
    bool RepaintsDeferred() const { return Deferred; }
    // Nothing is painted before the window has set up its first skin.
    void Start();

    // Repaints: the current mode's screen, the player screen, the playlist
    // screen.
    void DoRedraw();
    void RedrawSkin();
    void RedrawPlaylist();

  private:
    void SetViewOffset(QPoint offset);
    void ShowView(const TViewState& view);
    void PaintSkin();
    void PaintPlaylist();
    void FlushRepaint();
    enum class TPending { None, Skin, Playlist };
    void Redraw(TPending screen);
    void UpdateOverlay();

    TEditorContext& Context;
    TPreviewArea& PreviewArea;
    const TDeviceState* TryState = nullptr;
    bool AsSaved = false;
    bool MarkSaveChanges = false;
    bool Started = false;
    bool Grid = false;
    bool Space = false;
    QRect Band;
    QList<QLine> Guides;
    bool Deferred = false;
    TPending PendingRepaint = TPending::None;
};
