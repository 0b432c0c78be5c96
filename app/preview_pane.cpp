#include "preview_pane.h"

#include "device_state.h"
#include "presentation.h"
#include "preview.h"
#include "preview_area.h"

#include <QMetaObject>
#include <QPalette>

#include <algorithm>

namespace {
constexpr int ZoomCount = 4; // 100, 200, 400 and 800 %
} // namespace

TPreviewPane::TPreviewPane(TEditorContext& context, TPreviewArea& area)
    : Context(context), PreviewArea(area) {
    // The preview shows the current mode's screen again whenever the open
    // skin changes (its document, its current item or its view) and when
    // the area changes size.
    connect(&Context.Edits, &TSkinEdits::Changed, this, &TPreviewPane::DoRedraw);
    connect(&Context.Skin, &TOpenSkin::SelectionChanged, this, &TPreviewPane::DoRedraw);
    connect(&Context.Skin, &TOpenSkin::ViewChanged, this, &TPreviewPane::DoRedraw);
    connect(&Context.Skin, &TOpenSkin::Replaced, this, &TPreviewPane::DoRedraw);
    connect(&Context.Skin, &TOpenSkin::MarksChanged, this, &TPreviewPane::DoRedraw);
    connect(&PreviewArea, &TPreviewArea::Resized, this, &TPreviewPane::DoRedraw);
}

TPreviewView TPreviewPane::PreviewView() const {
    const TViewState& state = Context.Skin.View();
    TPreviewView view{state.Zoom, PreviewArea.size(),
                      PreviewArea.palette().color(QPalette::Dark).rgb(), state.Offset};
    view.Offset = ClampedOffset(Context.Doc.ScreenWidth, Context.Doc.ScreenHeight, view);
    return view;
}

void TPreviewPane::SetViewOffset(QPoint offset) {
    TViewState view = Context.Skin.View();
    view.Offset = offset;
    Context.Skin.SetView(view);
}

void TPreviewPane::PanTo(QPoint offset) {
    TPreviewView view = PreviewView();
    view.Offset = offset;
    SetViewOffset(ClampedOffset(Context.Doc.ScreenWidth, Context.Doc.ScreenHeight, view));
}

void TPreviewPane::SetZoom(int index) {
    TViewState view = Context.Skin.View();
    view.Zoom = std::clamp(index, 0, ZoomCount - 1);
    view.Offset = QPoint(0, 0);
    ShowView(view);
}

void TPreviewPane::StepZoom(int steps) {
    const int zoom = Context.Skin.View().Zoom;
    const int index = std::clamp(zoom + steps, 0, ZoomCount - 1);
    if (index != zoom) SetZoom(index);
}

void TPreviewPane::StepZoomAbout(int steps, QPoint areaPoint) {
    TViewState view = Context.Skin.View();
    const int index = std::clamp(view.Zoom + steps, 0, ZoomCount - 1);
    if (index == view.Zoom) return;
    // The point's place on the screen, in pixels of the old scale, scaled
    // to the new one: the same screen pixel stays under the pointer.
    const QPoint offset = PreviewView().Offset;
    const int shift = index - view.Zoom;
    const auto scaled = [shift](qint64 v) { return shift > 0 ? v << shift : v >> -shift; };
    view.Zoom = index;
    view.Offset = QPoint(int(scaled(qint64(areaPoint.x()) + offset.x()) - areaPoint.x()),
                         int(scaled(qint64(areaPoint.y()) + offset.y()) - areaPoint.y()));
    Context.Skin.SetView(view);
}

void TPreviewPane::ZoomToFit() {
    const QSize area = PreviewArea.size();
    int index = ZoomCount - 1;
    while (index > 0 && (qint64(Context.Doc.ScreenWidth) << index > area.width() ||
                         qint64(Context.Doc.ScreenHeight) << index > area.height()))
        --index;
    SetZoom(index);
}

void TPreviewPane::SetPixelGrid(bool on) {
    Grid = on;
    UpdateOverlay();
}

