// The one-line name dialog of the item commands: a caption, a prompt, at
// most 255 characters typed, the text selected when it opens.
#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

class TNameDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TNameDialog(QWidget* parent = nullptr);

    // The text on OK (possibly empty), nothing when closed any other way.
    std::optional<QString> Execute(const QString& caption, const QString& prompt,
                                   const QString& text);

    QLabel* lbPrompt = nullptr;
    QLineEdit* edName = nullptr;
};
