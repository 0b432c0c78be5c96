#include "step_names.h"

#include "code_page.h"

QString QuotedItemName(const TSkinDocument& doc, int row) {
    const QString name =
        row >= 0 && row < doc.Items.size() ? DecodeName(doc.Items[row].Name) : QString();
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString AddStepName(int kind) {
    static const char* const names[ItemKindCount] = {"Add image", "Add text", "Add button",
                                                     "Add wheel", "Add trackbar"};
    return kind >= 0 && kind < ItemKindCount ? QString::fromLatin1(names[kind]) : QString();
}