void TPreviewPane::ShowDragMarks(QRect band, QList<QLine> guides) {
    Band = band;
    Guides = std::move(guides);
    UpdateOverlay();
}

void TPreviewPane::UpdateOverlay() {
    TPreviewOverlay overlay;
    overlay.Band = Band;
    overlay.Guides = Guides;
    const TPreviewView view = PreviewView();
    const int zoom = ZoomIndexOf(view);
    if (Grid && zoom >= 2) {
        overlay.GridStep = 1 << zoom;
        overlay.GridRect = QRect(
            -view.Offset, QSize(Context.Doc.ScreenWidth << zoom, Context.Doc.ScreenHeight << zoom));
    }
    PreviewArea.SetOverlay(overlay);
}

void TPreviewPane::ShowMode(bool player) {
    TViewState view = Context.Skin.View();
    view.PlayerMode = player;
    ShowView(view);
}

void TPreviewPane::ShowView(const TViewState& view) {
    // Choosing what is already shown repaints it all the same.
    if (view == Context.Skin.View())
        DoRedraw();
    else
        Context.Skin.SetView(view);
}

void TPreviewPane::TryStateChanged() {
    DoRedraw();
}

void TPreviewPane::Start() {
    Started = true;
    DoRedraw();
}

void TPreviewPane::SetRepaintsDeferred(bool deferred) {
    Deferred = deferred;
    if (!deferred) FlushRepaint();
}

void TPreviewPane::FlushRepaint() {
    const TPending pending = PendingRepaint;
    PendingRepaint = TPending::None;
    if (pending == TPending::Skin) PaintSkin();
    if (pending == TPending::Playlist) PaintPlaylist();
    if (pending != TPending::None) UpdateOverlay();
}

void TPreviewPane::DoRedraw() {
    if (Context.Skin.View().PlayerMode)
        RedrawSkin();
    else
        RedrawPlaylist();
}

void TPreviewPane::RedrawSkin() {
    if (!Started) return;
    if (!Deferred) {
        PaintSkin();
        UpdateOverlay();
        return;
    }
    // One queued repaint at a time; it paints whatever was asked for last.
    if (PendingRepaint == TPending::None)
        QMetaObject::invokeMethod(
            this, [this] { FlushRepaint(); }, Qt::QueuedConnection);
    PendingRepaint = TPending::Skin;
}

void TPreviewPane::RedrawPlaylist() {
    if (!Started) return;
    if (!Deferred) {
        PaintPlaylist();
        UpdateOverlay();
        return;
    }
    if (PendingRepaint == TPending::None)
        QMetaObject::invokeMethod(
            this, [this] { FlushRepaint(); }, Qt::QueuedConnection);
    PendingRepaint = TPending::Playlist;
}

void TPreviewPane::PaintSkin() {
    // Trying, the screen is shown as the device shows it: no row marked.
    const TOpenSkin& skin = Context.Skin;
    const bool trying = skin.View().Trying && TryState;
    const TDeviceState& state = trying ? *TryState : PlainDeviceState();
    TScreenMarks marks;
    marks.Hidden = skin.HiddenRows();
    const bool anyHidden =
        std::find(marks.Hidden.begin(), marks.Hidden.end(), true) != marks.Hidden.end();
    if (!anyHidden && (trying || skin.Selection().size() <= 1)) {
        const int marked = trying ? -1 : skin.Current();
        PreviewArea.SetRaster(RenderPlayerPreview(Context.Doc, marked, PreviewView(), state));
        return;
    }
    if (!trying) {
        marks.Selected.assign(std::size_t(Context.Doc.Items.size()), false);
        for (int row : skin.Selection())
            if (row >= 0 && row < Context.Doc.Items.size()) marks.Selected[std::size_t(row)] = true;
        if (skin.Selection().size() > 1) marks.Reference = skin.Reference();
    }
    PreviewArea.SetRaster(RenderPlayerPreview(Context.Doc, marks, PreviewView(), state));
}

void TPreviewPane::PaintPlaylist() {
    PreviewArea.SetRaster(RenderPlaylistPreview(Context.Doc, PreviewView()));
}
