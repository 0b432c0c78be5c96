#include "finding_text.h"

#include "code_page.h"

QString SeverityName(TFindingSeverity severity) {
    return severity == TFindingSeverity::Error ? QStringLiteral("error")
                                               : QStringLiteral("warning");
}

QString FindingPlace(const TSkinDocument& doc, const TSkinFinding& finding) {
    if (finding.Item < 0 || finding.Item >= doc.Items.size()) return QStringLiteral("playlist");
    return QStringLiteral("item %1 \"%2\"")
        .arg(finding.Item)
        .arg(DecodeName(doc.Items[finding.Item].Name));
}

QString FindingLine(const TSkinDocument& doc, const TSkinFinding& finding) {
    return QStringLiteral("%1: %2: %3")
        .arg(FindingPlace(doc, finding), SeverityName(finding.Severity), finding.Text);
}
