// TForm2, "View image": a resizable window whose scroll box shows one picture
// at 1:1. Made once, hidden, and shown modally for every View; it keeps its
// size, position and last picture between uses.
#pragma once

#include <QDialog>
#include <QImage>

#include <optional>

class QLabel;
class QScrollArea;

inline constexpr QSize ImageViewerOuterSize(278, 280);

class TForm2 : public QDialog {
    Q_OBJECT

  public:
    explicit TForm2(QWidget* parent = nullptr);

    // Replaces the picture. It is shown opaque: pixels of the transparent
    // key appear magenta.
    void SetPicture(const QImage& picture);

    // SetPicture, then the window modally until the user closes it.
    void ShowPicture(const QImage& picture);

    QScrollArea* ScrollBox1 = nullptr;
    QLabel* Image1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    bool Sized = false;
    std::optional<QPoint> LastPosition;
};
