// Files dropped on the editor window: a skin anywhere on it opens as Open
// opens it (a new history); a picture on the preview in player mode becomes
// a new image item whose top-left corner is the screen pixel under the
// pointer, one step. Picture rows take their own drops (editing/).
#pragma once

#include <QObject>
#include <QPoint>

class QDropEvent;
class TPreviewPane;

class TFileDrops : public QObject {
    Q_OBJECT

  public:
    // Sets the window and the preview area to take drops.
    explicit TFileDrops(TPreviewPane& form);
    ~TFileDrops() override;

  Q_SIGNALS:
    // A skin file dropped on the window, for the window to open as Open
    // opens it once unsaved changes are saved or given up.
    void SkinDropped(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool SkinDrop(QDropEvent* drop, const QString& path);
    bool PictureDrop(QDropEvent* drop, const QString& path);
    // Whether a pixel of the screen lies under the area point.
    bool OverScreen(QPoint areaPoint) const;
    void AddImage(const QString& path, QPoint areaPoint);

    TPreviewPane& Form;
};
