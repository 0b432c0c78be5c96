#include "pixel_status.h"

#include "pixel_source.h"
#include "presentation.h"
#include "preview_area.h"
#include "preview_pane.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QStatusBar>

TPixelStatus::TPixelStatus(TPreviewPane& pane, QStatusBar& bar)
    : QObject(&pane.Area()), Pane(pane), Bar(bar) {
    TPreviewArea& area = Pane.Area();
    area.setMouseTracking(true);
    area.installEventFilter(this);
    // Every repaint of the preview, whatever caused it.
    connect(&area, &TPreviewArea::RasterChanged, this, &TPixelStatus::Refresh);
}

bool TPixelStatus::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &Pane.Area()) return false;
    switch (event->type()) {
    case QEvent::Enter:
        Pointer = static_cast<QEnterEvent*>(event)->position();
        Refresh();
        break;
    case QEvent::MouseMove:
        Pointer = static_cast<QMouseEvent*>(event)->position();
        Refresh();
        break;
    case QEvent::Leave:
        Pointer.reset();
        Refresh();
        break;
    default:
        break;
    }
    // Only watching: the gestures and try mode still get every event.
    return false;
}

void TPixelStatus::Refresh() {
    QString text;
    if (Pointer && Pane.Skin().View().PlayerMode)
        text = PixelSourceText(Pane.Doc(), ScreenPixelAt(*Pointer, Pane.PreviewView()),
                               Pane.PaintedState(), Pane.Skin().HiddenRows());
    if (text.isEmpty())
        Bar.clearMessage();
    else if (text != Bar.currentMessage())
        Bar.showMessage(text);
}
