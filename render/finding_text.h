// How a finding of the skin check reads, in one place: skntool check prints
// these lines after the skin's path, the editor's problems list as they are.
#pragma once

#include "skin_check.h"

// "error" or "warning".
QString SeverityName(TFindingSeverity severity);

// Where the finding lies: item N "NAME" (N the item's row, from 0), or playlist.
QString FindingPlace(const TSkinDocument& doc, const TSkinFinding& finding);

// item N "NAME": error: TEXT, or playlist: warning: TEXT.
QString FindingLine(const TSkinDocument& doc, const TSkinFinding& finding);
