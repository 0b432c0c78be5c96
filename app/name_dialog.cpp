#include "name_dialog.h"

#include "window_font.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int MaxNameLength = 255;
}

TNameDialog::TNameDialog(QWidget* parent) : QDialog(parent) {
    setFont(WindowFont());
    setModal(true);
    lbPrompt = new QLabel(this);
    edName = new QLineEdit(this);
    edName->setMaxLength(MaxNameLength);
    // A longer name from a file may be shortened, never lengthened: the
    // limit follows it down to 255 characters as the user deletes.
    connect(edName, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int limit = std::max<int>(MaxNameLength, int(text.size()));
        if (limit >= edName->maxLength()) return;
        const int cursor = edName->cursorPosition();
        edName->setMaxLength(limit);
        edName->setCursorPosition(cursor);
    });
    edName->setMinimumWidth(260);
    edName->setAccessibleName(QStringLiteral("Name"));
    lbPrompt->setBuddy(edName);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbPrompt);
    layout->addWidget(edName);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<QString> TNameDialog::Execute(const QString& caption, const QString& prompt,
                                            const QString& text) {
    setWindowTitle(caption);
    lbPrompt->setText(prompt);
    if (!prompt.isEmpty()) edName->setAccessibleName(prompt);
    // The limit is for typing: the text it opens with stays whole, so that
    // "OK" returns it unchanged.
    edName->setMaxLength(std::max<int>(MaxNameLength, int(text.size())));
    edName->setText(text);
    edName->selectAll();
    edName->setFocus();
    if (exec() != Accepted) return std::nullopt;
    return edName->text();
}
