// TForm4, the about box: the program's title and version.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TForm4 : public QDialog {
    Q_OBJECT

  public:
    explicit TForm4(QWidget* parent = nullptr);

    void Button1Click();

    QLabel* lbTitle = nullptr;
    QLabel* lbVersion = nullptr;
    QPushButton* Button1 = nullptr; // "OK"
};
