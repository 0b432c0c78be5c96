#include "about_box.h"

#include "new_skin.h"
#include "window_font.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About..."));
    setFont(WindowFont());
    setModal(true);
    setFixedSize(281, 185);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(8, 8, 265, 137);

    lbTitle = new QLabel(ProgramTitle, panel);
    lbTitle->setFont(WindowFont(19, true));
    lbTitle->setAlignment(Qt::AlignCenter);
    lbVersion = new QLabel(QStringLiteral("Version 1.0.0"), panel);
    lbVersion->setAlignment(Qt::AlignCenter);
    auto* text = new QVBoxLayout(panel);
    text->addStretch(2);
    text->addWidget(lbTitle);
    text->addSpacing(6);
    text->addWidget(lbVersion);
    text->addStretch(3);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(198, 152, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::Button1Click() {
    accept();
}
