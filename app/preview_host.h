// What the preview's helpers (the pointer and key gestures, try mode, drops) need
// of the window that holds the preview: the open skin, the editing context,
// the area and its view, the repaints and showing an item. They receive
// this, never the main window.
#pragma once

#include "editor_context.h"
#include "presentation.h"

#include <QPoint>

class TPreviewArea;

class TPreviewHost {
  public:
    virtual ~TPreviewHost() = default;

    virtual TEditorContext& Editing() = 0;
    virtual TPreviewArea& Area() = 0;
    // The zoom, the area's size and the view offset, clamped to the screen.
    virtual TPreviewView PreviewView() const = 0;
    // Moves the view (clamped).
    virtual void PanTo(QPoint offset) = 0;
    // Moves the zoom by steps entries, as the zoom selector does.
    virtual void StepZoom(int steps) = 0;
    // While on, repaints wait for the event loop and join into one.
    virtual void SetRepaintsDeferred(bool deferred) = 0;
    virtual void RedrawSkin() = 0;
    // Selects the row and shows its item, as a click on its row does.
    virtual void ShowItem(int row) = 0;
    // A skin file dropped on the window: opened as Open opens it, once
    // unsaved changes are saved or given up.
    virtual void OpenDroppedSkin(const QString& path) = 0;

    TOpenSkin& OpenSkin() { return Editing().Skin; }
    TSkinDocument& Document() { return Editing().Doc; }
};
