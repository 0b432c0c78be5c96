// An open skin, scripted answers and a log of what the open skin announced,
// for driving the editing commands without a main window.
#pragma once

#include "editor_context.h"
#include "sample_skin.h"
#include "scripted_prompts.h"

#include <QStringList>

// Log keeps the open skin's changes in order ("Changed Record", "Changed
// ItemsAdded" ...: what the preview repaints from), with whatever else a
// test records.
struct TEditingFixture {
    TOpenSkin Skin{MakeDefaultSkin()};
    TSkinDocument& Doc = Skin.Doc();
    TScriptedPrompts Prompts;
    QStringList Log;
    int Selected = -1;
    TEditorContext Context{Skin, Prompts};

    TEditingFixture() {
        static const char* const names[] = {
            "Record",      "Picture",  "ItemsAdded", "ItemsRemoved", "ItemsSwapped",
            "ItemRenamed", "Playlist", "Pictures",   "Moved",        "ItemsReordered"};
        QObject::connect(&Skin.Edits(), &TSkinEdits::Changed, [this](const TEditChange& change) {
            Log << QStringLiteral("Changed %1").arg(QLatin1String(names[change.What]));
        });
    }
};
