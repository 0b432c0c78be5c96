// Which inspector control a finding of the skin check names: the one the
// author changes to mend it. The problems list puts the focus there.
#pragma once

#include "skin_check.h"

// The object name of the control on the finding's page (the item's kind's
// inspector page, or the Playlist page for a finding of the playlist):
// a picture slot's Open button, a number field, a choice list, a tick box,
// or "lbItems" (the item list, where items are renamed) for a name.
QString FindingFieldName(const TSkinDocument& doc, const TSkinFinding& finding);
