#include "preview_pane.h"

#include "device_state.h"
#include "presentation.h"
#include "preview.h"
#include "preview_area.h"

#include <QMetaObject>
#include <QPalette>
#include <QtMath>

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
    // The area in device pixels, so that a screen pixel is a whole block of
    // them at any desktop scale.
    const qreal scale = PreviewArea.devicePixelRatio();
    const QSize area(qCeil(PreviewArea.width() * scale), qCeil(PreviewArea.height() * scale));
    TPreviewView view{state.Zoom, area, PreviewArea.palette().color(QPalette::Dark).rgb(),
                      state.Offset, scale};
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
    // The point's place on the screen, in device pixels of the old block,
    // scaled to the new one: the same screen pixel stays under the pointer.
    const TPreviewView shown = PreviewView();
    TPreviewView next = shown;
    next.ZoomIndex = index;
    const QPoint point = DevicePointOf(areaPoint, shown);
    const qint64 from = BlockSizeOf(shown), to = BlockSizeOf(next);
    const auto scaled = [from, to](qint64 v) { return (v * to - (v < 0 ? from - 1 : 0)) / from; };
    view.Zoom = index;
    view.Offset = QPoint(int(scaled(qint64(point.x()) + shown.Offset.x()) - point.x()),
                         int(scaled(qint64(point.y()) + shown.Offset.y()) - point.y()));
    Context.Skin.SetView(view);
}

void TPreviewPane::ZoomToFit() {
    TPreviewView view = PreviewView();
    const auto fits = [&](int index) {
        view.ZoomIndex = index;
        const qint64 block = BlockSizeOf(view);
        return qint64(Context.Doc.ScreenWidth) * block <= view.Area.width() &&
               qint64(Context.Doc.ScreenHeight) * block <= view.Area.height();
    };
    int index = ZoomCount - 1;
    while (index > 0 && !fits(index))
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
    const int zoom = ZoomIndexOf(view), block = BlockSizeOf(view);
    if (Grid && zoom >= 2) {
        overlay.GridStep = block;
        overlay.GridRect = QRect(
            -view.Offset, QSize(Context.Doc.ScreenWidth * block, Context.Doc.ScreenHeight * block));
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

const TDeviceState& TPreviewPane::PaintedState() const {
    static const TDeviceState asSaved = [] {
        TDeviceState state;
        state.FileColours = true;
        return state;
    }();
    if (Context.Skin.View().Trying && TryState) return *TryState;
    return AsSaved ? asSaved : PlainDeviceState();
}

void TPreviewPane::SetPreviewAsSaved(bool on) {
    AsSaved = on;
    RedrawSkin();
}

void TPreviewPane::SetSaveChangesMarked(bool on) {
    MarkSaveChanges = on;
    RedrawSkin();
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
    Redraw(TPending::Skin);
}

void TPreviewPane::RedrawPlaylist() {
    Redraw(TPending::Playlist);
}

void TPreviewPane::Redraw(TPending screen) {
    if (!Started) return;
    if (!Deferred) {
        if (screen == TPending::Skin)
            PaintSkin();
        else
            PaintPlaylist();
        UpdateOverlay();
        return;
    }
    // One queued repaint at a time; it paints whatever was asked for last.
    if (PendingRepaint == TPending::None)
        QMetaObject::invokeMethod(
            this, [this] { FlushRepaint(); }, Qt::QueuedConnection);
    PendingRepaint = screen;
}

void TPreviewPane::PaintSkin() {
    // Trying, the screen is shown as the device shows it: no row marked.
    const TOpenSkin& skin = Context.Skin;
    const bool trying = skin.View().Trying && TryState;
    const TDeviceState& state = PaintedState();
    const TPreviewView view = PreviewView();
    TScreenMarks marks;
    marks.Hidden = skin.HiddenRows();
    const bool anyHidden =
        std::find(marks.Hidden.begin(), marks.Hidden.end(), true) != marks.Hidden.end();
    QImage raster;
    if (!anyHidden && (trying || skin.Selection().size() <= 1)) {
        const int marked = trying ? -1 : skin.Current();
        raster = RenderPlayerPreview(Context.Doc, marked, view, state);
    } else {
        if (!trying) {
            marks.Selected.assign(std::size_t(Context.Doc.Items.size()), false);
            for (int row : skin.Selection())
                if (row >= 0 && row < Context.Doc.Items.size())
                    marks.Selected[std::size_t(row)] = true;
            if (skin.Selection().size() > 1) marks.Reference = skin.Reference();
        }
        raster = RenderPlayerPreview(Context.Doc, marks, view, state);
    }
    raster.setDevicePixelRatio(view.Scale);
    QImage changes;
    if (MarkSaveChanges) {
        changes =
            RenderSaveChangeMarks(Context.Doc, view, state, qRgb(255, 255, 255), marks.Hidden);
        changes.setDevicePixelRatio(view.Scale);
    }
    PreviewArea.SetSaveChangeMarks(std::move(changes));
    PreviewArea.SetRaster(std::move(raster));
}

void TPreviewPane::PaintPlaylist() {
    const TPreviewView view = PreviewView();
    QImage raster = RenderPlaylistPreview(Context.Doc, view);
    raster.setDevicePixelRatio(view.Scale);
    PreviewArea.SetSaveChangeMarks(QImage());
    PreviewArea.SetRaster(std::move(raster));
}
