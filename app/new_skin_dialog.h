// TForm3, the "New skin" dialog: a device preset or a free client size.
// It lives for the whole run and keeps what the user left in it.
#pragma once

#include <QDialog>

#include <optional>

class QComboBox;
class QPushButton;
class TNumberField;

class TForm3 : public QDialog {
    Q_OBJECT

  public:
    explicit TForm3(QWidget* parent = nullptr);

    // Runs the dialog modally; the client size on OK, nothing otherwise.
    std::optional<QSize> Execute();

    // The fields' size within 120..1200 (120 for text that is no number).
    QSize ClientSize() const;

    QComboBox* ComboBox1 = nullptr;    // the presets
    TNumberField* SpinEdit1 = nullptr; // "Client width"
    TNumberField* SpinEdit2 = nullptr; // "Client height"
    QPushButton* Button1 = nullptr;    // "OK"
    QPushButton* Button2 = nullptr;    // "Cancel"

    void ComboBox1Change(int entry);
    void SpinEdit1Change();

  protected:
    void done(int result) override;

  private:
    bool FillingFromPreset = false;
};
