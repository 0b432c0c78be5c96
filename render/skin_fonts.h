// The Tahoma face the previews draw text in, registered once at start-up.
#pragma once

#include <QString>

// Registers Tahoma (regular and bold) from Debian's fonts-wine. Returns the
// family the previews will use: "Tahoma", or the fallback when it is missing.
QString RegisterSkinFonts();

// A one-line note for the user when Tahoma is missing; empty when it is there.
QString SkinFontNote();
